#include "gui/exchange/TImportWizard.h"

#include "core/exchange/delimited_text.h"
#include "core/exchange/import_report.h"
#include "core/exchange/import_sources.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"
#include "core/wizards/import_recorder.h"
#include "gui/common/Pictures.h"
#include "gui/common/Prompter.h"
#include "gui/exchange/TFieldChooserFrame.h"
#include "gui/exchange/TFolderBrowser.h"
#include "gui/exchange/UndoableImport.h"
#include "platform/Utf8Text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace quill::gui {
namespace {

const QString kTitle = QStringLiteral("Import Wizard");
const QString kTextHeader = QStringLiteral(
    "This wizard will import records from a text file.  Each line of the text file must include "
    "one record.  The fields on each line must be separated by a single comma or tab "
    "character.");

QLabel* Text(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QString Q(std::string_view text) {
    return FromUtf8(text);
}

} // namespace

TImportWizard::TImportWizard(TProgressForm* progress, QWidget* parent)
    : TWizardForm(parent), progress_(progress) {
    setObjectName(QStringLiteral("TImportWizard"));
    setWindowTitle(kTitle);
    SetHelpContext(kImportWizardHelp);
    AddPage(kSourcePage, MakeSourcePage());
    AddPage(kFavoritesPage, MakeFavoritesPage());
    AddPage(kExchangeFilePage,
            MakeFilePage(QStringLiteral("Select a Quillmere file to import to your database.  The "
                                        "contents of this file will be merged with the "
                                        "information already stored in your database."),
                         {{QStringLiteral("Quillmere File"), {QStringLiteral("*.qld")}}}));
    AddPage(kBookmarksPage,
            MakeDirectoryPage(
                QStringLiteral("Netscape Navigator stores your Bookmarks in a file called "
                               "\"bookmark.htm.\"  This file is normally located in the same "
                               "directory as Navigator.  Select the directory below, and any "
                               "Bookmark file residing there will be available for import."),
                QStringLiteral("Bookmark File"), kBookmarksPage));
    AddPage(kAddressBookPage,
            MakeDirectoryPage(
                QStringLiteral("Netscape Navigator stores your E-Mail Addresses in a file called "
                               "\"address.htm.\"  This file is normally located in the same "
                               "directory as Navigator.  Select the directory below, and any "
                               "address file residing there will be available for import."),
                QStringLiteral("Address File"), kAddressBookPage));
    AddPage(kEudoraPage,
            MakeDirectoryPage(
                QStringLiteral("Eudora stores your E-Mail Addresses in a file called "
                               "\"nndbase.txt.\"  This file is normally located in the same "
                               "directory as Eudora.  Select the directory below, and any "
                               "address file residing there will be available for import."),
                QStringLiteral("Address File"), kEudoraPage));
    AddPage(kTextFieldsPage, MakeTextFieldsPage());
    AddPage(kTextFilePage, MakeTextFilePage());
    AddPage(kVCardFilePage,
            MakeFilePage(QStringLiteral("Quillmere supports import of the vCard standard file "
                                        "format.  This format was developed by a consortium as a "
                                        "standard way of saving contact information, and has "
                                        "received broad industry support."),
                         {{QStringLiteral("vCard Files (*.vcf)"), {QStringLiteral("*.vcf")}}},
                         QStringLiteral("vcard")));
    FinishPages();
    AddBrowserChoice(Page(Q(kBookmarksPage)));
    ImportTypeChange();
}

QWidget* TImportWizard::MakeSourcePage() {
    auto* page = new QWidget;
    auto* layout = PageLayout(page);
    auto* picture = new QLabel(page);
    picture->setPixmap(ProgramIcon().pixmap(64, 64));
    auto* texts = new QVBoxLayout;
    texts->addWidget(Text(QStringLiteral("You can import bookmarks, e-mail addresses, and contacts "
                                         "from several different sources."),
                          page));
    texts->addWidget(Text(QStringLiteral("Choose a file type below, and click the \"Next >>\" "
                                         "button to begin the import process."),
                          page));
    importType_ = new QComboBox(page);
    importType_->setObjectName(QStringLiteral("ImportType"));
    for (int source = 0; source < kImportSourceCount; ++source) {
        importType_->addItem(Q(ImportSourceName(static_cast<ImportSource>(source))));
    }
    texts->addWidget(importType_);
    texts->addStretch(1);
    auto* row = new QHBoxLayout;
    row->addWidget(picture, 0, Qt::AlignTop);
    row->addLayout(texts, 1);
    layout->addLayout(row);
    connect(importType_, &QComboBox::currentIndexChanged, this, &TImportWizard::ImportTypeChange);
    return page;
}

QWidget* TImportWizard::MakeFavoritesPage() {
    auto* page = new QWidget;
    auto* layout = PageLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("Select Directory to  Import:"), page));
    layout->addWidget(Text(QStringLiteral("Quillmere will import all the Internet Shortcuts (*.url "
                                          "files) from this directory and its sub-directories."),
                           page));
    auto* browser = new TFolderBrowser({}, page);
    layout->addWidget(browser, 1);
    layout->addWidget(new QLabel(QStringLiteral("The imported URL's will be added to:"), page));
    targetPath_ = new QLabel(page);
    targetPath_->setObjectName(QStringLiteral("TargetPath"));
    targetPath_->setTextFormat(Qt::PlainText);
    layout->addWidget(targetPath_);
    // The first visit to the directory list goes to the home folder.
    browser->DirectoryList()->installEventFilter(this);
    return page;
}

