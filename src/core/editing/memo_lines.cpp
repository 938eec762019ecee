#include "core/editing/memo_lines.h"

namespace quill {

std::vector<std::string> MemoLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string line;
    bool open = false; // a line has begun that no break has ended yet
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            open = false;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            line.push_back(c);
            open = true;
        }
    }
    if (open) {
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace quill
