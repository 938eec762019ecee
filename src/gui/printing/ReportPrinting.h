#pragma once
// A banded report on a printer: the paper it asks for, drawing its layout, the preview
// window, the print dialog, and PDF files.

#include "gui/printing/BandedReport.h"

#include <QString>

class QPainter;
class QPrinter;
class QWidget;

namespace quill::gui {

// The sheet and its printable part as the printer's page layout describes them.
PageGeometry GeometryOf(const QPrinter& printer);

// Gives the printer the report's job title, orientation and paper (when it needs one), and
// makes it draw from the sheet's corner.
void ApplyReportPage(const BandedReport& report, QPrinter& printer);

// Draws one page of a layout on a painter whose origin is the sheet's corner.
void DrawLayoutPage(QPainter& painter, const LayoutPage& page, qreal dpiX, qreal dpiY);

// Lays the report out as the printer measures and draws every page on it. False when the
// printer could not start (the layout, when asked for, is filled anyway).
bool RenderReport(BandedReport& report, QPrinter& printer, ReportLayout* layout = nullptr);

// The preview window over the printer; its print button prints through the print dialog,
// to a printer or a PDF file. The printer's page set-up is put back afterwards.
void PreviewReport(BandedReport& report, QPrinter& printer, QWidget* parent);
enum class PrintOutcome { Printed, Cancelled, Failed };
// Prints after the print dialog, or at once without it (false when the printer could not
// start).
PrintOutcome PrintReportWithDialog(BandedReport& report, QPrinter& printer, QWidget* parent);
bool PrintReportDirect(BandedReport& report, QPrinter& printer);
// What the user is told when the printer could not start: the file that could not be
// written, or the printer that could not be reached.
QString PrintFailureText(const QPrinter& printer);

// Renders the report to a PDF file on the paper given (the report's own paper wins when it
// has one). False with *error when the file could not be written.
bool RenderReportToPdf(BandedReport& report, const QString& path, const QPageSize& paper,
                       QString* error = nullptr, ReportLayout* layout = nullptr);

} // namespace quill::gui
