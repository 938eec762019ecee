#pragma once
// The fonts of the report dialog's samples and what the reports make of them.

#include <QFont>

namespace quill::gui {

// The shared font dialog starts from this face.
inline constexpr char kInitialReportFace[] = "Arial";

// The sample font the dialog shows before a font is chosen: Arial, or the face the system
// puts in its place.
QFont InitialReportFont(int pointSize = 10);
// The face of the font at the size given, bold or not, in the colour of text.
QFont FaceAt(const QFont& face, qreal pointSize, bool bold = false);

} // namespace quill::gui
