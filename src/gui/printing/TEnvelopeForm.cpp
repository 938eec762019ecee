#include "gui/printing/TEnvelopeForm.h"

#include <QPageSize>

#include <cmath>

namespace quill::gui {
namespace {

const QString kReturn = QStringLiteral("QRReturn");
const QString kDelivery = QStringLiteral("QRDelivery");
// Room kept free at the right and bottom edges of the envelope.
constexpr qreal kEdge = 30;

} // namespace

TEnvelopeForm::TEnvelopeForm() {
    report_.onSheet = true;
    report_.orientation = QPageLayout::Landscape;
    report_.leftMargin = kEnvelopeLeftMargin;
    report_.pageSize = PaperOf(size_);
    title_ = &report_.AddBand(ReportBand::Type::Title, QStringLiteral("TitleBand"), 0);
    title_->Add(ReportElement::Kind::Memo, kReturn, {}, QFont()).shrinkToFit = true;
    title_->Add(ReportElement::Kind::Memo, kDelivery, {}, QFont()).shrinkToFit = true;
    report_.beforeLayout = [this](const PageGeometry& page, qreal) { Place(page); };
}

QPageSize TEnvelopeForm::PaperOf(EnvelopeSize size) {
    switch (size) {
    case EnvelopeSize::No10:
        return QPageSize(QPageSize::Envelope10);
    case EnvelopeSize::Monarch:
        return QPageSize(QPageSize::EnvelopeMonarch);
    case EnvelopeSize::B5:
        return QPageSize(QPageSize::EnvelopeB5);
    case EnvelopeSize::C5:
        return QPageSize(QPageSize::EnvelopeC5);
    case EnvelopeSize::DL:
        return QPageSize(QPageSize::EnvelopeDL);
    }
    return QPageSize(QPageSize::Envelope10);
}

void TEnvelopeForm::Prepare(EnvelopeSize size, const QStringList& returnLines,
                            const QFont& returnFont, const QStringList& deliveryLines,
                            const QFont& deliveryFont, bool omitReturn) {
    size_ = size;
    report_.pageSize = PaperOf(size);
    ReportElement* ret = title_->Element(kReturn);
    ReportElement* delivery = title_->Element(kDelivery);
    ret->text = omitReturn ? QString() : returnLines.join(u'\n');
    ret->font = returnFont;
    delivery->text = deliveryLines.join(u'\n');
    delivery->font = deliveryFont;
}

void TEnvelopeForm::Place(const PageGeometry& page) {
    // The table counts in whole hundredths from the printable page: the sheet less the
    // left margin.
    const int height = static_cast<int>(std::floor(page.sheet.height() + 1e-6));
    const int width = static_cast<int>(std::floor(page.sheet.width() + 1e-6)) - kEnvelopeLeftMargin;
    const EnvelopePlacement p = PlaceEnvelope(size_, height, width);
    ReportElement* ret = title_->Element(kReturn);
    ReportElement* delivery = title_->Element(kDelivery);
    const qreal deliveryWidth = std::max<qreal>(0, width - p.deliveryLeft - kEdge);
    delivery->rect = QRectF(p.deliveryLeft, p.deliveryTop, deliveryWidth,
                            std::max<qreal>(0, height - p.deliveryTop - kEdge));
    ret->rect =
        QRectF(p.returnLeft, p.returnTop, std::max<qreal>(0, p.deliveryLeft - p.returnLeft - kEdge),
               std::max<qreal>(0, p.deliveryTop - p.returnTop - 10));
    title_->height = height;
}

} // namespace quill::gui
