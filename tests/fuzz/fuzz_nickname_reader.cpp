// The Eudora nicknames reader: an alias always yields an address holding "@" taken from the
// line, a note's text is the end of its line, and both nicknames are the line's second item.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/exchange/import_sources.h"
#include "core/exchange/nickname_file.h"
#include "core/util/comma_text.h"

namespace {

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const std::string& line : quill::SplitSourceLines(bytes)) {
        const auto alias = quill::ParseAliasLine(line);
        const auto note = quill::ParseNoteLine(line);
        Check(!(alias && note));
        if (alias) {
            Check(line.starts_with("alias"));
            Check(alias->address.find('@') != std::string::npos);
            Check(quill::SplitCommaText(line).size() >= 3);
        }
        if (note) {
            Check(line.starts_with("note"));
            Check(std::string_view(line).ends_with(note->text));
            const auto items = quill::SplitCommaText(line);
            Check(items.size() >= 3 && items[1] == note->nickname);
            Check(note->text.size() + note->nickname.size() + 5 <= line.size());
        }
    }
    return 0;
}
