#pragma once
// The "People & Organization List": a title band with the report's title, where the items
// come from and when it was made, a column header, and one detail band per person or
// organization.

#include "core/reports/listing_report.h"
#include "core/reports/report_settings.h"
#include "gui/printing/BandedReport.h"

#include <QFont>

namespace quill::gui {

class TListingForm {
public:
    TListingForm();
    TListingForm(const TListingForm&) = delete;
    TListingForm& operator=(const TListingForm&) = delete;

    // Sets the report up for the node's subtree: the settings, the face of the sample font,
    // the source path shown, and today's date in the short date format.
    void Prepare(const ListingSettings& settings, const QFont& face, const QString& source,
                 TOutlineNode* node, const HiddenItemTest& hidden);
    BandedReport& Report() { return report_; }
    // Fills the detail band with the next record; false (the fields cleared) when none is left.
    bool ListingReportNeedData();

private:
    void Arrange(qreal width);

    BandedReport report_;
    TListingRecords records_;
    ReportBand* pageHeader_ = nullptr;
    ReportBand* title_ = nullptr;
    ReportBand* columnHeader_ = nullptr;
    ReportBand* detail_ = nullptr;
    ReportBand* pageFooter_ = nullptr;
};

} // namespace quill::gui
