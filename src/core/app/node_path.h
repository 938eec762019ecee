#pragma once
// A node named on a command line by its path: the captions from the root joined by "/".

#include <string_view>

namespace quill {

class TOutline;
class TOutlineNode;

// The node whose captions from the root, joined by "/", make path ("" or the root's own
// caption: the root). The root's caption may be left out in front; empty parts are skipped.
// None when no node has that path.
TOutlineNode* FindNodeByPath(const TOutline& outline, std::string_view path);

} // namespace quill
