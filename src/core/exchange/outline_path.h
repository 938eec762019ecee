#pragma once
// Paths that name a node of the outline from the command line (quilltool's --target and
// --from, quillprint's start node): the captions from the root down, joined by "/".
//
//   "Family/Ann Lee"   the child "Ann Lee" of the root's child "Family" (the root's own
//                      caption may stand in front: "My Contacts/Family/Ann Lee")
//   "Family/#2"        the second child node of "Family" (from 1, in outline order): for a
//                      node with an empty caption, or one whose caption a sibling repeats
//   "A\/B", "\#1"      a "/" and a leading "#" that belong to a caption; "\\" is a backslash
//
// A caption is compared exactly; among siblings of the same caption the first is taken. An
// empty segment (as in "Family//Ann" or a trailing "/") names nothing more.

#include <string>
#include <string_view>

namespace quill {

class TOutline;
class TOutlineNode;

// The node the path names; "" names the root. None when a segment names no child.
TOutlineNode* FindNodeByPath(const TOutline& outline, std::string_view path);

// A path that names the node: its captions, each escaped, a "#N" for a caption that is empty
// or that an earlier sibling repeats. The root's caption is left out, so the root is "".
std::string PathOfNode(const TOutlineNode& node);

} // namespace quill
