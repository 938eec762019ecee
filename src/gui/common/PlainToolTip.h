#pragma once
// Qt shows a tooltip that looks like markup as markup: a name such as "<b>Smith</b>" would
// show bold, or as nothing at all.

#include <QString>

namespace quill::gui {

// The tooltip for a text that is to show as written: markup that spells it out when Qt would
// take it for markup, the text itself otherwise.
QString PlainToolTip(const QString& text);

} // namespace quill::gui
