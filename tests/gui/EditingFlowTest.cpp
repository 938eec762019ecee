// Every kind created and edited from the main window through its real editor: the editors
// service dispatches by kind, the dialogs are answered offscreen, and the outline is checked.

#include "core/model/attachment_objects.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/services.h"
#include "gui/common/ImageLists.h"
#include "gui/common/MaskedNumberEdit.h"
#include "gui/common/Prompter.h"
#include "gui/editors/ItemEditors.h"
#include "gui/editors/RecurringDateDlg.h"
#include "gui/mainwindow/ContentsListModel.h"
#include "gui/mainwindow/TMainForm.h"
#include "platform/QtClipboard.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace quill;
using namespace quill::gui;

namespace {

QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

template <typename T> T* Child(QDialog& dialog, const char* name) {
    return dialog.findChild<T*>(QLatin1String(name));
}

// Fills line edits by name, then presses OK.
Prompter::DialogAnswer FillAndAccept(std::vector<std::pair<const char*, QString>> fields) {
    return [fields](QDialog& dialog) {
        for (const auto& [name, text] : fields) {
            if (auto* edit = Child<QLineEdit>(dialog, name)) {
                edit->setText(text);
            } else if (auto* memo = Child<QPlainTextEdit>(dialog, name)) {
                memo->setPlainText(text);
            } else if (auto* box = Child<QComboBox>(dialog, name)) {
                box->setEditText(text);
            } else {
                return int(QDialog::Rejected); // a missing control fails the test
            }
        }
        Child<QPushButton>(dialog, "OKBtn")->click();
        return dialog.result();
    };
}

} // namespace

class EditingFlowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    QString previousDir_;
    std::unique_ptr<ImageLists> images_;
    platform::QtClipboard clipboard_;
    std::unique_ptr<TMainForm> form_;
    std::unique_ptr<ItemEditors> editors_;
    std::unique_ptr<DatePicker> picker_;

    TMainForm& Form() { return *form_; }
    TNRBObject* OnlySubItem() {
        TNRBObject* root = Form().Root()->Item();
        return root->ChildCount() == 1 ? root->ChildAt(0) : nullptr;
    }

