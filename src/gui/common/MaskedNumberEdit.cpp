#include "gui/common/MaskedNumberEdit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

namespace quill::gui {

MaskedNumberEdit::MaskedNumberEdit(QWidget* parent) : QLineEdit(parent) {}

void MaskedNumberEdit::SetEditMask(std::string_view mask) {
    const bool had = mask_.HasMask();
    mask_ = TEditMask(mask);
    if (!mask_.HasMask()) {
        if (had) {
            // What was typed stays, to be edited freely from now on; the blanks of an
            // untouched mask are nothing the user wrote.
            if (typed_.empty()) {
                clear();
            }
            typed_.clear();
        }
        return;
    }
    if (!had) {
        // Free text typed before the mask is typed again into it, digit by digit.
        typed_ = text().toStdString();
    }
    Show();
}

bool MaskedNumberEdit::IsEntered() const {
    return mask_.IsEntered(text().toStdString());
}

void MaskedNumberEdit::Type(const QString& characters) {
    if (!mask_.HasMask()) {
        insert(characters);
        return;
    }
    for (const QChar c : characters) {
        if (c.unicode() > 0x7f) {
            continue; // masks take digits and ASCII literals only
        }
        std::string attempt = typed_;
        attempt.push_back(static_cast<char>(c.unicode()));
        // A character the mask refuses leaves the display as it was: drop it.
        if (mask_.Apply(attempt) != mask_.Apply(typed_)) {
            typed_ = std::move(attempt);
        }
    }
    Show();
}

void MaskedNumberEdit::keyPressEvent(QKeyEvent* event) {
    if (!mask_.HasMask()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        Type(QGuiApplication::clipboard()->text());
        return;
    }
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        if (hasSelectedText() && selectedText().size() == text().size()) {
            typed_.clear();
        } else if (!typed_.empty()) {
            typed_.pop_back();
        }
        Show();
        return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->ignore();
        return;
    default:
        break;
    }
    if (!event->text().isEmpty() && event->text().at(0).isPrint()) {
        Type(event->text());
        return;
    }
    // Cursor keys, selection and copy keep their usual meaning.
    QLineEdit::keyPressEvent(event);
}

void MaskedNumberEdit::Show() {
    const std::string shown = mask_.Apply(typed_);
    setText(QString::fromStdString(shown));
    // The cursor stands behind the last filled position.
    std::size_t end = 0;
    for (std::size_t i = 0; i < shown.size() && i < mask_.Length(); ++i) {
        if (mask_.SlotAt(i) != TEditMask::Slot::Literal && shown[i] != mask_.Blank()) {
            end = i + 1;
        }
    }
    setCursorPosition(static_cast<int>(end));
}

} // namespace quill::gui
