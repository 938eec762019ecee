#pragma once
// Small windows that a window manager captions: message boxes, tool windows. Laid out for
// their contents alone, their caption is cut ("Impo...izard") once it is wider than they are.

class QMessageBox;
class QWidget;

namespace quill::gui {

// The width the window needs to show its caption whole: the caption in bold, as most window
// managers draw it, beside the manager's icon and its three buttons.
int CaptionRoom(const QWidget& window);

// Lets the message box grow to its caption's room (its own layout ignores a minimum width).
void FitCaption(QMessageBox& box);

} // namespace quill::gui
