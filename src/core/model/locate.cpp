#include "core/model/locate.h"

#include "core/model/nrb_object.h"
#include "core/model/outline.h"
#include "core/util/ascii.h"
#include "core/util/text_encoding.h"

#include <string>

namespace quill {

bool MatchesAtWordStart(std::string_view lowerText, std::string_view lowerNeedle) {
    if (lowerNeedle.empty()) {
        return false;
    }
    // Only the first occurrence counts, even when a later one would begin a word.
    const std::size_t at = lowerText.find(lowerNeedle);
    return at != std::string_view::npos && (at == 0 || lowerText[at - 1] == ' ');
}

namespace {

bool IsPlainAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

} // namespace

bool MatchesAtWordStartOf(std::string_view text, std::string_view lowerNeedle,
                          std::string& buffer) {
    if (!IsPlainAscii(text)) {
        Utf8ToLowerInto(text, buffer);
        return MatchesAtWordStart(buffer, lowerNeedle);
    }
    if (lowerNeedle.empty() || lowerNeedle.size() > text.size()) {
        return false;
    }
    // Lowering ASCII changes letters only, so the first occurrence in the lowered text is
    // the first place where the text equals the needle without regard to case.
    const char first = lowerNeedle.front();
    for (std::size_t at = 0; at + lowerNeedle.size() <= text.size(); ++at) {
        if (AsciiLower(text[at]) == first &&
            EqualsIgnoreAsciiCase(text.substr(at, lowerNeedle.size()), lowerNeedle)) {
            return at == 0 || text[at - 1] == ' ';
        }
    }
    return false;
}

LocateResult LocateInOutline(const TOutline& outline, const TOutlineNode* start,
                             std::string_view lowerText, const std::function<void()>& step) {
    TOutlineNode* root = outline.Root();
    if (!root) {
        return {};
    }
    // Node by node in tree order, wrapping from the last node to the root; no list of the
    // nodes is made and no caption is copied but into one buffer.
    const TOutlineNode* first = start ? start : root;
    const TOutlineNode* node = first;
    std::string lowered;
    do {
        if (step) {
            step();
        }
        node = node->NextInTree();
        if (!node) {
            node = root;
        }
        if (MatchesAtWordStartOf(node->Text(), lowerText, lowered)) {
            return {const_cast<TOutlineNode*>(node), nullptr};
        }
        if (const TNRBObject* item = node->Item()) {
            if (TNRBObject* child =
                    lowerText.empty() ? nullptr : item->FindChildByWord(lowerText)) {
                return {const_cast<TOutlineNode*>(node), child};
            }
        }
    } while (node != first);
    return {};
}

} // namespace quill
