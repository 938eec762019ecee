// The single-page item editors, driven as a user would: each dialog is shown offscreen,
// typed into and closed with OK or Cancel, and the item is looked at afterwards.

#include "gui/editors/SmallEditors.h"

#include "core/model/attachment_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "core/services.h"
#include "gui/common/ImageLists.h"
#include "gui/common/MaskedNumberEdit.h"
#include "gui/common/MemoEdit.h"
#include "gui/common/Prompter.h"

#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>

using namespace quill;
using namespace quill::gui;

namespace {

// A missing control fails the test that asks for it and is stood in for by an empty one, so
// that the other tests still run.
template <typename T> T* Get(QDialog& dialog, const char* name) {
    T* widget = dialog.findChild<T*>(QLatin1String(name));
    if (!widget) {
        QTest::qFail(
            qPrintable(
                QStringLiteral("%1 has no %2").arg(dialog.objectName(), QLatin1String(name))),
            __FILE__, __LINE__);
        widget = new T(&dialog);
        widget->setObjectName(QLatin1String(name));
    }
    return widget;
}

QString Text(QDialog& dialog, const char* name) {
    return Get<QLineEdit>(dialog, name)->text();
}

// Shows the dialog as Exec would, so that keys and clicks reach it as a user's do; set
// QUILL_GRAB_DIR to keep a picture of each dialog as it first appears.
void Open(QDialog& dialog) {
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QString grabDir = qEnvironmentVariable("QUILL_GRAB_DIR");
    if (!grabDir.isEmpty()) {
        static QHash<QString, int> shown;
        const int count = ++shown[dialog.objectName()];
        dialog.grab().save(
            QStringLiteral("%1/%2-%3.png").arg(grabDir, dialog.objectName()).arg(count));
    }
}

void Type(QDialog& dialog, const char* name, const QString& text) {
    QWidget* box = Get<QWidget>(dialog, name);
    box->setFocus();
    QTest::keyClicks(box, text);
}

// Empties a box with the keys a user would press.
void Clear(QDialog& dialog, const char* name) {
    QWidget* box = Get<QWidget>(dialog, name);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Backspace);
}

int Press(QDialog& dialog, const char* button) {
    QTest::mouseClick(Get<QPushButton>(dialog, button), Qt::LeftButton);
    return dialog.result();
}

// An answer that fills in and checks the dialog, then closes it with the button (or
// cancels it once a check has failed).
Prompter::DialogAnswer Answer(const char* button, std::function<void(QDialog&)> fill) {
    return [button, fill = std::move(fill)](QDialog& dialog) {
        fill(dialog);
        return QTest::currentTestFailed() ? int(QDialog::Rejected) : Press(dialog, button);
    };
}

} // namespace

class SmallEditorsTest : public QObject {
    Q_OBJECT

    ImageLists images_;
    ScopedServices services_{Services{nullptr, nullptr, &images_}};
    EditorContext context_{nullptr, [] { return QStringList{"Family", "Work", "Club"}; }, &images_};
    TOutline outline_;
    TOutlineNode* root_ = outline_.CreateRoot();
    TOutlineNode* holder_ = CreateItem(kPersonKind, "Ann", "", "", 1, "", root_)->Node();

    template <typename T> T& Make(int kind, std::string_view title, std::string_view target = "") {
        return *static_cast<T*>(CreateItem(kind, title, target, "", 0, "", holder_));
    }

private slots:
    void init() {
        Prompter::SetStrict(true);
        Prompter::Reset();
    }

    void cleanup() {
        QVERIFY2(Prompter::Unanswered().isEmpty(), qPrintable(Prompter::Unanswered().join(", ")));
    }

