#pragma once
// The banded report engine: a page header, a title, a column header, detail bands and a page
// footer, holding single-line labels and multi-line memos. The report asks for one detail
// record at a time (NeedData), lets each detail band be switched on or off and sized before
// it prints (BeforePrint), flows the detail bands down one or more columns, or across a grid
// of labels, and computes the whole layout before anything is drawn.
//
// Lengths are hundredths of an inch. A report measured "on the sheet" (labels, envelopes)
// counts from the physical sheet's corner, whatever the printer can reach; any other counts
// from the printable part of the page.

#include "gui/printing/ReportLayout.h"

#include <QColor>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPaintDevice;

namespace quill::gui {

struct ReportElement {
    enum class Kind { Label, Memo };
    Kind kind = Kind::Label;
    QString name;
    // Within the band. A memo's height is where it may draw when it does not stretch.
    QRectF rect;
    QFont font;
    QColor color = Qt::black;
    QColor fill;
    Qt::Alignment alignment = Qt::AlignLeft;
    // A label's text, or a memo's lines joined by "\n".
    QString text;
    // The band grows to hold every line.
    bool stretch = false;
    // Lines wider than the element wrap at words (a label: its text is cut short otherwise).
    bool wrap = true;
    // The width reaches from the element's left to the band's right edge.
    bool spanWidth = false;
    // Lines that do not fit the height are set smaller, down to kSmallestShrunkPoints, before
    // any is cut: the last line of an address is the one a cut loses.
    bool shrinkToFit = false;
};

inline constexpr qreal kSmallestShrunkPoints = 6;

class ReportBand {
public:
    enum class Type { PageHeader, Title, ColumnHeader, Detail, PageFooter };

    ReportBand(Type type, QString name, qreal height)
        : type(type), name(std::move(name)), height(height) {}

    Type type;
    QString name;
    qreal height;
    bool enabled = true;
    std::vector<ReportElement> elements;
    // Called for each record before the band is laid out: it may switch the band off or set
    // its height.
    std::function<void(ReportBand&)> beforePrint;

    ReportElement& Add(ReportElement::Kind kind, const QString& name, const QRectF& rect,
                       const QFont& font, const QString& text = {});
    ReportElement* Element(const QString& name);
};

class BandedReport {
public:
    BandedReport() = default;
    BandedReport(const BandedReport&) = delete;
    BandedReport& operator=(const BandedReport&) = delete;

    // The print job's name.
    QString jobTitle = QStringLiteral("Quillmere Printing");
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    // The paper the report needs; none: whatever the printer has.
    std::optional<QPageSize> pageSize;
    bool onSheet = false;
    qreal leftMargin = 0;
    int columns = 1;
    qreal columnGutter = 0;
    // When above zero the columns repeat at this distance and are this wide.
    qreal columnPitch = 0;
    // Detail bands fill a row across the columns before the next row (a sheet of labels);
    // otherwise they run down a column before the next one. Across-first rows all have the
    // height of the first detail band.
    bool acrossFirst = false;
    // Positions left empty before the first record (a partly used sheet of labels).
    int skipPositions = 0;

    // Fills the detail elements with the next record; false when no data remains.
    std::function<bool()> needData;
    // Called before a layout starts, with the page and the width of one column: the records
    // start over and the elements may be arranged for the page.
    std::function<void(const PageGeometry& page, qreal columnWidth)> beforeLayout;

    ReportBand& AddBand(ReportBand::Type type, const QString& name, qreal height);
    ReportBand* Band(const QString& name);

    // The layout on a page of the geometry, with text measured as the device measures it.
    ReportLayout Layout(const PageGeometry& page, QPaintDevice& device);

private:
    std::vector<std::unique_ptr<ReportBand>> bands_;
};

} // namespace quill::gui
