#include "gui/printing/TReportForm.h"

#include "core/editing/memo_lines.h"
#include "core/model/outline.h"
#include "core/reports/envelope_report.h"
#include "core/reports/report_fields.h"
#include "gui/common/Help.h"
#include "gui/common/MaskedNumberEdit.h"
#include "gui/common/MemoEdit.h"
#include "gui/common/Prompter.h"
#include "gui/printing/ReportFonts.h"
#include "gui/printing/ReportPrinting.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace quill::gui {
namespace {

constexpr std::string_view kTenthsMask = "9.9 ";
constexpr std::string_view kHundredthsMask = "9.99 ";

QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

int Digits(const MaskedNumberEdit* box) {
    return BoxDigits(box->text().toStdString());
}

MaskedNumberEdit* MaskedBox(const char* name, std::string_view mask, const QString& typed,
                            QWidget* parent) {
    auto* box = new MaskedNumberEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->SetEditMask(mask);
    box->Type(typed);
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00.000")) + 16);
    return box;
}

QRadioButton* Radio(const char* name, const QString& text, QWidget* parent) {
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

// The "Orientation" group of a page.
QGroupBox* OrientationGroup(QRadioButton* portrait, QRadioButton* landscape, QWidget* parent) {
    auto* group = new QGroupBox(QStringLiteral("Orientation"), parent);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(portrait);
    layout->addWidget(landscape);
    portrait->setChecked(true);
    return group;
}

// A "Type Face" group: the sample and its "Select..." button.
QGroupBox* FaceGroup(QLabel* sample, QPushButton* select, QWidget* parent) {
    auto* group = new QGroupBox(QStringLiteral("Type Face"), parent);
    auto* layout = new QHBoxLayout(group);
    sample->setMinimumWidth(120);
    sample->setFont(InitialReportFont());
    layout->addWidget(sample, 1);
    layout->addWidget(select);
    return group;
}

QLabel* Buddy(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

QStringList ToQt(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& line : lines) {
        out << QString::fromStdString(line);
    }
    return out;
}

std::vector<std::string> LinesOf(const MemoEdit* memo) {
    return MemoLines(memo->toPlainText().toStdString());
}

} // namespace

TReportForm::TReportForm(QWidget* parent, const QString& returnAddressFile)
    : QDialog(parent), returnAddressFile_(returnAddressFile) {
    setObjectName(QStringLiteral("TReportForm"));
    setWindowTitle(QStringLiteral("Print Reports"));
    fontDialog_ = new QFontDialog(InitialReportFont(), this);
    fontDialog_->setObjectName(QStringLiteral("FontDialog1"));

    auto* from = new QGroupBox(QStringLiteral("Print Items From"), this);
    nodeId_ = new QLabel(from);
    nodeId_->setObjectName(QStringLiteral("NodeId"));
    nodeId_->setTextFormat(Qt::PlainText);
    nodeId_->setMinimumWidth(260);
    (new QVBoxLayout(from))->addWidget(nodeId_);

    auto* type = new QGroupBox(QStringLiteral("Report &Type"), this);
    rptTypeCombo_ = new QComboBox(type);
    rptTypeCombo_->setObjectName(QStringLiteral("RptTypeCombo"));
    rptTypeCombo_->addItems({QStringLiteral("People & Organization List"),
                             QStringLiteral("Envelope"), QStringLiteral("Address & Phone Book"),
                             QStringLiteral("Address Labels")});
    (new QVBoxLayout(type))->addWidget(rptTypeCombo_);
    // The group's mnemonic reaches the list.
    type->setFocusProxy(rptTypeCombo_);

    pages_ = new QStackedWidget(this);
    pages_->addWidget(BuildListPage());
    pages_->addWidget(BuildEnvelopePage());
    pages_->addWidget(BuildBookPage());
    pages_->addWidget(BuildLabelPage());

    auto* preview = new QPushButton(QStringLiteral("P&review"), this);
    preview->setObjectName(QStringLiteral("PreviewBtn"));
    auto* print = new QPushButton(QStringLiteral("&Print"), this);
    print->setObjectName(QStringLiteral("PrintBtn"));
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("CloseBtn"));
    auto* help = new QPushButton(QStringLiteral("&Help"), this);
    help->setObjectName(QStringLiteral("HelpBtn"));
    preview->setDefault(true);
    connect(preview, &QPushButton::clicked, this, &TReportForm::PreviewBtnClick);
    connect(print, &QPushButton::clicked, this, &TReportForm::PrintBtnClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { OpenHelpTopic(kReportHelp); });
    connect(rptTypeCombo_, &QComboBox::currentIndexChanged, this, &TReportForm::RptTypeComboChange);

