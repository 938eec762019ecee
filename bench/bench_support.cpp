#include "bench_support.h"

#include "core/model/nrb_object.h"
#include "core/model/outline.h"

#include <cstdlib>
#include <fstream>

#include <sys/wait.h>
#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace bench {
namespace fs = std::filesystem;

namespace {

class RunDirectory {
public:
    RunDirectory()
        : path_(fs::temp_directory_path() / ("quill_bench_" + std::to_string(::getpid()))) {
        fs::create_directories(path_);
    }
    ~RunDirectory() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

} // namespace

fs::path ScratchDirectory(std::string_view suite) {
    static RunDirectory run;
    fs::path path = run.Path() / std::string(suite);
    fs::create_directories(path);
    return path;
}

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

std::size_t CountItems(const quill::TOutline& outline) {
    std::size_t items = 0;
    outline.ForEachNode([&](quill::TOutlineNode* node) {
        if (const quill::TNRBObject* item = node->Item()) {
            items += 1 + item->ChildCount();
        }
    });
    return items;
}

ChildMemory MeasureInChild(const std::function<void(const std::function<void()>& measure)>& work) {
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
        // Heap the parent freed but kept would otherwise soak up part of the work.
        ::malloc_trim(0);
#endif
        // The child inherits the parent's high-water mark; "5" lowers it to the resident
        // size now, so that the peak is this work's own.
        const bool peakReset =
            static_cast<bool>(std::ofstream("/proc/self/clear_refs") << "5" << std::flush);
        const std::size_t baseline = StatusBytes("VmRSS");
        try {
            work([&] {
                const std::size_t peak = StatusBytes("VmHWM");
                const std::size_t resident = StatusBytes("VmRSS");
                ChildMemory memory;
                memory.peakGrowth = peakReset && peak > baseline ? peak - baseline : 0;
                memory.residentGrowth = resident > baseline ? resident - baseline : 0;
                [[maybe_unused]] const auto written = ::write(fds[1], &memory, sizeof memory);
                // Leaving at once spares the parent the wait for the teardown.
                ::_exit(0);
            });
        } catch (...) {
            // Nothing may unwind into the benchmark's own code in the child.
        }
        ::_exit(1);
    }
    ::close(fds[1]);
    ChildMemory memory;
    if (::read(fds[0], &memory, sizeof memory) != static_cast<ssize_t>(sizeof memory)) {
        memory = {};
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return memory;
}

} // namespace bench
