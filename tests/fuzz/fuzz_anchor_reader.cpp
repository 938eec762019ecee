// The bookmark-page readers: whatever the bytes, every line decodes to UTF-8, titles and
// anchors are pieces of the line they come from, and only upper-case anchor tags count.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/exchange/html_anchor_reader.h"
#include "core/exchange/import_sources.h"
#include "core/util/text_encoding.h"

namespace {

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

bool Holds(std::string_view text, std::string_view piece) {
    return text.find(piece) != std::string_view::npos;
}

void CheckLine(std::string_view line) {
    if (const auto title = quill::TitleOfLine(line)) {
        Check(line.size() >= 7 && Holds(line.substr(7), *title));
    }
    const auto anchor = quill::GetAnchorInfo(line);
    if (!Holds(line, "<A")) {
        Check(!anchor);
    }
    if (anchor) {
        const std::string_view tail = line.substr(line.find("<A"));
        Check(Holds(tail, anchor->address));
        Check(Holds(tail, anchor->title));
        Check(!Holds(anchor->title, "</A>"));
        if (!anchor->title.empty()) {
            Check(Holds(tail, anchor->title + "</A>"));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto lines = quill::SplitSourceLines(bytes);
    for (const std::string& line : lines) {
        Check(quill::IsValidUtf8(line));
        Check(line.find_first_of("\r\n") == std::string::npos);
        CheckLine(line);
    }
    const std::string title = quill::GetBMTitle(lines);
    if (!title.empty()) {
        bool found = false;
        for (const std::string& line : lines) {
            if (const auto t = quill::TitleOfLine(line)) {
                Check(*t == title);
                found = true;
                break;
            }
        }
        Check(found);
    }
    // The raw bytes as one line, the way a page without line breaks arrives.
    CheckLine(bytes);
    return 0;
}