    auto* top = new QHBoxLayout;
    top->addWidget(from, 1);
    top->addWidget(type);
    auto* left = new QVBoxLayout;
    left->addLayout(top);
    left->addWidget(pages_, 1);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {preview, print, close, help}) {
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    auto* outer = new QHBoxLayout(this);
    outer->addLayout(left, 1);
    outer->addSpacing(8);
    outer->addLayout(buttons);

    // What the dialog starts with: the return address, the first report type, envelope size
    // and label stock, the stock's measurements in the boxes.
    return_->SetText(ToQt(ReadReturnAddress(returnAddressFile_.toStdString())).join(u'\n'));
    rptTypeCombo_->setCurrentIndex(ListingReport);
    RptTypeComboChange(ListingReport);
    envSize_->setCurrentIndex(0);
    labelList_->setCurrentRow(0);
    LabelListClick();
}

TReportForm::~TReportForm() = default;

QWidget* TReportForm::BuildListPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("ListPage"));
    title1_ = new QLineEdit(QStringLiteral("Contact List"), page);
    title1_->setObjectName(QStringLiteral("Title1"));
    portrait1_ = Radio("Portrait1", QStringLiteral("Portr&ait"), page);
    landscape1_ = Radio("Landscape1", QStringLiteral("&Landscape"), page);
    topMargin1_ = MaskedBox("TopMargin1", kTenthsMask, QStringLiteral("05"), page);
    bottomMargin1_ = MaskedBox("BottomMargin1", kTenthsMask, QStringLiteral("05"), page);
    leftMargin1_ = MaskedBox("LeftMargin1", kTenthsMask, QStringLiteral("00"), page);
    listText_ = new QLabel(QStringLiteral("Sample Text"), page);
    listText_->setObjectName(QStringLiteral("ListText"));
    auto* select = new QPushButton(QStringLiteral("&Select..."), page);
    select->setObjectName(QStringLiteral("ListFontBtn"));
    connect(select, &QPushButton::clicked, this, [this] { SelectFont(listText_); });

    auto* margins = new QGroupBox(QStringLiteral("Margins"), page);
    auto* form = new QFormLayout(margins);
    form->addRow(Buddy(QStringLiteral("T&op"), topMargin1_, page), topMargin1_);
    form->addRow(Buddy(QStringLiteral("&Bottom"), bottomMargin1_, page), bottomMargin1_);
    form->addRow(Buddy(QStringLiteral("L&eft"), leftMargin1_, page), leftMargin1_);

    auto* layout = new QVBoxLayout(page);
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(Buddy(QStringLiteral("Report T&itle"), title1_, page));
    titleRow->addWidget(title1_, 1);
    layout->addLayout(titleRow);
    auto* row = new QHBoxLayout;
    row->addWidget(OrientationGroup(portrait1_, landscape1_, page));
    row->addWidget(margins);
    layout->addLayout(row);
    layout->addWidget(FaceGroup(listText_, select, page));
    layout->addStretch(1);
    return page;
}