QWidget* TImportWizard::MakeFilePage(const QString& text, const std::vector<FileFilter>& filters,
                                     const QString& picture) {
    auto* page = new QWidget;
    auto* layout = PageLayout(page);
    auto* row = new QHBoxLayout;
    if (!picture.isEmpty()) {
        auto* icon = new QLabel(page);
        icon->setPixmap(ProgramIcon().pixmap(32, 32));
        row->addWidget(icon, 0, Qt::AlignTop);
    }
    row->addWidget(Text(text, page), 1);
    layout->addLayout(row);
    layout->addWidget(new TFolderBrowser(filters, page), 1);
    return page;
}

QWidget* TImportWizard::MakeDirectoryPage(const QString& text, const QString& box,
                                          std::string_view name) {
    auto* page = new QWidget;
    auto* layout = PageLayout(page);
    layout->addWidget(Text(text, page));
    auto* browser = new TFolderBrowser({}, page);
    layout->addWidget(browser, 1);
    auto* group = new QGroupBox(box, page);
    auto* status = new QLabel(Q(kNoneFound), group);
    status->setObjectName(QStringLiteral("StatusText"));
    status->setTextFormat(Qt::PlainText);
    (new QVBoxLayout(group))->addWidget(status);
    layout->addWidget(group);
    std::string (*statusOf)(const std::string&) = name == kBookmarksPage     ? BookmarksStatus
                                                  : name == kAddressBookPage ? AddressBookStatus
                                                                             : EudoraStatus;
    auto update = [status, statusOf](const QString& directory) {
        status->setText(FromUtf8(statusOf(directory.toStdString())));
    };
    connect(browser, &TFolderBrowser::directoryChanged, this, update);
    update(browser->Directory());
    return page;
}

void TImportWizard::AddBrowserChoice(QWidget* page) {
    auto* group = new QGroupBox(QStringLiteral("Bookmarks of a browser on this computer"), page);
    profiles_ = new QComboBox(group);
    profiles_->setObjectName(QStringLiteral("BrowserProfiles"));
    (new QVBoxLayout(group))->addWidget(profiles_);
    static_cast<QVBoxLayout*>(page->layout())->addWidget(group);
    SetBrowserProfiles({});
}

void TImportWizard::SetBrowserProfiles(const QList<platform::BrowserProfile>& profiles) {
    profileList_ = profiles;
    profiles_->clear();
    profiles_->addItem(QStringLiteral("None: the bookmark file of the directory above"));
    for (const platform::BrowserProfile& profile : profiles) {
        profiles_->addItem(profile.Caption());
    }
    profiles_->setEnabled(!profiles.isEmpty());
}

