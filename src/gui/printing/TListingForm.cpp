#include "gui/printing/TListingForm.h"

#include "core/services.h"
#include "gui/printing/ReportFonts.h"

namespace quill::gui {
namespace {

using Kind = ReportElement::Kind;
using Type = ReportBand::Type;

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

// The share of the width each column takes, left to right.
constexpr qreal kColumnShares[] = {0.17, 0.25, 0.13, 0.13, 0.16, 0.16};
constexpr qreal kColumnGap = 6;
const QString kDetailNames[] = {QStringLiteral("Name"),  QStringLiteral("Address"),
                                QStringLiteral("Phone"), QStringLiteral("Fax"),
                                QStringLiteral("EMail"), QStringLiteral("URLAddr")};

} // namespace

TListingForm::TListingForm() {
    pageHeader_ = &report_.AddBand(Type::PageHeader, QStringLiteral("PageHeader"), 50);
    title_ = &report_.AddBand(Type::Title, QStringLiteral("TitleBand"), 60);
    columnHeader_ = &report_.AddBand(Type::ColumnHeader, QStringLiteral("ColumnHeader"), 22);
    detail_ = &report_.AddBand(Type::Detail, QStringLiteral("Detail"), 20);
    pageFooter_ = &report_.AddBand(Type::PageFooter, QStringLiteral("PageFooter"), 50);
    report_.needData = [this] { return ListingReportNeedData(); };
    report_.beforeLayout = [this](const PageGeometry&, qreal width) {
        records_.Rewind();
        Arrange(width);
    };
}

void TListingForm::Prepare(const ListingSettings& settings, const QFont& face,
                           const QString& source, TOutlineNode* node,
                           const HiddenItemTest& hidden) {
    const ReportPage page = ListingPage(settings);
    report_.leftMargin = page.leftMarginTenths * 10;
    pageHeader_->height = page.pageHeaderHeight;
    pageFooter_->height = page.pageFooterHeight;
    report_.orientation = page.landscape ? QPageLayout::Landscape : QPageLayout::Portrait;

    const QFont band = FaceAt(face, 8);
    const QFont heading = FaceAt(face, 8, true);
    title_->elements.clear();
    title_
        ->Add(Kind::Label, QStringLiteral("Title"), {0, 0, 0, 30}, FaceAt(face, 14),
              Text(settings.title))
        .spanWidth = true;
    title_->Add(Kind::Label, QStringLiteral("SourceLabel"), {0, 32, 60, 16}, heading,
                QStringLiteral("Source:"));
    title_->Add(Kind::Label, QStringLiteral("Source"), {60, 32, 0, 16}, band, source).spanWidth =
        true;
    title_->Add(Kind::Label, QStringLiteral("CreatedLabel"), {0, 48, 60, 16}, heading,
                QStringLiteral("created:"));
    const Services& services = CurrentServices();
    title_->Add(Kind::Label, QStringLiteral("Created"), {60, 48, 200, 16}, band,
                Text(services.locale->ShortDate(services.clock->Today())));
    title_->height = 72;

    columnHeader_->elements.clear();
    ReportElement& rule =
        columnHeader_->Add(Kind::Label, QStringLiteral("HeaderRule"), {0, 2, 0, 16}, band);
    rule.spanWidth = true;
    rule.fill = QColor(0xdd, 0xdd, 0xdd);
    for (const std::string_view caption : kListingColumns) {
        columnHeader_->Add(Kind::Label, Text(std::string(caption)), {0, 3, 0, 14}, heading,
                           Text(std::string(caption)));
    }

    detail_->elements.clear();
    for (const QString& name : kDetailNames) {
        ReportElement& e =
            detail_->Add(name == QLatin1String("Address") ? Kind::Memo : Kind::Label, name,
                         {0, 4, 0, 14}, name == QLatin1String("Name") ? heading : band);
        e.wrap = true;
        e.stretch = true;
    }
    records_ = TListingRecords(node, hidden);
}

void TListingForm::Arrange(qreal width) {
    // The column header's captions and the detail fields share the same columns.
    qreal left = 0;
    for (std::size_t i = 0; i < std::size(kColumnShares); ++i) {
        const qreal columnWidth = width * kColumnShares[i];
        const QRectF rect(left + 2, 0, std::max<qreal>(0, columnWidth - kColumnGap), 14);
        if (ReportElement* caption =
                columnHeader_->Element(Text(std::string(kListingColumns[i])))) {
            caption->rect = rect.translated(0, 3);
            caption->wrap = false;
        }
        if (ReportElement* field = detail_->Element(kDetailNames[i])) {
            field->rect = rect.translated(0, 4);
        }
        left += columnWidth;
    }
}

bool TListingForm::ListingReportNeedData() {
    ListingRecord record;
    const bool more = records_.Next(record);
    // The contact's name stands in its own column, so the address column starts below it.
    QStringList address;
    for (std::size_t i = 1; i < record.address.size(); ++i) {
        address << Text(record.address[i]);
    }
    const QString values[] = {Text(record.name), address.join(u'\n'), Text(record.phone),
                              Text(record.fax),  Text(record.eMail),  Text(record.url)};
    for (std::size_t i = 0; i < std::size(kDetailNames); ++i) {
        if (ReportElement* field = detail_->Element(kDetailNames[i])) {
            field->text = values[i];
        }
    }
    return more;
}

} // namespace quill::gui
