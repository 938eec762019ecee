#pragma once
// The find-as-you-type search: a walk over the outline in tree order from the node after
// the start, wrapping to the root, that stops at the first node whose caption (or one of
// whose sub-items' titles) has a word beginning with the search text.

#include <functional>
#include <string>
#include <string_view>

namespace quill {

class TNRBObject;
class TOutline;
class TOutlineNode;

// Whether the first occurrence of lowerNeedle in lowerText stands at its start or directly
// behind a blank. An empty needle matches nothing.
bool MatchesAtWordStart(std::string_view lowerText, std::string_view lowerNeedle);
// The same for a text not yet lowered. Plain ASCII (almost every caption) is compared as it
// stands; any other text is lowered into buffer first.
bool MatchesAtWordStartOf(std::string_view text, std::string_view lowerNeedle, std::string& buffer);

struct LocateResult {
    TOutlineNode* node = nullptr;  // the matching node, or the holder of the matching sub-item
    TNRBObject* subItem = nullptr; // set when a sub-item matched
    explicit operator bool() const { return node != nullptr; }
};

// Walks from the node after start (start itself is tested last) with the search text already
// in lower case; step is called once per node visited, before the node is tested.
LocateResult LocateInOutline(const TOutline& outline, const TOutlineNode* start,
                             std::string_view lowerText, const std::function<void()>& step = {});

} // namespace quill
