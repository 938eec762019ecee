// Loading and saving the data file on generated outlines of 10^4 to 10^6 items. Each size
// also times a plain line count of the same file (what `wc -l` does: read it all, count
// '\n'), so load and save can be given as multiples of it, whatever the machine.

#include "bench_support.h"
#include "outline_generator.h"

#include "core/model/nrb_object.h"
#include "core/model/outline.h"
#include "core/storage/data_file.h"
#include "core/util/atomic_file.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kSeed = 20240607;

using LoadMemory = bench::ChildMemory;
using bench::CountItems;

LoadMemory MeasureLoadMemory(const std::string& path) {
    return bench::MeasureInChild([&](const std::function<void()>& measure) {
        quill::TOutline outline;
        quill::TDataFile(path).LoadDataFile(outline);
        measure();
    });
}

// A generated data file of about itemCount items, written once per size and run.
struct Sample {
    std::string path;
    std::size_t fileBytes = 0;
    std::size_t items = 0;
    bool memoryMeasured = false;
    LoadMemory memory;
};

Sample& SampleFor(std::size_t itemCount) {
    static std::map<std::size_t, Sample> samples;
    auto [it, inserted] = samples.try_emplace(itemCount);
    Sample& sample = it->second;
    if (inserted) {
        sample.path =
            (bench::ScratchDirectory("data_file") / ("quil_" + std::to_string(itemCount) + ".dat"))
                .string();
        quill::TOutline outline;
        outline.CreateRoot();
        quill::GenerateOutline(outline, itemCount, kSeed);
        if (!quill::TDataFile(sample.path).SaveDataFile(outline)) {
            std::fprintf(stderr, "cannot write %s\n", sample.path.c_str());
            std::exit(1);
        }
        sample.fileBytes = fs::file_size(sample.path);
        sample.items = CountItems(outline);
    }
    return sample;
}

void ReportSize(benchmark::State& state, const Sample& sample) {
    const auto runs = static_cast<std::int64_t>(state.iterations());
    state.SetBytesProcessed(runs * static_cast<std::int64_t>(sample.fileBytes));
    state.SetItemsProcessed(runs * static_cast<std::int64_t>(sample.items));
    state.counters["file_bytes"] = static_cast<double>(sample.fileBytes);
    state.counters["items"] = static_cast<double>(sample.items);
}

// The reference: read the whole file and count its lines.
void BM_CountLines(benchmark::State& state) {
    const Sample& sample = SampleFor(static_cast<std::size_t>(state.range(0)));
    std::string bytes;
    for (auto _ : state) {
        std::ifstream in(sample.path, std::ios::binary);
        bytes.resize(sample.fileBytes);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
        const auto lines = std::count(bytes.begin(), bytes.end(), '\n');
        benchmark::DoNotOptimize(lines);
    }
    ReportSize(state, sample);
}

void BM_Load(benchmark::State& state) {
    Sample& sample = SampleFor(static_cast<std::size_t>(state.range(0)));
    if (!sample.memoryMeasured) {
        sample.memory = MeasureLoadMemory(sample.path);
        sample.memoryMeasured = true;
    }
    for (auto _ : state) {
        auto outline = std::make_unique<quill::TOutline>();
        quill::TDataFile file(sample.path);
        if (!file.LoadDataFile(*outline)) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(outline->Root());
        // Tearing the outline down is not part of loading it.
        state.PauseTiming();
        outline.reset();
        state.ResumeTiming();
    }
    ReportSize(state, sample);
    const auto fileBytes = static_cast<double>(sample.fileBytes);
    state.counters["peak_rss_bytes"] = static_cast<double>(sample.memory.peakGrowth);
    state.counters["peak_per_file_byte"] =
        static_cast<double>(sample.memory.peakGrowth) / fileBytes;
    state.counters["rss_per_file_byte"] =
        static_cast<double>(sample.memory.residentGrowth) / fileBytes;
}

// Saving as the program does: written to a temporary file, synced, renamed over the target.
void BM_Save(benchmark::State& state) {
    const Sample& sample = SampleFor(static_cast<std::size_t>(state.range(0)));
    quill::TOutline outline;
    if (!quill::TDataFile(sample.path).LoadDataFile(outline)) {
        state.SkipWithError("load failed");
        return;
    }
    const std::string target = sample.path + ".saved";
    quill::TDataFile file(target);
    for (auto _ : state) {
        if (!file.SaveDataFile(outline)) {
            state.SkipWithError("save failed");
            break;
        }
    }
    std::error_code ec;
    fs::remove(target, ec);
    ReportSize(state, sample);
}

// The second reference, for save: the same bytes written the same atomic way, so the
// difference to BM_Save is what turning the outline into text costs.
void BM_WriteBytes(benchmark::State& state) {
    const Sample& sample = SampleFor(static_cast<std::size_t>(state.range(0)));
    std::string bytes(sample.fileBytes, '\0');
    {
        std::ifstream in(sample.path, std::ios::binary);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    const std::string target = sample.path + ".copy";
    for (auto _ : state) {
        quill::AtomicFileWriter writer;
        if (!writer.Open(target) || !writer.Write(bytes) || !writer.Commit()) {
            state.SkipWithError("write failed");
            break;
        }
    }
    std::error_code ec;
    fs::remove(target, ec);
    ReportSize(state, sample);
}

// The outline turned into text in memory: the format's share of a save, without the disk.
void BM_DataFileText(benchmark::State& state) {
    const Sample& sample = SampleFor(static_cast<std::size_t>(state.range(0)));
    quill::TOutline outline;
    if (!quill::TDataFile(sample.path).LoadDataFile(outline)) {
        state.SkipWithError("load failed");
        return;
    }
    for (auto _ : state) {
        const std::string text = quill::DataFileText(outline);
        benchmark::DoNotOptimize(text.data());
    }
    ReportSize(state, sample);
}

// Wall-clock time, since the disk's share of a save is what the user waits for. The largest
// size gets only a few runs of the slow benchmarks, so that the whole program stays within
// a minute or two; the cheap references run for their usual time.
#define QUILL_BENCHMARK(name, size)                                                                \
    BENCHMARK(name)->Unit(benchmark::kMillisecond)->UseRealTime()->Arg(size)
#define QUILL_SIZES(name) QUILL_BENCHMARK(name, 10'000)->Arg(100'000)
#define QUILL_LARGE(name) QUILL_BENCHMARK(name, 1'000'000)

QUILL_SIZES(BM_CountLines);
QUILL_LARGE(BM_CountLines);
QUILL_SIZES(BM_Load);
QUILL_LARGE(BM_Load)->Iterations(3);
QUILL_SIZES(BM_WriteBytes);
QUILL_LARGE(BM_WriteBytes);
QUILL_SIZES(BM_Save);
QUILL_LARGE(BM_Save)->Iterations(3);
QUILL_SIZES(BM_DataFileText);
QUILL_LARGE(BM_DataFileText)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
