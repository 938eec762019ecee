// Dialogs worked from the keyboard alone: what Tab reaches must show that it has the focus,
// and what the keyboard selects must count as selected.

#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/outline.h"
#include "core/storage/tool_items.h"
#include "gui/common/ImageLists.h"
#include "gui/editors/CategoryPopup.h"
#include "gui/exchange/TFieldChooserFrame.h"
#include "gui/exchange/TFolderBrowser.h"
#include "gui/mainwindow/ToolsDlg.h"

#include <QDialog>
#include <QDir>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

using namespace quill;
using namespace quill::gui;

class KeyboardAccessTest : public QObject {
    Q_OBJECT

private slots:
    void spaceInTheToolsPickerSelectsAToolForBothButtons() {
        ImageLists images;
        TToolItems tools;
        tools.AddNew("Viewer", "/bin/cat", "", false);
        tools.AddNew("Editor", "/bin/sh", "-n", true);
        TToolsDlg picker(tools, images);
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        auto* list = picker.findChild<QListWidget*>(QStringLiteral("ToolsList"));
        auto* launch = picker.findChild<QPushButton*>(QStringLiteral("LaunchBtn"));
        auto* address = picker.findChild<QPushButton*>(QStringLiteral("AddrBtn"));
        QVERIFY(list && launch && address);
        QVERIFY(!launch->isEnabled());

        // Tab puts the list's cursor on a row without selecting it; Space selects it.
        list->setFocus();
        list->setCurrentRow(1, QItemSelectionModel::NoUpdate);
        QVERIFY(list->selectedItems().isEmpty());
        QTest::keyClick(list, Qt::Key_Space);
        QCOMPARE(list->selectedItems().size(), 1);
        QVERIFY(launch->isEnabled());
        QVERIFY(address->isEnabled());

        // A tool that takes no addresses, selected the same way, offers only "&Launch".
        list->setCurrentRow(0, QItemSelectionModel::NoUpdate);
        QTest::keyClick(list, Qt::Key_Space);
        QVERIFY(launch->isEnabled());
        QVERIFY(!address->isEnabled());
        picker.hide();
    }

    void theCategoryPictureShowsWhenTabHasReachedIt() {
        TOutline outline;
        TOutlineNode* root = outline.CreateRoot();
        TNRBObject* folder = CreateItem(kFolderKind, "Friends", "", "", 0, "", root);
        QVERIFY(folder);
        QDialog dialog;
        auto* layout = new QHBoxLayout(&dialog);
        auto* edit = new QLineEdit(&dialog);
        auto* picture = new TCatSelect(*folder, {}, &dialog);
        layout->addWidget(edit);
        layout->addWidget(picture);
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));

        edit->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(edit->hasFocus());
        const QImage without = picture->grab().toImage();
        QTest::keyClick(edit, Qt::Key_Tab);
        QTRY_VERIFY(picture->hasFocus());
        const QImage with = picture->grab().toImage();
        QVERIFY2(with != without, "the focused picture looks as it does without the focus");
        dialog.hide();
    }

    void enterInADirectoryListOpensTheDirectoryAndFinishesNothing() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("cards")));
        QDialog wizard;
        auto* layout = new QVBoxLayout(&wizard);
        auto* browser = new TFolderBrowser({}, &wizard);
        auto* finish = new QPushButton(QStringLiteral("Finish"), &wizard);
        finish->setDefault(true);
        layout->addWidget(browser);
        layout->addWidget(finish);
        QSignalSpy finished(finish, &QPushButton::clicked);
        QVERIFY(browser->SetDirectory(dir.path()));
        wizard.show();
        wizard.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&wizard));

        QListWidget* list = browser->DirectoryList();
        const QList<QListWidgetItem*> entries =
            list->findItems(QStringLiteral("cards"), Qt::MatchExactly);
        QCOMPARE(entries.size(), 1);
        list->setFocus();
        list->setCurrentItem(entries.front());
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(browser->Directory(), QDir(dir.path()).filePath(QStringLiteral("cards")));
        QCOMPARE(finished.count(), 0);
        QVERIFY(wizard.isVisible());
        wizard.hide();
    }

    void typingADirectorysNameInTheListFindsIt() {
        QTemporaryDir dir;
        for (const char* name : {"archive", "cards", "letters"}) {
            QVERIFY(QDir(dir.path()).mkdir(QLatin1String(name)));
        }
        TFolderBrowser browser;
        QVERIFY(browser.SetDirectory(dir.path()));
        QListWidget* list = browser.DirectoryList();
        list->setFocus();
        QTest::keyClicks(list, QStringLiteral("car"));
        QVERIFY(list->currentItem());
        QCOMPARE(list->currentItem()->text(), QStringLiteral("cards"));
    }

    void ctrlUpAndDownReorderTheChosenFieldsAsDraggingDoes() {
        TFieldChooserFrame chooser(QStringLiteral("Import records of type:"),
                                   QStringLiteral("Fields to Import (in order)"));
        chooser.SelectRecordType(0);
        QListWidget* available = chooser.AvailableList();
        for (const char* field : {"Title", "First Name", "Last Name"}) {
            const QList<QListWidgetItem*> found =
                available->findItems(QLatin1String(field), Qt::MatchExactly);
            QCOMPARE(found.size(), 1);
            found.front()->setSelected(true);
        }
        chooser.CopyRtBtnClick();
        const auto chosen = [&] {
            QStringList names;
            for (const std::string& name : chooser.Chosen()) {
                names << QString::fromStdString(name);
            }
            return names;
        };
        QCOMPARE(chosen(), QStringList({"Title", "First Name", "Last Name"}));
        QListWidget* list = chooser.ChosenList();
        list->setCurrentRow(2);
        QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(chosen(), QStringList({"Title", "Last Name", "First Name"}));
        QCOMPARE(list->currentRow(), 1); // the field moved keeps the cursor
        QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier);
        QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier); // already first: stays
        QCOMPARE(chosen(), QStringList({"Last Name", "Title", "First Name"}));
        QTest::keyClick(list, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(chosen(), QStringList({"Title", "Last Name", "First Name"}));
        // Without Ctrl the arrows only move the cursor.
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(chosen(), QStringList({"Title", "Last Name", "First Name"}));
        QCOMPARE(list->currentRow(), 2);
    }
};

QTEST_MAIN(KeyboardAccessTest)
#include "KeyboardAccessTest.moc"
