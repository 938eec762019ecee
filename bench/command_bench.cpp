// Whole quilltool commands on generated files, timed as the user waits for them: each run
// is a fresh process, so reading, first touch of memory, the synced save and the end of the
// process are all counted. Every run is paired with `wc -l` on the same input file, and the
// figures are the medians of the per-pair ratios (wall clock and processor time), beside the
// peak resident memory of the command (mapped pages included, as /usr/bin/time reports it)
// per byte of its input.
//
//     resave        10^6 items of a data file (about 87 MB)
//     import_vcard  10^5 vCard 3.0 cards (about 43 MB) into an empty data file; beside it
//                   abook converting the same cards (x_abook_wall)
//     import_csv    10^6 person lines (about 161 MB) into an empty data file
//     export_csv    10^5 persons of a data file; beside it the load alone (stats) and the
//                   copy of the bytes written, for "load plus twice the writing"
//     export_html   10^5 persons with their vCards into a fresh site; beside it the copy of
//                   that site with cp -r (x_cp_wall)

#include "bench_support.h"
#include "exchange_generator.h"
#include "outline_generator.h"

#include "core/model/outline.h"
#include "core/storage/data_file.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kSeed = 20240607;

struct RunFigures {
    double wall = 0; // seconds
    double cpu = 0;  // user and system seconds
    double peakBytes = 0;
    bool ok = false;
};

