// Delimited text: importing 10^6 person lines with address, phone and e-mail columns, and
// exporting 10^5 persons of a generated outline. Each is timed beside a plain line count of
// the same file (what `wc -l` does), so that both can be given as multiples of it.

#include "bench_support.h"
#include "outline_generator.h"

#include "core/exchange/delimited_text.h"
#include "core/exchange/import_report.h"
#include "core/exchange/record_types.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kImportLines = 1'000'000;
constexpr std::size_t kExportPersons = 100'000;

const std::vector<std::string>& ImportFields() {
    static const std::vector<std::string> fields{
        "Title",       "First Name", "Last Name",    "Address Line 1", "City",
        "Postal Code", "Country",    "Phone Number", "E-Mail Address"};
    return fields;
}

const quill::TRecordType& PersonType() {
    return *quill::RecordTypeOfKind(quill::kPersonKind);
}

std::string ScratchFile(const std::string& name) {
    return (bench::ScratchDirectory("csv") / name).string();
}

using bench::CountItems;
using bench::StatusBytes;

struct File {
    std::string path;
    std::size_t bytes = 0;
};

// Person lines in the export's form, names in several scripts, some values quoted.
const File& ImportFile() {
    static const File file = [] {
        constexpr std::array<std::string_view, 8> first{"Ann",   "Bob",  "Chloé",  "Dmitri",
                                                        "Élise", "José", "Łukasz", "美咲"};
        constexpr std::array<std::string_view, 8> last{"Lee",   "Müller", "García", "O'Brien",
                                                       "Smith", "Nowak",  "Иванов", "佐藤"};
        constexpr std::array<std::string_view, 4> cities{"Springfield", "München", "Kraków",
                                                         "Göteborg"};
        File f{ScratchFile("persons.csv"), 0};
        std::string text;
        text.reserve(kImportLines * 110);
        for (std::size_t i = 0; i < kImportLines; ++i) {
            const std::string_view a = first[i % first.size()];
            const std::string_view b = last[(i / first.size()) % last.size()];
            text.append("\"").append(a).append(" ").append(b).append("\",");
            text.append(a).append(",").append(b).append(",");
            text.append(std::to_string(1 + i % 997)).append(" High Street,");
            text.append(cities[i % cities.size()]).append(",");
            text.append("AB").append(std::to_string(i % 100)).append(" 2CD,UK,");
            text.append("(555)").append(std::to_string(1000000 + i)).append(",");
            text.append("person").append(std::to_string(i)).append("@example.org\r\n");
        }
        std::ofstream(f.path, std::ios::binary)
            .write(text.data(), static_cast<std::streamsize>(text.size()));
        f.bytes = text.size();
        return f;
    }();
    return file;
}

std::size_t CountPersons(const quill::TOutline& outline) {
    std::size_t persons = 0;
    outline.ForEachNode([&](quill::TOutlineNode* node) {
        persons += node->Item() && node->Item()->Kind() == quill::kPersonKind;
    });
    return persons;
}

// A generated outline holding about kExportPersons persons among its other items.
struct ExportSample {
    std::unique_ptr<quill::TOutline> outline;
    std::size_t persons = 0;
    File file;
};

ExportSample& Exported() {
    static ExportSample sample = [] {
        ExportSample s;
        quill::TOutline probe;
        probe.CreateRoot();
        quill::GenerateOutline(probe, 100'000, 20240607);
        const double share = double(CountPersons(probe)) / double(CountItems(probe));
        s.outline = std::make_unique<quill::TOutline>();
        s.outline->CreateRoot();
        quill::GenerateOutline(*s.outline, std::size_t(double(kExportPersons) / share), 20240607);
        s.persons = CountPersons(*s.outline);
        s.file.path = ScratchFile("exported.csv");
        const auto& fields = PersonType().fields;
        if (!quill::WriteCSVSubtree(*s.outline->Root(), s.file.path, PersonType(),
                                    {fields.begin(), fields.end()}, true)) {
            std::fprintf(stderr, "cannot write %s\n", s.file.path.c_str());
            std::exit(1);
        }
        s.file.bytes = fs::file_size(s.file.path);
        return s;
    }();
    return sample;
}

void CountLinesOf(benchmark::State& state, const File& file) {
    std::string bytes;
    for (auto _ : state) {
        std::ifstream in(file.path, std::ios::binary);
        bytes.resize(file.bytes);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
        const auto lines = std::count(bytes.begin(), bytes.end(), '\n');
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes));
    state.counters["file_bytes"] = static_cast<double>(file.bytes);
}

void BM_CsvImportCountLines(benchmark::State& state) {
    CountLinesOf(state, ImportFile());
}

