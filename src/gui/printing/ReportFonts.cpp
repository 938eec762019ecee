#include "gui/printing/ReportFonts.h"

#include <QFontInfo>

namespace quill::gui {

QFont InitialReportFont(int pointSize) {
    QFont font(QString::fromLatin1(kInitialReportFace));
    font.setPointSize(pointSize);
    // Where Arial itself is not installed the system substitutes a face of the same metrics
    // (Liberation Sans); the font dialog lists that face under its own name.
    font.setFamily(QFontInfo(font).family());
    return font;
}

QFont FaceAt(const QFont& face, qreal pointSize, bool bold) {
    QFont font(face);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace quill::gui