private slots:
    void initTestCase() { Prompter::SetStrict(true); }

    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        previousDir_ = QDir::currentPath();
        QDir::setCurrent(dir_->path());
        images_ = std::make_unique<ImageLists>();
        Prompter::Reset();
        form_ = std::make_unique<TMainForm>(*images_, "quil.dat", "nrb.ini");
        editors_ = std::make_unique<ItemEditors>(
            EditorContext{form_.get(), [this] { return form_->CategoryNames(); }, images_.get()});
        picker_ = std::make_unique<DatePicker>();
        InstallServices({nullptr, nullptr, images_.get(), &clipboard_, form_.get(), editors_.get(),
                         picker_.get()});
        Form().SelectNode(Form().Root());
    }

    void cleanup() {
        form_.reset();
        InstallServices({});
        editors_.reset();
        picker_.reset();
        QVERIFY2(Prompter::Unanswered().isEmpty(), qPrintable(Prompter::Unanswered().join("; ")));
        QDir::setCurrent(previousDir_);
        dir_.reset();
    }

    void aNewPersonWithAPhoneIsKeptWithItsContactPoint() {
        Prompter::QueueDialog([](QDialog& dialog) {
            Child<QLineEdit>(dialog, "Title")->setText(QStringLiteral("Ann Lee"));
            Child<QLineEdit>(dialog, "FName")->setText(QStringLiteral("Ann"));
            Child<QLineEdit>(dialog, "LName")->setText(QStringLiteral("Lee"));
            Child<MaskedNumberEdit>(dialog, "PhoneNum")->Type(QStringLiteral("5551234567"));
            Child<QPushButton>(dialog, "OKBtn")->click();
            return dialog.result();
        });
        Form().OnNewPerson();
        QCOMPARE(Form().Root()->ChildCount(), std::size_t{1});
        TOutlineNode* node = Form().Root()->ChildAt(0);
        auto* person = dynamic_cast<TPersonObject*>(node->Item());
        QVERIFY(person);
        QCOMPARE(Text(node->Text()), QStringLiteral("Ann Lee"));
        QCOMPARE(Text(person->Target()), QStringLiteral(" Ann Lee"));
        QCOMPARE(person->ChildCount(), std::size_t{1});
        QCOMPARE(Text(person->ChildAt(0)->Target()), QStringLiteral("(555)123-4567"));
        QVERIFY(Form().Contents().RowOf(person) >= 0);
    }

    void aCancelledOrganizationLeavesNoNode() {
        Prompter::QueueDialog([](QDialog&) { return int(QDialog::Rejected); });
        Form().OnNewOrg();
        QCOMPARE(Form().Root()->ChildCount(), std::size_t{0});
    }

    void everySubItemKindIsCreatedThroughItsEditor() {
        struct Case {
            void (TMainForm::*command)();
            int kind;
            std::vector<std::pair<const char*, QString>> fields;
            const char* target;
        };
        const Case cases[] = {
            {&TMainForm::OnNewAddr, kAddressKind, {{"Addr", "1 Main St"}}, "1 Main St"},
            {&TMainForm::OnNewEMail,
             kEMailKind,
             {{"EMailAddr", "ann@example.com"}},
             "ann@example.com"},
            {&TMainForm::DocItemClick,
             kDocumentKind,
             {{"FilenameEdit", "/tmp/offer.odt"}},
             "/tmp/offer.odt"},
        };
        for (const Case& c : cases) {
            Prompter::QueueDialog(FillAndAccept(c.fields));
            (Form().*c.command)();
            TNRBObject* item = OnlySubItem();
            QVERIFY2(item, c.target);
            QCOMPARE(int(item->Kind()), c.kind);
            QCOMPARE(Text(item->Target()), QLatin1String(c.target));
            Form().Root()->Item()->RemoveChild(item);
        }
    }

    void aNewPhoneWithAnUntouchedMaskIsRemoved() {
        Prompter::QueueDialog(FillAndAccept({}));
        Form().OnNewPhone();
        QVERIFY(!OnlySubItem());
        QCOMPARE(Form().Contents().rowCount(), 0);
    }

    void aNewWebsiteTakesItsTitleAsCaption() {
        Prompter::QueueDialog(FillAndAccept({{"WebTitle", QStringLiteral("Quillmere")},
                                             {"Web", QStringLiteral("https://quillmere.org/")}}));
        Form().OnNewWebsite();
        QCOMPARE(Form().Root()->ChildCount(), std::size_t{1});
        QCOMPARE(Text(Form().Root()->ChildAt(0)->Text()), QStringLiteral("Quillmere"));
        // What is no address at all is not kept; a bare host name is taken as one.
        Prompter::QueueDialog(FillAndAccept({{"Web", QStringLiteral("no address")}}));
        Form().OnNewWebsite();
        QCOMPARE(Form().Root()->ChildCount(), std::size_t{1});
        Prompter::QueueDialog(FillAndAccept({{"Web", QStringLiteral("quillmere.org")}}));
        Form().OnNewWebsite();
        QCOMPARE(Form().Root()->ChildCount(), std::size_t{2});
        bool found = false;
        for (std::size_t i = 0; i < Form().Root()->ChildCount(); ++i) {
            found = found ||
                    Text(Form().Root()->ChildAt(i)->Item()->Target()) == "http://quillmere.org";
        }
        QVERIFY(found);
    }

    void aNewReminderDueTodayIsMarkedAtOnce() {
        Prompter::QueueDialog(FillAndAccept({}));
        Form().NewDateBtnClick();
        auto* reminder = dynamic_cast<TReminderObject*>(OnlySubItem());
        QVERIFY(reminder);
        QCOMPARE(Text(reminder->Title()), QStringLiteral("New Reminder"));
        QVERIFY(reminder->Due());
    }

    void propertiesOpensTheEditorOfTheSelectedEntry() {
        Prompter::QueueDialog(FillAndAccept({{"EMailAddr", "old@example.com"}}));
        Form().OnNewEMail();
        TNRBObject* mail = OnlySubItem();
        QVERIFY(mail);
        Form().SelectNode(Form().Root());
        QAbstractItemView* view = Form().ListView();
        view->setFocus();
        view->selectionModel()->select(Form().Contents().index(Form().Contents().RowOf(mail), 0),
                                       QItemSelectionModel::ClearAndSelect |
                                           QItemSelectionModel::Rows);
        QFocusEvent focus(QEvent::FocusIn);
        QCoreApplication::sendEvent(view, &focus);
        Prompter::QueueDialog(
            FillAndAccept({{"EMailTitle", "Work"}, {"EMailAddr", "new@example.com"}}));
        Form().ListPanePropsClick();
        QCOMPARE(Text(mail->Title()), QStringLiteral("Work"));
        QCOMPARE(Text(mail->Target()), QStringLiteral("new@example.com"));
    }
};

QTEST_MAIN(EditingFlowTest)
#include "EditingFlowTest.moc"