// Runs import once an iteration into a fresh outline, timed without the outline's making and
// teardown; the first run also measures the peak memory the import adds over what was there.
struct ImportRuns {
    std::size_t items = 0; // made by the last run
    std::size_t peakGrowth = 0;
};
template <typename Import> ImportRuns TimeImports(benchmark::State& state, Import&& import) {
    ImportRuns runs;
    bool first = true;
    for (auto _ : state) {
        state.PauseTiming();
        auto outline = std::make_unique<quill::TOutline>();
        quill::TOutlineNode* root = outline->CreateRoot();
        const bool peakReset =
            first && static_cast<bool>(std::ofstream("/proc/self/clear_refs") << "5" << std::flush);
        const std::size_t before = StatusBytes("VmRSS");
        state.ResumeTiming();
        if (!import(root)) {
            state.SkipWithError("import failed");
            break;
        }
        state.PauseTiming();
        if (peakReset) {
            const std::size_t peak = StatusBytes("VmHWM");
            runs.peakGrowth = peak > before ? peak - before : 0;
        }
        first = false;
        runs.items = CountItems(*outline) - 1;
        outline.reset(); // tearing down is not part of the import
        state.ResumeTiming();
    }
    return runs;
}

void BM_CsvImport(benchmark::State& state) {
    const File& file = ImportFile();
    const ImportRuns runs = TimeImports(state, [&](quill::TOutlineNode* root) {
        return static_cast<bool>(
            quill::ImportDelimitedText(file.path, root, PersonType(), ImportFields(), ','));
    });
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * runs.items));
    state.counters["lines"] = static_cast<double>(kImportLines);
    state.counters["items"] = static_cast<double>(runs.items);
    state.counters["peak_rss_bytes"] = static_cast<double>(runs.peakGrowth);
    state.counters["peak_per_item"] =
        runs.items ? double(runs.peakGrowth) / double(runs.items) : 0.0;
}

void BM_CsvExportCountLines(benchmark::State& state) {
    CountLinesOf(state, Exported().file);
}

void BM_CsvExport(benchmark::State& state) {
    ExportSample& sample = Exported();
    const auto& fields = PersonType().fields;
    const std::vector<std::string> chosen(fields.begin(), fields.end());
    const std::string target = sample.file.path + ".again";
    for (auto _ : state) {
        if (!quill::WriteCSVSubtree(*sample.outline->Root(), target, PersonType(), chosen, true)) {
            state.SkipWithError("export failed");
            break;
        }
    }
    std::error_code ec;
    fs::remove(target, ec);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample.file.bytes));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * sample.persons));
    state.counters["persons"] = static_cast<double>(sample.persons);
    state.counters["file_bytes"] = static_cast<double>(sample.file.bytes);
}

// The lines alone, made into memory: what the export costs before the file system.
void BM_CsvExportLines(benchmark::State& state) {
    ExportSample& sample = Exported();
    const auto& fields = PersonType().fields;
    const std::vector<std::string> chosen(fields.begin(), fields.end());
    std::string text;
    for (auto _ : state) {
        text.clear();
        quill::AppendCSVSubtree(*sample.outline->Root(), text, PersonType(), chosen, true);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * sample.persons));
}

// Files a reader must survive, each of kHostileBytes, beside ordinary person lines of the
// same size: a line of nothing but separators, one quoted value of a single line, and a
// quote never closed, whose value runs over every line to the end. Each should cost at most
// about what the ordinary file costs, in time and in memory.
constexpr std::size_t kHostileBytes = 32u << 20;

const File& HostileFile(int shape) {
    static std::array<File, 4> files;
    File& f = files[static_cast<std::size_t>(shape)];
    if (f.bytes != 0) {
        return f;
    }
    f.path = ScratchFile("hostile" + std::to_string(shape) + ".csv");
    std::string text;
    text.reserve(kHostileBytes + 128);
    switch (shape) {
    case 0: { // ordinary lines, cut at a line end
        std::ifstream in(ImportFile().path, std::ios::binary);
        text.resize(kHostileBytes);
        in.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(text.rfind('\n') + 1);
        break;
    }
    case 1:
        text = "Ann Lee,Ann,Lee" + std::string(kHostileBytes, ',') + "\r\n";
        break;
    case 2:
        text = "Ann Lee,Ann,Lee,\"" + std::string(kHostileBytes, 'x') + "\"\r\n";
        break;
    default:
        text = "Ann Lee,Ann,Lee,\"";
        while (text.size() < kHostileBytes) {
            text.append("a line of a value that is never closed\r\n");
        }
        break;
    }
    std::ofstream(f.path, std::ios::binary)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
    f.bytes = text.size();
    return f;
}

void BM_CsvImportHostile(benchmark::State& state) {
    const File& file = HostileFile(static_cast<int>(state.range(0)));
    // Whatever it makes of the file: what counts is what reading it costs.
    const ImportRuns runs = TimeImports(state, [&](quill::TOutlineNode* root) {
        quill::TImportReport report;
        quill::DelimitedImportOptions options;
        options.fields = ImportFields();
        benchmark::DoNotOptimize(
            quill::ImportDelimitedText(file.path, root, PersonType(), options, &report));
        return true;
    });
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes));
    state.counters["file_bytes"] = static_cast<double>(file.bytes);
    state.counters["peak_rss_bytes"] = static_cast<double>(runs.peakGrowth);
    state.counters["peak_per_file_byte"] = double(runs.peakGrowth) / double(file.bytes);
}

BENCHMARK(BM_CsvImportCountLines)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CsvImport)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_CsvExportCountLines)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CsvExportLines)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CsvExport)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
// 0: ordinary lines; 1: separators; 2: one long quoted value; 3: a quote never closed.
BENCHMARK(BM_CsvImportHostile)
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

} // namespace
