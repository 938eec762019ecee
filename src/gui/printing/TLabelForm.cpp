#include "gui/printing/TLabelForm.h"

#include <QPageSize>

namespace quill::gui {

TLabelForm::TLabelForm() {
    report_.onSheet = true;
    report_.acrossFirst = true;
    report_.pageSize = QPageSize(QPageSize::Letter);
    topBand_ = &report_.AddBand(ReportBand::Type::PageHeader, QStringLiteral("TopBand"), 0);
    labelBand_ = &report_.AddBand(ReportBand::Type::Detail, QStringLiteral("LabelBand"), 100);
    labelBand_->Add(ReportElement::Kind::Memo, QStringLiteral("LabelMemo"), {}, QFont())
        .shrinkToFit = true;
    report_.needData = [this] { return LabelReportNeedData(); };
    report_.beforeLayout = [this](const PageGeometry&, qreal) { records_.Rewind(); };
}

void TLabelForm::Prepare(const TLabelDimension& settings, const QFont& font, int startLabel) {
    const LabelBands b = MakeLabelBands(settings);
    report_.columns = b.columns;
    report_.columnPitch = b.columnPitch;
    report_.leftMargin = b.leftMargin;
    report_.skipPositions = std::max(0, startLabel - 1);
    topBand_->height = b.pageHeader;
    labelBand_->height = b.detailHeight;
    if (ReportElement* memo = labelBand_->Element(QStringLiteral("LabelMemo"))) {
        memo->rect = QRectF(b.memoLeft, b.memoTop, b.memoWidth, b.memoHeight);
        memo->font = font;
    }
}

void TLabelForm::Initialize(const std::vector<TOutlineNode*>& nodes, std::size_t first,
                            std::size_t last, const HiddenItemTest& hidden) {
    records_.Initialize(nodes, first, last, hidden);
}

bool TLabelForm::LabelReportNeedData() {
    std::vector<std::string> lines;
    const bool more = records_.Next(lines);
    QStringList text;
    for (const std::string& line : lines) {
        text << QString::fromStdString(line);
    }
    if (ReportElement* memo = labelBand_->Element(QStringLiteral("LabelMemo"))) {
        memo->text = text.join(u'\n');
    }
    return more;
}

} // namespace quill::gui
