#include "gui/common/PlainToolTip.h"

#include <QTextDocument>

namespace quill::gui {

QString PlainToolTip(const QString& text) {
    return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal) : text;
}

} // namespace quill::gui