QWidget* TReportForm::BuildBookPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("BookPage"));
    spinEdit1_ = new QSpinBox(page);
    spinEdit1_->setObjectName(QStringLiteral("SpinEdit1"));
    spinEdit1_->setRange(1, 4);
    spinEdit1_->setValue(1);
    portrait2_ = Radio("Portrait2", QStringLiteral("Portr&ait"), page);
    landscape2_ = Radio("Landscape2", QStringLiteral("&Landscape"), page);
    leftMargin2_ = MaskedBox("LeftMargin2", kTenthsMask, QStringLiteral("00"), page);
    gutter_ = MaskedBox("Gutter", kTenthsMask, QStringLiteral("10"), page);
    topMargin2_ = MaskedBox("TopMargin2", kTenthsMask, QStringLiteral("05"), page);
    bottomMargin2_ = MaskedBox("BottomMargin2", kTenthsMask, QStringLiteral("05"), page);
    bookText_ = new QLabel(QStringLiteral("Sample Text"), page);
    bookText_->setObjectName(QStringLiteral("BookText"));
    auto* select = new QPushButton(QStringLiteral("&Select..."), page);
    select->setObjectName(QStringLiteral("BookFontBtn"));
    connect(select, &QPushButton::clicked, this, [this] { SelectFont(bookText_); });

    auto* margins = new QGroupBox(QStringLiteral("Margins"), page);
    auto* form = new QFormLayout(margins);
    form->addRow(Buddy(QStringLiteral("L&eft"), leftMargin2_, page), leftMargin2_);
    form->addRow(Buddy(QStringLiteral("Column &Gutter:"), gutter_, page), gutter_);
    form->addRow(Buddy(QStringLiteral("T&op"), topMargin2_, page), topMargin2_);
    form->addRow(Buddy(QStringLiteral("&Bottom"), bottomMargin2_, page), bottomMargin2_);

    auto* layout = new QVBoxLayout(page);
    auto* columns = new QHBoxLayout;
    columns->addWidget(Buddy(QStringLiteral("&Number of Columns:"), spinEdit1_, page));
    columns->addWidget(spinEdit1_);
    columns->addStretch(1);
    layout->addLayout(columns);
    auto* row = new QHBoxLayout;
    row->addWidget(OrientationGroup(portrait2_, landscape2_, page));
    row->addWidget(margins);
    layout->addLayout(row);
    layout->addWidget(FaceGroup(bookText_, select, page));
    layout->addStretch(1);
    return page;
}

QWidget* TReportForm::BuildEnvelopePage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("EnvelopePage"));
    envSize_ = new QComboBox(page);
    envSize_->setObjectName(QStringLiteral("EnvSize"));
    for (const EnvelopeSizeInfo& info : EnvelopeSizes()) {
        envSize_->addItem(Text(info.listText));
    }
    return_ = new MemoEdit(page);
    return_->setObjectName(QStringLiteral("Return"));
    return_->SetVisibleLines(4);
    return_->setFont(InitialReportFont());
    saveRetAddr_ = new QCheckBox(QStringLiteral("Sa&ve Return Address"), page);
    saveRetAddr_->setObjectName(QStringLiteral("SaveRetAddr"));
    saveRetAddr_->setChecked(true);
    omitRetAddr_ = new QCheckBox(QStringLiteral("&Omit Return Address"), page);
    omitRetAddr_->setObjectName(QStringLiteral("OmitRetAddr"));
    // Beside an address, "Select..." read as choosing an address: these choose its font.
    auto* returnFont = new QPushButton(QStringLiteral("&Font..."), page);
    returnFont->setObjectName(QStringLiteral("ReturnFontBtn"));
    connect(returnFont, &QPushButton::clicked, this, [this] { SelectFont(return_); });
    delivery_ = new MemoEdit(page);
    delivery_->setObjectName(QStringLiteral("Delivery"));
    delivery_->SetVisibleLines(5);
    delivery_->setFont(InitialReportFont());
    auto* deliveryFont = new QPushButton(QStringLiteral("Fo&nt..."), page);
    deliveryFont->setObjectName(QStringLiteral("DeliveryFontBtn"));
    connect(deliveryFont, &QPushButton::clicked, this, [this] { SelectFont(delivery_); });

    auto* retGroup = new QGroupBox(QStringLiteral("Return Address"), page);
    auto* retLayout = new QGridLayout(retGroup);
    retLayout->addWidget(return_, 0, 0, 3, 1);
    retLayout->addWidget(saveRetAddr_, 0, 1);
    retLayout->addWidget(omitRetAddr_, 1, 1);
    retLayout->addWidget(returnFont, 2, 1, Qt::AlignLeft | Qt::AlignBottom);
    auto* delGroup = new QGroupBox(QStringLiteral("Delivery Address"), page);
    auto* delLayout = new QGridLayout(delGroup);
    delLayout->addWidget(delivery_, 0, 0, 2, 1);
    delLayout->addWidget(deliveryFont, 1, 1, Qt::AlignLeft | Qt::AlignBottom);

    auto* layout = new QVBoxLayout(page);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(Buddy(QStringLiteral("Si&ze"), envSize_, page));
    sizeRow->addWidget(envSize_, 1);
    layout->addLayout(sizeRow);
    layout->addWidget(retGroup);
    layout->addWidget(delGroup);
    layout->addStretch(1);
    return page;
}

