#include "interop_support.h"

#include "core/util/atomic_file.h"

#include <atomic>
#include <vector>

namespace quill::test {

namespace fs = std::filesystem;

CommandOutcome RunCommand(const std::string& commandLine, const fs::path& dir) {
    static std::atomic<int> counter{0};
    const std::string tag = std::to_string(counter++);
    const std::string out = (dir / ("cmd-out-" + tag)).string();
    const std::string err = (dir / ("cmd-err-" + tag)).string();
    const std::string full =
        commandLine + " </dev/null >" + ShellQuoted(out) + " 2>" + ShellQuoted(err);
    const int raw = std::system(full.c_str());
    CommandOutcome outcome;
#ifdef _WIN32
    outcome.status = raw;
#else
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    outcome.out = ReadWholeFile(out).value_or("");
    outcome.err = ReadWholeFile(err).value_or("");
    return outcome;
}

fs::path InteropDirectory() {
    return fs::path(QUILL_SOURCE_DIR) / "tests" / "interop";
}

namespace {

bool Runs(const std::string& commandLine) {
    const std::string full = commandLine + " >/dev/null 2>&1 </dev/null";
    const int raw = std::system(full.c_str());
#ifdef _WIN32
    return raw == 0;
#else
    return WIFEXITED(raw) && WEXITSTATUS(raw) == 0;
#endif
}

} // namespace

std::optional<std::string> VobjectPython(std::string& whyNot) {
    for (const std::string python : {"/usr/bin/python3", "python3"}) {
        if (Runs(python + " -c 'import vobject'")) {
            return python;
        }
    }
    whyNot = "python3-vobject is not installed (make deps installs it)";
    return std::nullopt;
}

std::optional<std::string> NodeWithReaders(std::string& whyNot) {
    if (!Runs("node --version")) {
        whyNot = "node is not installed";
        return std::nullopt;
    }
    const fs::path modules = InteropDirectory() / "node_modules";
    std::error_code ec;
    if (!fs::exists(modules / "ical.js" / "package.json", ec) ||
        !fs::exists(modules / "vcf" / "package.json", ec)) {
        whyNot = "ical.js and vcf are not installed in tests/interop (make test installs them)";
        return std::nullopt;
    }
    return std::string("node");
}

std::optional<std::string> Tidy(std::string& whyNot) {
    if (!Runs("tidy -v")) {
        whyNot = "tidy is not installed (make deps installs it)";
        return std::nullopt;
    }
    return std::string("tidy");
}

std::optional<fs::path> InteropCorpus() {
    std::vector<fs::path> candidates;
    if (const char* env = std::getenv("QUILL_INTEROP_CORPUS")) {
        candidates.emplace_back(env);
    }
    candidates.push_back(fs::path(QUILL_SOURCE_DIR) / ".." / "shared" / "interop-corpus");
    candidates.emplace_back("/work/shared/interop-corpus");
    for (const fs::path& candidate : candidates) {
        std::error_code ec;
        if (fs::is_directory(candidate / "vcard", ec)) {
            return candidate;
        }
    }
    return std::nullopt;
}

} // namespace quill::test
