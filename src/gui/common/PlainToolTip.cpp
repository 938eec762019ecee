#include "gui/common/PlainToolTip.h"

#include <QTextDocument>

namespace quill::gui {

QString PlainToolTip(const QString& text) {
    if (!Qt::mightBeRichText(text)) {
        return text;
    }
    // On one line, as a plain tooltip shows it: a markup tooltip would wrap a path at "/".
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

} // namespace quill::gui
