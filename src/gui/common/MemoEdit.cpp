#include "gui/common/MemoEdit.h"

#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace quill::gui {

MemoEdit::MemoEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(true);
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { Trim(position, added); });
}

void MemoEdit::SetText(const QString& text) {
    setting_ = true;
    setPlainText(text);
    setting_ = false;
}

void MemoEdit::insertFromMimeData(const QMimeData* source) {
    // An empty clipboard (after a reboot, or once the program that copied has ended) offers
    // data without a single format, and the toolkit's paste reads the first of them.
    if (!source || source->formats().isEmpty()) {
        return;
    }
    QPlainTextEdit::insertFromMimeData(source);
}

void MemoEdit::SetVisibleLines(int lines) {
    visibleLines_ = lines;
    updateGeometry();
}

QSize MemoEdit::sizeHint() const {
    QSize size = QPlainTextEdit::sizeHint();
    const int margins = contentsMargins().top() + contentsMargins().bottom() +
                        2 * static_cast<int>(document()->documentMargin());
    size.setHeight(fontMetrics().lineSpacing() * visibleLines_ + margins +
                   (horizontalScrollBar()->isVisible() ? horizontalScrollBar()->height() : 0));
    return size;
}

void MemoEdit::Trim(int position, int added) {
    if (setting_ || maxLength_ <= 0 || added <= 0) {
        return;
    }
    const int excess = toPlainText().size() - maxLength_;
    if (excess <= 0) {
        return;
    }
    // Of what came in, the end that does not fit is taken out again.
    // (Qt may count the closing paragraph mark among what was added: stay inside the text.)
    const int end = qMin(position + added, document()->characterCount() - 1);
    const int cut = qMin(excess, end - position);
    if (cut <= 0) {
        return;
    }
    QTextCursor cursor(document());
    cursor.setPosition(end - cut);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    setting_ = true;
    cursor.removeSelectedText();
    setting_ = false;
}

} // namespace quill::gui
