#pragma once
// What the benchmarks share: a scratch directory, the process's memory figures, and one
// measurement of memory in a child process.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace quill {
class TOutline;
}

namespace bench {

// A directory for one suite's files, under one per run that goes when the program ends.
std::filesystem::path ScratchDirectory(std::string_view suite);

// A field of /proc/self/status ("VmRSS", "VmHWM") in bytes; 0 when unreadable.
std::size_t StatusBytes(std::string_view field);

// Tree items and the contact points and attachments they hold.
std::size_t CountItems(const quill::TOutline& outline);

// What one piece of work costs in memory, measured in a child process so that neither the
// benchmark's own earlier allocations nor other runs blur the peak.
struct ChildMemory {
    std::size_t peakGrowth = 0;     // VmHWM during the work over the baseline; 0: unknown
    std::size_t residentGrowth = 0; // VmRSS after the work over the baseline
};
// work runs in the child and must keep what it built alive until it returns the figures:
// it is handed a function to call at the point where memory is to be read.
ChildMemory MeasureInChild(const std::function<void(const std::function<void()>& measure)>& work);

} // namespace bench
