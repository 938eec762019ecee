// The person and organization editors driven as a user would, through the prompter, on
// items of a real outline; the items and the outline are checked afterwards.

#include "gui/editors/HolderEditors.h"
#include "gui/common/MaskedNumberEdit.h"
#include "gui/common/Prompter.h"
#include "gui/editors/CategoryPopup.h"
#include "gui/editors/EditorContext.h"
#include "platform/Utf8Text.h"

#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/edit_mask.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>

#include <functional>

using namespace quill;
using namespace quill::gui;

namespace {

template <typename T> T* Find(QDialog& d, const char* name) {
    T* widget = d.findChild<T*>(QLatin1String(name));
    if (!widget) {
        qWarning("no control %s", name);
    }
    return widget;
}

QString Text(QDialog& d, const char* name) {
    if (auto* box = d.findChild<QComboBox*>(QLatin1String(name))) {
        return box->currentText();
    }
    if (auto* memo = d.findChild<QPlainTextEdit*>(QLatin1String(name))) {
        return memo->toPlainText();
    }
    auto* edit = Find<QLineEdit>(d, name);
    return edit ? edit->text() : QStringLiteral("<missing>");
}

void SetText(QDialog& d, const char* name, const QString& text) {
    if (auto* box = d.findChild<QComboBox*>(QLatin1String(name))) {
        box->setEditText(text);
    } else if (auto* memo = d.findChild<QPlainTextEdit*>(QLatin1String(name))) {
        memo->setPlainText(text);
    } else if (auto* edit = Find<QLineEdit>(d, name)) {
        edit->setText(text);
    }
}

QStringList Items(QDialog& d, const char* name) {
    QStringList items;
    auto* box = Find<QComboBox>(d, name);
    for (int i = 0; box && i < box->count(); ++i) {
        items << box->itemText(i);
    }
    return items;
}

void LeaveTitle(QDialog& d) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(Find<QLineEdit>(d, "Title"), &out);
}

// Runs the checks and actions on the dialog, then closes it with the result.
Prompter::DialogAnswer Answer(int result, std::function<void(QDialog&)> act) {
    return [result, act = std::move(act)](QDialog& d) {
        act(d);
        return result;
    };
}

EditorContext Context() {
    EditorContext context;
    context.categoryNames = [] {
        return QStringList{QStringLiteral("Family"), QStringLiteral("Work"),
                           QStringLiteral("Golf")};
    };
    return context;
}

} // namespace

class HolderEditorsTest : public QObject {
    Q_OBJECT

    TOutline* outline_ = nullptr;
    TOutlineNode* root_ = nullptr;

    TPersonObject& NewPerson(std::string_view title = "New Person") {
        return *static_cast<TPersonObject*>(CreateItem(kPersonKind, title, "", "", 0, "", root_));
    }
    TOrgObject& NewOrg(std::string_view title = "New Organization") {
        return *static_cast<TOrgObject*>(
            CreateItem(kOrganizationKind, title, "", "", 0, "", root_));
    }

private slots:
    void initTestCase() { Prompter::SetStrict(true); }
    void init() {
        Prompter::Reset();
        outline_ = new TOutline;
        root_ = outline_->CreateRoot();
    }
    void cleanup() {
        QVERIFY2(Prompter::Unanswered().isEmpty(),
                 qPrintable(Prompter::Unanswered().join(QLatin1Char(';'))));
        delete outline_;
    }

