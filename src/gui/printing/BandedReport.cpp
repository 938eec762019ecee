#include "gui/printing/BandedReport.h"

#include <QFontMetricsF>
#include <QPaintDevice>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace quill::gui {
namespace {

constexpr qreal kEpsilon = 1e-6;

// Text measured as the device measures it, in hundredths of an inch. Most texts of a report
// are short and fit their place: summing cached advances of their characters tells that
// without shaping them; only texts near or past the edge are measured exactly.
class TextMeasure {
public:
    struct Font {
        QFont font;
        QFontMetricsF metrics;
        std::array<qreal, 256> advances{}; // Latin-1 characters, hundredths
        qreal lineHeight = 0;
        qreal ascent = 0;
    };

    explicit TextMeasure(QPaintDevice& device)
        : device_(device), perPixelX_(100.0 / std::max(1, device.logicalDpiX())),
          perPixelY_(100.0 / std::max(1, device.logicalDpiY())) {}

    const Font& Of(const QFont& font) {
        for (const auto& known : cache_) {
            if (known->font == font) {
                return *known;
            }
        }
        auto entry = std::make_unique<Font>(Font{font, QFontMetricsF(font, &device_)});
        for (int c = 0; c < 256; ++c) {
            entry->advances[static_cast<std::size_t>(c)] =
                entry->metrics.horizontalAdvance(QChar(c)) * perPixelX_;
        }
        entry->lineHeight = entry->metrics.lineSpacing() * perPixelY_;
        entry->ascent = entry->metrics.ascent() * perPixelY_;
        cache_.push_back(std::move(entry));
        return *cache_.back();
    }
    qreal Width(const Font& f, const QString& text) const {
        return f.metrics.horizontalAdvance(text) * perPixelX_;
    }
    bool Fits(const Font& f, const QString& text, qreal width) const {
        qreal sum = 0;
        for (const QChar c : text) {
            if (c.unicode() > 0xff) {
                return Width(f, text) <= width + kEpsilon;
            }
            sum += f.advances[c.unicode()];
        }
        // Kerning and ligatures only ever take a little off the sum.
        if (sum <= width * 0.99) {
            return true;
        }
        if (sum > width * 1.1 + kEpsilon) {
            return false;
        }
        return Width(f, text) <= width + kEpsilon;
    }
    QString Elided(const Font& f, const QString& text, qreal width) const {
        if (Fits(f, text, width)) {
            return text;
        }
        return f.metrics.elidedText(text, Qt::ElideRight, width / perPixelX_);
    }

