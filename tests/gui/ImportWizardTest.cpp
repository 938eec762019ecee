// The import wizard driven offscreen through its widgets: the page path of every source,
// Back, Next and Finish, the status texts, the field chooser by button, double-click and
// drag, Cancel on every page, every source imported, the vCard question's two answers, a
// long import cancelled part-way, and F1.

#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"
#include "core/services.h"
#include "core/storage/data_file.h"
#include "gui/common/Help.h"
#include "gui/common/ImageLists.h"
#include "gui/common/Prompter.h"
#include "gui/common/TProgressForm.h"
#include "gui/exchange/TFieldChooserFrame.h"
#include "gui/exchange/TFolderBrowser.h"
#include "gui/exchange/TImportWizard.h"
#include "gui/exchange/TVCImportDlg.h"

#include "ShownText.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>

#include <memory>

using namespace quill;
using namespace quill::gui;

namespace {

void Put(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString Title(const TOutlineNode* node) {
    return QString::fromStdString(std::string(node->Item()->Title()));
}

TOutlineNode* Child(TOutlineNode* parent, const QString& title) {
    for (std::size_t i = 0; parent && i < parent->ChildCount(); ++i) {
        if (Title(parent->ChildAt(i)) == title) {
            return parent->ChildAt(i);
        }
    }
    return nullptr;
}

} // namespace

class ImportWizardTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ImageLists> images_;
    std::unique_ptr<TOutline> outline_;
    TOutlineNode* root_ = nullptr;
    TOutlineNode* target_ = nullptr;
    std::unique_ptr<TProgressForm> progress_;
    std::unique_ptr<TImportWizard> wizard_;

    TImportWizard& Wizard() { return *wizard_; }
    QString File(const QString& name) const { return dir_->filePath(name); }