    void NewPersonShowsPresetsAndCreatesOnePhone() {
        TPersonObject& ann = NewPerson();
        bool answered = false;
        Prompter::QueueDialog(Answer(QDialog::Accepted, [&](QDialog& d) {
            answered = true;
            // What a new person's dialog offers.
            QCOMPARE(d.windowTitle(), QStringLiteral("Person"));
            QCOMPARE(Text(d, "Title"), QStringLiteral("New Person"));
            QCOMPARE(Text(d, "Salutation"), QString());
            QCOMPARE(Items(d, "Salutation").size(), 7);
            QCOMPARE(Find<QComboBox>(d, "Salutation")->maxVisibleItems(), 4);
            QCOMPARE(Find<QLineEdit>(d, "Title")->maxLength(), 40);
            QCOMPARE(Find<QLineEdit>(d, "FName")->maxLength(), 20);
            QCOMPARE(Find<QLineEdit>(d, "MName")->maxLength(), 20);
            QCOMPARE(Find<QLineEdit>(d, "LName")->maxLength(), 25);
            QCOMPARE(Find<QLineEdit>(d, "PostCode")->maxLength(), 10);
            QCOMPARE(Find<QLineEdit>(d, "Extension")->maxLength(), 6);
            QCOMPARE(Find<QLineEdit>(d, "EMailAddr")->maxLength(), 80);
            auto* tabs = Find<QTabWidget>(d, "Tabs");
            QCOMPARE(tabs->count(), 5);
            QCOMPARE(tabs->currentIndex(), 0);
            QCOMPARE(tabs->tabText(3), QStringLiteral("Primary E-mail"));
            QCOMPARE(Text(d, "AddrTitle"), QStringLiteral("Primary Address"));
            QCOMPARE(Text(d, "PhoneTitle"), QStringLiteral("Primary Phone"));
            QCOMPARE(Text(d, "FaxTitle"), QStringLiteral("Primary FAX"));
            QCOMPARE(Text(d, "EMailTitle"), QStringLiteral("Primary E-Mail"));
            QCOMPARE(Text(d, "WebTitle"), QStringLiteral("Primary Website"));
            QCOMPARE(Text(d, "Web"), QStringLiteral("http://"));
            QCOMPARE(Items(d, "PhoneFmt").size(), 11);
            QCOMPARE(Text(d, "PhoneFmt"), QStringLiteral("USA"));
            QCOMPARE(Text(d, "FaxFmt"), QStringLiteral("USA"));
            QVERIFY(!Find<QComboBox>(d, "PhoneFmt")->isHidden());
            QVERIFY(!Find<QLabel>(d, "PhoneFmtLabel")->isHidden());
            QVERIFY(Find<MaskedNumberEdit>(d, "FaxNum")->HasEditMask());
            QVERIFY(Find<QPushButton>(d, "OKBtn")->isDefault());
            QCOMPARE(Find<QPushButton>(d, "HelpBtn")->text(), QStringLiteral("&Help"));

            // The preset is selected where the typing goes, so a name typed at once replaces it.
            auto* title = Find<QLineEdit>(d, "Title");
            QCOMPARE(d.focusWidget(), title);
            QTest::keyClicks(title, QStringLiteral("Ann Lee"));
            QCOMPARE(title->text(), QStringLiteral("Ann Lee"));
            LeaveTitle(d);
            QCOMPARE(Text(d, "FName"), QStringLiteral("Ann"));
            QCOMPARE(Text(d, "LName"), QStringLiteral("Lee"));
            auto* number = Find<MaskedNumberEdit>(d, "PhoneNum");
            QVERIFY(number->HasEditMask());
            number->Type(QStringLiteral("5551234567"));
            QCOMPARE(number->text(), QStringLiteral("(555)123-4567"));
            SetText(d, "Extension", QStringLiteral("12"));
        }));
        QVERIFY(RunHolderEditor(ann, true, Context()));
        QVERIFY(answered);

        QCOMPARE(ann.Title(), "Ann Lee");
        QCOMPARE(ann.Node()->Text(), "Ann Lee");
        QCOMPARE(ann.Target(), " Ann Lee");
        QCOMPARE(ann.ChildCount(), std::size_t{1});
        auto* phone = dynamic_cast<TPhoneObject*>(ann.ChildAt(0));
        QVERIFY(phone);
        QCOMPARE(phone->Title(), "Primary Phone");
        QCOMPARE(phone->Target(), "(555)123-4567");
        QCOMPARE(phone->Extension(), "12");
        QCOMPARE(ann.PrimaryPhone(), "Primary Phone");
        QCOMPARE(ann.PrimaryAddress(), "");
        QCOMPARE(ann.PrimaryWebsite(), "");
        QCOMPARE(ann.Node()->ChildCount(), std::size_t{0});
    }

