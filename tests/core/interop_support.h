#pragma once
// What the tests against independent readers and other programs' files share: running a
// command, finding the readers (installed into tests/interop by the Makefile) and the folder
// of files that other programs wrote.

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace quill::test {

struct CommandOutcome {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Runs the command line (arguments already quoted) with its output in files of dir.
CommandOutcome RunCommand(const std::string& commandLine, const std::filesystem::path& dir);

// The folder with the readers' scripts and their node_modules: tests/interop of the sources.
std::filesystem::path InteropDirectory();

// The Python that has vobject (Debian's /usr/bin/python3 when there is one), or a reason why
// none can be used.
std::optional<std::string> VobjectPython(std::string& whyNot);
// node, when ical.js and vcf are installed in InteropDirectory(); otherwise the reason.
std::optional<std::string> NodeWithReaders(std::string& whyNot);
// tidy, or the reason why not.
std::optional<std::string> Tidy(std::string& whyNot);

// The files other programs wrote: $QUILL_INTEROP_CORPUS, ../shared/interop-corpus beside
// the sources, or /work/shared/interop-corpus; none when no such folder exists.
std::optional<std::filesystem::path> InteropCorpus();

} // namespace quill::test