    void EveryDialogHasItsCaptionControlsAndLimits() {
        struct Case {
            int kind;
            bool isNew;
            const char* caption;
            std::vector<std::pair<const char*, int>> lines; // name, typing limit
        };
        const std::vector<Case> cases = {
            {kAddressKind,
             true,
             "Address",
             {{"AddrTitle", 40},
              {"City", 25},
              {"State", 20},
              {"PostCode", 10},
              {"Country", 15},
              {"AddrComment", 255}}},
            {kPhoneKind,
             true,
             "Phone",
             {{"PhoneTitle", 40}, {"Extension", 6}, {"PhoneComment", 255}}},
            {kFaxKind, true, "Fax", {{"FaxTitle", 40}, {"FaxComment", 255}}},
            {kEMailKind,
             true,
             "E-Mail",
             {{"EMailTitle", 40}, {"EMailAddr", 80}, {"EMailComment", 255}}},
            {kWebsiteKind, true, "Website", {{"WebTitle", 40}, {"WebComment", 255}}},
            {kFolderKind, false, "Folder", {{"FolderTitle", 40}, {"FolderComment", 255}}},
            {kTeamKind, false, "Team", {{"TeamTitle", 40}, {"TeamComment", 255}}},
            {kDocumentKind,
             true,
             "Document",
             {{"TitleEdit", 32767}, {"FilenameEdit", 32767}, {"CommentEdit", 32767}}},
            {kToolKind,
             true,
             "Custom Tool",
             {{"TitleEdit", 32767}, {"Address", 32767}, {"CommentEdit", 32767}}},
        };
        for (const Case& c : cases) {
            TNRBObject* item = CreateItem(c.kind, "x", "", "", 0, "", holder_);
            Prompter::QueueDialog(Answer("CancelBtn", [&](QDialog& d) {
                Open(d);
                QCOMPARE(d.windowTitle(), QLatin1String(c.caption));
                for (const auto& [name, limit] : c.lines) {
                    QCOMPARE(Get<QLineEdit>(d, name)->maxLength(), limit);
                }
                QPushButton* ok = Get<QPushButton>(d, "OKBtn");
                QCOMPARE(ok->text(), QStringLiteral("OK"));
                QVERIFY(ok->isDefault());
                QCOMPARE(Get<QPushButton>(d, "CancelBtn")->text(), QStringLiteral("Cancel"));
                QCOMPARE(Get<QPushButton>(d, "HelpBtn")->text(), QStringLiteral("&Help"));
                QCOMPARE(Get<QLabel>(d, "CatSelect")->toolTip(),
                         QStringLiteral("Click to set categories"));
                // The first box has the focus, and every label leads to its box.
                QCOMPARE(d.focusWidget(), Get<QWidget>(d, c.lines.front().first));
                for (QLabel* label : d.findChildren<QLabel*>()) {
                    if (label->objectName() != QLatin1String("CatSelect") &&
                        label->objectName() != QLatin1String("Image1")) {
                        QVERIFY2(label->buddy(), qPrintable(label->text()));
                    }
                }
            }));
            QVERIFY(!RunSmallEditor(*item, c.isNew, context_));
            if (QTest::currentTestFailed()) {
                return;
            }
        }
    }

    void NewPhoneNeedsANumberTypedIntoTheMask() {
        auto& phone = Make<TPhoneObject>(kPhoneKind, "New Phone");
        Prompter::QueueDialog(Answer("OKBtn", [&](QDialog& d) {
            Open(d);
            QCOMPARE(Text(d, "PhoneTitle"), QStringLiteral("New Phone"));
            auto* format = Get<QComboBox>(d, "PhoneFmt");
            QVERIFY(format->isVisible());
            QVERIFY(Get<QLabel>(d, "PhoneFmtLabel")->isVisible());
            QCOMPARE(format->count(), 11);
            QCOMPARE(format->currentText(), QStringLiteral("USA"));
            QCOMPARE(format->itemText(10), QStringLiteral("United Kingdom"));
            QVERIFY(Get<MaskedNumberEdit>(d, "PhoneNum")->HasEditMask());
            QCOMPARE(Text(d, "PhoneNum"), QStringLiteral("(___)___-____"));
        }));
        QVERIFY2(!RunSmallEditor(phone, true, context_), "only the mask's placeholders");
        QVERIFY(phone.Target().empty());

        Prompter::QueueDialog(Answer("OKBtn", [&](QDialog& d) {
            Open(d);
            Type(d, "PhoneNum", QStringLiteral("5551234567"));
            Type(d, "Extension", QStringLiteral("1234567"));
            Type(d, "PhoneComment", QStringLiteral("desk"));
        }));
        QVERIFY(RunSmallEditor(phone, true, context_));
        QCOMPARE(phone.Title(), std::string_view("New Phone"));
        QCOMPARE(phone.Target(), std::string_view("(555)123-4567"));
        QCOMPARE(phone.Extension(), std::string_view("123456")); // six characters at most
        QCOMPARE(phone.Comment(), std::string_view("desk"));
    }