    void CancelChangesNothing() {
        TPersonObject& p = NewPerson();
        Prompter::QueueDialog(Answer(QDialog::Rejected, [](QDialog& d) {
            SetText(d, "Title", QStringLiteral("Bob Stone"));
            LeaveTitle(d);
            SetText(d, "EMailAddr", QStringLiteral("bob@example.org"));
            Find<MaskedNumberEdit>(d, "PhoneNum")->Type(QStringLiteral("5551234567"));
        }));
        QVERIFY(!RunHolderEditor(p, true, Context()));
        QCOMPARE(p.Title(), "New Person");
        QCOMPARE(p.FirstName(), "");
        QCOMPARE(p.ChildCount(), std::size_t{0});

        // An existing person the same.
        CreateItem(kPhoneKind, "Home", "111", "", 0, "", p.Node());
        p.SetPrimaryPhone("Home");
        Prompter::QueueDialog(Answer(QDialog::Rejected, [](QDialog& d) {
            SetText(d, "PhoneNum", QStringLiteral("999"));
            SetText(d, "Comment", QStringLiteral("changed"));
        }));
        QVERIFY(!RunHolderEditor(p, false, Context()));
        QCOMPARE(p.ChildAt(0)->Target(), "111");
        QCOMPARE(p.Comment(), "");
    }

    void EditUpdatesTheFoundContactPointWithoutMasks() {
        TPersonObject& p = NewPerson("Ann Lee");
        p.SetFirstName("Ann");
        p.SetLastName("Lee");
        TNRBObject* home =
            CreateItem(kPhoneKind, "Home", "(555)123-4567", "", 0, "{Phon}1", p.Node());
        TNRBObject* work = CreateItem(kPhoneKind, "Work", "222", "", 0, "", p.Node());
        p.SetPrimaryPhone("Home");
        Prompter::QueueDialog(Answer(QDialog::Accepted, [](QDialog& d) {
            QCOMPARE(Text(d, "FName"), QStringLiteral("Ann"));
            QCOMPARE(Items(d, "PhoneTitle"), (QStringList{"Home", "Work"}));
            QCOMPARE(Text(d, "PhoneTitle"), QStringLiteral("Home"));
            QCOMPARE(Text(d, "Extension"), QStringLiteral("1"));
            QVERIFY(Find<QComboBox>(d, "PhoneFmt")->isHidden());
            QVERIFY(Find<QLabel>(d, "PhoneFmtLabel")->isHidden());
            QVERIFY(Find<QComboBox>(d, "FaxFmt")->isHidden());
            QVERIFY(Find<QLabel>(d, "FaxFmtLabel")->isHidden());
            auto* number = Find<MaskedNumberEdit>(d, "PhoneNum");
            QVERIFY(!number->HasEditMask());
            QCOMPARE(number->text(), QStringLiteral("(555)123-4567"));
            number->setText(QStringLiteral("(555)123-9999"));
            SetText(d, "Salutation", QStringLiteral("Dr."));
        }));
        QVERIFY(RunHolderEditor(p, false, Context()));
        QCOMPARE(p.ChildCount(), std::size_t{2});
        QCOMPARE(home->Target(), "(555)123-9999");
        QCOMPARE(work->Target(), "222");
        QCOMPARE(p.Target(), "Dr. Ann Lee");
        QCOMPARE(p.PrimaryPhone(), "Home");
    }

