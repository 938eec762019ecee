// HTML publishing of a generated outline holding 10^5 persons: frames on, every level in the
// index, the exchange-file link on. Timed beside two references of the same run: a plain line
// count of the files it produced (what `wc -l` does) and writing the same number of bytes the
// same atomic way, so that publishing can be given as multiples of them. The vCard files (one
// per person and organization) are timed apart on a smaller outline, since their cost is one
// file creation each, whatever the pages cost.

#include "bench_support.h"
#include "outline_generator.h"

#include "core/exchange/html_publish.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"
#include "core/util/atomic_file.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kPublishedPersons = 100'000;
constexpr std::size_t kVCardPersons = 1'000;
constexpr std::uint32_t kSeed = 20240607;

std::size_t CountKind(const quill::TOutline& outline, int kind) {
    std::size_t count = 0;
    outline.ForEachNode(
        [&](quill::TOutlineNode* node) { count += node->Item() && node->Item()->Kind() == kind; });
    return count;
}

// The site's files, in the order publishing writes them.
constexpr std::array<std::string_view, 4> kSiteFiles{"site.htm", "quilmain.qld", "quilindex.htm",
                                                     "quilmain.htm"};

struct Sample {
    fs::path directory;
    std::unique_ptr<quill::TOutline> outline;
    std::size_t persons = 0;
    quill::HtmlPublishOptions options;
    std::size_t siteBytes = 0; // of the files above, after one publishing
};

Sample MakeSample(std::size_t persons, bool vCards) {
    Sample s;
    s.directory = bench::ScratchDirectory("html") / (std::to_string(persons) + (vCards ? "v" : ""));
    fs::create_directories(s.directory);
    // The generator's share of persons decides how many items make that many of them.
    quill::TOutline probe;
    probe.CreateRoot();
    quill::GenerateOutline(probe, 100'000, kSeed);
    const double share = double(CountKind(probe, quill::kPersonKind)) / 100'000.0;
    s.outline = std::make_unique<quill::TOutline>();
    s.outline->CreateRoot();
    quill::GenerateOutline(*s.outline, std::size_t(double(persons) / share), kSeed);
    s.persons = CountKind(*s.outline, quill::kPersonKind);
    s.options.directory = s.directory.string();
    s.options.mainPageName = "site.htm";
    s.options.title = "Everyone";
    s.options.vCardLinks = vCards;
    s.options.webGraphicsDirectory = quill::FindWebGraphicsDirectory("/proc/self/exe");
    if (!quill::PublishHTML(*s.outline->Root(), s.options)) {
        std::fprintf(stderr, "cannot publish into %s\n", s.options.directory.c_str());
        std::exit(1);
    }
    for (std::string_view file : kSiteFiles) {
        s.siteBytes += fs::file_size(s.directory / file);
    }
    return s;
}

Sample& TheSample() {
    static Sample sample = MakeSample(kPublishedPersons, false);
    return sample;
}

// Publishing with vCard files costs a file per person and organization.
Sample& VCardSample() {
    static Sample sample = MakeSample(kVCardPersons, true);
    return sample;
}

void Report(benchmark::State& state, const Sample& sample) {
    const auto runs = static_cast<std::int64_t>(state.iterations());
    state.SetBytesProcessed(runs * static_cast<std::int64_t>(sample.siteBytes));
    state.counters["persons"] = static_cast<double>(sample.persons);
    state.counters["site_bytes"] = static_cast<double>(sample.siteBytes);
}

void Publish(benchmark::State& state, Sample& sample) {
    for (auto _ : state) {
        if (!quill::PublishHTML(*sample.outline->Root(), sample.options)) {
            state.SkipWithError("publishing failed");
            break;
        }
    }
    Report(state, sample);
}

void BM_HtmlPublish(benchmark::State& state) {
    Publish(state, TheSample());
}

void BM_HtmlPublishWithVCards(benchmark::State& state) {
    Publish(state, VCardSample());
}

// The reference: read every page and the exchange file and count their lines.
void BM_HtmlCountLines(benchmark::State& state) {
    Sample& sample = TheSample();
    std::string bytes;
    for (auto _ : state) {
        std::size_t lines = 0;
        for (std::string_view file : kSiteFiles) {
            const fs::path path = sample.directory / file;
            std::ifstream in(path, std::ios::binary);
            bytes.resize(fs::file_size(path));
            in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            lines += static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
        }
        benchmark::DoNotOptimize(lines);
    }
    Report(state, sample);
}

// The second reference: the same bytes written into as many files the same atomic way, so
// the difference to publishing is what turning the outline into pages costs.
void BM_HtmlWriteBytes(benchmark::State& state) {
    Sample& sample = TheSample();
    std::array<std::string, kSiteFiles.size()> contents;
    for (std::size_t i = 0; i < kSiteFiles.size(); ++i) {
        contents[i] = quill::ReadWholeFile((sample.directory / kSiteFiles[i]).string()).value();
    }
    for (auto _ : state) {
        for (std::size_t i = 0; i < kSiteFiles.size(); ++i) {
            quill::AtomicFileWriter writer;
            const std::string target = (sample.directory / "copy.out").string();
            if (!writer.Open(target) || !writer.Write(contents[i]) || !writer.Commit()) {
                state.SkipWithError("write failed");
                return;
            }
        }
    }
    Report(state, sample);
}

BENCHMARK(BM_HtmlCountLines)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HtmlWriteBytes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HtmlPublish)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_HtmlPublishWithVCards)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace
