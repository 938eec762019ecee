#include "core/util/work_progress.h"

namespace quill {
namespace {

thread_local IWorkProgress* current = nullptr;

} // namespace

WorkProgressScope::WorkProgressScope(IWorkProgress& listener) : previous_(current) {
    current = &listener;
}

WorkProgressScope::~WorkProgressScope() {
    current = previous_;
}

bool ReportWorkProgress(std::uint64_t done, std::uint64_t total) {
    return current == nullptr || current->Progress(done, total);
}

} // namespace quill
