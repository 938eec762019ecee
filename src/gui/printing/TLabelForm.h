#pragma once
// Address labels: one memo per label, placed on the stock's grid from the sheet's corner.

#include "core/reports/label_report.h"
#include "gui/printing/BandedReport.h"

#include <QFont>

namespace quill::gui {

class TLabelForm {
public:
    TLabelForm();
    TLabelForm(const TLabelForm&) = delete;
    TLabelForm& operator=(const TLabelForm&) = delete;

    // The label settings (hundredths of an inch), the memo's font, and the position of the
    // first label to use on the sheet (1: the top left one).
    void Prepare(const TLabelDimension& settings, const QFont& font, int startLabel = 1);
    void Initialize(const std::vector<TOutlineNode*>& nodes, std::size_t first, std::size_t last,
                    const HiddenItemTest& hidden);
    BandedReport& Report() { return report_; }
    const TLabelRecords& Records() const { return records_; }

    bool LabelReportNeedData();

private:
    BandedReport report_;
    TLabelRecords records_;
    ReportBand* topBand_ = nullptr;
    ReportBand* labelBand_ = nullptr;
};

} // namespace quill::gui
