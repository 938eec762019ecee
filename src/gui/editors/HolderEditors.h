#pragma once
// The editors of persons and organizations, as the editors service opens them.

namespace quill {
class TContactHolderObject;
}

namespace quill::gui {

struct EditorContext;

// Runs the person or the organization editor (by the item's kind) modally on the item.
// For a new item (isNew) returns whether it stays: false on Cancel, when the caller removes
// it. For an existing one returns whether OK was chosen.
bool RunHolderEditor(TContactHolderObject& item, bool isNew, const EditorContext& context);

} // namespace quill::gui
