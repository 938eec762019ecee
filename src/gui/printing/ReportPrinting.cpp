#include "gui/printing/ReportPrinting.h"

#include "gui/common/Prompter.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QWidget>

namespace quill::gui {
namespace {

constexpr qreal kHundredthsPerPoint = 100.0 / 72.0;

QRectF ToHundredths(const QRectF& points) {
    return {points.left() * kHundredthsPerPoint, points.top() * kHundredthsPerPoint,
            points.width() * kHundredthsPerPoint, points.height() * kHundredthsPerPoint};
}

// Puts the shared printer's page set-up back when a report is done with it, so that labels
// and envelopes do not leave their paper behind for the next listing.
class PageSetupKeeper {
public:
    explicit PageSetupKeeper(QPrinter& printer)
        : printer_(printer), layout_(printer.pageLayout()), fullPage_(printer.fullPage()) {}
    ~PageSetupKeeper() {
        printer_.setFullPage(fullPage_);
        printer_.setPageLayout(layout_);
    }
    PageSetupKeeper(const PageSetupKeeper&) = delete;
    PageSetupKeeper& operator=(const PageSetupKeeper&) = delete;

private:
    QPrinter& printer_;
    QPageLayout layout_;
    bool fullPage_;
};

} // namespace

PageGeometry GeometryOf(const QPrinter& printer) {
    const QPageLayout layout = printer.pageLayout();
    const QRectF full = layout.fullRectPoints();
    const QMarginsF margins = layout.margins(QPageLayout::Point);
    PageGeometry page;
    page.orientation = layout.orientation();
    page.sheet = ToHundredths(full).size();
    page.printable = ToHundredths(full.marginsRemoved(margins).translated(-full.topLeft()));
    return page;
}

void ApplyReportPage(const BandedReport& report, QPrinter& printer) {
    printer.setDocName(report.jobTitle);
    if (report.pageSize) {
        printer.setPageSize(*report.pageSize);
    }
    printer.setPageOrientation(report.orientation);
    printer.setFullPage(true);
}

void DrawLayoutPage(QPainter& painter, const LayoutPage& page, qreal dpiX, qreal dpiY) {
    const qreal sx = dpiX / 100.0;
    const qreal sy = dpiY / 100.0;
    const QFont* current = nullptr;
    for (const PlacedText& text : page.texts) {
        if (text.fill.isValid()) {
            painter.fillRect(QRectF(text.rect.left() * sx, text.rect.top() * sy,
                                    text.rect.width() * sx, text.rect.height() * sy),
                             text.fill);
        }
        if (text.text.isEmpty()) {
            continue;
        }
        if (!current || !(*current == text.font)) {
            painter.setFont(text.font);
            current = &text.font;
        }
        painter.setPen(text.color);
        // Each line from its baseline: the layout has already fitted it to its place.
        qsizetype start = 0;
        for (int line = 0; start <= text.text.size(); ++line) {
            qsizetype end = text.text.indexOf(u'\n', start);
            if (end < 0) {
                end = text.text.size();
            }
            const QString piece = text.text.mid(start, end - start);
            qreal x = text.rect.left() * sx;
            if (text.alignment & (Qt::AlignRight | Qt::AlignHCenter)) {
                const qreal room =
                    text.rect.width() * sx - painter.fontMetrics().horizontalAdvance(piece);
                x += (text.alignment & Qt::AlignRight) ? room : room / 2;
            }
            painter.drawText(
                QPointF(x, (text.rect.top() + line * text.lineHeight + text.ascent) * sy), piece);
            start = end + 1;
        }
    }
}

bool RenderReport(BandedReport& report, QPrinter& printer, ReportLayout* layoutOut) {
    printer.setFullPage(true);
    ReportLayout layout = report.Layout(GeometryOf(printer), printer);
    QPainter painter;
    bool ok = painter.begin(&printer);
    if (ok) {
        const qreal dpiX = printer.logicalDpiX();
        const qreal dpiY = printer.logicalDpiY();
        for (std::size_t i = 0; i < layout.pages.size() && ok; ++i) {
            if (i > 0) {
                ok = printer.newPage();
            }
            DrawLayoutPage(painter, layout.pages[i], dpiX, dpiY);
        }
        ok = painter.end() && ok;
    }
    if (layoutOut) {
        *layoutOut = std::move(layout);
    }
    return ok;
}

void PreviewReport(BandedReport& report, QPrinter& printer, QWidget* parent) {
    PageSetupKeeper keeper(printer);
    ApplyReportPage(report, printer);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(QStringLiteral("Print Preview - ") + report.jobTitle);
    // Big enough to read a page.
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        preview.resize(screen->availableSize() * 0.8);
    }
    // The same request draws the preview and prints from its print button; only printing
    // can fail to start.
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&report, &preview](QPrinter* target) {
                         if (!RenderReport(report, *target)) {
                             Prompter::Ask(&preview, PrintFailureText(*target),
                                           QStringLiteral("Print Reports"), QMessageBox::Ok,
                                           QMessageBox::Warning);
                         }
                     });
    Prompter::Exec(preview);
}

PrintOutcome PrintReportWithDialog(BandedReport& report, QPrinter& printer, QWidget* parent) {
    PageSetupKeeper keeper(printer);
    ApplyReportPage(report, printer);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print"));
    if (Prompter::Exec(dialog) != QDialog::Accepted) {
        return PrintOutcome::Cancelled;
    }
    return RenderReport(report, printer) ? PrintOutcome::Printed : PrintOutcome::Failed;
}

bool PrintReportDirect(BandedReport& report, QPrinter& printer) {
    PageSetupKeeper keeper(printer);
    ApplyReportPage(report, printer);
    return RenderReport(report, printer);
}

QString PrintFailureText(const QPrinter& printer) {
    if (!printer.outputFileName().isEmpty()) {
        return QStringLiteral("Cannot write \"%1\"").arg(printer.outputFileName());
    }
    if (printer.printerName().isEmpty()) {
        return QStringLiteral("No printer is set up: choose one with File > Printer Setup.");
    }
    return QStringLiteral("Cannot print on \"%1\"").arg(printer.printerName());
}

bool RenderReportToPdf(BandedReport& report, const QString& path, const QPageSize& paper,
                       QString* error, ReportLayout* layout) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(paper);
    ApplyReportPage(report, printer);
    if (RenderReport(report, printer, layout) && QFileInfo(path).isFile()) {
        return true;
    }
    if (error) {
        *error = PrintFailureText(printer);
    }
    return false;
}

} // namespace quill::gui
