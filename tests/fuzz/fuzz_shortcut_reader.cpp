// The Internet shortcut reader: whatever the text, the address is one line's piece, and a
// shortcut written with that address reads it back.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/exchange/shortcut_file.h"
#include "core/storage/profile_file.h"
#include "core/util/text_encoding.h"

namespace {

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = quill::DecodeFileText(bytes);
    const std::string url = quill::ShortcutUrl(text);
    Check(url.find('\n') == std::string::npos);
    Check(quill::IsValidUtf8(url));
    Check(text.find(url) != std::string::npos);

    // What the reader gives, written the way the settings file writes a value, reads back;
    // only a lone CR, which the writer turns into a blank, changes.
    std::string expected = url;
    std::replace(expected.begin(), expected.end(), '\r', ' ');
    quill::IniDocument doc;
    if (doc.SetValue("InternetShortcut", "URL", url)) {
        Check(quill::ShortcutUrl(doc.Serialize()) == expected);
    }
    return 0;
}
