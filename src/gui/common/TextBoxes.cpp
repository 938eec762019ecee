#include "gui/common/TextBoxes.h"

#include "platform/Utf8Text.h"

namespace quill::gui {
namespace {
constexpr char kTypingLimit[] = "quillTypingLimit";
}

void SetTypingLimit(QLineEdit* edit, int maxLength) {
    edit->setProperty(kTypingLimit, maxLength);
    if (maxLength > 0) {
        edit->setMaxLength(maxLength);
    }
}

void ShowText(QLineEdit* edit, std::string_view text) {
    const QString shown = FromUtf8(text);
    const int limit = edit->property(kTypingLimit).toInt();
    if (limit > 0) {
        edit->setMaxLength(qMax(limit, static_cast<int>(shown.size())));
    }
    edit->setText(shown);
}

std::string TextOf(const QLineEdit* edit) {
    return edit->text().toStdString();
}

} // namespace quill::gui
