// The hand-over text a second start sends: whatever is split, joining and splitting again
// gives the same list; any argument list (cut from the input at 0xFF bytes) survives
// quoting and splitting whole; the classification never fails.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/app/command_line.h"

namespace {

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    const std::vector<std::string> split = quill::SplitCommandLine(text);
    const std::string joined = quill::JoinCommandLine(split);
    Check(quill::SplitCommandLine(joined) == split);
    const auto imports = quill::CommandLineImports(text);
    Check(imports.size() <= (split.empty() ? 0 : split.size() - 1));

    std::vector<std::string> arguments(1);
    for (char c : text) {
        if (static_cast<unsigned char>(c) == 0xFF) {
            arguments.emplace_back();
        } else {
            arguments.back() += c;
        }
    }
    Check(quill::SplitCommandLine(quill::JoinCommandLine(arguments)) == arguments);
    quill::ParseStartMode(arguments);
    quill::HasHideSwitch(arguments);
    return 0;
}