QWidget* TReportForm::BuildLabelPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("LabelPage"));
    labelList_ = new QListWidget(page);
    labelList_->setObjectName(QStringLiteral("LabelList"));
    for (const TLabelDimension& stock : LabelStocks()) {
        labelList_->addItem(Text(stock.name));
    }
    labelList_->setMinimumWidth(labelList_->sizeHintForColumn(0) + 24);
    // Clicking or moving through the list with the keys fills the settings.
    connect(labelList_, &QListWidget::itemClicked, this, [this] { LabelListClick(); });
    connect(labelList_, &QListWidget::currentRowChanged, this, [this] { LabelListClick(); });

    const QString initial = QStringLiteral("100");
    topEdit_ = MaskedBox("TopEdit", kHundredthsMask, initial, page);
    sideEdit_ = MaskedBox("SideEdit", kHundredthsMask, initial, page);
    heightEdit_ = MaskedBox("HeightEdit", kHundredthsMask, initial, page);
    widthEdit_ = MaskedBox("WidthEdit", kHundredthsMask, initial, page);
    hPitchEdit_ = MaskedBox("HPitchEdit", kHundredthsMask, initial, page);
    vPitchEdit_ = MaskedBox("VPitchEdit", kHundredthsMask, initial, page);
    numAcross_ = new QSpinBox(page);
    numAcross_->setObjectName(QStringLiteral("NumAcross"));
    numAcross_->setRange(1, 10);
    numAcross_->setValue(1);
    startLabel_ = new QSpinBox(page);
    startLabel_->setObjectName(QStringLiteral("StartLabel"));
    startLabel_->setRange(1, 1);
    // The labels a sheet holds follow the settings as edited, not only the stock chosen: a
    // start beyond the first sheet would print a blank one, and a wider sheet has more.
    for (MaskedNumberEdit* box : {topEdit_, vPitchEdit_}) {
        connect(box, &QLineEdit::textChanged, this, [this] { UpdateStartLabelRange(); });
    }
    connect(numAcross_, &QSpinBox::valueChanged, this, [this] { UpdateStartLabelRange(); });
    labelText_ = new QLabel(QStringLiteral("Sample"), page);
    labelText_->setObjectName(QStringLiteral("LabelText"));
    auto* select = new QPushButton(QStringLiteral("&Select..."), page);
    select->setObjectName(QStringLiteral("LabelFontBtn"));
    connect(select, &QPushButton::clicked, this, [this] { SelectFont(labelText_); });

    auto* settings = new QGroupBox(QStringLiteral("Label Settings"), page);
    auto* form = new QFormLayout(settings);
    form->addRow(Buddy(QStringLiteral("T&op Margin"), topEdit_, page), topEdit_);
    form->addRow(Buddy(QStringLiteral("Si&de Margin"), sideEdit_, page), sideEdit_);
    form->addRow(Buddy(QStringLiteral("Label Hei&ght"), heightEdit_, page), heightEdit_);
    form->addRow(Buddy(QStringLiteral("Label &Width"), widthEdit_, page), widthEdit_);
    form->addRow(Buddy(QStringLiteral("Hori&z. Pitch"), hPitchEdit_, page), hPitchEdit_);
    form->addRow(Buddy(QStringLiteral("&Vert Pitch"), vPitchEdit_, page), vPitchEdit_);
    form->addRow(Buddy(QStringLiteral("&Number Across"), numAcross_, page), numAcross_);
    form->addRow(Buddy(QStringLiteral("Start at &Label"), startLabel_, page), startLabel_);

    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(Buddy(QStringLiteral("Label T&ypes"), labelList_, page));
    listColumn->addWidget(labelList_, 1);
    auto* row = new QHBoxLayout;
    row->addLayout(listColumn, 1);
    row->addWidget(settings);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(row, 1);
    layout->addWidget(FaceGroup(labelText_, select, page));
    return page;
}

