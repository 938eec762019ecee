#include "gui/printing/ReportFonts.h"

namespace quill::gui {

QFont InitialReportFont(int pointSize) {
    QFont font(QString::fromLatin1(kInitialReportFace));
    font.setPointSize(pointSize);
    return font;
}

QFont FaceAt(const QFont& face, qreal pointSize, bool bold) {
    QFont font(face);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace quill::gui
