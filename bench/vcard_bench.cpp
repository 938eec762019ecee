// vCard import and export at 10^5 cards. Import reads a generated file of vCard 3.0 cards as
// address books write them (N, FN, ORG, TITLE, two TEL, EMAIL, ADR, URL; some folded, some
// escaped), creates the items and saves the data file; export writes 10^5 generated persons
// as cards. Each is set against a plain line count of its own file in the same run (what
// `wc -l` does), so the results read as multiples of it, whatever the machine.

#include "bench_support.h"
#include "outline_generator.h"

#include "core/exchange/vcard.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/item_kind.h"
#include "core/model/outline.h"
#include "core/storage/data_file.h"
#include "core/util/atomic_file.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kCards = 100'000;
constexpr std::uint32_t kSeed = 20240611;

std::string ScratchFile(const std::string& name) {
    return (bench::ScratchDirectory("vcard") / name).string();
}

// 3.0 folds lines longer than 75 bytes: CR LF and one blank before each further piece.
void AppendFolded(std::string& out, const std::string& line) {
    std::size_t start = 0;
    std::size_t width = 75;
    while (line.size() - start > width) {
        std::size_t cut = start + width;
        // Never inside a UTF-8 sequence.
        while (cut > start && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        out.append(line, start, cut - start);
        out.append("\r\n ");
        start = cut;
        width = 74;
    }
    out.append(line, start, std::string::npos);
    out.append("\r\n");
}

const std::string& ImportFile() {
    static const std::string path = [] {
        const char* first[] = {"Ann",   "Bob",     "Chloé",  "Dmitri", "Élise", "Farid",
                               "Greta", "Hiroshi", "Ingrid", "José",   "Mia",   "Priya"};
        const char* last[] = {"Lee",    "Müller", "García", "Nakamura", "O'Brien", "Kowalski",
                              "Dubois", "Rossi",  "Novák",  "Jensen",   "Patel",   "Smith"};
        const char* orgs[] = {"Acme\\, Inc.", "Northwind Traders", "Blue Harbour Ltd",
                              "Fjord Systems AB", "Ångström Labs GmbH"};
        const char* titles[] = {"Engineer", "Head of Sales\\, EMEA", "Buyer", "CTO",
                                "Account Manager"};
        const char* streets[] = {"High Street", "Main St", "Rue de la Paix", "Hauptstraße"};
        const char* cities[] = {"Springfield", "München", "Lyon", "Kraków", "Toronto"};
        std::mt19937 random(kSeed);
        auto pick = [&](const auto& list) {
            return list[random() % (sizeof list / sizeof list[0])];
        };
        std::string text;
        text.reserve(kCards * 460);
        for (std::size_t i = 0; i < kCards; ++i) {
            const std::string given = pick(first);
            const std::string family = pick(last);
            const std::string org = pick(orgs);
            const std::string number = std::to_string(1000000 + random() % 9000000);
            text.append("BEGIN:VCARD\r\nVERSION:3.0\r\n");
            text.append("N:" + family + ";" + given + ";;;\r\n");
            text.append("FN:" + given + " " + family + "\r\n");
            text.append("ORG:" + org + ";Sales\r\n");
            text.append(std::string("TITLE:") + pick(titles) + "\r\n");
            text.append("TEL;TYPE=WORK,VOICE:+1 555 " + number + "\r\n");
            text.append("TEL;TYPE=CELL;TYPE=pref:+1 556 " + number + "\r\n");
            text.append("item1.EMAIL;type=INTERNET;type=pref:" + given + "." + family + "." +
                        std::to_string(i) + "@example.com\r\n");
            AppendFolded(text, "item2.ADR;type=WORK:;Building " + std::to_string(i % 40) + ";" +
                                   std::to_string(1 + i % 300) + " " + pick(streets) + "\\nSuite " +
                                   std::to_string(i % 90) + ";" + pick(cities) + ";;" +
                                   std::to_string(10000 + i % 89999) + ";Country");
            text.append("URL:https://www.example.com/people/" + std::to_string(i) + "\r\n");
            text.append("END:VCARD\r\n");
        }
        const std::string file = ScratchFile("cards.vcf");
        quill::AtomicFileWriter writer;
        if (!writer.Open(file) || !writer.Write(text) || !writer.Commit()) {
            std::fprintf(stderr, "cannot write %s\n", file.c_str());
            std::exit(1);
        }
        return file;
    }();
    return path;
}

std::size_t FileBytes(const std::string& path) {
    return static_cast<std::size_t>(fs::file_size(path));
}

// The reference: read the whole file and count its lines.
void CountLines(benchmark::State& state, const std::string& path) {
    const std::size_t size = FileBytes(path);
    std::string bytes;
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        bytes.resize(size);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
        benchmark::DoNotOptimize(std::count(bytes.begin(), bytes.end(), '\n'));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

// Every tenth card with ORG is filed as an organization, the rest as persons.
class EveryTenth final : public quill::IVCardImportChoice {
public:
    bool ImportAsOrganization(std::string_view, std::string_view) override {
        return ++asked_ % 10 == 0;
    }

private:
    std::size_t asked_ = 0;
};

// Peak and kept memory of one import, in a child process so nothing earlier blurs it.
std::pair<std::size_t, std::size_t> MeasureImportMemory(const std::string& path) {
    const bench::ChildMemory memory = bench::MeasureInChild([&](const auto& measure) {
        quill::TOutline outline;
        EveryTenth choice;
        quill::ImportVCardFile(path, outline.CreateRoot(), choice);
        measure();
    });
    return {memory.peakGrowth, memory.residentGrowth};
}

void BM_VCardImportCountLines(benchmark::State& state) {
    CountLines(state, ImportFile());
}

// Import of every card with its items, then the data file saved.
void BM_VCardImport(benchmark::State& state) {
    const std::string& path = ImportFile();
    const std::string dataFile = ScratchFile("quil.dat");
    std::size_t items = 0;
    for (auto _ : state) {
        auto outline = std::make_unique<quill::TOutline>();
        EveryTenth choice;
        if (!quill::ImportVCardFile(path, outline->CreateRoot(), choice) ||
            !quill::TDataFile(dataFile).SaveDataFile(*outline)) {
            state.SkipWithError("import failed");
            break;
        }
        state.PauseTiming();
        items = 0;
        outline->ForEachNode(
            [&](quill::TOutlineNode* node) { items += 1 + node->Item()->ChildCount(); });
        outline.reset();
        state.ResumeTiming();
    }
    const auto [peak, kept] = MeasureImportMemory(path);
    const double fileBytes = static_cast<double>(FileBytes(path));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * FileBytes(path)));
    state.counters["cards"] = static_cast<double>(kCards);
    state.counters["items"] = static_cast<double>(items);
    state.counters["peak_per_file_byte"] = static_cast<double>(peak) / fileBytes;
    state.counters["rss_per_file_byte"] = static_cast<double>(kept) / fileBytes;
}

