#include "gui/common/MaskedNumberEdit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include <algorithm>

namespace quill::gui {

MaskedNumberEdit::MaskedNumberEdit(QWidget* parent) : QLineEdit(parent) {}

void MaskedNumberEdit::SetEditMask(std::string_view mask) {
    const bool had = mask_.HasMask();
    // What the user typed: the old mask's literals and blanks are nothing they wrote.
    const std::string typed = had ? mask_.Value(Current().text) : text().toStdString();
    mask_ = TEditMask(mask);
    // Under a mask only the keys reach the box: no context menu or drop can put text past it.
    setContextMenuPolicy(mask_.HasMask() ? Qt::NoContextMenu : Qt::DefaultContextMenu);
    setAcceptDrops(!mask_.HasMask());
    if (!mask_.HasMask()) {
        // What was typed stays, to be edited freely from now on.
        if (had) {
            setText(QString::fromStdString(typed));
        }
        return;
    }
    // Typed again into the new mask: what it refuses falls away.
    Retype(QString::fromStdString(typed));
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
    TEditMask::Editing editing = Current();
    EraseSelection(editing);
    bool typed = false;
    for (const QChar c : characters) {
        // Masks take digits and ASCII literals only.
        if (c.unicode() <= 0x7f && mask_.Type(editing, static_cast<char>(c.unicode()))) {
            typed = true;
        }
    }
    // Nothing the mask takes leaves the number and the selection as they were.
    if (typed) {
        Show(editing);
    }
}

void MaskedNumberEdit::Retype(const QString& characters) {
    if (!mask_.HasMask()) {
        setText(characters);
        return;
    }
    Show({mask_.EmptyText(), 0});
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
        copy();
        TEditMask::Editing editing = Current();
        if (EraseSelection(editing)) {
            Show(editing);
        }
        return;
    }
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete: {
        TEditMask::Editing editing = Current();
        if (!EraseSelection(editing)) {
            if (event->key() == Qt::Key_Backspace) {
                mask_.EraseBefore(editing);
            } else {
                mask_.EraseAfter(editing);
            }
        }
        Show(editing);
        return;
    }
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

TEditMask::Editing MaskedNumberEdit::Current() const {
    std::string shown = text().toStdString();
    // Text set from outside is typed into the mask first.
    if (shown.size() != mask_.Length()) {
        shown = mask_.Apply(shown);
    }
    const int at = hasSelectedText() ? selectionStart() : cursorPosition();
    return {std::move(shown), static_cast<std::size_t>(std::max(at, 0))};
}

void MaskedNumberEdit::Show(const TEditMask::Editing& editing) {
    setText(QString::fromStdString(editing.text));
    setCursorPosition(static_cast<int>(editing.cursor));
}

bool MaskedNumberEdit::EraseSelection(TEditMask::Editing& editing) const {
    if (!hasSelectedText()) {
        return false;
    }
    const auto from = static_cast<std::size_t>(selectionStart());
    mask_.Erase(editing, from, from + static_cast<std::size_t>(selectedText().size()));
    return true;
}

} // namespace quill::gui
