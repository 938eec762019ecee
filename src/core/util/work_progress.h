#pragma once
// Long work (an import, an export) tells whoever waits how far it has come and learns whether
// to go on. The listener is installed for the current thread by a scope, so the readers and
// writers keep their signatures; without one every report says "go on" at the cost of a
// load and a branch.

#include <cstdint>

namespace quill {

class IWorkProgress {
public:
    virtual ~IWorkProgress() = default;
    // done of total units; a total of 0 means the listener knows the total itself (exports
    // report the nodes written so far). False asks the work to stop: it then winds down
    // without finishing and the listener's owner undoes what was done.
    virtual bool Progress(std::uint64_t done, std::uint64_t total) = 0;
};

// Installs a listener for the work done on this thread while the scope lives (nests).
class WorkProgressScope {
public:
    explicit WorkProgressScope(IWorkProgress& listener);
    ~WorkProgressScope();
    WorkProgressScope(const WorkProgressScope&) = delete;
    WorkProgressScope& operator=(const WorkProgressScope&) = delete;

private:
    IWorkProgress* previous_;
};

// Reports to the installed listener; true (go on) when there is none.
bool ReportWorkProgress(std::uint64_t done, std::uint64_t total);

} // namespace quill
