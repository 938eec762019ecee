// What a Linux desktop user expects beyond the menus' own keys: Get Browser URL in the File
// menu, Delete that asks as Shift+Del does, F3 into an empty find box, and a copied contact
// that other programs can paste. (The keys themselves are in MainWindowTextsTest's table.)

#include "core/model/contact_holder_objects.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/services.h"
#include "core/util/atomic_file.h"
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

#include <cerrno>
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
        QAction* getUrl = Form().Action("GetUrlBtn");
        QVERIFY(getUrl);
        QVERIFY(fileNew->actions().contains(getUrl));
        QCOMPARE(getUrl->text(), QStringLiteral("&Get Browser URL"));
        // The toolbar keeps its hint.
        QCOMPARE(getUrl->toolTip(), QStringLiteral("Get Browser URL"));
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
        QAction* find = Form().Action("FindItem");
        QVERIFY(find);
        find->trigger();
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

    void aClipboardFileTheDiskRefusesChangesNothing() {
        TNRBObject* ann = Make(kPersonKind, "Ann Lee", Form().Root());
        Make(kPhoneKind, "Home", Form().Root());
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        Form().SelectNode(ann->Node());
        {
            // Copied from the tree, and from the list.
            ScopedFileFault full(ScopedFileFault::Step::Write, ENOSPC, "clipdata.dat");
            Prompter::QueueAnswer(QMessageBox::Ok);
            Form().CopyBtnClick();
            Form().SelectNode(Form().Root());
            SelectListRow(0);
            SelectListRow(1);
            Form().ListView()->selectAll();
            Prompter::QueueAnswer(QMessageBox::Ok);
            Form().CopyBtnClick();
            QCOMPARE(full.Failures(), 2);
        }
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
        QVERIFY(!platform::QtClipboard::HasPrivateFormat());
        QCOMPARE(Prompter::Boxes().size(), 2);
        for (const Prompter::Box& box : Prompter::Boxes()) {
            QCOMPARE(box.icon, QMessageBox::Warning);
            QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
            QVERIFY2(box.text.contains(QStringLiteral("clipdata.dat")), qPrintable(box.text));
        }

        // Pasting goes through the same file: a full disk pastes nothing.
        Form().SelectNode(ann->Node());
        Form().FoldersView()->setFocus();
        QFocusEvent focus(QEvent::FocusIn);
        QCoreApplication::sendEvent(Form().FoldersView(), &focus);
        Form().CopyBtnClick();
        QVERIFY(platform::QtClipboard::HasPrivateFormat());
        Form().SelectNode(Form().Root());
        ScopedFileFault full(ScopedFileFault::Step::Write, ENOSPC, "clipdata.dat");
        Prompter::QueueAnswer(QMessageBox::Ok);
        Form().PasteBtnClick();
        QCOMPARE(full.Failures(), 1);
        QCOMPARE(Form().Root()->ChildCount(), std::size_t{1});
        QCOMPARE(Prompter::Boxes().size(), 3);
    }
};

QTEST_MAIN(DesktopHabitsTest)
#include "DesktopHabitsTest.moc"
