// The print command: "Print Reports" for the selected node, with the envelope addressed to
// the current item, on the printer the whole run shares.

#include "core/reports/envelope_report.h"
#include "gui/common/Prompter.h"
#include "gui/mainwindow/TMainForm.h"
#include "gui/printing/TReportForm.h"

#include <QPrinter>

namespace quill::gui {

QPrinter& TMainForm::Printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *printer_;
}

void TMainForm::PrintBtnClick() {
    TOutlineNode* node = SelectedNode();
    if (!node) {
        return;
    }
    const EnvelopeSource source = EnvelopeSourceOf(CurrentItem());
    // Made once and kept, so its settings and the return address last for the run.
    if (!reportForm_) {
        reportForm_ = new TReportForm(this);
    }
    reportForm_->SetPrinter(&Printer());
    reportForm_->SetHiddenTest(HiddenTest());
    reportForm_->SetSource(node, source.address, QString::fromStdString(source.name));
    Prompter::Exec(*reportForm_);
}

} // namespace quill::gui
