// Loading and saving the data file on generated outlines of 10^4 to 10^6 items. Each size
// also times a plain line count of the same file (what `wc -l` does: read it all, count
// '\n'), so load and save can be given as multiples of it, whatever the machine.

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
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include <sys/wait.h>
#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kSeed = 20240607;

// One directory per run, removed when the program ends.
class TempDirectory {
public:
    TempDirectory()
        : path_(fs::temp_directory_path() / ("quill_bench_" + std::to_string(::getpid()))) {
        fs::create_directories(path_);
    }
    ~TempDirectory() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

const fs::path& BenchDirectory() {
    static TempDirectory directory;
    return directory.Path();
}

// Resident memory of this process from /proc/self/status, in bytes (0 when unreadable).
std::size_t StatusBytes(std::string_view field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(field) && line.size() > field.size() && line[field.size()] == ':') {
            return std::strtoull(line.c_str() + field.size() + 1, nullptr, 10) * 1024;
        }
    }
    return 0;
}

// Tree items and the contact points and attachments they hold.
std::size_t CountItems(const quill::TOutline& outline) {
    std::size_t items = 0;
    outline.ForEachNode([&](quill::TOutlineNode* node) {
        if (const quill::TNRBObject* item = node->Item()) {
            items += 1 + item->ChildCount();
        }
    });
    return items;
}

// What one load costs in memory, measured in a child process so that neither the
// benchmark's own earlier allocations nor other sizes blur the peak.
struct LoadMemory {
    std::size_t peakGrowth = 0;     // VmHWM during the load over the baseline; 0: unknown
    std::size_t residentGrowth = 0; // VmRSS with the outline loaded over the baseline
};

LoadMemory MeasureLoadMemory(const std::string& path) {
    int fds[2];
    if (::pipe(fds) != 0) {
        return {};
    }
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return {};
    }
    if (child == 0) {
        ::close(fds[0]);
#if defined(__GLIBC__)
        // Heap the parent freed but kept would otherwise soak up part of the load.
        ::malloc_trim(0);
#endif
        // The child inherits the parent's high-water mark; "5" lowers it to the resident
        // size now, so that the peak is this load's own.
        const bool peakReset =
            static_cast<bool>(std::ofstream("/proc/self/clear_refs") << "5" << std::flush);
        const std::size_t baseline = StatusBytes("VmRSS");
        try {
            quill::TOutline outline;
            quill::TDataFile(path).LoadDataFile(outline);
            const std::size_t peak = StatusBytes("VmHWM");
            const std::size_t resident = StatusBytes("VmRSS");
            LoadMemory memory;
            memory.peakGrowth = peakReset && peak > baseline ? peak - baseline : 0;
            memory.residentGrowth = resident > baseline ? resident - baseline : 0;
            [[maybe_unused]] const auto written = ::write(fds[1], &memory, sizeof memory);
            // Leaving at once spares the parent the wait for the outline's teardown.
            ::_exit(0);
        } catch (...) {
            // Nothing may unwind into the benchmark's own code in the child.
        }
        ::_exit(1);
    }
    ::close(fds[1]);
    LoadMemory memory;
    if (::read(fds[0], &memory, sizeof memory) != static_cast<ssize_t>(sizeof memory)) {
        memory = {};
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return memory;
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
        sample.path = (BenchDirectory() / ("quil_" + std::to_string(itemCount) + ".dat")).string();
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