    void ChoosingAFormatSetsItsMask() {
        auto& phone = Make<TPhoneObject>(kPhoneKind, "New Phone");
        Prompter::QueueDialog(Answer("OKBtn", [&](QDialog& d) {
            Open(d);
            auto* format = Get<QComboBox>(d, "PhoneFmt");
            auto* number = Get<MaskedNumberEdit>(d, "PhoneNum");
            format->setCurrentIndex(2);
            QCOMPARE(number->text(), QStringLiteral("+45 __ __ __ __"));
            format->setCurrentIndex(1);
            QVERIFY(!number->HasEditMask());
            Clear(d, "PhoneNum");
            Type(d, "PhoneNum", QStringLiteral("0800 FLOWERS"));
        }));
        QVERIFY(RunSmallEditor(phone, true, context_));
        QCOMPARE(phone.Target(), std::string_view("0800 FLOWERS"));
    }

    void ShortNumbersAreStoredWithoutPlaceholders() {
        auto& phone = Make<TPhoneObject>(kPhoneKind, "New Phone");
        Prompter::QueueDialog(Answer("OKBtn", [&](QDialog& d) {
            Open(d);
            Get<QComboBox>(d, "PhoneFmt")->setCurrentIndex(4); // Germany, optional digits
            Type(d, "PhoneNum", QStringLiteral("30123456"));
            QCOMPARE(Text(d, "PhoneNum"), QStringLiteral("(301 23) 456__"));
        }));
        QVERIFY(RunSmallEditor(phone, true, context_));
        QCOMPARE(phone.Target(), std::string_view("(301 23) 456"));

        auto& fax = Make<TFaxObject>(kFaxKind, "New Fax");
        Prompter::QueueDialog(Answer("OKBtn", [&](QDialog& d) {
            Open(d);
            Type(d, "FaxNum", QStringLiteral("5551234"));
            QCOMPARE(Text(d, "FaxNum"), QStringLiteral("(555)123-4___"));
        }));
        QVERIFY(RunSmallEditor(fax, true, context_));
        QCOMPARE(fax.Target(), std::string_view("(555)123-4"));
    }

    void StoredPhoneIsEditedWithoutMaskAndKeptWhenCleared() {
        auto& phone = Make<TPhoneObject>(kPhoneKind, "Office", "(555)123-4567");
        Prompter::QueueDialog(Answer("OKBtn", [&](QDialog& d) {
            Open(d);
            QVERIFY(!Get<QComboBox>(d, "PhoneFmt")->isVisible());
            QVERIFY(!Get<QLabel>(d, "PhoneFmtLabel")->isVisible());
            QVERIFY(!Get<MaskedNumberEdit>(d, "PhoneNum")->HasEditMask());
            QCOMPARE(Text(d, "PhoneNum"), QStringLiteral("(555)123-4567"));
            Clear(d, "PhoneNum");
            Type(d, "PhoneComment", QStringLiteral("lost"));
        }));
        QVERIFY(!RunSmallEditor(phone, false, context_));
        QCOMPARE(phone.Target(), std::string_view("(555)123-4567"));
        QVERIFY(phone.Comment().empty());
    }

    void StoredFaxClearedIsStoredEmpty() {
        auto& fax = Make<TFaxObject>(kFaxKind, "Office", "(555)987-6543");
        Prompter::QueueDialog(Answer("OKBtn", [&](QDialog& d) {
            Open(d);
            QVERIFY(!Get<QComboBox>(d, "FaxFmt")->isVisible());
            QCOMPARE(Text(d, "FaxNum"), QStringLiteral("(555)987-6543"));
            Clear(d, "FaxNum");
        }));
        QVERIFY(RunSmallEditor(fax, false, context_));
        QVERIFY(fax.Target().empty());
        QCOMPARE(fax.Title(), std::string_view("Office"));
    }