    void LongStoredTextsAndTypedTitlesSurviveOk() {
        const std::string longName(50, 'x');
        TPersonObject& p = NewPerson(longName);
        TNRBObject* office = CreateItem(kPhoneKind, "Home Office", "1", "", 0, "", p.Node());
        p.SetPrimaryPhone("Home Office");
        Prompter::QueueDialog(Answer(QDialog::Accepted, [](QDialog& d) {
            // The boxes show what is stored whole, whatever may be typed into them.
            QCOMPARE(Text(d, "Title").size(), 50);
            // A typed title is taken exactly, never completed into an existing one.
            auto* box = Find<QComboBox>(d, "PhoneTitle");
            QVERIFY(box->completer() == nullptr);
            box->lineEdit()->selectAll();
            QTest::keyClicks(box->lineEdit(), QStringLiteral("Home"));
            QCOMPARE(box->currentText(), QStringLiteral("Home"));
            Find<MaskedNumberEdit>(d, "PhoneNum")->setText(QStringLiteral("2"));
        }));
        QVERIFY(RunHolderEditor(p, false, Context()));
        QCOMPARE(p.Title(), longName);
        QCOMPARE(p.ChildCount(), std::size_t{2}); // "Home" is new; "Home Office" stays
        QCOMPARE(office->Target(), "1");
        QCOMPARE(p.PrimaryPhone(), "Home");
    }

    void ChoosingATitleFillsTheTab() {
        TPersonObject& p = NewPerson("Ann");
        CreateItem(kAddressKind, "Home", "1 Main St", "", 0,
                   "{Addr}1 Main St~~~~~~Springfield~~~~~~", p.Node());
        CreateItem(kAddressKind, "Office", "2 High St", "desk", 0,
                   "{Addr}2 High St~~Floor 3~~~~Town~~Kent~~AB1~~UK", p.Node());
        CreateItem(kWebsiteKind, "Blog", "http://blog.example.org", "", 0, "", p.Node());
        p.SetPrimaryAddress("Home");
        Prompter::QueueDialog(Answer(QDialog::Accepted, [](QDialog& d) {
            QCOMPARE(Text(d, "AddrTitle"), QStringLiteral("Home"));
            QCOMPARE(Text(d, "City"), QStringLiteral("Springfield"));
            QCOMPARE(Items(d, "WebTitle"), QStringList{QStringLiteral("Blog")});
            QCOMPARE(Text(d, "WebTitle"), QString()); // no primary website yet
            auto* box = Find<QComboBox>(d, "AddrTitle");
            QTest::keyClick(box, Qt::Key_Down);
            QTest::keyClick(box, Qt::Key_Down);
            QCOMPARE(Text(d, "AddrTitle"), QStringLiteral("Office"));
            QCOMPARE(Text(d, "Addr"), QStringLiteral("2 High St\nFloor 3\n"));
            QCOMPARE(Text(d, "City"), QStringLiteral("Town"));
            QCOMPARE(Text(d, "Country"), QStringLiteral("UK"));
            QCOMPARE(Text(d, "AddrComment"), QStringLiteral("desk"));
            // Choosing a website fills its tab too.
            auto* web = Find<QComboBox>(d, "WebTitle");
            QTest::keyClick(web, Qt::Key_Down);
            QCOMPARE(Text(d, "Web"), QStringLiteral("http://blog.example.org"));
            SetText(d, "Addr", QString());
        }));
        QVERIFY(RunHolderEditor(p, false, Context()));
        auto* office = dynamic_cast<TAddressObject*>(p.FindChild("Office", kAddressKind));
        QVERIFY(office);
        QCOMPARE(p.PrimaryAddress(), "Office");
        QCOMPARE(office->Target(), "");
        QCOMPARE(office->LineCount(), std::size_t{3});
        QCOMPARE(office->Line(0), "");
        QCOMPARE(office->City(), "Town");
        QCOMPARE(p.PrimaryWebsite(), "Blog");
    }

