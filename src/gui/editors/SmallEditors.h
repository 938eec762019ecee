#pragma once
// The single-page item editors, reached by kind: folders (0), teams (2), websites (4),
// addresses (5), phones (6), e-mail addresses (7), faxes (8), documents (10) and tools (12).

#include "gui/editors/EditorContext.h"

namespace quill {
class TNRBObject;
}

namespace quill::gui {

// Whether the kind has one of these editors.
bool HasSmallEditor(int kind);

// Opens the kind's dialog modally on the item: isNew completes an item just created (its
// title preset), otherwise the item's fields are shown. The item is written only on OK and
// only when the kind's condition holds. Returns, for a new item, whether it stays (the
// caller removes it otherwise); for a stored one, whether anything was written. Kinds
// without such an editor return false and show nothing. Folders and teams are edited in
// place when new, so they come here only to be changed.
bool RunSmallEditor(TNRBObject& item, bool isNew, const EditorContext& context);

} // namespace quill::gui