QPrinter& TReportForm::Printer() {
    if (printer_) {
        return *printer_;
    }
    if (!ownPrinter_) {
        ownPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *ownPrinter_;
}

void TReportForm::SetSource(TOutlineNode* node, const TNRBObject* address, const QString& name) {
    node_ = node;
    nodeId_->setText(node ? QString::fromStdString(NodePath(node, "/")) : QString());
    delivery_->SetText(ToQt(DeliveryLines(address, name.toStdString())).join(u'\n'));
    // The dialog is made once and reused: for a longer path than it was sized for it widens,
    // as far as the screen allows, instead of cutting the path off.
    // The path's group takes any width the dialog gains.
    if (QLayout* outer = layout()) {
        outer->activate();
    }
    const int missing = nodeId_->sizeHint().width() - nodeId_->width();
    if (missing <= 0) {
        return;
    }
    int wanted = width() + missing;
    if (const QScreen* shown = screen()) {
        wanted = std::min(wanted, shown->availableGeometry().width());
    }
    if (wanted > width()) {
        resize(wanted, height());
    }
}

void TReportForm::RptTypeComboChange(int index) {
    if (index < 0 || index >= pages_->count()) {
        return;
    }
    // A stack is as tall as its tallest page; hidden pages give up their height so the
    // dialog fits the page shown instead of leaving the labels page's room empty below it.
    // Their widths still count, so the dialog keeps its width from type to type.
    for (int i = 0; i < pages_->count(); ++i) {
        pages_->widget(i)->setSizePolicy(QSizePolicy::Preferred, i == index ? QSizePolicy::Preferred
                                                                            : QSizePolicy::Ignored);
    }
    pages_->setCurrentIndex(index);
    if (QLayout* outer = layout()) {
        outer->activate();
    }
    resize(width(), sizeHint().height());
}

void TReportForm::LabelListClick() {
    const int row = labelList_->currentRow();
    const auto stocks = LabelStocks();
    if (row < 0 || static_cast<std::size_t>(row) >= stocks.size()) {
        return;
    }
    const TLabelDimension& stock = stocks[static_cast<std::size_t>(row)];
    const std::pair<MaskedNumberEdit*, int> boxes[] = {
        {topEdit_, stock.top},     {sideEdit_, stock.side},     {heightEdit_, stock.height},
        {widthEdit_, stock.width}, {hPitchEdit_, stock.hPitch}, {vPitchEdit_, stock.vPitch}};
    for (const auto& [box, value] : boxes) {
        box->Retype(QString::fromStdString(PaddedDigits(value, 3)));
    }
    numAcross_->setValue(stock.across);
    UpdateStartLabelRange();
}

void TReportForm::UpdateStartLabelRange() {
    startLabel_->setMaximum(LabelSheet{LabelSettings()}.PerSheet());
}

ListingSettings TReportForm::ListSettings() const {
    ListingSettings s;
    s.title = title1_->text().toStdString();
    s.landscape = !portrait1_->isChecked();
    s.topTenths = Digits(topMargin1_);
    s.bottomTenths = Digits(bottomMargin1_);
    s.leftTenths = Digits(leftMargin1_);
    return s;
}

BookSettings TReportForm::BookPageSettings() const {
    BookSettings s;
    s.columns = spinEdit1_->value();
    s.landscape = !portrait2_->isChecked();
    s.leftTenths = Digits(leftMargin2_);
    s.gutterTenths = Digits(gutter_);
    s.topTenths = Digits(topMargin2_);
    s.bottomTenths = Digits(bottomMargin2_);
    return s;
}

TLabelDimension TReportForm::LabelSettings() const {
    TLabelDimension s;
    s.top = Digits(topEdit_);
    s.side = Digits(sideEdit_);
    s.height = Digits(heightEdit_);
    s.width = Digits(widthEdit_);
    s.hPitch = Digits(hPitchEdit_);
    s.vPitch = Digits(vPitchEdit_);
    s.across = numAcross_->value();
    return s;
}

BandedReport& TReportForm::PrepareReport() {
    const std::vector<TOutlineNode*> nodes = CoveredNodes(node_);
    switch (rptTypeCombo_->currentIndex()) {
    case EnvelopeReport: {
        const auto size = static_cast<EnvelopeSize>(std::max(0, envSize_->currentIndex()));
        envelope_.Prepare(size, ToQt(LinesOf(return_)), return_->font(), ToQt(LinesOf(delivery_)),
                          delivery_->font(), omitRetAddr_->isChecked());
        return envelope_.Report();
    }
    case BookReport:
        book_.Prepare(BookPageSettings(), bookText_->font());
        book_.Initialize(nodes, 0, nodes.size(), hidden_);
        return book_.Report();
    case LabelReport:
        labels_.Prepare(LabelSettings(), labelText_->font(), startLabel_->value());
        labels_.Initialize(nodes, 0, nodes.size(), hidden_);
        return labels_.Report();
    default:
        listing_.Prepare(ListSettings(), listText_->font(), nodeId_->text(), node_, hidden_);
        return listing_.Report();
    }
}

void TReportForm::PreviewBtnClick() {
    PreviewReport(PrepareReport(), Printer(), this);
}

void TReportForm::PrintBtnClick() {
    BandedReport& report = PrepareReport();
    const bool failed =
        rptTypeCombo_->currentIndex() == EnvelopeReport
            ? !PrintReportDirect(report, Printer())
            : PrintReportWithDialog(report, Printer(), this) == PrintOutcome::Failed;
    // Without a word the user would wait at the printer for a page that never comes.
    if (failed) {
        Prompter::Ask(this, PrintFailureText(Printer()), QStringLiteral("Print Reports"),
                      QMessageBox::Ok, QMessageBox::Warning);
    }
}

void TReportForm::SelectFont(QWidget* sample) {
    fontDialog_->setCurrentFont(sample->font());
    if (Prompter::Exec(*fontDialog_) == QDialog::Accepted) {
        sample->setFont(fontDialog_->currentFont());
    }
}

void TReportForm::SaveReturnAddress() {
    std::string error;
    if (!WriteReturnAddress(returnAddressFile_.toStdString(), LinesOf(return_), &error)) {
        Prompter::Ask(this, QString::fromStdString(error), QStringLiteral("Print Reports"),
                      QMessageBox::Ok, QMessageBox::Warning);
    }
}

void TReportForm::done(int result) {
    if (saveRetAddr_->isChecked()) {
        SaveReturnAddress();
    }
    QDialog::done(result);
}

void TReportForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        OpenHelpTopic(kReportHelp);
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace quill::gui
