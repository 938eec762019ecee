#pragma once
// "Print Reports": the dialog that chooses a report for the selected node, holds its
// settings on one page per report type, and previews or prints it on the main window's
// printer. The return address is loaded from "ret_addr.dat" when the dialog is created and
// saved when it closes while "Save Return Address" is ticked.

#include "core/reports/label_report.h"
#include "core/reports/report_settings.h"
#include "core/storage/data_file.h"
#include "gui/printing/TAddrBookForm.h"
#include "gui/printing/TEnvelopeForm.h"
#include "gui/printing/TLabelForm.h"
#include "gui/printing/TListingForm.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QComboBox;
class QFontDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QPrinter;
class QRadioButton;
class QSpinBox;
class QStackedWidget;

namespace quill::gui {

class MaskedNumberEdit;
class MemoEdit;

class TReportForm final : public QDialog {
    Q_OBJECT

public:
    // The report types in list order; the page shown follows the type.
    enum ReportType { ListingReport, EnvelopeReport, BookReport, LabelReport };

    // returnAddressFile: "ret_addr.dat" in the program directory (the current one).
    explicit TReportForm(QWidget* parent = nullptr,
                         const QString& returnAddressFile = QStringLiteral("ret_addr.dat"));
    ~TReportForm() override;

    // The printer the reports go to (the main window's); without one the dialog keeps its own.
    void SetPrinter(QPrinter* printer) { printer_ = printer; }
    QPrinter& Printer();
    // Items the category filter hides are left out of every report.
    void SetHiddenTest(const HiddenItemTest& hidden) { hidden_ = hidden; }
    // The node whose subtree is printed, and the address and name the envelope goes to.
    void SetSource(TOutlineNode* node, const TNRBObject* address, const QString& name);

    void RptTypeComboChange(int index);
    void LabelListClick();
    void UpdateStartLabelRange();
    void PreviewBtnClick();
    void PrintBtnClick();

    // The settings as the boxes hold them.
    ListingSettings ListSettings() const;
    BookSettings BookPageSettings() const;
    TLabelDimension LabelSettings() const;
    // Sets up the chosen report with the settings and returns it.
    BandedReport& PrepareReport();

protected:
    void done(int result) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* BuildListPage();
    QWidget* BuildBookPage();
    QWidget* BuildEnvelopePage();
    QWidget* BuildLabelPage();
    // The shared font dialog for one sample; the chosen font goes to the sample.
    void SelectFont(QWidget* sample);
    void SaveReturnAddress();

    QString returnAddressFile_;
    QPrinter* printer_ = nullptr;
    std::unique_ptr<QPrinter> ownPrinter_;
    HiddenItemTest hidden_;
    TOutlineNode* node_ = nullptr;

    TListingForm listing_;
    TAddrBookForm book_;
    TLabelForm labels_;
    TEnvelopeForm envelope_;

    QLabel* nodeId_ = nullptr;
    QComboBox* rptTypeCombo_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QFontDialog* fontDialog_ = nullptr;
    // List page
    QLineEdit* title1_ = nullptr;
    QRadioButton* portrait1_ = nullptr;
    QRadioButton* landscape1_ = nullptr;
    MaskedNumberEdit* topMargin1_ = nullptr;
    MaskedNumberEdit* bottomMargin1_ = nullptr;
    MaskedNumberEdit* leftMargin1_ = nullptr;
    QLabel* listText_ = nullptr;
    // Book page
    QSpinBox* spinEdit1_ = nullptr;
    QRadioButton* portrait2_ = nullptr;
    QRadioButton* landscape2_ = nullptr;
    MaskedNumberEdit* leftMargin2_ = nullptr;
    MaskedNumberEdit* gutter_ = nullptr;
    MaskedNumberEdit* topMargin2_ = nullptr;
    MaskedNumberEdit* bottomMargin2_ = nullptr;
    QLabel* bookText_ = nullptr;
    // Envelope page
    QComboBox* envSize_ = nullptr;
    MemoEdit* return_ = nullptr;
    QCheckBox* saveRetAddr_ = nullptr;
    QCheckBox* omitRetAddr_ = nullptr;
    MemoEdit* delivery_ = nullptr;
    // Label page
    QListWidget* labelList_ = nullptr;
    MaskedNumberEdit* topEdit_ = nullptr;
    MaskedNumberEdit* sideEdit_ = nullptr;
    MaskedNumberEdit* heightEdit_ = nullptr;
    MaskedNumberEdit* widthEdit_ = nullptr;
    MaskedNumberEdit* hPitchEdit_ = nullptr;
    MaskedNumberEdit* vPitchEdit_ = nullptr;
    QSpinBox* numAcross_ = nullptr;
    QSpinBox* startLabel_ = nullptr;
    QLabel* labelText_ = nullptr;
};

} // namespace quill::gui
