#include "gui/exchange/TExportWizard.h"

#include "core/exchange/html_publish.h"
#include "core/exchange/vcard.h"
#include "core/exchange/vcard_writer.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"
#include "gui/common/Pictures.h"
#include "gui/common/Prompter.h"
#include "gui/exchange/TFieldChooserFrame.h"
#include "gui/exchange/TFolderBrowser.h"
#include "gui/exchange/WorkProgress.h"
#include "platform/Utf8Text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace quill::gui {
namespace {

const QString kTitle = QStringLiteral("Publishing Wizard");
constexpr QSize kPreviewSize(150, 64);

QLabel* Text(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QLabel* Heading(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.2);
    label->setFont(font);
    return label;
}

QString Q(std::string_view text) {
    return FromUtf8(text);
}

HtmlColour ColourAt(const QComboBox* box) {
    return static_cast<HtmlColour>(std::clamp(box->currentIndex(), 0, kHtmlColourCount - 1));
}

QColor Rgb(HtmlColour colour) {
    const std::uint32_t rgb = HtmlColourRgb(colour);
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

std::size_t SubtreeSize(const TOutlineNode* start) {
    std::size_t nodes = 0;
    ForEachInSubtree(start, [&nodes](const TOutlineNode*) { ++nodes; });
    return nodes;
}

} // namespace

TExportWizard::TExportWizard(TProgressForm* progress, QWidget* parent)
    : TWizardForm(parent), progress_(progress) {
    setObjectName(QStringLiteral("TExportWizard"));
    setWindowTitle(kTitle);
    SetHelpContext(kPublishWizardHelp);
    AddPage(kTypePage, MakeTypePage());
    AddPage(kExportFilePage,
            MakeFilePage(QStringLiteral("Select directory:"),
                         QStringLiteral("Select the drive and directory where you want to export "
                                        "your Quillmere data file, and type the desired name for "
                                        "the file below."),
                         QStringLiteral("&Filename")));
    AddPage(kIndexPage, MakeIndexPage());
    AddPage(kGraphicsPage, MakeGraphicsPage());
    AddPage(kLinksPage, MakeLinksPage());
    AddPage(kHtmlFilePage, MakeHtmlFilePage());
    AddPage(kCsvFieldsPage, MakeCsvFieldsPage());
    QVBoxLayout* csvExtra = nullptr;
    AddPage(kCsvFilePage,
            MakeFilePage({},
                         QStringLiteral("To begin the export, select a directory and filename "
                                        "below."),
                         QStringLiteral("&Filename"), &csvExtra));
    includeNames_ = new QCheckBox(QStringLiteral("&Include field names as first line"));
    includeNames_->setObjectName(QStringLiteral("IncludeNames"));
    includeNames_->setChecked(true);
    csvExtra->addWidget(includeNames_);
    AddPage(kVCardExportPage,
            MakeFilePage(QStringLiteral("Select directory:"),
                         QStringLiteral("Select the drive and directory where you want to export "
                                        "your vCard file, and type the desired name for the file "
                                        "below."),
                         QStringLiteral("&Filename"), &vCardOptions_, &vCardForm_));
    AddVCardOptions();
    FinishPages();
    SetWebGraphicsDirectory(QString::fromStdString(
        FindWebGraphicsDirectory(QCoreApplication::applicationFilePath().toStdString())));
    ExportTypeChange();
}

QWidget* TExportWizard::MakeTypePage() {
    auto* page = new QWidget;
    auto* layout = PageLayout(page);
    auto* picture = new QLabel(page);
    picture->setPixmap(ProgramIcon().pixmap(64, 64));
    auto* texts = new QVBoxLayout;
    texts->addWidget(Text(QStringLiteral("You can publish any portion of your database to any of "
                                         "the standard file types listed below."),
                          page));
    texts->addWidget(Text(QStringLiteral("Choose a file type below, and click the \"Next >>\" "
                                         "button to begin the export process."),
                          page));
    texts->addWidget(
        Text(QStringLiteral("This Wizard will export all items and sub-items of:"), page));
    startPath_ = new QLabel(page);
    startPath_->setObjectName(QStringLiteral("StartPath"));
    startPath_->setTextFormat(Qt::PlainText);
    startPath_->setWordWrap(true);
    texts->addWidget(startPath_);
    exportType_ = new QComboBox(page);
    exportType_->setObjectName(QStringLiteral("ExportType"));
    for (int type = 0; type < kExportTypeCount; ++type) {
        exportType_->addItem(Q(ExportTypeName(static_cast<ExportType>(type))));
    }
    texts->addWidget(exportType_);
    texts->addStretch(1);
    auto* row = new QHBoxLayout;
    row->addWidget(picture, 0, Qt::AlignTop);
    row->addLayout(texts, 1);
    layout->addLayout(row);
    connect(exportType_, &QComboBox::activated, this, &TExportWizard::ExportTypeChange);
    return page;
}

QWidget* TExportWizard::MakeFilePage(const QString& intro, const QString& text,
                                     const QString& nameCaption, QVBoxLayout** extra,
                                     QFormLayout** nameForm) {
    auto* page = new QWidget;
    auto* layout = PageLayout(page);
    if (!intro.isEmpty()) {
        layout->addWidget(new QLabel(intro, page));
    }
    layout->addWidget(Text(text, page));
    layout->addWidget(new TFolderBrowser({}, page), 1);
    auto* name = new QLineEdit(page);
    name->setObjectName(QStringLiteral("FileNameEdit"));
    auto* form = new QFormLayout;
    auto* caption = new QLabel(nameCaption, page);
    caption->setBuddy(name);
    form->addRow(caption, name);
    layout->addLayout(form);
    if (nameForm) {
        *nameForm = form;
    }
    if (extra) {
        *extra = new QVBoxLayout;
        layout->addLayout(*extra);
    }
    return page;
}

QWidget* TExportWizard::MakeIndexPage() {
    auto* page = new QWidget;
    auto* layout = PageLayout(page);
    layout->addWidget(Heading(QStringLiteral("Index"), page));
    layout->addWidget(Text(QStringLiteral("The HTML Publishing Wizard will automatically create an "
                                          "index for all the entries that appear in your HTML "
                                          "file.  This will look very similar to the left side "
                                          "of Quillmere's main window."),
                           page));
    levels_ = new QSpinBox(page);
    levels_->setObjectName(QStringLiteral("IndexLevels"));
    levels_->setRange(0, 9);
    levels_->setValue(0);
    auto* levelText = Text(QStringLiteral("Choose the &maximum number of levels to include in your "
                                          "index.  A value of zero will include all levels."),
                           page);
    levelText->setBuddy(levels_);
    auto* levelRow = new QHBoxLayout;
    levelRow->addWidget(levelText, 1);
    levelRow->addWidget(levels_, 0, Qt::AlignTop);
    layout->addLayout(levelRow);
    layout->addWidget(Text(QStringLiteral("Choose 'Use Frames' if you will be using a "
                                          "Frames-compatible Web Browser, like Netscape Navigator "
                                          "or Internet Explorer.  If you do not use frames, the "
                                          "index will appear at the top of the page instead of in "
                                          "its own window."),
                           page));
    useFrames_ = new QCheckBox(QStringLiteral("&Use Frames"), page);
    useFrames_->setObjectName(QStringLiteral("UseFrames"));
    useFrames_->setChecked(true);
    layout->addWidget(useFrames_);
    layout->addStretch(1);
    return page;
}

QWidget* TExportWizard::MakeGraphicsPage() {
    auto* page = new QWidget;
    auto* layout = PageLayout(page);
    layout->addWidget(Heading(QStringLiteral("Graphics"), page));
    backgrounds_ = new QComboBox(page);
    backgrounds_->setObjectName(QStringLiteral("BkgComboBox"));
    backgrounds_->setEditable(true);
    backgrounds_->setInsertPolicy(QComboBox::NoInsert);
    // No completion: it would take the first Enter for itself instead of going on.
    backgrounds_->setCompleter(nullptr);
    backgrounds_->addItem(Q(kNoBackground));
    for (std::string_view name : BackgroundNames()) {
        backgrounds_->addItem(Q(name));
    }
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), page);
    browse->setObjectName(QStringLiteral("BrowseBkgButton"));
    browse->setAutoDefault(false);
    auto* choose =
        Text(QStringLiteral("Choose a back&ground image to appear in your HTML pages."), page);
    choose->setBuddy(backgrounds_);
    layout->addWidget(choose);
    auto* backgroundRow = new QHBoxLayout;
    backgroundRow->addWidget(backgrounds_, 1);
    backgroundRow->addWidget(browse);
    layout->addLayout(backgroundRow);

    textColour_ = new QComboBox(page);
    linkColour_ = new QComboBox(page);
    textColour_->setObjectName(QStringLiteral("TextColorCombo"));
    linkColour_->setObjectName(QStringLiteral("LinkColorCombo"));
    for (int c = 0; c < kHtmlColourCount; ++c) {
        const auto colour = static_cast<HtmlColour>(c);
        QPixmap swatch(12, 12);
        swatch.fill(Rgb(colour));
        for (QComboBox* box : {textColour_, linkColour_}) {
            box->addItem(QIcon(swatch), Q(HtmlColourName(colour)));
        }
    }
    auto* colours = new QFormLayout;
    colours->addRow(QStringLiteral("&Normal Text"), textColour_);
    colours->addRow(QStringLiteral("&Links"), linkColour_);
    auto* previewBox = new QGroupBox(QStringLiteral("Preview"), page);
    preview_ = new QLabel(previewBox);
    preview_->setObjectName(QStringLiteral("PreviewImage"));
    preview_->setFixedSize(kPreviewSize);
    (new QVBoxLayout(previewBox))->addWidget(preview_);
    auto* colourColumn = new QVBoxLayout;
    colourColumn->addWidget(new QLabel(QStringLiteral("Choose the default text colors:"), page));
    colourColumn->addLayout(colours);
    colourColumn->addStretch(1);
    auto* row = new QHBoxLayout;
    row->addLayout(colourColumn, 1);
    row->addWidget(previewBox);
    layout->addLayout(row);
    layout->addStretch(1);

    connect(backgrounds_, &QComboBox::currentTextChanged, this, &TExportWizard::BkgComboBoxChange);
    connect(browse, &QPushButton::clicked, this, &TExportWizard::BrowseBkgButtonClick);
    connect(textColour_, &QComboBox::currentIndexChanged, this,
            &TExportWizard::TextColorComboChange);
    connect(linkColour_, &QComboBox::currentIndexChanged, this,
            &TExportWizard::TextColorComboChange);
    return page;
}

