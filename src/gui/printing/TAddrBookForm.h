#pragma once
// The "Address & Phone Book": entries sorted by name in one to four columns, a group band
// with the letter whenever the first letter changes, a band with the name and the phone,
// and a band with the address.

#include "core/reports/address_book.h"
#include "core/reports/report_settings.h"
#include "gui/printing/BandedReport.h"

#include <QFont>

namespace quill::gui {

class TAddrBookForm {
public:
    TAddrBookForm();
    TAddrBookForm(const TAddrBookForm&) = delete;
    TAddrBookForm& operator=(const TAddrBookForm&) = delete;

    // Columns, gutter, margins, orientation and the face of the sample font.
    void Prepare(const BookSettings& settings, const QFont& face);
    // The entries of the nodes [first, last), sorted; the records start over.
    void Initialize(const std::vector<TOutlineNode*>& nodes, std::size_t first, std::size_t last,
                    const HiddenItemTest& hidden);
    BandedReport& Report() { return report_; }
    const TAddrBookRecords& Records() const { return records_; }

    bool AddrBookReportNeedData();
    // The address band is 89 hundredths high with lines and 0 without.
    void QRBand3BeforePrint(ReportBand& band);

private:
    BandedReport report_;
    TAddrBookRecords records_;
    AddrBookRecord current_;
    ReportBand* pageHeader_ = nullptr;
    ReportBand* group_ = nullptr;
    ReportBand* detail_ = nullptr;
    ReportBand* address_ = nullptr;
    ReportBand* pageFooter_ = nullptr;
};

} // namespace quill::gui