    void PhoneFormatsSetTheMaskOfTheirOwnBox() {
        TPersonObject& p = NewPerson();
        Prompter::QueueDialog(Answer(QDialog::Accepted, [](QDialog& d) {
            auto* phone = Find<MaskedNumberEdit>(d, "PhoneNum");
            auto* fax = Find<MaskedNumberEdit>(d, "FaxNum");
            Find<QComboBox>(d, "PhoneFmt")->setCurrentIndex(1);
            QVERIFY(!phone->HasEditMask());
            QVERIFY(fax->HasEditMask());
            Find<QComboBox>(d, "FaxFmt")->setCurrentIndex(9);
            QCOMPARE(fax->text(),
                     QString::fromStdString(TEditMask(PhoneFormats()[7].mask).EmptyText()));
            fax->Type(QStringLiteral("12345678"));
            phone->setText(QStringLiteral("+1 free 5"));
        }));
        QVERIFY(RunHolderEditor(p, true, Context()));
        QCOMPARE(p.ChildCount(), std::size_t{2});
        QCOMPARE(p.ChildAt(0)->Target(), "+1 free 5");
        QCOMPARE(p.ChildAt(1)->Kind(), kFaxKind);
        // A field's text is a view, not a C string: its size says where it ends.
        QCOMPARE(FromUtf8(p.ChildAt(1)->Target()),
                 QString::fromStdString(TEditMask(PhoneFormats()[9].mask).Apply("12345678")));
    }

    // A number shorter than its mask is kept as far as it was typed: the placeholders of the
    // open positions are the box's, not the number's.
    void ShortNumbersAreStoredWithoutPlaceholders() {
        TPersonObject& p = NewPerson();
        Prompter::QueueDialog(Answer(QDialog::Accepted, [](QDialog& d) {
            Find<QComboBox>(d, "PhoneFmt")->setCurrentIndex(4); // Germany, optional digits
            auto* phone = Find<MaskedNumberEdit>(d, "PhoneNum");
            phone->Type(QStringLiteral("30123456"));
            QCOMPARE(phone->text(), QStringLiteral("(301 23) 456__"));
            Find<QComboBox>(d, "FaxFmt")->setCurrentIndex(2); // Denmark
            Find<MaskedNumberEdit>(d, "FaxNum")->Type(QStringLiteral("123"));
        }));
        QVERIFY(RunHolderEditor(p, true, Context()));
        QCOMPARE(p.ChildCount(), std::size_t{2});
        QCOMPARE(p.ChildAt(0)->Target(), "(301 23) 456");
        QCOMPARE(p.ChildAt(1)->Target(), "+45 12 3");
    }

    void AddressMemoHoldsAtMost120Characters() {
        TPersonObject& p = NewPerson();
        Prompter::QueueDialog(Answer(QDialog::Accepted, [](QDialog& d) {
            auto* memo = Find<QPlainTextEdit>(d, "Addr");
            QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
            memo->insertPlainText(QString(100, QLatin1Char('a')));
            memo->insertPlainText(QStringLiteral("\n") + QString(30, QLatin1Char('b')));
            QCOMPARE(memo->toPlainText().size(), 120);
            QVERIFY(memo->toPlainText().startsWith(QString(100, QLatin1Char('a')) + "\nbbb"));
        }));
        QVERIFY(RunHolderEditor(p, true, Context()));
        QCOMPARE(p.ChildCount(), std::size_t{1});
        QCOMPARE(p.ChildAt(0)->Target().size(), std::size_t{100});
    }

    void CategoryTicksStayAfterCancel() {
        TPersonObject& p = NewPerson();
        QStringList listed;
        Prompter::QueueDialog(Answer(QDialog::Rejected, [](QDialog& d) {
            auto* picture = Find<TCatSelect>(d, "CatSelect");
            QCOMPARE(picture->toolTip(), QStringLiteral("Click to set categories"));
            QTest::mouseClick(picture, Qt::LeftButton);
        }));
        Prompter::QueueDialog(Answer(QDialog::Accepted, [&listed](QDialog& d) {
            auto* popup = qobject_cast<TCategoryPopup*>(&d);
            QVERIFY(popup);
            for (int i = 0; i < popup->List()->count(); ++i) {
                listed << popup->List()->item(i)->text();
            }
            popup->List()->item(0)->setCheckState(Qt::Checked);
            popup->List()->item(2)->setCheckState(Qt::Checked);
        }));
        QVERIFY(!RunHolderEditor(p, true, Context()));
        QCOMPARE(listed, (QStringList{"Family", "Work", "Golf"}));
        QCOMPARE(p.Categories(), 0b101);
    }

