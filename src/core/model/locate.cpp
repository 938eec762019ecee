#include "core/model/locate.h"

#include "core/model/nrb_object.h"
#include "core/model/outline.h"
#include "core/util/text_encoding.h"

#include <vector>

namespace quill {

bool MatchesAtWordStart(std::string_view lowerText, std::string_view lowerNeedle) {
    if (lowerNeedle.empty()) {
        return false;
    }
    // Only the first occurrence counts, even when a later one would begin a word.
    const std::size_t at = lowerText.find(lowerNeedle);
    return at != std::string_view::npos && (at == 0 || lowerText[at - 1] == ' ');
}

LocateResult LocateInOutline(const TOutline& outline, const TOutlineNode* start,
                             std::string_view lowerText, const std::function<void()>& step) {
    std::vector<TOutlineNode*> nodes;
    nodes.reserve(outline.NodeCount());
    outline.ForEachNode([&](TOutlineNode* node) { nodes.push_back(node); });
    if (nodes.empty()) {
        return {};
    }
    const std::size_t count = nodes.size();
    const std::size_t first = start ? static_cast<std::size_t>(start->AbsoluteIndex()) : 0;
    std::size_t i = first;
    do {
        if (step) {
            step();
        }
        i = (i + 1) % count;
        TOutlineNode* node = nodes[i];
        if (MatchesAtWordStart(Utf8ToLower(node->Text()), lowerText)) {
            return {node, nullptr};
        }
        if (const TNRBObject* item = node->Item()) {
            if (TNRBObject* child =
                    lowerText.empty() ? nullptr : item->FindChildByWord(lowerText)) {
                return {node, child};
            }
        }
    } while (i != first);
    return {};
}

} // namespace quill