// The first 10^5 persons of a generated outline.
struct Persons {
    quill::TOutline outline;
    std::vector<const quill::TNRBObject*> persons;
};

const Persons& GeneratedPersons() {
    static const std::unique_ptr<Persons> generated = [] {
        for (std::size_t items = 400'000;; items += items / 2) {
            auto made = std::make_unique<Persons>();
            made->outline.CreateRoot();
            quill::GenerateOutline(made->outline, items, kSeed);
            made->outline.ForEachNode([&](quill::TOutlineNode* node) {
                if (node->Item()->Kind() == quill::kPersonKind && made->persons.size() < kCards) {
                    made->persons.push_back(node->Item());
                }
            });
            if (made->persons.size() == kCards) {
                return made;
            }
        }
    }();
    return *generated;
}

std::string ExportPath() {
    return ScratchFile("export.vcf");
}

// Every person's card, written as one file the way TVCardFile saves.
void BM_VCardExport(benchmark::State& state) {
    const Persons& generated = GeneratedPersons();
    const std::string path = ExportPath();
    for (auto _ : state) {
        std::string text;
        for (const quill::TNRBObject* person : generated.persons) {
            quill::AppendCardText(quill::ItemVCard(*person), text);
        }
        quill::AtomicFileWriter writer;
        if (!writer.Open(path) || !writer.Write(text) || !writer.Commit()) {
            state.SkipWithError("export failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * FileBytes(path)));
    state.counters["persons"] = static_cast<double>(generated.persons.size());
}

void BM_VCardExportCountLines(benchmark::State& state) {
    if (!fs::exists(ExportPath())) {
        state.SkipWithError("run BM_VCardExport first");
        return;
    }
    CountLines(state, ExportPath());
}

BENCHMARK(BM_VCardImportCountLines)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_VCardImport)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_VCardExport)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_VCardExportCountLines)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
