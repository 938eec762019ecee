#pragma once
// Windows that the behaviour places in the middle of the screen (the wizards, the progress
// window), whatever window opened them.

class QWidget;

namespace quill::gui {

// Moves the window so that its frame stands in the middle of the available area of its
// screen (the primary one while it has none).
void CentreOnScreen(QWidget& window);

} // namespace quill::gui