// Runs the program with its arguments as a child, its output thrown away, and reads the
// system's accounting of it. It runs under /usr/bin/time, which reports its peak memory:
// a child started straight from this process would be charged this process's own peak.
RunFigures RunProcess(const std::vector<std::string>& command) {
    static const std::string peakFile = (bench::ScratchDirectory("commands") / "peak").string();
    std::vector<std::string> argv{"/usr/bin/time", "-f", "%M", "-o", peakFile};
    argv.insert(argv.end(), command.begin(), command.end());
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    RunFigures figures;
    const int spawned = posix_spawn(&child, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return figures;
    }
    int status = 0;
    struct rusage usage {};
    if (::wait4(child, &status, 0, &usage) != child) {
        return figures;
    }
    figures.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // The time of the command, which /usr/bin/time waited for, is counted in its own.
    figures.cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                  static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    double kilobytes = 0;
    std::ifstream(peakFile) >> kilobytes;
    figures.peakBytes = kilobytes * 1024.0;
    figures.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return figures;
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string Scratch(const std::string& name) {
    return (bench::ScratchDirectory("commands") / name).string();
}

// The generated inputs, made once per run.
const std::string& DataFile(std::size_t items) {
    static std::map<std::size_t, std::string> files;
    auto [it, inserted] = files.try_emplace(items);
    if (inserted) {
        it->second = Scratch("quil_" + std::to_string(items) + ".dat");
        quill::TOutline outline;
        outline.CreateRoot();
        quill::GenerateOutline(outline, items, kSeed);
        if (!quill::TDataFile(it->second).SaveDataFile(outline)) {
            std::fprintf(stderr, "cannot write %s\n", it->second.c_str());
            std::exit(1);
        }
    }
    return it->second;
}

const std::string& VCardFile() {
    static const std::string path = [] {
        const std::string p = Scratch("cards.vcf");
        std::ofstream out(p, std::ios::binary);
        quill::GenerateVCards(out, 100'000, kSeed);
        return p;
    }();
    return path;
}

const std::string& CsvFile(std::size_t lines) {
    static std::map<std::size_t, std::string> files;
    auto [it, inserted] = files.try_emplace(lines);
    if (inserted) {
        it->second = Scratch("persons_" + std::to_string(lines) + ".csv");
        std::ofstream out(it->second, std::ios::binary);
        quill::GeneratePersonCsv(out, lines, kSeed);
    }
    return it->second;
}

const std::string kPersonFields =
    "Title,Salutation,First Name,Middle Name,Last Name,Address Line 1,Address Line 2,"
    "Address Line 3,City,State/Province,Postal Code,Country,Phone Number,Fax Number,"
    "E-Mail Address,Website,Comment";

// A data file of 10^5 persons, imported from generated person lines.
const std::string& PersonsDataFile() {
    static const std::string path = [] {
        const std::string p = Scratch("persons.dat");
        if (!RunProcess({QUILLTOOL_PATH, "import", "csv", CsvFile(100'000), p, "--type", "Person",
                         "--fields", kPersonFields})
                 .ok) {
            std::fprintf(stderr, "cannot import the persons\n");
            std::exit(1);
        }
        return p;
    }();
    return path;
}

// A second yardstick of a goal (another program doing the same job, or copying what the
// command wrote), run after the command in each pair; reported as the median ratio of the
// command's wall time to its own under the counter's name.
struct Reference {
    std::string counter;
    std::function<RunFigures()> run;
};

// Times the command against `wc -l` on input, pair by pair; prepare runs before each pair
// (removing what the last run wrote), untimed.
void TimeAgainstLineCount(benchmark::State& state, const std::string& input,
                          const std::vector<std::string>& command,
                          const std::function<void()>& prepare = {},
                          const Reference* reference = nullptr) {
    std::vector<double> wallRatios, cpuRatios, walls, peaks, referenceRatios;
    const double inputBytes = static_cast<double>(fs::file_size(input));
    for (auto _ : state) {
        if (prepare) {
            prepare();
        }
        const RunFigures lines = RunProcess({"wc", "-l", input});
        const RunFigures run = RunProcess(command);
        const RunFigures other = reference && run.ok ? reference->run() : RunFigures{.ok = true};
        if (!run.ok || !lines.ok || !other.ok) {
            state.SkipWithError("the command failed");
            break;
        }
        state.SetIterationTime(run.wall);
        walls.push_back(run.wall);
        wallRatios.push_back(run.wall / std::max(lines.wall, 1e-6));
        cpuRatios.push_back(run.cpu / std::max(lines.cpu, 1e-3));
        peaks.push_back(run.peakBytes);
        if (reference) {
            referenceRatios.push_back(run.wall / std::max(other.wall, 1e-6));
        }
    }
    if (reference) {
        state.counters[reference->counter] = Median(referenceRatios);
    }
    state.counters["input_MB"] = inputBytes / 1e6;
    state.counters["wall_s"] = Median(walls);
    state.counters["x_wc_wall"] = Median(wallRatios);
    state.counters["x_wc_cpu"] = Median(cpuRatios);
    state.counters["peak_MiB"] = Median(peaks) / (1 << 20);
    state.counters["peak_per_input_byte"] = Median(peaks) / inputBytes;
}

void RemoveFile(const std::string& path) {
    std::error_code ec;
    fs::remove(path, ec);
}

void BM_Resave(benchmark::State& state) {
    const std::string& input = DataFile(static_cast<std::size_t>(state.range(0)));
    const std::string out = Scratch("resaved.dat");
    TimeAgainstLineCount(state, input, {QUILLTOOL_PATH, "resave", input, out});
    RemoveFile(out);
}

// The goal's yardstick: abook converting the same cards into its own address book (it
// refuses to overwrite one, so each run starts without it).
void BM_ImportVCard(benchmark::State& state) {
    const std::string out = Scratch("from_cards.dat");
    const std::string book = Scratch("cards.abook");
    const Reference abook{"x_abook_wall", [&] {
                              RemoveFile(book);
                              return RunProcess({"/usr/bin/abook", "--convert", "--informat",
                                                 "vcard", "--infile", VCardFile(), "--outformat",
                                                 "abook", "--outfile", book});
                          }};
    TimeAgainstLineCount(
        state, VCardFile(), {QUILLTOOL_PATH, "import", "vcard", VCardFile(), out},
        [&] { RemoveFile(out); }, &abook);
    RemoveFile(out);
    RemoveFile(book);
}

void BM_ImportCsv(benchmark::State& state) {
    const std::string& input = CsvFile(static_cast<std::size_t>(state.range(0)));
    const std::string out = Scratch("from_csv.dat");
    TimeAgainstLineCount(state, input,
                         {QUILLTOOL_PATH, "import", "csv", input, out, "--type", "Person",
                          "--fields", kPersonFields},
                         [&] { RemoveFile(out); });
    RemoveFile(out);
}

void BM_ExportCsv(benchmark::State& state) {
    const std::string& input = PersonsDataFile();
    const std::string out = Scratch("persons_out.csv");
    TimeAgainstLineCount(state, input,
                         {QUILLTOOL_PATH, "export", "csv", input, out, "--type", "Person",
                          "--fields", kPersonFields});
    // The two references of the goal: the load alone, and writing the same bytes.
    std::vector<double> loads, copies;
    for (int i = 0; i < 3; ++i) {
        loads.push_back(RunProcess({QUILLTOOL_PATH, "stats", input}).wall);
        copies.push_back(RunProcess({"cp", out, out + ".copy"}).wall);
    }
    state.counters["load_s"] = Median(loads);
    state.counters["write_bytes_s"] = Median(copies);
    RemoveFile(out);
    RemoveFile(out + ".copy");
}

// The goal's yardstick: copying the site written (cp -r into a fresh folder). Every run
// writes a fresh folder of its own and all are removed at the end: ext4 without a journal
// skips the inodes of files deleted in the last minutes when it creates files, so removing
// 10^5 files just before a run would time that search rather than the command.
void BM_ExportHtml(benchmark::State& state) {
    const std::string& input = PersonsDataFile();
    std::vector<std::string> written;
    std::vector<std::string> command{QUILLTOOL_PATH, "export", "html", input, ""};
    const Reference copy{"x_cp_wall", [&] {
                             written.push_back(command.back() + ".copy");
                             return RunProcess({"cp", "-r", command.back(), written.back()});
                         }};
    TimeAgainstLineCount(
        state, input, command,
        [&] {
            command.back() = Scratch("site" + std::to_string(written.size()));
            written.push_back(command.back());
        },
        &copy);
    for (const std::string& folder : written) {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
}

#define QUILL_COMMAND(name) BENCHMARK(name)->Unit(benchmark::kMillisecond)->UseManualTime()

QUILL_COMMAND(BM_Resave)->Arg(1'000'000)->Iterations(5);
QUILL_COMMAND(BM_ImportVCard)->Iterations(3);
QUILL_COMMAND(BM_ImportCsv)->Arg(1'000'000)->Iterations(3);
QUILL_COMMAND(BM_ExportCsv)->Iterations(3);
QUILL_COMMAND(BM_ExportHtml)->Iterations(3);

} // namespace
