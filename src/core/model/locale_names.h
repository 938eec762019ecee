#pragma once
// The locale's month and day names and date formats, read through the C++ standard library.

#include "core/services.h"

#include <memory>
#include <string_view>

namespace quill {

// Names from the process's locale (LC_TIME from the environment); English names and the
// short date form M/d/yyyy when the locale is "C" or "POSIX" or cannot be loaded.
ILocaleNames& SystemLocaleNames();

// Always English (the names used when no locale is set). Tests use it for stable texts.
ILocaleNames& EnglishLocaleNames();

// Names of the named locale, e.g. "de_DE.UTF-8"; English when the name is empty, "C" or
// "POSIX" (with or without a codeset) or cannot be loaded. Texts are UTF-8 whatever the
// locale's own character set.
std::unique_ptr<ILocaleNames> MakeLocaleNames(std::string_view localeName);

} // namespace quill