QWidget* TExportWizard::MakeLinksPage() {
    auto* page = new QWidget;
    auto* layout = PageLayout(page);
    layout->addWidget(Heading(QStringLiteral("Downloadable Links"), page));
    layout->addWidget(Text(QStringLiteral("You can include links in your HTML page to allow "
                                          "downloading of individual records, or the entire "
                                          "contents of the page.  When you click on one of these "
                                          "links in your Web Browser, the information is "
                                          "automatically added to your Quillmere database."),
                           page));
    qldLink_ = new QCheckBox(QStringLiteral("Include link for all &contents (QLD file)"), page);
    vCardLinks_ = new QCheckBox(
        QStringLiteral("Include links for &individual person/organization records (vCard file)"),
        page);
    qldLink_->setObjectName(QStringLiteral("QldLink"));
    vCardLinks_->setObjectName(QStringLiteral("VCardLinks"));
    for (QCheckBox* box : {qldLink_, vCardLinks_}) {
        box->setChecked(true);
        layout->addWidget(box);
    }
    layout->addStretch(1);
    return page;
}

QWidget* TExportWizard::MakeHtmlFilePage() {
    auto* page = new QWidget;
    auto* layout = PageLayout(page);
    layout->addWidget(Text(QStringLiteral("You are now ready to create your HTML (and associated) "
                                          "files.  Select the directory where you would like to "
                                          "have the files created, and enter a title and "
                                          "filename."),
                           page));
    layout->addWidget(new TFolderBrowser({}, page), 1);
    auto* name = new QLineEdit(page);
    name->setObjectName(QStringLiteral("FileNameEdit"));
    pageTitle_ = new QLineEdit(page);
    pageTitle_->setObjectName(QStringLiteral("PageTitle"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Name for main page &file:"), name);
    form->addRow(QStringLiteral("&Title of page:"), pageTitle_);
    layout->addLayout(form);
    return page;
}

QWidget* TExportWizard::MakeCsvFieldsPage() {
    auto* page = new QWidget;
    auto* layout = PageLayout(page);
    layout->addWidget(Text(QStringLiteral("This wizard will export records to a comma-delimited "
                                          "text file.  Each line of the text file will include "
                                          "one record, and the fields will be separated by a "
                                          "comma."),
                           page));
    chooser_ = new TFieldChooserFrame(QStringLiteral("Export records of &type:"),
                                      QStringLiteral("Fields to &Export (in order)"), page);
    layout->addWidget(chooser_, 1);
    connect(chooser_, &TFieldChooserFrame::choiceChanged, this, &TExportWizard::PageChange);
    return page;
}

void TExportWizard::AddVCardOptions() {
    QWidget* page = Page(Q(kVCardExportPage));
    vCardVersion_ = new QComboBox(page);
    vCardVersion_->setObjectName(QStringLiteral("VCardVersion"));
    const struct {
        VCardVersion version;
        const char* use;
    } versions[] = {{VCardVersion::Own21, "Quillmere's own exchange form"},
                    {VCardVersion::V30, "for other address books (RFC 2426)"},
                    {VCardVersion::V40, "for other address books (RFC 6350)"}};
    for (const auto& entry : versions) {
        vCardVersion_->addItem(QStringLiteral("%1: %2").arg(Q(VCardVersionName(entry.version)),
                                                            QString::fromLatin1(entry.use)),
                               static_cast<int>(entry.version));
    }
    // Under the file name, aligned with it.
    vCardForm_->addRow(QStringLiteral("vCard &version:"), vCardVersion_);
    vCardOptions_->addWidget(Text(QStringLiteral("Quillmere reads every version back; other "
                                                 "address books, phones and mail programs "
                                                 "read 3.0 and 4.0."),
                                  page));
    vCardSubtree_ = new QCheckBox(
        QStringLiteral("Whole &subtree: every person and organization at and below the item"),
        page);
    vCardSubtree_->setObjectName(QStringLiteral("VCardSubtree"));
    vCardOptions_->addWidget(vCardSubtree_);
}

bool TExportWizard::VCardKindAccepted() {
    if (VCardTypeAllowed(start_, vCardSubtree_->isChecked())) {
        return true;
    }
    Prompter::Ask(this, Q(kVCardKindWarning), QStringLiteral("Warning"),
                  QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Warning);
    return false;
}

TFolderBrowser* TExportWizard::Browser(const QString& page) const {
    QWidget* widget = Page(page);
    return widget ? widget->findChild<TFolderBrowser*>() : nullptr;
}

QLineEdit* TExportWizard::FileNameEdit(const QString& page) const {
    QWidget* widget = Page(page);
    return widget ? widget->findChild<QLineEdit*>(QStringLiteral("FileNameEdit")) : nullptr;
}

void TExportWizard::SetParent(TOutlineNode* node) {
    start_ = node;
    startPath_->setText(node ? FromUtf8(NodePath(node, "/")) : QString());
    FileNameEdit(Q(kExportFilePage))->setText(Q(ProposedFileName(node, ".qld")));
    FileNameEdit(Q(kCsvFilePage))->setText(Q(ProposedFileName(node, ".csv")));
    FileNameEdit(Q(kVCardExportPage))->setText(Q(ProposedFileName(node, ".vcf")));
    FileNameEdit(Q(kHtmlFilePage))->setText(Q(ProposedFileName(node, ".htm")));
    vCardSubtree_->setChecked(ProposedVCardSubtree(node));
    pageTitle_->setText(node && node->Item() ? FromUtf8(node->Item()->Title()) : QString());
}

ExportType TExportWizard::Type() const {
    return static_cast<ExportType>(std::max(0, exportType_->currentIndex()));
}

void TExportWizard::SelectType(ExportType type) {
    exportType_->setCurrentIndex(static_cast<int>(type));
    ExportTypeChange();
}

void TExportWizard::ExportTypeChange() {
    // Only the one-item file needs a person or organization; a whole subtree may start
    // anywhere.
    if (Type() == ExportType::VCard && !VCardKindAccepted()) {
        exportType_->setCurrentIndex(static_cast<int>(ExportType::ExchangeFile));
    }
    ShowAllSheets();
    KeepSheets(ExportTypePages(Type()));
    PageChange();
}

void TExportWizard::PageChange() {
    const bool fieldPage = CurrentPageName() == Q(kCsvFieldsPage);
    NextBtn()->setEnabled(!fieldPage || chooser_->CanProceed());
}

void TExportWizard::showEvent(QShowEvent* event) {
    if (!shown_) {
        shown_ = true;
        SelectType(ExportType::ExchangeFile);
        textColour_->setCurrentIndex(static_cast<int>(HtmlColour::Black));
        linkColour_->setCurrentIndex(static_cast<int>(HtmlColour::Navy));
        DrawPreview();
        chooser_->SelectRecordType(0);
    }
    TWizardForm::showEvent(event);
}

void TExportWizard::SetWebGraphicsDirectory(const QString& directory) {
    webGraphics_ = directory;
    BkgComboBoxChange();
}

void TExportWizard::BkgComboBoxChange() {
    const std::string name = backgrounds_->currentText().toStdString();
    const std::string graphics = webGraphics_.toStdString();
    previewFile_ = QString::fromStdString(BackgroundPreviewPath(graphics, name));
    pagePicture_ = QString::fromStdString(BackgroundPicturePath(graphics, name));
    DrawPreview();
}

void TExportWizard::BrowseBkgButtonClick() {
    const QString file =
        Prompter::OpenFileName(this, QStringLiteral("Browse"), webGraphics_,
                               QStringLiteral("GIF Images (*.gif);;JPEG Images (*.jpg)"));
    if (file.isEmpty()) {
        return;
    }
    {
        const QSignalBlocker quiet(backgrounds_);
        backgrounds_->setEditText(QFileInfo(file).fileName());
    }
    pagePicture_ = file;
    previewFile_.clear();
    DrawPreview();
}

void TExportWizard::TextColorComboChange() {
    DrawPreview();
}

void TExportWizard::DrawPreview() {
    QPixmap picture(kPreviewSize);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    const QPixmap tile(previewFile_);
    if (!previewFile_.isEmpty() && !tile.isNull()) {
        painter.drawTiledPixmap(picture.rect(), tile);
    }
    QFont font = painter.font();
    font.setPointSize(12);
    painter.setFont(font);
    painter.setPen(Rgb(ColourAt(textColour_)));
    painter.drawText(QRect(10, 5, kPreviewSize.width() - 10, 30), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("Sample Text"));
    font.setPointSize(10);
    font.setUnderline(true);
    painter.setFont(font);
    painter.setPen(Rgb(ColourAt(linkColour_)));
    painter.drawText(QRect(20, 40, kPreviewSize.width() - 20, 24), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("Sample Link"));
    painter.end();
    preview_->setPixmap(picture);
}

QString TExportWizard::PageOfType() const {
    switch (Type()) {
    case ExportType::ExchangeFile:
        return Q(kExportFilePage);
    case ExportType::Html:
        return Q(kHtmlFilePage);
    case ExportType::Csv:
        return Q(kCsvFilePage);
    case ExportType::VCard:
        return Q(kVCardExportPage);
    }
    return {};
}

ExportRequest TExportWizard::Request() const {
    ExportRequest request;
    request.type = Type();
    const QString page = PageOfType();
    request.directory = Browser(page)->Directory().toStdString();
    request.fileName = FileNameEdit(page)->text().toStdString();
    request.recordType = chooser_->RecordType();
    request.fields = chooser_->Chosen();
    request.includeNames = includeNames_->isChecked();
    HtmlPublishOptions& html = request.html;
    html.title = pageTitle_->text().toStdString();
    html.useFrames = useFrames_->isChecked();
    html.indexLevels = levels_->value();
    html.webGraphicsDirectory = webGraphics_.toStdString();
    html.backgroundPicture = pagePicture_.toStdString();
    html.textColour = ColourAt(textColour_);
    html.linkColour = ColourAt(linkColour_);
    html.exchangeFileLink = qldLink_->isChecked();
    html.vCardLinks = vCardLinks_->isChecked();
    request.vCard.version = static_cast<VCardVersion>(vCardVersion_->currentData().toInt());
    request.vCard.subtree = vCardSubtree_->isChecked();
    request.vCard.categoryNames = categoryNames_;
    return request;
}

bool TExportWizard::FormClose() {
    const ExportRequest request = Request();
    if (const FileResult checked = CheckExport(request); !checked) {
        Prompter::Ask(this, FromUtf8(checked.message), FromUtf8(checked.title), QMessageBox::Ok,
                      QMessageBox::Critical);
        FileNameEdit(PageOfType())->setFocus();
        return false;
    }
    if (request.type == ExportType::VCard && !VCardKindAccepted()) {
        vCardSubtree_->setFocus();
        return false;
    }
    Export(request);
    // A file that could not be written keeps the wizard open for another place or name.
    return cancelled_ || resultText_.isEmpty();
}

void TExportWizard::Export(const ExportRequest& request) {
    cancelled_ = false;
    resultText_.clear();
    if (!start_) {
        return;
    }
    const std::vector<std::string> files = ExportOutputFiles(request, *start_);
    const std::vector<std::string> before = ExistingFiles(files);
    FileResult result;
    {
        WorkProgress progress(
            progress_, QStringLiteral("Publishing: %1").arg(exportType_->currentText()), this);
        progress.SetKnownTotal(SubtreeSize(start_));
        {
            WorkProgressScope scope(progress);
            result = RunExport(request, *start_, hidden_);
        }
        cancelled_ = progress.Cancelled();
    }
    if (cancelled_) {
        RemoveCreatedFiles(files, before);
        return;
    }
    if (!result) {
        resultText_ = FromUtf8(result.message);
        Prompter::Ask(this, resultText_, result.title.empty() ? kTitle : FromUtf8(result.title),
                      QMessageBox::Ok, QMessageBox::Critical);
    }
}

} // namespace quill::gui
