#include "core/app/node_path.h"

#include "core/model/outline.h"

#include <vector>

namespace quill {

TOutlineNode* FindNodeByPath(const TOutline& outline, std::string_view path) {
    TOutlineNode* node = outline.Root();
    if (!node) {
        return nullptr;
    }
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        const std::size_t slash = path.find('/');
        parts.push_back(path.substr(0, slash));
        path = slash == std::string_view::npos ? std::string_view{} : path.substr(slash + 1);
    }
    std::size_t first = 0;
    if (!parts.empty() && parts.front() == node->Text()) {
        first = 1;
    }
    for (std::size_t i = first; i < parts.size() && node; ++i) {
        if (parts[i].empty()) {
            continue;
        }
        TOutlineNode* found = nullptr;
        for (std::size_t c = 0; c < node->ChildCount() && !found; ++c) {
            if (node->ChildAt(c)->Text() == parts[i]) {
                found = node->ChildAt(c);
            }
        }
        node = found;
    }
    return node;
}

} // namespace quill