    // The line broken at blanks so that each piece fits the width; a word wider than the
    // width is broken after the last character that fits, at a dot, "@", "/" or "-" in its
    // second half when it has one.
    void Wrap(const Font& f, const QString& line, qreal width, QStringList& out) const {
        if (Fits(f, line, width)) {
            out << line;
            return;
        }
        QString current;
        for (const QString& word : line.split(u' ')) {
            const QString candidate = current.isEmpty() ? word : current + u' ' + word;
            if (Fits(f, candidate, width)) {
                current = candidate;
                continue;
            }
            if (!current.isEmpty()) {
                out << current;
            }
            current = word;
            while (current.size() > 1 && !Fits(f, current, width)) {
                qsizetype fits = 1;
                while (fits < current.size() && Fits(f, current.left(fits + 1), width)) {
                    ++fits;
                }
                for (qsizetype i = fits; i > fits / 2 && i > 1; --i) {
                    const QChar c = current.at(i - 1);
                    if (c == u'.' || c == u'@' || c == u'/' || c == u'-') {
                        fits = i;
                        break;
                    }
                }
                out << current.left(fits);
                current = current.mid(fits);
            }
        }
        out << current;
    }

private:
    QPaintDevice& device_;
    qreal perPixelX_;
    qreal perPixelY_;
    std::vector<std::unique_ptr<Font>> cache_;
};

// A band made ready for one record: its height and its texts, placed from the band's corner.
struct PreparedBand {
    const ReportBand* band = nullptr;
    qreal height = 0;
    std::vector<PlacedText> texts;
};

PreparedBand Prepare(const ReportBand& band, qreal width, TextMeasure& measure) {
    PreparedBand out;
    out.band = &band;
    out.height = band.height;
    out.texts.reserve(band.elements.size());
    for (const ReportElement& e : band.elements) {
        QRectF rect = e.rect;
        if (e.spanWidth) {
            rect.setWidth(std::max<qreal>(0, width - rect.left()));
        }
        const auto linesIn = [&](const TextMeasure::Font& fm) {
            QStringList lines;
            if (e.kind == ReportElement::Kind::Label && !e.wrap) {
                if (!e.text.isEmpty()) {
                    lines << measure.Elided(fm, e.text, rect.width());
                }
            } else if (!e.text.isEmpty()) {
                for (const QString& line : e.text.split(u'\n')) {
                    measure.Wrap(fm, line, rect.width(), lines);
                }
            }
            return lines;
        };
        const auto linesThatFit = [&](const TextMeasure::Font& fm) -> qsizetype {
            if (fm.lineHeight <= 0) {
                return std::numeric_limits<qsizetype>::max();
            }
            return std::max<qsizetype>(
                1, static_cast<qsizetype>(std::floor(rect.height() / fm.lineHeight + kEpsilon)));
        };
        QFont font = e.font;
        const TextMeasure::Font* fm = &measure.Of(font);
        QStringList lines = linesIn(*fm);
        if (e.shrinkToFit && !e.stretch) {
            while (lines.size() > linesThatFit(*fm) &&
                   font.pointSizeF() - 0.5 >= kSmallestShrunkPoints - kEpsilon) {
                font.setPointSizeF(font.pointSizeF() - 0.5);
                fm = &measure.Of(font);
                lines = linesIn(*fm);
            }
        }
        PlacedText t;
        t.kind =
            e.kind == ReportElement::Kind::Memo ? PlacedText::Kind::Memo : PlacedText::Kind::Label;
        t.band = band.name;
        t.name = e.name;
        t.font = font;
        t.color = e.color;
        t.fill = e.fill;
        t.alignment = e.alignment;
        t.lineHeight = fm->lineHeight;
        t.ascent = fm->ascent;
        if (!e.stretch && !lines.isEmpty() && lines.size() > linesThatFit(*fm)) {
            // What does not fit the element's height is cut, never drawn over its neighbours.
            lines = lines.mid(0, linesThatFit(*fm));
        }
        const qreal needed = static_cast<qreal>(lines.size()) * t.lineHeight;
        if (e.stretch) {
            rect.setHeight(std::max(rect.height(), needed));
            out.height = std::max(out.height, rect.bottom());
        }
        t.rect = rect;
        t.text = lines.join(u'\n');
        out.texts.push_back(std::move(t));
    }
    return out;
}

void Place(const PreparedBand& band, qreal x, qreal y, LayoutPage& page) {
    for (const PlacedText& text : band.texts) {
        PlacedText placed = text;
        placed.rect.translate(x, y);
        page.texts.push_back(std::move(placed));
    }
}

} // namespace

ReportElement& ReportBand::Add(ReportElement::Kind kind, const QString& elementName,
                               const QRectF& rect, const QFont& font, const QString& text) {
    ReportElement& e = elements.emplace_back();
    e.kind = kind;
    e.name = elementName;
    e.rect = rect;
    e.font = font;
    e.text = text;
    e.wrap = kind == ReportElement::Kind::Memo;
    return e;
}

ReportElement* ReportBand::Element(const QString& elementName) {
    for (ReportElement& e : elements) {
        if (e.name == elementName) {
            return &e;
        }
    }
    return nullptr;
}

ReportBand& BandedReport::AddBand(ReportBand::Type type, const QString& name, qreal height) {
    bands_.push_back(std::make_unique<ReportBand>(type, name, height));
    return *bands_.back();
}

ReportBand* BandedReport::Band(const QString& name) {
    for (const auto& band : bands_) {
        if (band->name == name) {
            return band.get();
        }
    }
    return nullptr;
}

