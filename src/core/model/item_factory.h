#pragma once
// The item factory: every new item, whatever creates it, comes from here.

#include "core/model/nrb_object.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace quill {

class TOutline;

// Constructs the kind's class (kinds 13 to 255: an item that keeps its data line), not
// attached to anything. An id of 0 draws a random one.
std::unique_ptr<TNRBObject> ConstructItem(int kind, std::string_view title, std::string_view target,
                                          std::string_view comment, std::int32_t id,
                                          std::string_view dataLine);

// Constructs an item and hangs it into the outline under parent: tree kinds as the last
// child node of parent (a top-level node of outline when parent is none), the others in
// the Children of parent's item. Returns the item (a tree item's node is its Node()).
// Returns none, and keeps nothing, for the root kind (the caller attaches a root itself)
// and for a child kind without a parent to hold it.
TNRBObject* CreateItem(int kind, std::string_view title, std::string_view target,
                       std::string_view comment, std::int32_t id, std::string_view dataLine,
                       TOutlineNode* parent, TOutline* outline = nullptr);

// A random id: a number from 0 to 65534 times a number from 0 to 32767.
std::int32_t DrawItemId();
// Seeds the id generator (done once at start-up; tests seed it for repeatable ids).
void SeedItemIds(std::uint32_t seed);

} // namespace quill