QWidget* TImportWizard::MakeTextFieldsPage() {
    auto* page = new QWidget;
    auto* layout = PageLayout(page);
    layout->addWidget(Text(kTextHeader, page));
    chooser_ =
        new TFieldChooserFrame(QStringLiteral("Import records of &type:"),
                               QStringLiteral("Fields to &Import (in order)"), page, kIgnoredField);
    layout->addWidget(chooser_, 1);
    // Here rather than beside the separator: it decides whether fields must be chosen.
    firstLineHasNames_ = new QCheckBox(QStringLiteral("&First line holds column names"), page);
    firstLineHasNames_->setObjectName(QStringLiteral("FirstLineHasNames"));
    layout->addWidget(firstLineHasNames_);
    layout->addWidget(Text(QStringLiteral("Then that line is not imported, and with no fields "
                                          "chosen the columns are matched to the fields by "
                                          "their names (also those of Google Contacts, Outlook "
                                          "and Thunderbird). Choose \"%1\" for each column to "
                                          "skip.")
                               .arg(Q(kIgnoredField)),
                           page));
    connect(chooser_, &TFieldChooserFrame::choiceChanged, this, &TImportWizard::PageChange);
    connect(firstLineHasNames_, &QCheckBox::toggled, this, &TImportWizard::PageChange);
    return page;
}

QWidget* TImportWizard::MakeTextFilePage() {
    auto* page = new QWidget;
    auto* layout = PageLayout(page);
    layout->addWidget(Text(kTextHeader, page));
    auto* separator = new QGroupBox(QStringLiteral("Field Separator"), page);
    comma_ = new QRadioButton(QStringLiteral("&Comma"), separator);
    tab_ = new QRadioButton(QStringLiteral("&Tab"), separator);
    comma_->setObjectName(QStringLiteral("CommaSeparator"));
    tab_->setObjectName(QStringLiteral("TabSeparator"));
    comma_->setChecked(true);
    auto* separators = new QHBoxLayout(separator);
    separators->addWidget(comma_);
    separators->addWidget(tab_);
    separators->addStretch(1);
    layout->addWidget(separator);
    auto* file = new QGroupBox(QStringLiteral("Select File to Import"), page);
    auto* browser =
        new TFolderBrowser({{QStringLiteral("Comma Separated (*.CSV)"), {QStringLiteral("*.csv")}},
                            {QStringLiteral("Text Files (*.TXT)"), {QStringLiteral("*.txt")}},
                            {QStringLiteral("All Files (*.*)"), {QStringLiteral("*")}}},
                           file);
    (new QVBoxLayout(file))->addWidget(browser);
    layout->addWidget(file, 1);
    return page;
}

TFolderBrowser* TImportWizard::Browser(const QString& page) const {
    QWidget* widget = Page(page);
    return widget ? widget->findChild<TFolderBrowser*>() : nullptr;
}

QLabel* TImportWizard::Status(const QString& page) const {
    QWidget* widget = Page(page);
    return widget ? widget->findChild<QLabel*>(QStringLiteral("StatusText")) : nullptr;
}

void TImportWizard::SetParent(TOutlineNode* node) {
    target_ = node;
    targetPath_->setText(node ? FromUtf8(NodePath(node, "/")) : QString());
}

ImportSource TImportWizard::Source() const {
    return static_cast<ImportSource>(std::max(0, importType_->currentIndex()));
}

void TImportWizard::SelectSource(ImportSource source) {
    importType_->setCurrentIndex(static_cast<int>(source));
}

void TImportWizard::ImportTypeChange() {
    ShowAllSheets();
    KeepSheets(ImportSourcePages(Source()));
    PageChange();
}

void TImportWizard::PageChange() {
    const bool fieldPage = CurrentPageName() == Q(kTextFieldsPage);
    NextBtn()->setEnabled(!fieldPage ||
                          TextFieldsReady(chooser_->Chosen(), firstLineHasNames_->isChecked()));
}

void TImportWizard::showEvent(QShowEvent* event) {
    if (!shown_) {
        shown_ = true;
        firstEntry_ = true;
        SelectSource(ImportSource::ExchangeFile);
        ImportTypeChange();
        chooser_->SelectRecordType(0);
        comma_->setChecked(true);
        firstLineHasNames_->setChecked(false);
        if (profileList_.isEmpty()) {
            SetBrowserProfiles(platform::FindBrowserProfiles());
        }
    }
    TWizardForm::showEvent(event);
}

bool TImportWizard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && firstEntry_) {
        if (TFolderBrowser* browser = Browser(Q(kFavoritesPage));
            browser && watched == browser->DirectoryList()) {
            firstEntry_ = false;
            browser->SetDirectory(QDir::homePath());
        }
    }
    return TWizardForm::eventFilter(watched, event);
}