    void Open() {
        wizard_ = std::make_unique<TImportWizard>(progress_.get());
        wizard_->SetBrowserProfiles({});
        wizard_->SetParent(target_);
        wizard_->show();
    }
    void ChooseSource(ImportSource source) {
        Wizard().ImportType()->setCurrentIndex(static_cast<int>(source));
    }
    void Next() { Wizard().NextBtn()->click(); }
    // Opened, the vCard source chosen and the file of that name picked on its page.
    bool OpenOnVCardFile(const QString& name) {
        Open();
        ChooseSource(ImportSource::VCard);
        Next();
        TFolderBrowser* browser = Wizard().Browser(QStringLiteral("VCardFilePage"));
        browser->SetDirectory(dir_->path());
        return browser->SelectFile(name);
    }
    // Finish, answering the box that says what came in.
    void Finish() {
        QCOMPARE(Wizard().NextBtn()->text(), QStringLiteral("Finish"));
        Prompter::QueueAnswer(QMessageBox::Ok);
        Wizard().NextBtn()->click();
        QCOMPARE(Wizard().result(), int(QDialog::Accepted));
    }
    // Double-clicked from the last to the first, since each goes to the top of the chosen
    // list: the list then reads as given.
    void ChooseFields(const QStringList& fields) {
        TFieldChooserFrame* chooser = Wizard().Chooser();
        for (auto field = fields.rbegin(); field != fields.rend(); ++field) {
            const auto found = chooser->AvailableList()->findItems(*field, Qt::MatchExactly);
            QVERIFY(!found.isEmpty());
            emit chooser->AvailableList()->itemDoubleClicked(found.front());
        }
    }
    // Drops the rows of one chooser list onto the entry at row of a list (-1: an empty area),
    // as a drag with the mouse ends.
    static void Drag(FieldList* from, const QList<int>& rows, FieldList* onto, int row) {
        QModelIndexList indexes;
        for (int r : rows) {
            indexes << from->model()->index(r, 0);
        }
        std::unique_ptr<QMimeData> data(from->model()->mimeData(indexes));
        QVERIFY(data);
        const QPoint at = row >= 0 ? onto->visualItemRect(onto->item(row)).center()
                                   : QPoint(5, onto->viewport()->height() - 2);
        QCOMPARE(onto->indexAt(at).row(), row);
        QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(onto->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(onto->viewport(), &drop);
    }
    static int Row(const QListWidget* list, const QString& text) {
        const auto found = list->findItems(text, Qt::MatchExactly);
        return found.isEmpty() ? -1 : list->row(found.front());
    }
    void ChooseTextFile(const QString& name) {
        QCOMPARE(Wizard().CurrentPageName(), QStringLiteral("TextFilePage"));
        TFolderBrowser* browser = Wizard().Browser(QStringLiteral("TextFilePage"));
        browser->SetDirectory(dir_->path());
        QVERIFY(browser->SelectFile(name));
    }
    QStringList TargetsUnder(const TOutlineNode* node) const {
        QStringList targets;
        for (std::size_t i = 0; i < node->ChildCount(); ++i) {
            targets << QString::fromStdString(std::string(node->ChildAt(i)->Item()->Target()));
        }
        targets.sort();
        return targets;
    }
    // The targets of the item's contact points of the kind.
    static QStringList ContactTargets(const TOutlineNode* node, int kind) {
        QStringList targets;
        const TNRBObject* item = node ? node->Item() : nullptr;
        for (std::size_t i = 0; item && i < item->ChildCount(); ++i) {
            if (item->ChildAt(i)->Kind() == kind) {
                targets << QString::fromStdString(std::string(item->ChildAt(i)->Target()));
            }
        }
        return targets;
    }
    QString LastAsked() const {
        const QStringList asked = Prompter::Asked();
        return asked.isEmpty() ? QString() : asked.back();
    }

private slots:
    void initTestCase() {
        Prompter::SetStrict(true);
        // Browsers' profiles are looked for in a home of the test's own.
        qputenv("HOME", QDir::tempPath().toUtf8() + "/quill-wizard-test-home");
        QDir().mkpath(QDir::homePath());
    }

    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        images_ = std::make_unique<ImageLists>();
        InstallServices({nullptr, nullptr, images_.get()});
        outline_ = std::make_unique<TOutline>();
        root_ = outline_->CreateRoot();
        target_ = CreateItem(kFolderKind, "Friends", "", "", 7, "", root_)->Node();
        CreateItem(kPersonKind, "Zoe Old", "", "", 8, "", target_);
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

    // Whatever window opens it, the wizard stands in the middle of the screen.
    void standsInTheMiddleOfTheScreen() {
        QWidget opener;
        opener.setGeometry(0, 0, 200, 150);
        opener.show();
        QVERIFY(QTest::qWaitForWindowExposed(&opener));
        TImportWizard wizard(progress_.get(), &opener);
        wizard.SetBrowserProfiles({});
        wizard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wizard));
        const QScreen* screen = wizard.screen();
        QVERIFY(screen);
        const QPoint offset =
            wizard.frameGeometry().center() - screen->availableGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2,
                 qPrintable(QStringLiteral("off by %1,%2").arg(offset.x()).arg(offset.y())));
    }

    void opensOnTheSourcePageWithTheExchangeFileChosen() {
        Open();
        QCOMPARE(Wizard().windowTitle(), QStringLiteral("Import Wizard"));
        QCOMPARE(Wizard().ImportType()->count(), 7);
        QCOMPARE(Wizard().ImportType()->currentText(), QStringLiteral("Quillmere File (*.QLD)"));
        QCOMPARE(Wizard().ImportType()->itemText(5), QStringLiteral("Comma or Tab-Delimited Text"));
        QCOMPARE(Wizard().CurrentPageName(), QStringLiteral("SourcePage"));
        QCOMPARE(Wizard().VisibleSheets(),
                 QStringList({QStringLiteral("SourcePage"), QStringLiteral("ExchangeFilePage")}));
        QCOMPARE(Wizard().NextBtn()->text(), QStringLiteral("Next >>"));
        QCOMPARE(Wizard().BackBtn()->text(), QStringLiteral("<< Back"));
        QCOMPARE(Wizard().CancelBtn()->text(), QStringLiteral("Cancel"));
        QVERIFY(Wizard().NextBtn()->isDefault());
        QCOMPARE(Wizard().findChild<QLabel*>(QStringLiteral("TargetPath"))->text(),
                 QStringLiteral("My Contacts/Friends"));
    }

    void everySourceWalksItsPagesToFinishAndBack_data() {
        QTest::addColumn<int>("source");
        QTest::addColumn<QStringList>("pages");
        QTest::newRow("exchange") << 0 << QStringList{"SourcePage", "ExchangeFilePage"};
        QTest::newRow("favorites") << 1 << QStringList{"SourcePage", "FavoritesPage"};
        QTest::newRow("bookmarks") << 2 << QStringList{"SourcePage", "BookmarksPage"};
        QTest::newRow("address") << 3 << QStringList{"SourcePage", "AddressBookPage"};
        QTest::newRow("eudora") << 4 << QStringList{"SourcePage", "EudoraPage"};
        QTest::newRow("text") << 5 << QStringList{"SourcePage", "TextFieldsPage", "TextFilePage"};
        QTest::newRow("vcard") << 6 << QStringList{"SourcePage", "VCardFilePage"};
    }
    void everySourceWalksItsPagesToFinishAndBack() {
        QFETCH(int, source);
        QFETCH(QStringList, pages);
        Open();
        ChooseSource(static_cast<ImportSource>(source));
        QCOMPARE(Wizard().VisibleSheets(), pages);
        for (int i = 1; i < pages.size(); ++i) {
            if (pages[i - 1] == QLatin1String("TextFieldsPage")) {
                QVERIFY(!Wizard().NextBtn()->isEnabled());
                ChooseFields({QStringLiteral("First Name")});
                QVERIFY(Wizard().NextBtn()->isEnabled());
            }
            Next();
            QCOMPARE(Wizard().CurrentPageName(), pages[i]);
            QCOMPARE(Wizard().NextBtn()->text(),
                     i + 1 == pages.size() ? QStringLiteral("Finish") : QStringLiteral("Next >>"));
        }
        Wizard().BackBtn()->click();
        QCOMPARE(Wizard().CurrentPageName(), pages[pages.size() - 2]);
        QCOMPARE(Wizard().NextBtn()->text(), QStringLiteral("Next >>"));
        QVERIFY(Wizard().isVisible());
        QCOMPARE(Wizard().BackBtn()->isEnabled(), pages.size() > 2);
        Wizard().BackBtn()->click();
        Wizard().BackBtn()->click();
        QCOMPARE(Wizard().CurrentPage(), 0);
        // Nothing before the first page: its "<< Back" does not offer to go there.
        QVERIFY(!Wizard().BackBtn()->isEnabled());
    }

    void cancelOnEveryPageImportsNothing() {
        Put(File("in.qld"), "{1 0 }Imported~~~~~~3\r\n{Fold}0\r\n");
        Put(File("in.vcf"), "begin:vcard\r\nN:Doe;John\r\nend:vcard\r\n");
        const std::string before = DataFileText(*outline_);
        for (int source = 0; source < kImportSourceCount; ++source) {
            const QStringList pages = [&] {
                Open();
                ChooseSource(static_cast<ImportSource>(source));
                return Wizard().VisibleSheets();
            }();
            for (int cancelAt = 0; cancelAt < pages.size(); ++cancelAt) {
                Open();
                ChooseSource(static_cast<ImportSource>(source));
                for (TFolderBrowser* browser : Wizard().findChildren<TFolderBrowser*>()) {
                    browser->SetDirectory(dir_->path());
                    browser->SelectFile(QStringLiteral("in.qld")) ||
                        browser->SelectFile(QStringLiteral("in.vcf"));
                }
                for (int page = 0; page < cancelAt; ++page) {
                    if (Wizard().CurrentPageName() == QLatin1String("TextFieldsPage")) {
                        ChooseFields({QStringLiteral("Title")});
                    }
                    Next();
                }
                QCOMPARE(Wizard().CurrentPageName(), pages[cancelAt]);
                Wizard().CancelBtn()->click();
                QCOMPARE(Wizard().result(), int(QDialog::Rejected));
                QVERIFY(!Wizard().isVisible());
                QCOMPARE(DataFileText(*outline_), before);
            }
        }
        QVERIFY(Prompter::Asked().isEmpty());
    }

    void statusTextsFollowTheDirectory() {
        QDir(dir_->path()).mkdir(QStringLiteral("empty"));
        Put(File("nav/bookmark.htm"), "<TITLE>Ann's Bookmarks</TITLE>\r\n");
        Put(File("nav/address.htm"), "<TITLE>Ann's Addresses</TITLE>\r\n");
        Put(File("eudora/NNDBASE.TXT"), "alias ann ann@example.org\r\n");
        Put(File("firefox/bookmarks.html"), "<TITLE>Bookmarks</TITLE>\r\n");
        Open();
        const struct {
            const char* page;
            const char* directory;
            const char* status;
        } cases[] = {
            {"BookmarksPage", "empty", "None Found"},
            {"BookmarksPage", "nav", "Ann's Bookmarks"},
            {"BookmarksPage", "firefox", "Bookmarks"},
            {"AddressBookPage", "empty", "None Found"},
            {"AddressBookPage", "nav", "Ann's Addresses"},
            {"EudoraPage", "nav", "None Found"},
            {"EudoraPage", "eudora", "Found Eudora Address File in this directory"},
        };
        for (const auto& c : cases) {
            const QString page = QLatin1String(c.page);
            QVERIFY(Wizard().Browser(page)->SetDirectory(File(QLatin1String(c.directory))));
            QCOMPARE(Wizard().Status(page)->text(), QLatin1String(c.status));
        }
    }

    void theFolderBrowserListsThePathDirectoriesAndFilteredFiles() {
        Put(File("a/b/x.VCF"), "");
        Put(File("a/b/y.txt"), "");
        QDir(dir_->path()).mkpath(QStringLiteral("a/b/sub"));
        TFolderBrowser browser({{QStringLiteral("vCard Files (*.vcf)"), {QStringLiteral("*.vcf")}},
                                {QStringLiteral("All Files (*.*)"), {QStringLiteral("*")}}});
        QVERIFY(browser.SetDirectory(File("a/b")));
        QVERIFY(!browser.SetDirectory(File("a/b/x.VCF")));
        QCOMPARE(browser.FileList()->count(), 1); // the pattern ignores case
        QVERIFY(browser.SelectFile(QStringLiteral("x.VCF")));
        QCOMPARE(browser.SelectedFile(), QDir::cleanPath(File("a/b/x.VCF")));
        browser.SetFilterIndex(1);
        QCOMPARE(browser.FileList()->count(), 2);
        // The last entry is the subdirectory; activating it opens it.
        QListWidget* directories = browser.DirectoryList();
        QListWidgetItem* sub = directories->item(directories->count() - 1);
        QCOMPARE(sub->text().trimmed(), QStringLiteral("sub"));
        emit directories->itemActivated(sub);
        QCOMPARE(browser.Directory(), QDir::cleanPath(File("a/b/sub")));
        // An entry of the path goes back up.
        emit directories->itemActivated(directories->item(0));
        QCOMPARE(browser.Directory(), QStringLiteral("/"));
        QVERIFY(browser.PlacesBox()->count() >= 2);
        QCOMPARE(browser.PlacesBox()->itemData(0).toString(), QDir::homePath());
    }

    void theFolderBrowserShowsAPathWithMarkupAsWritten() {
        // Qt takes a label's text or a tooltip that looks like markup as markup.
        const auto shown = [](const QString& text, Qt::TextFormat format) {
            return test::ShownText(text, format);
        };
        const QString folder = QStringLiteral("<b>Team &amp;  <i>Co");
        QVERIFY(QDir(dir_->path()).mkpath(folder));
        TFolderBrowser browser({{QStringLiteral("All Files (*.*)"), {QStringLiteral("*")}}});
        QVERIFY(browser.SetDirectory(File(folder)));
        const QString path = browser.Directory();
        QVERIFY(path.endsWith(QLatin1Char('/') + folder));
        auto* label = browser.findChild<QLabel*>(QStringLiteral("DirectoryPath"));
        QVERIFY(label);
        QCOMPARE(shown(label->text(), label->textFormat()), path);
        QCOMPARE(shown(label->toolTip(), Qt::AutoText), path);
        // On one line, as a plain tooltip is: not wrapped at each "/".
        QTextDocument tip;
        tip.setHtml(label->toolTip());
        QVERIFY(tip.begin().blockFormat().nonBreakableLines());
        // A path without markup keeps its plain tooltip.
        QVERIFY(browser.SetDirectory(dir_->path()));
        QCOMPARE(label->toolTip(), browser.Directory());
    }

    void theChooserMovesFieldsByButtonDoubleClickAndDrag() {
        Open();
        ChooseSource(ImportSource::DelimitedText);
        Next();
        TFieldChooserFrame* chooser = Wizard().Chooser();
        QCOMPARE(chooser->RecTypeCombo()->count(), 7);
        // The person's 17 fields and "(Ignore)" last.
        QCOMPARE(chooser->AvailableList()->count(), 18);
        QCOMPARE(chooser->AvailableList()->item(17)->text(), QStringLiteral("(Ignore)"));
        QVERIFY(!Wizard().NextBtn()->isEnabled());
        // Salutation and Title selected together come over as Title, Salutation.
        chooser->AvailableList()->item(1)->setSelected(true);
        chooser->AvailableList()->item(0)->setSelected(true);
        chooser->CopyRtBtn()->click();
        QCOMPARE(chooser->ChosenList()->count(), 2);
        QCOMPARE(chooser->ChosenList()->item(0)->text(), QStringLiteral("Title"));
        QCOMPARE(chooser->ChosenList()->item(1)->text(), QStringLiteral("Salutation"));
        QVERIFY(Wizard().NextBtn()->isEnabled());
        QCOMPARE(chooser->CopyRtBtn()->toolTip(), QStringLiteral("Copy to Import"));
        QCOMPARE(chooser->CopyLtBtn()->toolTip(), QStringLiteral("Copy to Available"));

        ChooseFields({QStringLiteral("Last Name")}); // goes to the top
        QCOMPARE(chooser->Chosen(), (std::vector<std::string>{"Last Name", "Title", "Salutation"}));
        // Dragged within the chosen list: Salutation dropped on Last Name goes to the top.
        FieldList* chosen = chooser->ChosenList();
        chosen->setCurrentRow(2);
        const QPoint onto = chosen->visualItemRect(chosen->item(0)).center();
        std::unique_ptr<QMimeData> data(chosen->model()->mimeData({chosen->model()->index(2, 0)}));
        QDropEvent drop(onto, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QDragEnterEvent enter(onto, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(chosen->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QApplication::sendEvent(chosen->viewport(), &drop);
        QCOMPARE(chooser->Chosen(), (std::vector<std::string>{"Salutation", "Last Name", "Title"}));
        // A drop on an empty area changes nothing.
        const QPoint empty(5, chosen->viewport()->height() - 2);
        QCOMPARE(chosen->indexAt(empty).row(), -1);
        chosen->setCurrentRow(1);
        QDragEnterEvent again(empty, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(chosen->viewport(), &again);
        QDropEvent missed(empty, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(chosen->viewport(), &missed);
        QCOMPARE(chooser->Chosen(), (std::vector<std::string>{"Salutation", "Last Name", "Title"}));

        // Back by button and by double-click; the list emptied disables Next again.
        chosen->setCurrentRow(0);
        chooser->CopyLtBtn()->click();
        QCOMPARE(chooser->AvailableList()->item(0)->text(), QStringLiteral("Salutation"));
        emit chosen->itemDoubleClicked(chosen->item(0));
        emit chosen->itemDoubleClicked(chosen->item(0));
        QCOMPARE(chosen->count(), 0);
        QVERIFY(!Wizard().NextBtn()->isEnabled());
        ChooseFields({QStringLiteral("Title")});
        // A new record type empties the choice.
        chooser->RecTypeCombo()->setCurrentIndex(4);
        QCOMPARE(chooser->AvailableList()->count(), 5);
        QCOMPARE(chosen->count(), 0);
        QVERIFY(!Wizard().NextBtn()->isEnabled());
    }

    void importsAnExchangeFileUnderTheRoot() {
        Put(File("in.qld"), "{1 0 }Imported~~~~~~3\r\n{Fold}0\r\n{2 3 }Ann Lee~~~~~~4\r\n"
                            "{Pers}~~Ann~~~~Lee~~~~~~~~~~~~0\r\n");
        Open();
        Next();
        Wizard().Browser(QStringLiteral("ExchangeFilePage"))->SetDirectory(dir_->path());
        QVERIFY(Wizard()
                    .Browser(QStringLiteral("ExchangeFilePage"))
                    ->SelectFile(QStringLiteral("in.qld")));
        Finish();
        QVERIFY(Child(root_, QStringLiteral("Imported")));
        QCOMPARE(Wizard().ResultText(), QStringLiteral("Imported 1 folder and 1 person."));
        QCOMPARE(LastAsked(), QStringLiteral("Import Wizard|Imported 1 folder and 1 person."));
    }

    void importsFavoritesUnderTheTarget() {
        Put(File("Fav/a.url"), "[InternetShortcut]\r\nURL=https://a.example/\r\n");
        Put(File("Fav/Sub/Deep/c.url"), "[InternetShortcut]\r\nURL=https://c.example/\r\n");
        Open();
        ChooseSource(ImportSource::Favorites);
        Next();
        TFolderBrowser* browser = Wizard().Browser(QStringLiteral("FavoritesPage"));
        // The first visit to the directory list starts in the home folder.
        browser->SetDirectory(dir_->path());
        QFocusEvent focus(QEvent::FocusIn);
        QApplication::sendEvent(browser->DirectoryList(), &focus);
        QCOMPARE(browser->Directory(), QDir::homePath());
        browser->SetDirectory(File("Fav"));
        QApplication::sendEvent(browser->DirectoryList(), &focus);
        QCOMPARE(browser->Directory(), QDir::cleanPath(File("Fav")));
        Finish();
        TOutlineNode* fav = Child(target_, QStringLiteral("Fav"));
        QVERIFY(fav);
        QVERIFY(Child(fav, QStringLiteral("a")));
        QVERIFY(Child(Child(fav, QStringLiteral("Deep")), QStringLiteral("c")));
        QCOMPARE(Wizard().ResultText(), QStringLiteral("Imported 2 folders and 2 websites."));
    }

    void importsBookmarksAddressesAndNicknamesUnderTheRoot() {
        Put(File("nav/bookmark.htm"),
            "<TITLE>Marks</TITLE>\r\n<DT><A HREF=\"https://x.example/\">X</A>\r\n");
        Put(File("nav/address.htm"),
            "<TITLE>Book</TITLE>\r\n<DT><A HREF=\"mailto:ann@example.org\">Ann</A>\r\n");
        Put(File("nav/nndbase.txt"), "alias ann \"Ann Lee\" <ann@example.org>\r\nnote ann hi\r\n");
        const struct {
            ImportSource source;
            const char* page;
            const char* folder;
            int kind;
        } cases[] = {{ImportSource::NetscapeBookmarks, "BookmarksPage", "Marks", kWebsiteKind},
                     {ImportSource::NetscapeAddressBook, "AddressBookPage", "Book", kEMailKind},
                     {ImportSource::Eudora, "EudoraPage", "Eudora Addresses", kEMailKind}};
        for (const auto& c : cases) {
            Open();
            ChooseSource(c.source);
            Next();
            Wizard().Browser(QLatin1String(c.page))->SetDirectory(File("nav"));
            Finish();
            TOutlineNode* folder = Child(root_, QLatin1String(c.folder));
            QVERIFY2(folder, c.folder);
            QCOMPARE(target_->ChildCount(), std::size_t{1});
            if (c.kind == kWebsiteKind) {
                QCOMPARE(Title(folder->ChildAt(0)), QStringLiteral("X"));
            } else {
                QCOMPARE(folder->Item()->ChildCount(), std::size_t{1});
                QCOMPARE(std::string(folder->Item()->ChildAt(0)->Target()), "ann@example.org");
            }
        }
        QCOMPARE(Wizard().ResultText(), QStringLiteral("Imported 1 folder and 1 e-mail address."));
    }

    void importsABrowsersOwnBookmarks() {
        const QString home = QDir::homePath();
        Put(home + "/.config/chromium/Default/Bookmarks",
            "{\"roots\":{\"bookmark_bar\":{\"type\":\"folder\",\"children\":["
            "{\"type\":\"url\",\"name\":\"Qt\",\"url\":\"https://qt.io/\"},"
            "{\"type\":\"folder\",\"name\":\"Sub\",\"children\":["
            "{\"type\":\"url\",\"name\":\"Deb\",\"url\":\"https://debian.org/\"}]}]},"
            "\"other\":{\"type\":\"folder\",\"children\":[]}}}");
        Open();
        ChooseSource(ImportSource::NetscapeBookmarks);
        Next();
        Wizard().SetBrowserProfiles(platform::FindBrowserProfiles());
        QCOMPARE(Wizard().BrowserProfiles()->count(), 2);
        QCOMPARE(Wizard().BrowserProfiles()->itemText(1), QStringLiteral("Chromium (Default)"));
        Wizard().BrowserProfiles()->setCurrentIndex(1);
        Finish();
        QDir(home + "/.config").removeRecursively();
        TOutlineNode* folder = Child(root_, QStringLiteral("Chromium Bookmarks"));
        QVERIFY(folder);
        QCOMPARE(folder->ChildCount(), std::size_t{2});
        QCOMPARE(Title(folder->ChildAt(1)), QStringLiteral("Deb"));
    }

    void importsTextRecordsAndSaysWhatWasNotKept() {
        Put(File("p.txt"), "Ann\tLee,J\t555\r\n\t\t\r\nBo\tEk\t556\r\n");
        Open();
        ChooseSource(ImportSource::DelimitedText);
        Next();
        ChooseFields({QStringLiteral("First Name"), QStringLiteral("Last Name"),
                      QStringLiteral("Phone Number")});
        Next();
        QCOMPARE(Wizard().CurrentPageName(), QStringLiteral("TextFilePage"));
        TFolderBrowser* browser = Wizard().Browser(QStringLiteral("TextFilePage"));
        QCOMPARE(browser->FilterBox()->itemText(0), QStringLiteral("Comma Separated (*.CSV)"));
        browser->SetDirectory(dir_->path());
        QCOMPARE(browser->FileList()->count(), 0);
        browser->SetFilterIndex(1);
        QVERIFY(browser->SelectFile(QStringLiteral("p.txt")));
        Wizard().TabSeparator()->setChecked(true);
        Finish();
        QCOMPARE(Wizard().ResultText(),
                 QStringLiteral("Imported 2 persons and 2 phone numbers.\n1 record was not kept: "
                                "it held nothing the record type can use."));
        // The tab separator splits "Lee,J" no further: the comma stays in the last name. Title
        // was not chosen, so the persons keep the title "New".
        QStringList targets;
        for (std::size_t i = 0; i < target_->ChildCount(); ++i) {
            targets << QString::fromStdString(std::string(target_->ChildAt(i)->Item()->Target()));
        }
        QVERIFY2(targets.contains(QStringLiteral("Ann Lee,J")), qPrintable(targets.join('|')));
    }

    void ignoredColumnsAreChosenByDoubleClickButtonAndDrag() {
        Put(File("ids.csv"), "7,Ann,Lee,x\r\n8,Bo,Ek,y\r\n");
        Open();
        ChooseSource(ImportSource::DelimitedText);
        Next();
        TFieldChooserFrame* chooser = Wizard().Chooser();
        FieldList* available = chooser->AvailableList();
        FieldList* chosen = chooser->ChosenList();
        const QString ignore = QStringLiteral("(Ignore)");
        using Fields = std::vector<std::string>;

        // Skipped columns alone import nothing: Next stays off, with or without names.
        ChooseFields({ignore});
        QCOMPARE(chooser->Chosen(), Fields{"(Ignore)"});
        QCOMPARE(available->findItems(ignore, Qt::MatchExactly).size(), 1);
        QVERIFY(!Wizard().NextBtn()->isEnabled());
        Wizard().FirstLineHasNames()->setChecked(true);
        QVERIFY(!Wizard().NextBtn()->isEnabled());
        Wizard().FirstLineHasNames()->setChecked(false);

        // Dragged from the available list: onto an empty area to the end, onto an entry
        // in before it.
        Drag(available, {Row(available, QStringLiteral("Last Name"))}, chosen, -1);
        QCOMPARE(chooser->Chosen(), (Fields{"(Ignore)", "Last Name"}));
        QVERIFY(Wizard().NextBtn()->isEnabled());
        Drag(available, {Row(available, QStringLiteral("First Name"))}, chosen, 1);
        QCOMPARE(chooser->Chosen(), (Fields{"(Ignore)", "First Name", "Last Name"}));

        // By button, a second one; dragged within the list to the last column.
        available->clearSelection();
        available->item(Row(available, ignore))->setSelected(true);
        chooser->CopyRtBtn()->click();
        QCOMPARE(chooser->Chosen(), (Fields{"(Ignore)", "(Ignore)", "First Name", "Last Name"}));
        Drag(chosen, {0}, chosen, 3);
        QCOMPARE(chooser->Chosen(), (Fields{"(Ignore)", "First Name", "Last Name", "(Ignore)"}));

        // Given back by double-click and by a drag onto the available list: a field goes to
        // its top, "(Ignore)" only leaves the chosen list.
        ChooseFields({ignore});
        emit chosen->itemDoubleClicked(chosen->item(0));
        ChooseFields({QStringLiteral("Title")});
        Drag(chosen, {0}, available, 5);
        QCOMPARE(available->item(0)->text(), QStringLiteral("Title"));
        Drag(chosen, {3}, available, 2);
        QCOMPARE(chooser->Chosen(), (Fields{"(Ignore)", "First Name", "Last Name"}));
        QCOMPARE(available->findItems(ignore, Qt::MatchExactly).size(), 1);
        QCOMPARE(Row(available, ignore), available->count() - 1);
        Drag(chosen, {2}, available, 0);
        Drag(available, {0}, chosen, -1);
        Drag(available, {Row(available, ignore)}, chosen, -1);
        QCOMPARE(chooser->Chosen(), (Fields{"(Ignore)", "First Name", "Last Name", "(Ignore)"}));

        Next();
        ChooseTextFile(QStringLiteral("ids.csv"));
        Finish();
        QCOMPARE(TargetsUnder(target_), QStringList({QStringLiteral(""), QStringLiteral("Ann Lee"),
                                                     QStringLiteral("Bo Ek")}));
        QCOMPARE(Wizard().ResultText(),
                 QStringLiteral("Imported 2 persons.\nNot kept from the file: "
                                "column 1 (2), column 4 (2)."));
    }

    void aGoogleContactsExportImportsByItsColumnNames() {
        Put(File("google.csv"),
            "Name,Given Name,Additional Name,Family Name,Nickname,Notes,Group Membership,"
            "E-mail 1 - Type,E-mail 1 - Value,Phone 1 - Type,Phone 1 - Value,Phone 2 - Type,"
            "Phone 2 - Value\r\n"
            "Ann Lee,Ann,,Lee,Annie,\"Met at work,\r\nin May\",* myContacts,* Home,"
            "ann@example.org,Mobile,+1 555 0100,Work Fax,+1 555 0199\r\n"
            "Bo Ek,Bo,,Ek,,,* myContacts,Work,bo@example.org,Work,+46 8 123,,\r\n");
        Open();
        ChooseSource(ImportSource::DelimitedText);
        Next();
        QVERIFY(!Wizard().NextBtn()->isEnabled());
        // With the names line no field need be chosen.
        QCheckBox* names = Wizard().FirstLineHasNames();
        QCOMPARE(names->text(), QStringLiteral("&First line holds column names"));
        QVERIFY(!names->isChecked());
        // Tab reaches it after the chosen list, Alt+F at once.
        QList<QWidget*> stops;
        for (QWidget* w = Wizard().nextInFocusChain(); w != &Wizard(); w = w->nextInFocusChain()) {
            if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
                stops << w;
            }
        }
        QVERIFY(stops.indexOf(names) > stops.indexOf(Wizard().Chooser()->ChosenList()));
        QVERIFY(stops.indexOf(Wizard().Chooser()->ChosenList()) >= 0);
        names->click();
        QVERIFY(Wizard().NextBtn()->isEnabled());
        Next();
        ChooseTextFile(QStringLiteral("google.csv"));
        Finish();
        QCOMPARE(target_->ChildCount(), std::size_t{3});
        TOutlineNode* ann = Child(target_, QStringLiteral("Ann Lee"));
        QVERIFY(ann);
        QCOMPARE(QString::fromStdString(std::string(ann->Item()->Comment())),
                 QStringLiteral("Met at work, in May"));
        QCOMPARE(ContactTargets(ann, kPhoneKind), QStringList(QStringLiteral("+1 555 0100")));
        QCOMPARE(ContactTargets(ann, kFaxKind), QStringList(QStringLiteral("+1 555 0199")));
        QCOMPARE(ContactTargets(ann, kEMailKind), QStringList(QStringLiteral("ann@example.org")));
        TOutlineNode* bo = Child(target_, QStringLiteral("Bo Ek"));
        QCOMPARE(ContactTargets(bo, kPhoneKind), QStringList(QStringLiteral("+46 8 123")));
        QCOMPARE(ContactTargets(bo, kEMailKind), QStringList(QStringLiteral("bo@example.org")));
        QCOMPARE(Wizard().ResultText(),
                 QStringLiteral("Imported 2 persons, 2 phone numbers, 2 e-mail addresses and 1 fax "
                                "number.\nNot kept from the file: Group Membership (2), "
                                "Nickname (1)."));
    }

    void aVCardImportSaysWhatTheCardsHeldThatWasNotKept() {
        Put(File("std.vcf"),
            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann Lee\r\nN:Lee;Ann;;;\r\n"
            "TEL;TYPE=CELL:555-0100\r\nPHOTO;VALUE=URI:http://example.org/a.jpg\r\n"
            "X-SKYPE:ann.lee\r\nCATEGORIES:Clients,Golf\r\nEND:VCARD\r\n"
            "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Bo Ek\r\nN:Ek;Bo;;;\r\n"
            "TEL;VALUE=uri:tel:+46-8-123\r\nX-SKYPE:bo\r\nEND:VCARD\r\n");
        QVERIFY(OpenOnVCardFile(QStringLiteral("std.vcf")));
        std::vector<std::string> categories(32);
        categories[4] = "Clients";
        Wizard().SetCategoryNames(categories);
        Finish();
        const QString said =
            QStringLiteral("Imported 2 persons and 2 phone numbers.\n"
                           "Not kept from the file: CATEGORIES (1), PHOTO (1), X-SKYPE (2).");
        QCOMPARE(Wizard().ResultText(), said);
        QCOMPARE(LastAsked(), QStringLiteral("Import Wizard|") + said);
        // The category the main window names "Clients" came in; "Golf" names none.
        QCOMPARE(target_->ChildAt(0)->Item()->Title(), std::string_view("Ann Lee"));
        QCOMPARE(target_->ChildAt(0)->Item()->Categories(), 1 << 4);
    }

    // A file that gives nothing says why once: the error box names the file, and no second
    // box follows to say that nothing came in.
    void aFileThatCannotBeImportedIsReportedOnce() {
        Put(File("none.vcf"), "hello\r\n");
        QVERIFY(OpenOnVCardFile(QStringLiteral("none.vcf")));
        Finish();
        const QList<Prompter::Box> boxes = Prompter::Boxes();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.front().icon, QMessageBox::Critical);
        QVERIFY2(boxes.front().text.contains(File("none.vcf")), qPrintable(boxes.front().text));
        QCOMPARE(target_->ChildCount(), std::size_t{1}); // only the person that was there
    }

    void theVCardQuestionIsAskedAndItsTwoAnswersAreKept() {
        QByteArray cards;
        for (const char* name : {"Ann", "Bo", "Cy"}) {
            cards += QByteArray("begin:vcard\r\nN:") + name + ";X\r\nFN:" + name + "\r\nORG:Acme " +
                     name + "\r\nend:vcard\r\n";
        }
        cards += "begin:vcard\r\nN:Solo;Dee\r\nFN:Dee Solo\r\nend:vcard\r\n";
        Put(File("c.vcf"), cards);
        QStringList asked;
        // The first card: a person; the second: an organization, for all the rest.
        Prompter::QueueDialog([&asked](QDialog& dialog) {
            auto& ask = static_cast<TVCImportDlg&>(dialog);
            asked << ask.findChild<QLabel*>(QStringLiteral("NameLabel"))->text();
            ask.PersonBtn()->click();
            return ask.result();
        });
        Prompter::QueueDialog([&asked](QDialog& dialog) {
            auto& ask = static_cast<TVCImportDlg&>(dialog);
            asked << ask.findChild<QLabel*>(QStringLiteral("OrganizationLabel"))->text();
            const QLabel* question = ask.findChild<QLabel*>(QStringLiteral("QuestionLabel"));
            asked << ask.windowTitle() << question->text()
                  << (question->font().bold() ? QStringLiteral("bold") : QString())
                  << ask.ApplyToAllBox()->text()
                  << (ask.ApplyToAllBox()->isChecked() ? QStringLiteral("checked") : QString());
            ask.ApplyToAllBox()->setChecked(true);
            ask.OrganizationBtn()->click();
            return ask.result();
        });
        QVERIFY(OpenOnVCardFile(QStringLiteral("c.vcf")));
        Finish();
        QCOMPARE(asked, QStringList({QStringLiteral("X Ann"), QStringLiteral("Acme Bo"),
                                     QStringLiteral("vCard Import"),
                                     QStringLiteral("How should this vCard be imported?"),
                                     QStringLiteral("bold"),
                                     QStringLiteral("&Apply to all remaining cards"), QString()}));
        QCOMPARE(Child(target_, QStringLiteral("Ann"))->Item()->Kind(), kPersonKind);
        QCOMPARE(Child(target_, QStringLiteral("Acme Bo"))->Item()->Kind(), kOrganizationKind);
        QCOMPARE(Child(target_, QStringLiteral("Acme Cy"))->Item()->Kind(), kOrganizationKind);
        QCOMPARE(Child(target_, QStringLiteral("Dee Solo"))->Item()->Kind(), kPersonKind);
        // Cards in the program's own form: an organization has no place for a person's names,
        // and a person none for the organization.
        QCOMPARE(Wizard().ResultText(),
                 QStringLiteral("Imported 2 organizations and 2 persons.\nNot kept from the file: "
                                "FN (2), N (2), ORG (1)."));
    }

    void aCancelledLongImportLeavesTheOutlineUnchanged() {
        QByteArray lines;
        for (int i = 0; i < 200000; ++i) {
            lines += "Name" + QByteArray::number(i) + ",Family,555\r\n";
        }
        Put(File("big.csv"), lines);
        const std::string before = DataFileText(*outline_);
        Open();
        ChooseSource(ImportSource::DelimitedText);
        Next();
        ChooseFields({QStringLiteral("First Name"), QStringLiteral("Last Name"),
                      QStringLiteral("Phone Number")});
        Next();
        TFolderBrowser* browser = Wizard().Browser(QStringLiteral("TextFilePage"));
        browser->SetDirectory(dir_->path());
        QVERIFY(browser->SelectFile(QStringLiteral("big.csv")));
        // Cancel once the window has shown some of the work.
        int position = -1;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            if (progress_->isVisible() && progress_->Position() > 0 && position < 0) {
                position = progress_->Position();
                QVERIFY(progress_->CancelButton()->isVisible());
                progress_->CancelButton()->click();
            }
        });
        poll.start(5);
        QCOMPARE(Wizard().NextBtn()->text(), QStringLiteral("Finish"));
        Wizard().NextBtn()->click();
        poll.stop();
        QVERIFY(Wizard().LastImportCancelled());
        QVERIFY(position > 0);
        QVERIFY(position < progress_->Maximum());
        QCOMPARE(DataFileText(*outline_), before);
        QVERIFY(!outline_->Updating());
        QVERIFY(!progress_->isVisible());
        QVERIFY(!progress_->CancelButton()->isVisible());
        QCOMPARE(Wizard().result(), int(QDialog::Accepted));
    }

    void endingTheProgramDuringAnImportCancelsIt() {
        // Enough cards that the import outlasts a few progress updates on a fast machine.
        QByteArray cards;
        for (int i = 0; i < 100000; ++i) {
            cards +=
                "begin:vcard\r\nN:Doe" + QByteArray::number(i) + ";J\r\nTEL:1\r\nend:vcard\r\n";
        }
        Put(File("many.vcf"), cards);
        const std::string before = DataFileText(*outline_);
        QVERIFY(OpenOnVCardFile(QStringLiteral("many.vcf")));
        // Exit, a signal or the session ends the program: the quit arrives while it imports.
        bool posted = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            if (progress_->isVisible() && progress_->Position() > 0 && !posted) {
                posted = true;
                QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit));
            }
        });
        poll.start(2);
        Wizard().NextBtn()->click();
        poll.stop();
        QVERIFY(posted);
        QVERIFY(Wizard().LastImportCancelled());
        QCOMPARE(DataFileText(*outline_), before);
    }

    void f1OpensTheWizardsHelpPage() {
        Open();
        QCOMPARE(Wizard().HelpContext(), kImportWizardHelp);
        auto* key = Wizard().findChild<QShortcut*>(QStringLiteral("HelpKey"));
        QVERIFY(key);
        QCOMPARE(key->key(), QKeySequence(Qt::Key_F1));
        QVERIFY(!HelpPage(kImportWizardHelp).isEmpty());
    }
};

QTEST_MAIN(ImportWizardTest)
#include "ImportWizardTest.moc"
