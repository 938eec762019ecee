// The publishing wizard driven offscreen through its widgets: the pages of every type, Back
// and Finish, the vCard kind warning, the file name checks and their messages, every type
// written, the graphics page's preview and Browse, Cancel on every page, a long export
// cancelled part-way, and F1.

#include "core/exchange/vcard.h"
#include "core/exchange/vcard_writer.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"
#include "core/services.h"
#include "gui/common/Help.h"
#include "gui/common/ImageLists.h"
#include "gui/common/Prompter.h"
#include "gui/common/TProgressForm.h"
#include "gui/exchange/TExportWizard.h"
#include "gui/exchange/TFieldChooserFrame.h"
#include "gui/exchange/TFolderBrowser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

using namespace quill;
using namespace quill::gui;

namespace {

// Every card read back as a person.
class AsPerson final : public IVCardImportChoice {
public:
    bool ImportAsOrganization(std::string_view, std::string_view) override { return false; }
};

} // namespace

class ExportWizardTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ImageLists> images_;
    std::unique_ptr<TOutline> outline_;
    TOutlineNode* root_ = nullptr;
    TOutlineNode* folder_ = nullptr;
    TOutlineNode* ann_ = nullptr;
    std::unique_ptr<TProgressForm> progress_;
    std::unique_ptr<TExportWizard> wizard_;

    TExportWizard& Wizard() { return *wizard_; }
    QString Out(const QString& name) const { return dir_->filePath(QStringLiteral("out/") + name); }
    QByteArray Read(const QString& name) const {
        QFile file(Out(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList Written() const {
        return QDir(dir_->filePath(QStringLiteral("out"))).entryList(QDir::Files, QDir::Name);
    }

    void Open(TOutlineNode* start) {
        wizard_ = std::make_unique<TExportWizard>(progress_.get());
        wizard_->SetParent(start);
        wizard_->show();
    }
    void ChooseType(ExportType type) {
        Wizard().TypeList()->setCurrentIndex(static_cast<int>(type));
        emit Wizard().TypeList()->activated(static_cast<int>(type));
    }
    void Next() { Wizard().NextBtn()->click(); }
    // Goes to the last page of the path and points its directory at out/.
    void ToLastPage() {
        while (Wizard().NextBtn()->text() != QLatin1String("Finish")) {
            if (Wizard().CurrentPageName() == QLatin1String("CsvFieldsPage") &&
                Wizard().Chooser()->Chosen().empty()) {
                ChooseFields({QStringLiteral("Title")});
            }
            Next();
        }
        QVERIFY(Wizard().Browser(Wizard().CurrentPageName())->SetDirectory(Out({})));
    }
    void ChooseFields(const QStringList& fields) {
        TFieldChooserFrame* chooser = Wizard().Chooser();
        for (auto field = fields.rbegin(); field != fields.rend(); ++field) {
            const auto found = chooser->AvailableList()->findItems(*field, Qt::MatchExactly);
            QVERIFY(!found.isEmpty());
            emit chooser->AvailableList()->itemDoubleClicked(found.front());
        }
    }

private slots:
    void initTestCase() { Prompter::SetStrict(true); }

    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QDir(dir_->path()).mkdir(QStringLiteral("out"));
        images_ = std::make_unique<ImageLists>();
        InstallServices({nullptr, nullptr, images_.get()});
        outline_ = std::make_unique<TOutline>();
        root_ = outline_->CreateRoot();
        folder_ = CreateItem(kFolderKind, "Friends", "", "", 7, "", root_)->Node();
        ann_ = CreateItem(kPersonKind, "Ann Lee", "Ann Lee", "", 8,
                          "{Pers}~~Ann~~~~Lee~~~~Home Phone~~~~~~~~0", folder_)
                   ->Node();
        CreateItem(kPhoneKind, "Home Phone", "555-1234", "", 9, "", ann_);
        CreateItem(kPersonKind, "Secret", "", "", 10, "", folder_);
        progress_ = std::make_unique<TProgressForm>();
        Prompter::Reset();
    }

    void cleanup() {
        wizard_.reset();
        progress_.reset();
        outline_.reset();
        InstallServices({});
        QVERIFY2(Prompter::Unanswered().isEmpty(), qPrintable(Prompter::Unanswered().join("; ")));
        dir_.reset();
    }

    void opensOnTheTypePageWithNamesFromTheStart() {
        Open(ann_);
        QCOMPARE(Wizard().windowTitle(), QStringLiteral("Publishing Wizard"));
        QCOMPARE(Wizard().TypeList()->count(), 4);
        QCOMPARE(Wizard().TypeList()->itemText(2), QStringLiteral("Comma-separated Values (.CSV)"));
        QCOMPARE(Wizard().findChild<QLabel*>(QStringLiteral("StartPath"))->text(),
                 QStringLiteral("My Contacts/Friends/Ann Lee"));
        QCOMPARE(Wizard().FileNameEdit(QStringLiteral("ExportFilePage"))->text(),
                 QStringLiteral("Ann Lee.qld"));
        QCOMPARE(Wizard().FileNameEdit(QStringLiteral("CsvFilePage"))->text(),
                 QStringLiteral("Ann Lee.csv"));
        QCOMPARE(Wizard().FileNameEdit(QStringLiteral("VCardExportPage"))->text(),
                 QStringLiteral("Ann Lee.vcf"));
        QCOMPARE(Wizard().FileNameEdit(QStringLiteral("HtmlFilePage"))->text(),
                 QStringLiteral("Ann Lee.htm"));
        QCOMPARE(Wizard().PageTitle()->text(), QStringLiteral("Ann Lee"));
        QCOMPARE(Wizard().TextColour()->currentText(), QStringLiteral("Black"));
        QCOMPARE(Wizard().LinkColour()->currentText(), QStringLiteral("Navy"));
        QCOMPARE(Wizard().Backgrounds()->currentText(), QStringLiteral("No background"));
        QCOMPARE(Wizard().Backgrounds()->count(), 28);
        QCOMPARE(Wizard().Levels()->maximum(), 9);
        QVERIFY(Wizard().UseFrames()->isChecked());
        QVERIFY(Wizard().QldLink()->isChecked() && Wizard().VCardLinks()->isChecked());
        QVERIFY(Wizard().IncludeNames()->isChecked());
    }

    void everyTypeWalksItsPages_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QStringList>("pages");
        QTest::newRow("qld") << 0 << QStringList{"TypePage", "ExportFilePage"};
        QTest::newRow("html") << 1
                              << QStringList{"TypePage", "IndexPage", "GraphicsPage", "LinksPage",
                                             "HtmlFilePage"};
        QTest::newRow("csv") << 2 << QStringList{"TypePage", "CsvFieldsPage", "CsvFilePage"};
        QTest::newRow("vcard") << 3 << QStringList{"TypePage", "VCardExportPage"};
    }
    void everyTypeWalksItsPages() {
        QFETCH(int, type);
        QFETCH(QStringList, pages);
        Open(ann_);
        ChooseType(static_cast<ExportType>(type));
        QCOMPARE(Wizard().VisibleSheets(), pages);
        for (int i = 1; i < pages.size(); ++i) {
            if (pages[i - 1] == QLatin1String("CsvFieldsPage")) {
                QVERIFY(!Wizard().NextBtn()->isEnabled());
                ChooseFields({QStringLiteral("Title")});
            }
            QVERIFY(Wizard().NextBtn()->isEnabled());
            Next();
            QCOMPARE(Wizard().CurrentPageName(), pages[i]);
        }
        QCOMPARE(Wizard().NextBtn()->text(), QStringLiteral("Finish"));
        Wizard().BackBtn()->click();
        QCOMPARE(Wizard().NextBtn()->text(), QStringLiteral("Next >>"));
        QCOMPARE(Wizard().CurrentPageName(), pages[pages.size() - 2]);
    }

    void aOneItemVCardIsRefusedForAFolderWhicheverButtonIsPressed() {
        for (QMessageBox::StandardButton answer : {QMessageBox::Ok, QMessageBox::Cancel}) {
            Prompter::Reset();
            Open(folder_);
            // A folder has no card of its own: the page proposes the whole subtree.
            QVERIFY(Wizard().VCardSubtree()->isChecked());
            Wizard().VCardSubtree()->setChecked(false);
            Prompter::QueueAnswer(answer);
            ChooseType(ExportType::VCard);
            QCOMPARE(Prompter::Asked(),
                     QStringList(
                         QStringLiteral("Warning|vCard publishing is only supported for Person and "
                                        "Organization items.")));
            QCOMPARE(Wizard().TypeList()->currentIndex(), 0);
            QCOMPARE(Wizard().VisibleSheets(),
                     QStringList({QStringLiteral("TypePage"), QStringLiteral("ExportFilePage")}));
        }
        // With the whole subtree the folder may be published as vCards.
        Prompter::Reset();
        Wizard().VCardSubtree()->setChecked(true);
        ChooseType(ExportType::VCard);
        QVERIFY(Prompter::Asked().isEmpty());
        QCOMPARE(Wizard().VisibleSheets(),
                 QStringList({QStringLiteral("TypePage"), QStringLiteral("VCardExportPage")}));
    }

    void theVCardVersionAndSubtreeAreWrittenAndReadBack() {
        Open(folder_);
        Wizard().SetHiddenTest(
            [](const TNRBObject& item) { return item.Title() == std::string_view("Secret"); });
        Wizard().SetCategoryNames({"Family", "Work"});
        ChooseType(ExportType::VCard);
        ToLastPage();
        QComboBox* version = Wizard().VCardVersionBox();
        QCOMPARE(version->count(), 3);
        QCOMPARE(version->currentText(), QStringLiteral("2.1: Quillmere's own exchange form"));
        QVERIFY(version->itemText(1).startsWith(QStringLiteral("3.0")));
        version->setCurrentIndex(2);
        QCOMPARE(Wizard().Request().vCard.version, VCardVersion::V40);
        QVERIFY(Wizard().Request().vCard.subtree);
        QCOMPARE(Wizard().Request().vCard.categoryNames,
                 (std::vector<std::string>{"Family", "Work"}));
        Wizard().NextBtn()->click();
        QCOMPARE(Wizard().result(), int(QDialog::Accepted));
        const QByteArray file = Read(QStringLiteral("Friends.vcf"));
        QVERIFY2(file.startsWith("BEGIN:VCARD\r\nVERSION:4.0\r\n"), file.constData());
        QCOMPARE(file.count("BEGIN:VCARD"), 1); // Secret is hidden
        QVERIFY2(file.contains("\r\nFN:Ann Lee\r\n"), file.constData());

        // Read back by the program's own reader: the person with her phone.
        TOutline back;
        TOutlineNode* top = back.CreateRoot();
        AsPerson asPerson;
        QVERIFY(ImportVCardFile(Out(QStringLiteral("Friends.vcf")).toStdString(), top, asPerson));
        QCOMPARE(top->ChildCount(), std::size_t{1});
        const TNRBObject* ann = top->ChildAt(0)->Item();
        QCOMPARE(std::string(ann->Title()), std::string("Ann Lee"));
        QCOMPARE(ann->ChildCount(), std::size_t{1});
        QCOMPARE(std::string(ann->ChildAt(0)->Target()), std::string("555-1234"));

        // A person writes its own card unless the subtree is asked for; 3.0 this time.
        Open(ann_);
        ChooseType(ExportType::VCard);
        ToLastPage();
        QVERIFY(!Wizard().VCardSubtree()->isChecked());
        Wizard().VCardVersionBox()->setCurrentIndex(1);
        Wizard().NextBtn()->click();
        const QByteArray card = Read(QStringLiteral("Ann Lee.vcf"));
        QVERIFY2(card.startsWith("BEGIN:VCARD\r\nVERSION:3.0\r\n"), card.constData());
        QVERIFY2(card.contains("\r\nN:Lee;Ann;;;\r\n"), card.constData());
        QCOMPARE(card.count("BEGIN:VCARD"), 1);
    }

    void aFoldersOneItemVCardIsRefusedOnFinishToo() {
        Open(folder_);
        ChooseType(ExportType::VCard);
        ToLastPage();
        Wizard().VCardSubtree()->setChecked(false);
        Prompter::QueueAnswer(QMessageBox::Ok);
        Wizard().NextBtn()->click();
        QCOMPARE(Prompter::Asked().back(),
                 QStringLiteral("Warning|vCard publishing is only supported for Person and "
                                "Organization items."));
        QVERIFY(Wizard().isVisible());
        QVERIFY(Written().isEmpty());
        Wizard().VCardSubtree()->setChecked(true);
        Wizard().NextBtn()->click();
        QVERIFY(!Wizard().isVisible());
        // The default version: the program's own form, for both persons.
        QCOMPARE(Read(QStringLiteral("Friends.vcf")).count("VERSION:2.1\r\n"), 2);
    }

    void theVCardChoicesAreReachableByKeyboard() {
        Open(ann_);
        ChooseType(ExportType::VCard);
        Next();
        QList<QWidget*> stops;
        QWidget* page = Wizard().Page(QStringLiteral("VCardExportPage"));
        for (QWidget* w = Wizard().nextInFocusChain(); w != &Wizard(); w = w->nextInFocusChain()) {
            if (page->isAncestorOf(w) && w->isVisible() && w->isEnabled() &&
                (w->focusPolicy() & Qt::TabFocus)) {
                stops << w;
            }
        }
        const qsizetype name =
            stops.indexOf(Wizard().FileNameEdit(QStringLiteral("VCardExportPage")));
        const qsizetype version = stops.indexOf(Wizard().VCardVersionBox());
        const qsizetype subtree = stops.indexOf(Wizard().VCardSubtree());
        QVERIFY(name >= 0);
        QVERIFY(version > name);
        QVERIFY(subtree > version);
        // Alt+V and Alt+S reach them too.
        QLabel* versionLabel = nullptr;
        for (QLabel* label : page->findChildren<QLabel*>()) {
            if (label->buddy() == Wizard().VCardVersionBox()) {
                versionLabel = label;
            }
        }
        QVERIFY(versionLabel);
        QCOMPARE(versionLabel->text(), QStringLiteral("vCard &version:"));
        QVERIFY(Wizard().VCardSubtree()->text().contains(QStringLiteral("&s")));
    }

    void theExchangeFileNeedsItsExtensionAndLeavesOutHiddenItems() {
        Open(folder_);
        Wizard().SetHiddenTest(
            [](const TNRBObject& item) { return item.Title() == std::string_view("Secret"); });
        ToLastPage();
        QLineEdit* name = Wizard().FileNameEdit(QStringLiteral("ExportFilePage"));
        name->setText(QStringLiteral("friends.txt"));
        Prompter::QueueAnswer(QMessageBox::Ok);
        Wizard().NextBtn()->click();
        QCOMPARE(Prompter::Asked().back(),
                 QStringLiteral("Check Filename|The exported filename needs to have an extension "
                                "of \".qld\""));
        QVERIFY(Wizard().isVisible());
        QVERIFY(Written().isEmpty());
        QCOMPARE(Wizard().CurrentPageName(), QStringLiteral("ExportFilePage"));
        name->setText(QStringLiteral("FRIENDS.QLD"));
        Wizard().NextBtn()->click();
        QCOMPARE(Wizard().result(), int(QDialog::Accepted));
        const QByteArray text = Read(QStringLiteral("FRIENDS.QLD"));
        QVERIFY(text.contains("Ann Lee"));
        QVERIFY(!text.contains("Secret"));
    }

    void csvWritesTheChosenFieldsInOrder() {
        Open(folder_);
        ChooseType(ExportType::Csv);
        Next();
        ChooseFields({QStringLiteral("Last Name"), QStringLiteral("Phone Number")});
        Next();
        QVERIFY(Wizard().Browser(QStringLiteral("CsvFilePage"))->SetDirectory(Out({})));
        Wizard().FileNameEdit(QStringLiteral("CsvFilePage"))->setText(QStringLiteral("f.txt"));
        Wizard().NextBtn()->click();
        // Secret has an empty last name and no primary phone: a quoted empty value and an
        // empty column.
        QCOMPARE(Read(QStringLiteral("f.txt")),
                 QByteArray("\"Last Name\",\"Phone Number\"\r\n\"Lee\",\"555-1234\"\r\n\"\",\r\n"));
    }

    void csvWithoutTheNamesLine() {
        Open(ann_);
        ChooseType(ExportType::Csv);
        Next();
        Wizard().Chooser()->SelectRecordType(4); // Phone Numbers
        ChooseFields({QStringLiteral("Title"), QStringLiteral("Phone Number")});
        Next();
        Wizard().IncludeNames()->setChecked(false);
        QVERIFY(Wizard().Browser(QStringLiteral("CsvFilePage"))->SetDirectory(Out({})));
        Wizard().NextBtn()->click();
        QCOMPARE(Read(QStringLiteral("Ann Lee.csv")),
                 QByteArray("\"Home Phone\",\"555-1234\"\r\n"));
    }

    void vCardWritesThePersonAndChecksItsExtension() {
        Open(ann_);
        ChooseType(ExportType::VCard);
        ToLastPage();
        QVERIFY(Wizard().VCardOptions());
        QLineEdit* name = Wizard().FileNameEdit(QStringLiteral("VCardExportPage"));
        name->setText(QStringLiteral("ann.txt"));
        Prompter::QueueAnswer(QMessageBox::Ok);
        Wizard().NextBtn()->click();
        QCOMPARE(Prompter::Asked().back(),
                 QStringLiteral("Check Filename|The exported filename needs to have an extension "
                                "of \".vcf\""));
        QVERIFY(Wizard().isVisible());
        name->setText(QStringLiteral("ann.VCF"));
        Wizard().NextBtn()->click();
        QVERIFY(!Wizard().isVisible());
        const QByteArray card = Read(QStringLiteral("ann.VCF"));
        QVERIFY(card.startsWith("begin:vcard\r\n"));
        QVERIFY(card.contains("TEL;PREF:555-1234"));
    }

    void theGraphicsPageDrawsItsPreviewAndBrowses() {
        Open(ann_);
        QVERIFY(!Wizard().Preview()->pixmap().isNull());
        Wizard().TextColour()->setCurrentText(QStringLiteral("Red"));
        const QImage red = Wizard().Preview()->pixmap().toImage();
        bool hasRed = false;
        for (int y = 5; y < 30 && !hasRed; ++y) {
            for (int x = 10; x < 100 && !hasRed; ++x) {
                const QColor c = red.pixelColor(x, y);
                hasRed = c.red() > 200 && c.green() < 60 && c.blue() < 60;
            }
        }
        QVERIFY(hasRed);
        // A background of the list: its .bmp previews, its .gif goes on the pages.
        Wizard().Backgrounds()->setCurrentText(QStringLiteral("beads"));
        if (!Wizard().PreviewFile().isEmpty()) {
            QVERIFY(Wizard().PreviewFile().endsWith(QStringLiteral("Backgrounds/beads.bmp")));
            QVERIFY(Wizard().PagePicture().endsWith(QStringLiteral("Backgrounds/beads.gif")));
        }
        Wizard().Backgrounds()->setCurrentText(QStringLiteral("No background"));
        QVERIFY(Wizard().PreviewFile().isEmpty() && Wizard().PagePicture().isEmpty());
        // Browse: the picture itself, its file name in the list, no preview picture.
        Prompter::QueueFileName(dir_->filePath(QStringLiteral("mine.gif")));
        Wizard().findChild<QPushButton*>(QStringLiteral("BrowseBkgButton"))->click();
        QCOMPARE(Wizard().Backgrounds()->currentText(), QStringLiteral("mine.gif"));
        QCOMPARE(Wizard().PagePicture(), dir_->filePath(QStringLiteral("mine.gif")));
        QVERIFY(Wizard().PreviewFile().isEmpty());
        // Cancelled: nothing changes.
        Prompter::QueueFileName({});
        Wizard().findChild<QPushButton*>(QStringLiteral("BrowseBkgButton"))->click();
        QCOMPARE(Wizard().PagePicture(), dir_->filePath(QStringLiteral("mine.gif")));
    }

    void aSiteIsWrittenWithTheChosenOptions() {
        QFile picture(dir_->filePath(QStringLiteral("mine.gif")));
        QVERIFY(picture.open(QIODevice::WriteOnly));
        picture.write("GIF89a");
        picture.close();
        Open(folder_);
        ChooseType(ExportType::Html);
        Next();
        Wizard().UseFrames()->setChecked(false);
        Wizard().Levels()->setValue(1);
        Next();
        Prompter::QueueFileName(picture.fileName());
        Wizard().findChild<QPushButton*>(QStringLiteral("BrowseBkgButton"))->click();
        Wizard().LinkColour()->setCurrentText(QStringLiteral("Teal"));
        Next();
        Wizard().QldLink()->setChecked(false);
        Next();
        QVERIFY(Wizard().Browser(QStringLiteral("HtmlFilePage"))->SetDirectory(Out({})));
        Wizard().FileNameEdit(QStringLiteral("HtmlFilePage"))->setText(QStringLiteral("site.htm"));
        Wizard().PageTitle()->setText(QStringLiteral("Our <Friends>"));
        Wizard().NextBtn()->click();
        QCOMPARE(Wizard().result(), int(QDialog::Accepted));
        const QStringList written = Written();
        QVERIFY2(written.contains(QStringLiteral("site.htm")), qPrintable(written.join(' ')));
        QVERIFY(!written.contains(QStringLiteral("quilindex.htm")));
        QVERIFY(!written.contains(QStringLiteral("quilmain.qld")));
        QVERIFY(written.contains(QStringLiteral("vc8.vcf")));
        QVERIFY(written.contains(QStringLiteral("mine.gif")));
        const QByteArray page = Read(QStringLiteral("site.htm"));
        QVERIFY(page.contains("<body background=\"mine.gif\" text=Black link=Teal>"));
        QVERIFY(page.contains("Our &lt;Friends&gt;"));
    }

    void cancelOnEveryPageWritesNothing() {
        for (int type = 0; type < kExportTypeCount; ++type) {
            Open(ann_);
            ChooseType(static_cast<ExportType>(type));
            const QStringList pages = Wizard().VisibleSheets();
            for (int cancelAt = 0; cancelAt < pages.size(); ++cancelAt) {
                Open(ann_);
                ChooseType(static_cast<ExportType>(type));
                for (TFolderBrowser* browser : Wizard().findChildren<TFolderBrowser*>()) {
                    browser->SetDirectory(Out({}));
                }
                for (int page = 0; page < cancelAt; ++page) {
                    if (Wizard().CurrentPageName() == QLatin1String("CsvFieldsPage")) {
                        ChooseFields({QStringLiteral("Title")});
                    }
                    Next();
                }
                QCOMPARE(Wizard().CurrentPageName(), pages[cancelAt]);
                Wizard().CancelBtn()->click();
                QCOMPARE(Wizard().result(), int(QDialog::Rejected));
                QVERIFY(Written().isEmpty());
            }
        }
        QVERIFY(Prompter::Asked().isEmpty());
    }

    void aCancelledSiteRemovesOnlyWhatItCreated() {
        for (int i = 0; i < 3000; ++i) {
            CreateItem(kPersonKind, "P" + std::to_string(i), "", "", 1000 + i, "", folder_);
        }
        QFile mine(Out(QStringLiteral("quilindex.htm")));
        QVERIFY(mine.open(QIODevice::WriteOnly));
        mine.write("the user's own page");
        mine.close();
        QFile other(Out(QStringLiteral("notes.txt")));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.close();
        Open(folder_);
        ChooseType(ExportType::Html);
        ToLastPage();
        int position = -1;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            if (progress_->isVisible() && progress_->Position() > 0 && position < 0) {
                position = progress_->Position();
                progress_->CancelButton()->click();
            }
        });
        poll.start(2);
        Wizard().NextBtn()->click();
        poll.stop();
        QVERIFY(Wizard().LastExportCancelled());
        QVERIFY(position > 0 && position < progress_->Maximum());
        QCOMPARE(Written(),
                 QStringList({QStringLiteral("notes.txt"), QStringLiteral("quilindex.htm")}));
        QVERIFY(!progress_->isVisible());
    }

    void aCancelledVCardSubtreeWritesNothing() {
        for (int i = 0; i < 40000; ++i) {
            CreateItem(kPersonKind, "P" + std::to_string(i), "", "", 1000 + i,
                       "{Pers}~~P~~~~" + std::to_string(i) + "~~~~~~~~~~~~0", folder_);
        }
        Open(folder_);
        ChooseType(ExportType::VCard);
        ToLastPage();
        Wizard().VCardVersionBox()->setCurrentIndex(2);
        int position = -1;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            if (progress_->isVisible() && progress_->Position() > 0 && position < 0) {
                position = progress_->Position();
                progress_->CancelButton()->click();
            }
        });
        poll.start(2);
        Wizard().NextBtn()->click();
        poll.stop();
        QVERIFY(Wizard().LastExportCancelled());
        QVERIFY(position > 0 && position < progress_->Maximum());
        QVERIFY(Written().isEmpty());
        QVERIFY(Prompter::Asked().isEmpty());
    }

    void f1OpensTheWizardsHelpPage() {
        Open(ann_);
        QCOMPARE(Wizard().HelpContext(), kPublishWizardHelp);
        auto* key = Wizard().findChild<QShortcut*>(QStringLiteral("HelpKey"));
        QVERIFY(key);
        QCOMPARE(key->key(), QKeySequence(Qt::Key_F1));
        QVERIFY(!HelpPage(kPublishWizardHelp).isEmpty());
    }
};

QTEST_MAIN(ExportWizardTest)
#include "ExportWizardTest.moc"
