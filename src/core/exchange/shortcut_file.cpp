#include "core/exchange/shortcut_file.h"

#include "core/storage/profile_file.h"
#include "core/util/ascii.h"

#include <algorithm>

namespace quill {

namespace {

constexpr std::string_view kShortcutSection = "InternetShortcut";
constexpr std::string_view kUrlKey = "URL";
constexpr std::string_view kShortcutExtension = ".url";

} // namespace

std::string ShortcutUrl(std::string_view text) {
    const IniDocument doc = ParseIni(text);
    if (std::optional<std::string> url = doc.Value(kShortcutSection, kUrlKey)) {
        return std::move(*url);
    }
    for (const std::string& line : doc.Lines()) {
        const std::string_view view = line;
        const std::size_t equals = view.find('=');
        if (equals != std::string_view::npos &&
            EqualsIgnoreAsciiCase(TrimProfileText(view.substr(0, equals)), kUrlKey)) {
            return std::string(UnquoteProfileValue(TrimProfileText(view.substr(equals + 1))));
        }
    }
    return {};
}

bool IsShortcutFileName(std::string_view fileName) {
    return EndsWithIgnoreAsciiCase(fileName, kShortcutExtension);
}

std::string ShortcutTitle(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    name.remove_suffix(std::min(name.size(), kShortcutExtension.size()));
    return std::string(name);
}

} // namespace quill