ReportLayout BandedReport::Layout(const PageGeometry& page, QPaintDevice& device) {
    ReportLayout out;
    out.page = page;
    TextMeasure measure(device);

    const QRectF origin = onSheet ? QRectF(QPointF(0, 0), page.sheet) : page.printable;
    const qreal x0 = origin.left() + leftMargin;
    const qreal areaWidth = std::max<qreal>(0, origin.right() - x0);
    const int columnCount = std::max(1, columns);
    const qreal columnWidth =
        columnPitch > 0
            ? columnPitch
            : std::max<qreal>(0, (areaWidth - columnGutter * (columnCount - 1)) / columnCount);
    const qreal columnStep = columnPitch > 0 ? columnPitch : columnWidth + columnGutter;
    if (beforeLayout) {
        beforeLayout(page, columnWidth);
    }

    std::vector<ReportBand*> details;
    ReportBand* pageHeader = nullptr;
    ReportBand* title = nullptr;
    ReportBand* columnHeader = nullptr;
    ReportBand* pageFooter = nullptr;
    for (const auto& band : bands_) {
        switch (band->type) {
        case ReportBand::Type::PageHeader:
            pageHeader = band.get();
            break;
        case ReportBand::Type::Title:
            title = band.get();
            break;
        case ReportBand::Type::ColumnHeader:
            columnHeader = band.get();
            break;
        case ReportBand::Type::PageFooter:
            pageFooter = band.get();
            break;
        case ReportBand::Type::Detail:
            details.push_back(band.get());
            break;
        }
    }

    qreal y = 0;
    qreal detailTop = 0;
    qreal bottom = origin.bottom();
    int column = 0;
    int slot = 0;
    const auto startPage = [&] {
        const bool first = out.pages.empty();
        LayoutPage& p = out.pages.emplace_back();
        y = origin.top();
        for (ReportBand* band : {pageHeader, first ? title : nullptr, columnHeader}) {
            if (band && band->enabled) {
                const PreparedBand prepared = Prepare(*band, areaWidth, measure);
                Place(prepared, x0, y, p);
                y += prepared.height;
            }
        }
        bottom = origin.bottom();
        if (pageFooter && pageFooter->enabled) {
            const PreparedBand prepared = Prepare(*pageFooter, areaWidth, measure);
            bottom -= prepared.height;
            Place(prepared, x0, bottom, p);
        }
        detailTop = y;
        column = 0;
        slot = 0;
    };
    const auto nextColumn = [&] {
        if (++column >= columnCount) {
            startPage();
        } else {
            y = detailTop;
        }
    };
    const auto columnLeft = [&] { return x0 + column * columnStep; };

    startPage();
    const qreal rowHeight = details.empty() ? 0 : details.front()->height;
    const int rows =
        rowHeight > 0 ? std::max(1, static_cast<int>((bottom - detailTop) / rowHeight + kEpsilon))
                      : 1;
    if (acrossFirst) {
        slot = std::clamp(skipPositions, 0, rows * columnCount - 1);
    }

    std::vector<PreparedBand> record;
    while (needData && needData()) {
        record.clear();
        qreal total = 0;
        for (ReportBand* band : details) {
            if (band->beforePrint) {
                band->beforePrint(*band);
            }
            if (band->enabled) {
                record.push_back(Prepare(*band, columnWidth, measure));
                total += record.back().height;
            }
        }
        if (acrossFirst) {
            if (slot >= rows * columnCount) {
                startPage();
            }
            column = slot % columnCount;
            qreal top = detailTop + (slot / columnCount) * rowHeight;
            for (const PreparedBand& band : record) {
                Place(band, columnLeft(), top, out.pages.back());
                top += band.height;
            }
            ++slot;
            continue;
        }
        // A record is kept together in a column when a column can hold it at all.
        if (y + total > bottom + kEpsilon && y > detailTop + kEpsilon &&
            total <= bottom - detailTop + kEpsilon) {
            nextColumn();
        }
        for (const PreparedBand& band : record) {
            if (y + band.height > bottom + kEpsilon && y > detailTop + kEpsilon) {
                nextColumn();
            }
            Place(band, columnLeft(), y, out.pages.back());
            y += band.height;
        }
    }
    return out;
}

} // namespace quill::gui