    void NewFaxShowsItsFormatsButTabPassesThem() {
        auto& fax = Make<TFaxObject>(kFaxKind, "New Fax");
        Prompter::QueueDialog(Answer("OKBtn", [&](QDialog& d) {
            Open(d);
            auto* format = Get<QComboBox>(d, "FaxFmt");
            QVERIFY(format->isVisible());
            QCOMPARE(format->currentText(), QStringLiteral("USA"));
            // Tab from the number goes straight to the comment.
            Get<QWidget>(d, "FaxNum")->setFocus();
            QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
            QCOMPARE(d.focusWidget(), Get<QWidget>(d, "FaxComment"));
            Type(d, "FaxNum", QStringLiteral("5559876543"));
        }));
        QVERIFY(RunSmallEditor(fax, true, context_));
        QCOMPARE(fax.Target(), std::string_view("(555)987-6543"));
    }

    void NewAddressTakesTheMemoLinesPaddedToThree() {
        auto& address = Make<TAddressObject>(kAddressKind, "New Address");
        Prompter::QueueDialog(Answer("OKBtn", [&](QDialog& d) {
            Open(d);
            Type(d, "City", QStringLiteral("Springfield"));
        }));
        QVERIFY2(!RunSmallEditor(address, true, context_), "an address needs its text");

        Prompter::QueueDialog(Answer("OKBtn", [&](QDialog& d) {
            Open(d);
            Type(d, "Addr", QStringLiteral("1 Main St"));
            auto* memo = Get<MemoEdit>(d, "Addr");
            QTest::keyClick(memo, Qt::Key_Return);
            QTest::keyClicks(memo, QString(130, QLatin1Char('x')));
            QCOMPARE(memo->toPlainText().size(), 120);
            // Tab leaves the memo instead of going into it.
            QTest::keyClick(memo, Qt::Key_Tab);
            QCOMPARE(d.focusWidget(), Get<QWidget>(d, "City"));
            QTest::keyClicks(d.focusWidget(), QStringLiteral("Springfield and further on"));
            Type(d, "Country", QStringLiteral("UK"));
        }));
        QVERIFY(RunSmallEditor(address, true, context_));
        QCOMPARE(address.Target(), std::string_view("1 Main St"));
        QCOMPARE(address.LineCount(), std::size_t{3});
        QCOMPARE(address.Line(1).size(), std::size_t{120 - 10});
        QVERIFY(address.Line(2).empty());
        QCOMPARE(address.City(), std::string_view("Springfield and further o"));
        QCOMPARE(address.Country(), std::string_view("UK"));
    }

    void MemoRefusesOnlyWhatIsTypedBeyondItsLimit() {
        MemoEdit memo;
        memo.SetMaxLength(120);
        memo.SetText(QString(150, QLatin1Char('s')));
        QCOMPARE(memo.toPlainText().size(), 150); // a stored text is shown whole
        memo.clear();
        memo.insertPlainText(QStringLiteral("1 Main St\n"));
        memo.insertPlainText(QString(200, QLatin1Char('p'))); // as a paste does
        QCOMPARE(memo.toPlainText(),
                 QStringLiteral("1 Main St\n") + QString(110, QLatin1Char('p')));
        QTextCursor start(memo.document());
        memo.setTextCursor(start);
        memo.insertPlainText(QStringLiteral("Flat 2\n"));
        QVERIFY(memo.toPlainText().startsWith(QStringLiteral("1 Main St\n")));
        QCOMPARE(memo.toPlainText().size(), 120);
    }

    void MemoPastesNothingFromAnEmptyClipboardAndTextFromAFullOne() {
        MemoEdit memo;
        memo.SetText(QStringLiteral("1 Main St"));
        memo.moveCursor(QTextCursor::End);
        // What an empty desktop clipboard offers: data with no format at all.
        QGuiApplication::clipboard()->setMimeData(new QMimeData);
        memo.paste();
        QCOMPARE(memo.toPlainText(), QStringLiteral("1 Main St"));
        QGuiApplication::clipboard()->setText(QStringLiteral("\nFlat 2"));
        memo.paste();
        QCOMPARE(memo.toPlainText(), QStringLiteral("1 Main St\nFlat 2"));
    }

