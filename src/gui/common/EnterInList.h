#pragma once
// Enter in a list that acts on its entry (opens a directory, takes a name to edit) must stop
// there. A view emits activated() on Enter and then passes the key on, so the dialog's
// default button would be pressed as well: Finish or OK before the user is done.

class QAbstractItemView;

namespace quill::gui {

// From now on Enter in the view activates its current entry and goes no further.
void KeepEnterInList(QAbstractItemView* view);

} // namespace quill::gui