    void NewOrganizationKeepsItsTarget() {
        TOrgObject& org = NewOrg();
        org.SetTarget("as created");
        Prompter::QueueDialog(Answer(QDialog::Accepted, [](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Organization"));
            QVERIFY(!d.findChild<QLineEdit*>(QStringLiteral("FName")));
            QVERIFY(!d.findChild<QComboBox*>(QStringLiteral("Salutation")));
            QCOMPARE(Text(d, "EMailTitle"), QStringLiteral("Primary E-Mail"));
            QVERIFY(!Find<QComboBox>(d, "FaxFmt")->isHidden());
            SetText(d, "Title", QStringLiteral("Acme Corp"));
            SetText(d, "Comment", QStringLiteral("supplier"));
            SetText(d, "EMailAddr", QStringLiteral("info@acme.example"));
            SetText(d, "Web", QStringLiteral("http://acme.example"));
        }));
        QVERIFY(RunHolderEditor(org, true, Context()));
        QCOMPARE(org.Node()->Text(), "Acme Corp");
        QCOMPARE(org.Target(), "as created");
        QCOMPARE(org.Comment(), "supplier");
        QCOMPARE(org.ChildCount(), std::size_t{1});
        QCOMPARE(org.PrimaryEMail(), "Primary E-Mail");
        QCOMPARE(org.Node()->ChildCount(), std::size_t{1});
        QCOMPARE(org.Node()->ChildAt(0)->Item()->Target(), "http://acme.example");

        Prompter::QueueDialog(Answer(QDialog::Accepted, [](QDialog& d) {
            QCOMPARE(Text(d, "EMailAddr"), QStringLiteral("info@acme.example"));
            QCOMPARE(Text(d, "Web"), QStringLiteral("http://acme.example"));
            QVERIFY(Find<QComboBox>(d, "FaxFmt")->isHidden());
            SetText(d, "EMailAddr", QStringLiteral("sales@acme.example"));
        }));
        QVERIFY(RunHolderEditor(org, false, Context()));
        QCOMPARE(org.ChildAt(0)->Target(), "sales@acme.example");
        QCOMPARE(org.Target(), "as created");
    }

    // Pictures of both dialogs (saved when QUILL_SHOT_DIR names a directory); each must
    // fit a small screen.
    void DialogsFitTheScreen() {
        const QString dir = qEnvironmentVariable("QUILL_SHOT_DIR");
        TPersonObject& p = NewPerson();
        TOrgObject& org = NewOrg();
        CreateItem(kPhoneKind, "Home", "111", "", 0, "", org.Node());
        for (TContactHolderObject* item :
             {static_cast<TContactHolderObject*>(&p), static_cast<TContactHolderObject*>(&org)}) {
            for (int tab = 0; tab < 5; ++tab) {
                Prompter::QueueDialog(Answer(QDialog::Rejected, [&dir, tab](QDialog& d) {
                    Find<QTabWidget>(d, "Tabs")->setCurrentIndex(tab);
                    d.show();
                    const QPixmap picture = d.grab();
                    if (!dir.isEmpty()) {
                        picture.save(
                            QStringLiteral("%1/%2-%3.png").arg(dir, d.objectName()).arg(tab));
                    }
                    const QSize size = d.frameGeometry().size();
                    d.hide();
                    QVERIFY2(
                        size.width() <= 1024 && size.height() <= 700,
                        qPrintable(QStringLiteral("%1x%2").arg(size.width()).arg(size.height())));
                    QVERIFY(!picture.isNull());
                }));
                RunHolderEditor(*item, item == &p, Context());
            }
        }
    }
};

QTEST_MAIN(HolderEditorsTest)
#include "HolderEditorsTest.moc"
