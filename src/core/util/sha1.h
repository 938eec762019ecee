#pragma once
// SHA-1, for name-based UUIDs only (identifiers, not security).

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quill {

std::array<std::uint8_t, 20> Sha1(std::string_view bytes);

// A name-based UUID (version 5) of name in the namespace, as "xxxxxxxx-xxxx-5xxx-yxxx-
// xxxxxxxxxxxx" in lower case: the same name always gives the same UUID.
std::string NameBasedUuid(const std::array<std::uint8_t, 16>& nameSpace, std::string_view name);

} // namespace quill