ImportRequest TImportWizard::Request(BrowserBookmarks& browser) {
    ImportRequest request;
    request.source = Source();
    switch (request.source) {
    case ImportSource::ExchangeFile:
        request.file = Browser(Q(kExchangeFilePage))->SelectedFile().toStdString();
        break;
    case ImportSource::Favorites:
        request.directory = Browser(Q(kFavoritesPage))->Directory().toStdString();
        break;
    case ImportSource::NetscapeBookmarks: {
        request.directory = Browser(Q(kBookmarksPage))->Directory().toStdString();
        const int profile = profiles_->currentIndex() - 1;
        if (profile >= 0 && profile < profileList_.size()) {
            QString error;
            if (platform::ReadBrowserBookmarks(profileList_[profile], browser, &error)) {
                request.browserBookmarks = &browser;
            } else {
                Prompter::Ask(this,
                              QStringLiteral("The bookmarks of %1 could not be read: %2")
                                  .arg(profileList_[profile].Caption(), error),
                              kTitle, QMessageBox::Ok, QMessageBox::Critical);
                request.directory.clear();
            }
        }
        break;
    }
    case ImportSource::NetscapeAddressBook:
        request.directory = Browser(Q(kAddressBookPage))->Directory().toStdString();
        break;
    case ImportSource::Eudora:
        request.directory = Browser(Q(kEudoraPage))->Directory().toStdString();
        break;
    case ImportSource::DelimitedText:
        request.file = Browser(Q(kTextFilePage))->SelectedFile().toStdString();
        request.recordType = chooser_->RecordType();
        request.fields = chooser_->Chosen();
        request.separator = tab_->isChecked() ? '\t' : ',';
        request.firstLineHasNames = firstLineHasNames_->isChecked();
        break;
    case ImportSource::VCard:
        request.file = Browser(Q(kVCardFilePage))->SelectedFile().toStdString();
        request.categoryNames = categoryNames_;
        break;
    }
    return request;
}

bool TImportWizard::FormClose() {
    BrowserBookmarks browser;
    ImportRequest request = Request(browser);
    if (request.source == ImportSource::NetscapeBookmarks && request.directory.empty() &&
        !request.browserBookmarks) {
        return false; // the browser's bookmarks could not be read: the user chooses again
    }
    Import(request);
    return true;
}

void TImportWizard::Import(const ImportRequest& request) {
    cancelled_ = false;
    resultText_.clear();
    if (!target_) {
        return;
    }
    TOutline* outline = target_->Outline();
    std::optional<TImportRecorder> recorder;
    if (outline) {
        recorder.emplace(*outline);
    }
    TImportReport report;
    const UndoableImportOutcome outcome =
        RunUndoableImport(recorder ? &*recorder : nullptr, progress_,
                          QStringLiteral("Importing: %1").arg(importType_->currentText()), this,
                          [&](IVCardImportChoice& choice) {
                              ImportRequest withChoice = request;
                              withChoice.vCardChoice = &choice;
                              return RunImport(withChoice, target_, &report);
                          });
    const FileResult& result = outcome.result;
    cancelled_ = outcome.cancelled;
    firstProgress_ = outcome.firstUpdate;
    if (!recorder) {
        return;
    }
    if (cancelled_) {
        resultText_ = QStringLiteral("The import was cancelled; the outline is as it was.");
        return;
    }
    if (!result) {
        Prompter::Ask(this, FromUtf8(result.message),
                      result.title.empty() ? kTitle : FromUtf8(result.title), QMessageBox::Ok,
                      QMessageBox::Critical);
    }
    const KindCounts added = recorder->Counts();
    const bool nothingAdded =
        std::all_of(added.begin(), added.end(), [](std::size_t count) { return count == 0; });
    if (ImportSourceReports(request.source)) {
        // The reader knows what each record gave and what the file held beyond that.
        const int recordKind = request.source == ImportSource::DelimitedText && request.recordType
                                   ? request.recordType->kind
                                   : -1;
        resultText_ = FromUtf8(ImportResultText(report, recordKind));
    } else {
        resultText_ = FromUtf8(ImportResultText(added, recorder->Dropped()));
    }
    if (!result && nothingAdded) {
        return; // the error box has said why nothing came in
    }
    Prompter::Ask(this, resultText_, kTitle, QMessageBox::Ok, QMessageBox::Information);
}

} // namespace quill::gui