    void CancelWritesNothingButCategoriesStay() {
        auto& address = Make<TAddressObject>(kAddressKind, "Home", "1 Main St");
        Prompter::QueueDialog(Answer("CancelBtn", [&](QDialog& d) {
            Open(d);
            QCOMPARE(Text(d, "AddrTitle"), QStringLiteral("Home"));
            Clear(d, "AddrTitle");
            Type(d, "AddrTitle", QStringLiteral("Away"));
            // The category popup opens over the picture and ticks "Work".
            Prompter::QueueDialog([](QDialog& popup) {
                auto* list = popup.findChild<QListWidget*>();
                if (!list || list->count() != 3) {
                    return int(QDialog::Rejected);
                }
                list->item(1)->setCheckState(Qt::Checked);
                return int(QDialog::Accepted);
            });
            QTest::mouseClick(Get<QLabel>(d, "CatSelect"), Qt::LeftButton);
        }));
        QVERIFY(!RunSmallEditor(address, false, context_));
        QCOMPARE(address.Title(), std::string_view("Home"));
        QCOMPARE(address.Categories(), 2);
    }

    void EMailWithAnEmptyTitleIsAccepted() {
        auto& mail = Make<TEMailObject>(kEMailKind, "New E-Mail");
        Prompter::QueueDialog(Answer("OKBtn", [&](QDialog& d) {
            Open(d);
            QCOMPARE(Text(d, "EMailTitle"), QStringLiteral("New E-Mail"));
            Clear(d, "EMailTitle");
            Type(d, "EMailAddr", QStringLiteral("ann@example.org"));
        }));
        QVERIFY(RunSmallEditor(mail, true, context_));
        QVERIFY(mail.Title().empty());
        QCOMPARE(mail.Target(), std::string_view("ann@example.org"));

        auto& empty = Make<TEMailObject>(kEMailKind, "New E-Mail");
        Prompter::QueueDialog([](QDialog& d) { return Press(d, "OKBtn"); });
        QVERIFY(!RunSmallEditor(empty, true, context_));
    }

    void StoredTextLongerThanTheLimitIsNotCut() {
        const std::string longTitle(60, 'L');
        auto& mail = Make<TEMailObject>(kEMailKind, longTitle, "a@b.c");
        Prompter::QueueDialog([](QDialog& d) { return Press(d, "OKBtn"); });
        QVERIFY(RunSmallEditor(mail, false, context_));
        QCOMPARE(mail.Title(), std::string_view(longTitle));
    }

    void WebsiteNeedsAUrlBeyondThePreset() {
        auto* site = static_cast<TWebObject*>(
            CreateItem(kWebsiteKind, "New Website", "", "", 0, "", holder_));
        Prompter::QueueDialog(Answer("OKBtn", [](QDialog& d) {
            Open(d);
            auto* web = Get<QComboBox>(d, "Web");
            QVERIFY(web->isEditable());
            QCOMPARE(web->count(), 7);
            QCOMPARE(web->itemText(4), QStringLiteral("gopher://"));
            QCOMPARE(web->currentText(), QStringLiteral("http://"));
        }));
        QVERIFY(!RunSmallEditor(*site, true, context_));

        Prompter::QueueDialog(Answer("OKBtn", [](QDialog& d) {
            Open(d);
            Type(d, "Web", QStringLiteral("example.org"));
            Type(d, "WebTitle", QStringLiteral(" home"));
        }));
        QVERIFY(RunSmallEditor(*site, true, context_));
        QCOMPARE(site->Target(), std::string_view("http://example.org"));
        QCOMPARE(site->Title(), std::string_view("New Website home"));
        QCOMPARE(site->Node()->Text(), std::string_view("New Website home"));
    }

