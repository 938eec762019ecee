#pragma once
// What a report puts on paper, computed before anything is drawn: for every page, the place,
// text and font of every label and memo. Lengths are hundredths of an inch from the top left
// corner of the physical sheet, so tests can check a label against its stock's numbers.

#include <QColor>
#include <QFont>
#include <QPageLayout>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <vector>

namespace quill::gui {

struct PlacedText {
    enum class Kind { Label, Memo };
    Kind kind = Kind::Label;
    QString band; // the name of the band it belongs to
    QString name; // the element's name
    QRectF rect;
    // As drawn: elided or wrapped to the width, a memo's lines joined by "\n".
    QString text;
    QFont font;
    QColor color = Qt::black;
    QColor fill; // none when invalid
    Qt::Alignment alignment = Qt::AlignLeft;
    qreal lineHeight = 0; // distance from one line to the next
    qreal ascent = 0;     // from a line's top to its baseline

    QStringList Lines() const { return text.isEmpty() ? QStringList{} : text.split(u'\n'); }
};

struct LayoutPage {
    std::vector<PlacedText> texts;
};

// The paper as the printer describes it.
struct PageGeometry {
    QSizeF sheet;     // the physical sheet in the chosen orientation
    QRectF printable; // the part the printer can reach, within the sheet
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

struct ReportLayout {
    PageGeometry page;
    std::vector<LayoutPage> pages;

    std::size_t PageCount() const { return pages.size(); }
    // The texts of the element on the page, in the order they were placed.
    std::vector<const PlacedText*> Find(std::size_t page, const QString& name) const;
    std::size_t Count(std::size_t page, const QString& name) const {
        return Find(page, name).size();
    }
};

} // namespace quill::gui
