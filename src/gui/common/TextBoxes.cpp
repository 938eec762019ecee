#include "gui/common/TextBoxes.h"

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
    const QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
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
