#include "gui/printing/TAddrBookForm.h"

#include "gui/printing/ReportFonts.h"

namespace quill::gui {
namespace {

using Kind = ReportElement::Kind;
using Type = ReportBand::Type;

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

TAddrBookForm::TAddrBookForm() {
    pageHeader_ = &report_.AddBand(Type::PageHeader, QStringLiteral("PageHeader"), 50);
    group_ = &report_.AddBand(Type::Detail, QStringLiteral("GrpHeader"), 34);
    detail_ = &report_.AddBand(Type::Detail, QStringLiteral("Detail"), 18);
    address_ = &report_.AddBand(Type::Detail, QStringLiteral("QRBand3"), kBookAddressBandHeight);
    pageFooter_ = &report_.AddBand(Type::PageFooter, QStringLiteral("PageFooter"), 50);
    address_->beforePrint = [this](ReportBand& band) { QRBand3BeforePrint(band); };
    report_.needData = [this] { return AddrBookReportNeedData(); };
    report_.beforeLayout = [this](const PageGeometry&, qreal width) {
        records_.Rewind();
        // The phone takes the right part of the name band; the name wraps in the rest.
        const qreal phoneWidth = std::min<qreal>(120, width * 0.4);
        if (ReportElement* name = detail_->Element(QStringLiteral("Name"))) {
            name->rect.setWidth(std::max<qreal>(0, width - phoneWidth - 8));
        }
        if (ReportElement* phone = detail_->Element(QStringLiteral("Phone"))) {
            phone->rect = QRectF(width - phoneWidth, phone->rect.top(), phoneWidth, 14);
        }
    };
    Prepare(BookSettings{}, FaceAt(QFont(), 8));
}

void TAddrBookForm::Prepare(const BookSettings& settings, const QFont& face) {
    const ReportPage page = BookPage(settings);
    report_.columns = page.columns;
    report_.columnGutter = page.gutterTenths * 10;
    report_.leftMargin = page.leftMarginTenths * 10;
    pageHeader_->height = page.pageHeaderHeight;
    pageFooter_->height = page.pageFooterHeight;
    report_.orientation = page.landscape ? QPageLayout::Landscape : QPageLayout::Portrait;

    const QFont band = FaceAt(face, 8);
    group_->elements.clear();
    ReportElement& bar = group_->Add(Kind::Label, QStringLiteral("GroupBar"), {0, 6, 0, 26}, band);
    bar.spanWidth = true;
    bar.fill = Qt::black;
    ReportElement& letter =
        group_->Add(Kind::Label, QStringLiteral("GroupLetter"), {6, 7, 60, 24}, FaceAt(face, 14));
    letter.color = Qt::white;

    detail_->elements.clear();
    ReportElement& name =
        detail_->Add(Kind::Label, QStringLiteral("Name"), {0, 3, 200, 14}, FaceAt(face, 8, true));
    name.wrap = true;
    name.stretch = true;
    ReportElement& phone =
        detail_->Add(Kind::Label, QStringLiteral("Phone"), {200, 3, 100, 14}, band);
    phone.alignment = Qt::AlignRight;
    // A number with its extension is longer than the phone's room: it wraps, never cut short.
    phone.wrap = true;
    phone.stretch = true;

    address_->elements.clear();
    ReportElement& memo = address_->Add(Kind::Memo, QStringLiteral("Address"), {12, 0, 0, 0}, band);
    memo.spanWidth = true;
    memo.stretch = true;
}

void TAddrBookForm::Initialize(const std::vector<TOutlineNode*>& nodes, std::size_t first,
                               std::size_t last, const HiddenItemTest& hidden) {
    records_.Initialize(nodes, first, last, hidden);
}

bool TAddrBookForm::AddrBookReportNeedData() {
    const bool more = records_.Next(current_);
    group_->enabled = current_.groupBand;
    if (ReportElement* letter = group_->Element(QStringLiteral("GroupLetter"))) {
        letter->text = Text(current_.groupLetter);
    }
    if (ReportElement* name = detail_->Element(QStringLiteral("Name"))) {
        name->text = Text(current_.name);
    }
    if (ReportElement* phone = detail_->Element(QStringLiteral("Phone"))) {
        phone->text = Text(current_.phone);
    }
    QStringList lines;
    for (const std::string& line : current_.address) {
        lines << Text(line);
    }
    if (ReportElement* memo = address_->Element(QStringLiteral("Address"))) {
        memo->text = lines.join(u'\n');
    }
    return more;
}

void TAddrBookForm::QRBand3BeforePrint(ReportBand& band) {
    band.height = current_.AddressBandHeight();
    // A band of no height prints nothing, so an empty memo never stretches it.
    band.enabled = band.height > 0;
}

} // namespace quill::gui
