#include "gui/common/MaskedNumberEdit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>

namespace quill::gui {

MaskedNumberEdit::MaskedNumberEdit(QWidget* parent) : QLineEdit(parent) {}

void MaskedNumberEdit::SetEditMask(std::string_view mask) {
    const bool had = mask_.HasMask();
    const std::string typed = had ? typed_ : text().toStdString();
    mask_ = TEditMask(mask);
    typed_.clear();
    // Under a mask only the keys reach the box: no context menu or drop can put text past it.
    setContextMenuPolicy(mask_.HasMask() ? Qt::NoContextMenu : Qt::DefaultContextMenu);
    setAcceptDrops(!mask_.HasMask());
    if (!mask_.HasMask()) {
        // What was typed stays, to be edited freely from now on; the mask's literals and
        // blanks are nothing the user wrote.
        if (had) {
            setText(QString::fromStdString(typed));
        }
        return;
    }
    // Typed again into the new mask: what it refuses falls away.
    Type(QString::fromStdString(typed));
    Show();
}

bool MaskedNumberEdit::IsEntered() const {
    return mask_.IsEntered(text().toStdString());
}

QString MaskedNumberEdit::Number() const {
    return QString::fromStdString(mask_.Filled(text().toStdString()));
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

void MaskedNumberEdit::Retype(const QString& characters) {
    if (!mask_.HasMask()) {
        setText(characters);
        return;
    }
    typed_.clear();
    Type(characters);
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
    if (event->matches(QKeySequence::Cut)) {
        // Copies what is selected; the number only empties when all of it was.
        copy();
        if (hasSelectedText() && selectedText().size() == text().size()) {
            typed_.clear();
            Show();
        }
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

void MaskedNumberEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (!mask_.HasMask()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    Type(event->commitString());
    event->accept();
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
