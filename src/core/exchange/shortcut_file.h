#pragma once
// Internet shortcut files (".url"): INI files whose [InternetShortcut] section names the
// address as URL=.

#include <string>
#include <string_view>

namespace quill {

// The address of a shortcut file's decoded text: URL of [InternetShortcut], else the first
// URL= line anywhere (shortcuts written by hand often lack the section); empty when none.
std::string ShortcutUrl(std::string_view text);

// True when the file name ends in ".url" (any case).
bool IsShortcutFileName(std::string_view fileName);

// The title a shortcut file's website gets: its name without directory and without the
// four characters of ".url".
std::string ShortcutTitle(std::string_view path);

} // namespace quill
