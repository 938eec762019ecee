#pragma once
// Line edits with a limit on what may be typed, that still show and keep a longer stored
// text whole: Qt would cut it to the limit, and OK would then store it cut.

#include <QLineEdit>

#include <string>
#include <string_view>

namespace quill::gui {

// The most characters that may be typed; 0 is no limit.
void SetTypingLimit(QLineEdit* edit, int maxLength);
// Shows the text whole, even when it is longer than what may be typed into the box.
void ShowText(QLineEdit* edit, std::string_view text);
std::string TextOf(const QLineEdit* edit);

} // namespace quill::gui
