#include "core/comm/phone_extension.h"

#include "core/util/ascii.h"

namespace quill {

NumberAndExtension SplitExtension(std::string_view text) {
    std::size_t digits = text.size();
    while (digits > 0 && text[digits - 1] >= '0' && text[digits - 1] <= '9') {
        --digits;
    }
    if (digits == text.size()) {
        return {std::string(text), {}};
    }
    std::string_view head = text.substr(0, digits);
    while (!head.empty() && head.back() == ' ') {
        head.remove_suffix(1);
    }
    for (std::string_view mark : {"extension", "ext.", "ext", "x"}) {
        if (head.size() > mark.size() && EndsWithIgnoreAsciiCase(head, mark) &&
            head[head.size() - mark.size() - 1] == ' ') {
            std::string_view number = head.substr(0, head.size() - mark.size());
            while (!number.empty() && static_cast<unsigned char>(number.front()) <= 0x20) {
                number.remove_prefix(1);
            }
            while (!number.empty() && static_cast<unsigned char>(number.back()) <= 0x20) {
                number.remove_suffix(1);
            }
            return {std::string(number), std::string(text.substr(digits))};
        }
    }
    return {std::string(text), {}};
}

} // namespace quill
