// What a Linux desktop user expects beyond the menus' own keys: the usual shortcuts, every
// button reachable from the keyboard, Delete that asks as Shift+Del does, and a copied
// contact that other programs can paste.

#include "core/model/contact_holder_objects.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/services.h"
#include "gui/common/ImageLists.h"
#include "gui/common/Prompter.h"
#include "gui/mainwindow/ContentsListModel.h"
#include "gui/mainwindow/TMainForm.h"
#include "platform/QtClipboard.h"

#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <memory>

using namespace quill;
using namespace quill::gui;

class DesktopHabitsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    QString previousDir_;
    std::unique_ptr<ImageLists> images_;
    platform::QtClipboard clipboard_;
    std::unique_ptr<TMainForm> form_;

    TMainForm& Form() { return *form_; }
    TNRBObject* Make(int kind, std::string_view title, TOutlineNode* parent,
                     std::string_view target = "") {
        return CreateItem(kind, title, target, "", 0, "", parent, &form_->Outline());
    }
    void ShowActive() {
        Form().show();
        Form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Form()));
    }
    void SelectListRow(int row) {
        QAbstractItemView* view = Form().ListView();
        view->setFocus();
        view->selectionModel()->select(Form().Contents().index(row, 0),
                                       QItemSelectionModel::ClearAndSelect |
                                           QItemSelectionModel::Rows);
        view->setCurrentIndex(Form().Contents().index(row, 0));
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
        InstallServices({nullptr, nullptr, images_.get(), &clipboard_, form_.get()});
    }

    void cleanup() {
        form_.reset();
        InstallServices({});
        QVERIFY2(Prompter::Unanswered().isEmpty(), qPrintable(Prompter::Unanswered().join("; ")));
        QDir::setCurrent(previousDir_);
        dir_.reset();
    }

    void everyButtonOnlyCommandHasAKey_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("keys");
        const auto row = [](const char* action, QStringList keys) {
            QTest::newRow(action) << QString::fromLatin1(action) << keys;
        };
        row("Save1", {"Ctrl+S"});
        row("ExitItem", {"Alt+X", "Ctrl+Q"});
        row("Delete1", {"Shift+Del", "Del"});
        row("HelpTopic", {"F1"});
        row("GetUrlBtn", {"Ctrl+G"});
        row("FilterBtn1", {"Ctrl+Shift+A"});
        row("FilterBtn2", {"Ctrl+Shift+L"});
        row("WinZoomBtn", {"Ctrl+M"});
        row("UpOneBtn", {"Alt+Up"});
        row("ToolsMenuKey", {"Alt+T"});
        row("FindItem", {"F3"});
    }

    void everyButtonOnlyCommandHasAKey() {
        QFETCH(QString, action);
        QFETCH(QStringList, keys);
        QAction* a = Form().Action(action);
        QVERIFY2(a, qPrintable(action));
        QStringList actual;
        for (const QKeySequence& key : a->shortcuts()) {
            actual << key.toString(QKeySequence::PortableText);
        }
        QCOMPARE(actual, keys);
        // Window-wide: the shortcuts work whichever pane has the focus.
        QVERIFY(Form().actions().contains(a));
    }

    void getBrowserUrlIsAFileMenuEntry() {
        QMenu* file = Form().menuBar()->findChildren<QMenu*>().value(0);
        QVERIFY(file);
        QMenu* fileNew = nullptr;
        for (QAction* entry : file->actions()) {
            if (entry->menu() && entry->text() == QStringLiteral("&New")) {
                fileNew = entry->menu();
            }
        }
        QVERIFY(fileNew);
        QVERIFY(fileNew->actions().contains(Form().Action("GetUrlBtn")));
        QCOMPARE(Form().Action("GetUrlBtn")->text(), QStringLiteral("&Get Browser URL"));
        // The toolbar keeps its hint.
        QCOMPARE(Form().Action("GetUrlBtn")->toolTip(), QStringLiteral("Get Browser URL"));
    }

    void theDeleteKeyAsksAsShiftDelDoes() {
        Make(kPersonKind, "Ann Lee", Form().Root());
        Form().RefreshList();
        ShowActive();
        SelectListRow(0);
        Prompter::QueueAnswer(QMessageBox::No);
        QTest::keyClick(Form().ListView(), Qt::Key_Delete);
        QCOMPARE(Prompter::Asked().value(0),
                 QStringLiteral("Warning|Are you sure you want to delete Ann Lee and all "
                                "sub-items?"));
        QCOMPARE(Form().Root()->ChildCount(), std::size_t{1});

        // In the find box the key deletes text, nothing else.
        QLineEdit* find = Form().FindEditBox();
        find->setFocus();
        find->setText(QStringLiteral("Ann"));
        find->setCursorPosition(0);
        QTest::keyClick(find, Qt::Key_Delete);
        QCOMPARE(find->text(), QStringLiteral("nn"));
        QCOMPARE(Prompter::Asked().size(), 1);
    }

    void f3WithAnEmptyFindBoxGoesToIt() {
        ShowActive();
        Form().FoldersView()->setFocus();
        Form().Action("FindItem")->trigger();
        QVERIFY(Form().FindEditBox()->hasFocus());
    }

    void aCopiedPersonCarriesTextAndACard() {
        auto* ann = static_cast<TContactHolderObject*>(Make(kPersonKind, "Ann Lee", Form().Root()));
        CreateItem(kPhoneKind, "Mobile", "555-0100", "", 0, "{Phon}~~~~0", ann->Node(),
                   &Form().Outline());
        ann->SetPrimaryPhone("Mobile");
        Form().SelectNode(ann->Node());
        Form().CopyBtnClick();
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data);
        QVERIFY(platform::QtClipboard::HasPrivateFormat());
        QCOMPARE(data->text(), QStringLiteral("Ann Lee\nPhone: 555-0100\n"));
        // A standard card, which address books take when it is pasted.
        const QByteArray card = data->data(QStringLiteral("text/vcard"));
        QVERIFY2(card.startsWith("BEGIN:VCARD\r\nVERSION:3.0\r\n"), card.constData());
        QVERIFY2(card.contains("\r\nFN:Ann Lee\r\n"), card.constData());
        QVERIFY2(card.contains(".TEL;TYPE=cell,pref:555-0100\r\n"), card.constData());
        // Pasting it back brings the records, not the text.
        Form().SelectNode(Form().Root());
        Form().PasteBtnClick();
        QCOMPARE(Form().Root()->ChildCount(), std::size_t{2});

        // A folder goes in the program's own format only.
        TNRBObject* folder = Make(kFolderKind, "Family", Form().Root());
        Form().SelectNode(folder->Node());
        Form().CopyBtnClick();
        data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data && !data->hasText() && !data->hasFormat(QStringLiteral("text/vcard")));
    }
};

QTEST_MAIN(DesktopHabitsTest)
#include "DesktopHabitsTest.moc"
