// Comma text: whatever is split, joining and splitting again gives the same list; any list
// (values cut from the input at 0xFF bytes) survives joining and splitting.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/util/comma_text.h"

namespace {

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    const std::vector<std::string> split = quill::SplitCommaText(text);
    const std::string joined = quill::JoinCommaText(split);
    Check(quill::SplitCommaText(joined) == split);
    Check(quill::JoinCommaText(quill::SplitCommaText(joined)) == joined);

    std::vector<std::string> values(1);
    for (char c : text) {
        if (static_cast<unsigned char>(c) == 0xFF) {
            values.emplace_back();
        } else {
            values.back() += c;
        }
    }
    Check(quill::SplitCommaText(quill::JoinCommaText(values)) == values);
    return 0;
}