    void FolderAndTeamTakeAnEmptyTitle() {
        for (int kind : {int(kFolderKind), int(kTeamKind)}) {
            TNRBObject* group = CreateItem(kind, "Family", "", "", 0, "", root_);
            const char* titleBox = kind == kFolderKind ? "FolderTitle" : "TeamTitle";
            Prompter::QueueDialog(Answer("OKBtn", [&](QDialog& d) {
                Open(d);
                QCOMPARE(Text(d, titleBox), QStringLiteral("Family"));
                Clear(d, titleBox);
            }));
            QVERIFY(RunSmallEditor(*group, false, context_));
            QVERIFY(group->Title().empty());
            QVERIFY(group->Node()->Text().empty());
        }
    }

    void BrowsingReplacesTheTypedTitleAndTakesTheFilesIcon() {
        auto& doc = Make<TDocObject>(kDocumentKind, "New Document");
        Prompter::QueueDialog(Answer("OKBtn", [](QDialog& d) {
            Open(d);
            Clear(d, "FilenameEdit");
        }));
        QVERIFY2(!RunSmallEditor(doc, true, context_), "a title without a file name");

        const int imagesBefore = images_.Count();
        Prompter::QueueDialog(Answer("OKBtn", [](QDialog& d) {
            Open(d);
            Clear(d, "TitleEdit");
            Type(d, "TitleEdit", QStringLiteral("My plan"));
            Prompter::QueueFileName(QStringLiteral("/home/ann/plans/plan.v2.odt"));
            QTest::mouseClick(Get<QPushButton>(d, "BrowseBtn"), Qt::LeftButton);
            QCOMPARE(Text(d, "TitleEdit"), QStringLiteral("plan.v2.odt"));
            QCOMPARE(Text(d, "FilenameEdit"), QStringLiteral("/home/ann/plans/plan.v2.odt"));
        }));
        QVERIFY(RunSmallEditor(doc, true, context_));
        QCOMPARE(doc.Title(), std::string_view("plan.v2.odt"));
        QCOMPARE(doc.Target(), std::string_view("/home/ann/plans/plan.v2.odt"));
        QCOMPARE(images_.Count(), imagesBefore + 1);
        QCOMPARE(doc.IconIndex(), imagesBefore);

        // A browse that is cancelled changes nothing.
        Prompter::QueueDialog(Answer("OKBtn", [](QDialog& d) {
            Prompter::QueueFileName(QString());
            QTest::mouseClick(Get<QPushButton>(d, "BrowseBtn"), Qt::LeftButton);
            QCOMPARE(Text(d, "TitleEdit"), QStringLiteral("plan.v2.odt"));
        }));
        QVERIFY(RunSmallEditor(doc, false, context_));
        QCOMPARE(doc.IconIndex(), imagesBefore); // the picture is replaced in place
        QCOMPARE(images_.Count(), imagesBefore + 1);
    }

    void ToolShowsItsIconAndKeepsItsProgram() {
        auto* tool = static_cast<TToolObject*>(
            CreateItem(kToolKind, "New Editor", "", "", 0, "{Tool}/usr/bin/editor~~-n", holder_));
        Prompter::QueueDialog(Answer("CancelBtn", [](QDialog& d) {
            Open(d);
            QCOMPARE(Text(d, "TitleEdit"), QStringLiteral("New Editor"));
            const QPixmap picture = Get<QLabel>(d, "Image1")->pixmap();
            QVERIFY(!picture.isNull());
            QCOMPARE(picture.width(), 32);
        }));
        QVERIFY(!RunSmallEditor(*tool, true, context_));

        Prompter::QueueDialog(
            Answer("OKBtn", [](QDialog& d) { Type(d, "Address", QStringLiteral("notes.txt")); }));
        QVERIFY(RunSmallEditor(*tool, true, context_));
        QCOMPARE(tool->Target(), std::string_view("notes.txt"));
        QCOMPARE(tool->Program(), std::string_view("/usr/bin/editor"));
        QCOMPARE(tool->Parameters(), std::string_view("-n"));
    }

    void KindsWithoutSuchAnEditorShowNothing() {
        TNRBObject* person = holder_->Item();
        QVERIFY(!HasSmallEditor(person->Kind()));
        QVERIFY(!RunSmallEditor(*person, false, context_));
        QVERIFY(HasSmallEditor(kToolKind));
    }
};

QTEST_MAIN(SmallEditorsTest)
#include "SmallEditorsTest.moc"
