#pragma once
// One envelope, landscape: the return address at the top left and the delivery address in
// the middle, where the envelope table puts them for the size.

#include "core/reports/envelope_report.h"
#include "gui/printing/BandedReport.h"

#include <QFont>
#include <QStringList>

namespace quill::gui {

class TEnvelopeForm {
public:
    TEnvelopeForm();
    TEnvelopeForm(const TEnvelopeForm&) = delete;
    TEnvelopeForm& operator=(const TEnvelopeForm&) = delete;

    // The size, the two addresses with their fonts; an omitted return address prints nothing.
    void Prepare(EnvelopeSize size, const QStringList& returnLines, const QFont& returnFont,
                 const QStringList& deliveryLines, const QFont& deliveryFont, bool omitReturn);
    BandedReport& Report() { return report_; }

    // The paper of each size.
    static QPageSize PaperOf(EnvelopeSize size);

private:
    void Place(const PageGeometry& page);

    BandedReport report_;
    ReportBand* title_ = nullptr;
    EnvelopeSize size_ = EnvelopeSize::No10;
};

} // namespace quill::gui
