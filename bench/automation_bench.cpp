// A client walking the whole outline through the automation object, node by node (Items,
// quilTitle, quilClass), against a plain walk of the same tree reading the same fields, on
// generated outlines of 10^4 to 10^6 items: the client's walk should stay a small multiple
// of the plain one, however large the outline.

#include "outline_generator.h"

#include "core/automation/automation_host.h"
#include "core/automation/quil_app.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <memory>

namespace {

constexpr std::uint32_t kSeed = 20240607;

class BenchHost final : public quill::IAutomationHost {
public:
    quill::TOutline outline;
    quill::TOutline& Outline() override { return outline; }
    bool ListIsActive() const override { return false; }
    std::vector<quill::TNRBObject*> SelectedEntries() const override { return {}; }
    quill::TOutlineNode* SelectedNode() const override { return outline.Root(); }
    void Locate(std::string_view) override {}
    void RefreshFolderTitles() override {}
    void PutTextOnClipboard(std::string_view) override {}
};

BenchHost& HostFor(std::size_t itemCount) {
    static std::map<std::size_t, std::unique_ptr<BenchHost>> hosts;
    std::unique_ptr<BenchHost>& host = hosts[itemCount];
    if (!host) {
        host = std::make_unique<BenchHost>();
        host->outline.CreateRoot();
        quill::GenerateOutline(host->outline, itemCount, kSeed);
    }
    return *host;
}

void BM_PlainWalk(benchmark::State& state) {
    BenchHost& host = HostFor(static_cast<std::size_t>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (quill::TOutlineNode* n = host.outline.Root(); n; n = n->NextInTree()) {
            bytes += std::string(n->Item()->Title()).size() + (n->Item()->Kind() & 0x7F);
        }
    }
    benchmark::DoNotOptimize(bytes);
    state.counters["nodes"] = static_cast<double>(host.outline.NodeCount());
}

void BM_AutomationWalk(benchmark::State& state) {
    BenchHost& host = HostFor(static_cast<std::size_t>(state.range(0)));
    quill::TQuilApp app(host);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::int32_t count = app.ItemCount();
        for (std::int32_t i = 0; i < count; ++i) {
            app.Items(i);
            bytes += app.quilTitle().size() + static_cast<std::size_t>(app.quilClass());
        }
    }
    benchmark::DoNotOptimize(bytes);
    state.counters["nodes"] = static_cast<double>(host.outline.NodeCount());
}

BENCHMARK(BM_PlainWalk)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutomationWalk)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);

} // namespace
