#pragma once
// What a user reads in a label or a tooltip: Qt shows text that looks like markup as markup,
// so a name holding "<b>" or "&amp;" would lose them.

#include <QString>
#include <QTextDocument>

namespace quill::test {

// The text as shown in a widget of that text format (tooltips are shown as AutoText).
inline QString ShownText(const QString& text, Qt::TextFormat format = Qt::AutoText) {
    QTextDocument document;
    if (format == Qt::RichText || (format == Qt::AutoText && Qt::mightBeRichText(text))) {
        document.setHtml(text);
    } else {
        document.setPlainText(text);
    }
    return document.toPlainText();
}

} // namespace quill::test
