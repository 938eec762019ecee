// The options dialog over a settings file in a temporary directory: what "OK" writes, what
// "Cancel" keeps, the tools page acting on the tools at once, the category names, and the
// tools menus.

#include "gui/mainwindow/OptionPages.h"
#include "gui/mainwindow/ToolsMenu.h"

#include "core/services.h"
#include "core/storage/categories.h"
#include "core/storage/profile_file.h"
#include "core/util/atomic_file.h"
#include "gui/common/ImageLists.h"
#include "gui/common/Prompter.h"
#include "platform/DesktopShell.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

using namespace quill;
using namespace quill::gui;

namespace {

QStringList DefaultNames() {
    QStringList names;
    for (int n = 1; n <= kCategoryCount; ++n) {
        names << QString::fromStdString(DefaultCategoryName(n));
    }
    return names;
}

// A missing control fails the test that asks for it and is stood in for by an empty one, so
// that the other tests still run.
template <typename W> W* Child(QWidget& dialog, const char* name) {
    W* widget = dialog.findChild<W*>(QLatin1String(name));
    if (!widget) {
        QTest::qFail(qPrintable(QStringLiteral("no control %1").arg(QLatin1String(name))), __FILE__,
                     __LINE__);
        widget = new W(&dialog);
        widget->setObjectName(QLatin1String(name));
    }
    return widget;
}

// Shows the dialog and makes it the active window, so that focus moves as a user's would.
bool ShowActive(QDialog& dialog) {
    dialog.show();
    dialog.activateWindow();
    return QTest::qWaitForWindowActive(&dialog);
}

void ClickEntry(QListWidget* list, int row) {
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

void Click(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

// Types into an edit after focusing it as a click would.
void Type(QLineEdit* edit, const QString& text) {
    edit->setFocus(Qt::MouseFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// A caption as it is shown, without the "&" that marks its Alt+letter.
QString Shown(QString caption) {
    return caption.replace(QLatin1String("&&"), QLatin1String("\x1"))
        .remove(QLatin1Char('&'))
        .replace(QLatin1Char('\x1'), QLatin1Char('&'));
}

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

class OptionPagesTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString ini_;
    std::string Ini() const { return ini_.toStdString(); }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        Prompter::SetStrict(true);
    }

    void init() {
        static int n = 0;
        ini_ = dir_.filePath(QStringLiteral("nrb%1.ini").arg(++n));
        Prompter::Reset();
    }

    void cleanup() {
        QVERIFY2(Prompter::Unanswered().isEmpty(), qPrintable(Prompter::Unanswered().join('\n')));
    }

    void TheDialogHasItsPagesAndNamedControls() {
        TToolItems tools;
        ImageLists images;
        TOptionPages dialog(ini_, tools, images);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Options"));
        auto* pages = Child<QTabWidget>(dialog, "PageControl");
        QCOMPARE(pages->count(), 3);
        QCOMPARE(pages->tabText(0), QStringLiteral("Browser/Mail"));
        QCOMPARE(pages->tabText(1), QStringLiteral("Tools Menu"));
        QCOMPARE(pages->tabText(2), QStringLiteral("Categories"));

        auto* dde = Child<QComboBox>(dialog, "DDE");
        QVERIFY(dde->isEditable());
        QCOMPARE(dde->count(), 3);
        QCOMPARE(dde->itemText(0), QStringLiteral("NETSCAPE"));
        QCOMPARE(dde->itemText(1), QStringLiteral("IExplore"));
        QCOMPARE(dde->itemText(2), QStringLiteral("Mosaic"));
        // Beside the stored name, what it stands for here.
        auto* meaning = Child<QLabel>(dialog, "DDEMeaning");
        dde->setCurrentIndex(0);
        QCOMPARE(meaning->text(), QStringLiteral("Firefox family"));
        QCOMPARE(dde->itemData(2, Qt::ToolTipRole).toString(), QStringLiteral("Chromium family"));
        dde->setEditText(QStringLiteral("iexplore"));
        QCOMPARE(meaning->text(), QStringLiteral("the desktop's default browser"));
        dde->setEditText(QStringLiteral("Opera"));
        QCOMPARE(meaning->text(), QStringLiteral("no browser here answers to this name"));
        QVERIFY(Child<QLabel>(dialog, "EMailNote2")->text().contains(QLatin1String("xdg-email")));
        QVERIFY(Child<QLabel>(dialog, "EMailNote3")->text().contains(QLatin1String("web browser")));
        Child<QLineEdit>(dialog, "Path");
        QCOMPARE(Child<QPushButton>(dialog, "SelectPathBtn")->text(), QStringLiteral("..."));
        QCOMPARE(Shown(Child<QRadioButton>(dialog, "EMailOpt1")->text()),
                 QStringLiteral("Use \"mailto\" protocol"));
        QCOMPARE(Shown(Child<QRadioButton>(dialog, "EMailOpt2")->text()),
                 QStringLiteral("Use MS Messaging (MAPI)"));
        QCOMPARE(Shown(Child<QRadioButton>(dialog, "EMailOpt3")->text()),
                 QStringLiteral("Use Web Browser "));
        QStringList groups;
        for (const QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
            groups << group->title();
        }
        groups.sort();
        QCOMPARE(groups, (QStringList{"Category Names", "Internet E-Mail", "Preferred Browser",
                                      "Tool Attributes"}));
        QStringList labels;
        for (const QLabel* label : dialog.findChildren<QLabel*>()) {
            labels << Shown(label->text());
        }
        for (const char* text :
             {"DDE Name", "Executable File Name",
              "Select the method to use for sending E-Mail to an Internet address.", "Description",
              "Program Arguments", "Edit Name:"}) {
            QVERIFY2(labels.contains(QLatin1String(text)), text);
        }

        Child<QListWidget>(dialog, "ToolsList");
        QCOMPARE(Shown(Child<QPushButton>(dialog, "NewToolBtn")->text()), QStringLiteral("New"));
        QCOMPARE(Shown(Child<QPushButton>(dialog, "DelToolBtn")->text()), QStringLiteral("Delete"));
        Child<QLineEdit>(dialog, "Description");
        Child<QLineEdit>(dialog, "FilenameEdit");
        Child<QLineEdit>(dialog, "Arguments");
        QCOMPARE(Shown(Child<QCheckBox>(dialog, "AddressCheckBox")->text()),
                 QStringLiteral("Allow address item creation"));
        Child<QListWidget>(dialog, "CatList");
        Child<QLineEdit>(dialog, "CatName");

        auto* ok = Child<QPushButton>(dialog, "OKBtn");
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QVERIFY(ok->isDefault());
        QCOMPARE(Child<QPushButton>(dialog, "CancelBtn")->text(), QStringLiteral("Cancel"));
        QCOMPARE(Child<QPushButton>(dialog, "HelpBtn")->text(), QStringLiteral("&Help"));

        // The fixed border: the dialog cannot be resized, and it keeps its size on every page
        // (the largest page's).
        QVERIFY(ShowActive(dialog));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        const QSize size = dialog.size();
        for (int page = 1; page < 3; ++page) {
            pages->setCurrentIndex(page);
            QCoreApplication::processEvents();
            QCOMPARE(dialog.size(), size);
        }
        dialog.reject();
    }

    void AFreshFileShowsTheDefaults() {
        TToolItems tools;
        ImageLists images;
        TOptionPages dialog(ini_, tools, images);
        QCOMPARE(Child<QComboBox>(dialog, "DDE")->currentText(), QStringLiteral("IExplore"));
        QCOMPARE(Child<QLineEdit>(dialog, "Path")->text(), QString());
        QVERIFY(Child<QRadioButton>(dialog, "EMailOpt1")->isChecked());
        QVERIFY(!Child<QRadioButton>(dialog, "EMailOpt2")->isChecked());
        QVERIFY(!QFile::exists(ini_));
    }

    void OkWritesBrowserSettingsAndCategories() {
        QVERIFY(WriteProfileString(Ini(), "Categories", "Cat40", "stale"));
        QVERIFY(WriteProfileString(Ini(), "Settings", "INetMail", "2"));
        QVERIFY(WriteProfileString(Ini(), "Browser", "DDE", "Opera"));
        TToolItems tools;
        ImageLists images;
        QStringList names = DefaultNames();
        Prompter::QueueDialog([](QDialog& dialog) {
            // As read: a DDE name not in the list, the second mail option.
            auto* dde = Child<QComboBox>(dialog, "DDE");
            if (dde->currentText() != QStringLiteral("Opera") ||
                !Child<QRadioButton>(dialog, "EMailOpt2")->isChecked()) {
                return int(QDialog::Rejected);
            }
            dde->setCurrentIndex(0);
            Child<QLineEdit>(dialog, "Path")->setText(QStringLiteral("/usr/bin/my browser"));
            Child<QRadioButton>(dialog, "EMailOpt3")->setChecked(true);
            Click(Child<QPushButton>(dialog, "OKBtn"));
            return dialog.result();
        });
        QVERIFY(RunOptions(nullptr, ini_, tools, names, images));
        QCOMPARE(names, DefaultNames());
        QCOMPARE(ReadProfileString(Ini(), "Browser", "DDE", ""), std::string("NETSCAPE"));
        QCOMPARE(ReadProfileString(Ini(), "Browser", "Path", ""),
                 std::string("/usr/bin/my browser"));
        QCOMPARE(ReadProfileInt(Ini(), "Settings", "INetMail", 0), 3);
        const std::vector<std::string> keys = ReadSectionKeys(Ini(), "Categories");
        QCOMPARE(keys.size(), std::size_t(32));
        QCOMPARE(keys.front(), std::string("Cat1"));
        QCOMPARE(keys.back(), std::string("Cat32"));
        QCOMPARE(ReadProfileString(Ini(), "Categories", "Cat7", ""), std::string("User Defined 7"));
    }

    void OkOnADiskThatFailsSaysTheOptionsWereNotSaved() {
        QVERIFY(WriteProfileString(Ini(), "Browser", "DDE", "Opera"));
        TToolItems tools;
        ImageLists images;
        QStringList names = DefaultNames();
        ScopedFileFault full(ScopedFileFault::Step::Write, ENOSPC,
                             QFileInfo(ini_).fileName().toStdString());
        Prompter::QueueAnswer(QMessageBox::Ok);
        Prompter::QueueDialog([](QDialog& dialog) {
            Child<QComboBox>(dialog, "DDE")->setCurrentIndex(0);
            Click(Child<QPushButton>(dialog, "OKBtn"));
            return dialog.result();
        });
        RunOptions(nullptr, ini_, tools, names, images);
        QVERIFY(full.Failures() >= 1);
        QCOMPARE(Prompter::Boxes().size(), 1);
        const Prompter::Box box = Prompter::Boxes().front();
        QCOMPARE(box.title, QStringLiteral("Options"));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(box.text.startsWith(QStringLiteral("The options could not be saved.")));
        QVERIFY2(box.text.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))),
                 qPrintable(box.text));
        QCOMPARE(ReadProfileString(Ini(), "Browser", "DDE", ""), std::string("Opera"));
    }

    void AnUnknownMailMethodSelectsNoneAndOkWrites3() {
        QVERIFY(WriteProfileString(Ini(), "Settings", "INetMail", "7"));
        TToolItems tools;
        ImageLists images;
        TOptionPages dialog(ini_, tools, images);
        for (const char* name : {"EMailOpt1", "EMailOpt2", "EMailOpt3"}) {
            QVERIFY(!Child<QRadioButton>(dialog, name)->isChecked());
        }
        dialog.accept();
        QCOMPARE(ReadProfileInt(Ini(), "Settings", "INetMail", 0), 3);
    }

    void CancelWritesNothingButToolChangesStay() {
        TToolItems tools;
        ImageLists images;
        ConnectToolIcons(tools, images);
        tools.AddNew("Editor", "/bin/cat", "", false);
        tools.AddNew("Gone", "/bin/ls", "", false);
        QStringList names = DefaultNames();
        Prompter::QueueFileName(QStringLiteral("/bin/sh"));
        Prompter::QueueDialog([](QDialog& dialog) {
            if (!ShowActive(dialog)) {
                return int(QDialog::Accepted); // fails the test below
            }
            Child<QComboBox>(dialog, "DDE")->setCurrentIndex(2);
            auto* list = Child<QListWidget>(dialog, "ToolsList");
            Child<QTabWidget>(dialog, "PageControl")->setCurrentIndex(1);
            ClickEntry(list, 0);
            Type(Child<QLineEdit>(dialog, "Description"), QStringLiteral("My Editor"));
            Type(Child<QLineEdit>(dialog, "Arguments"), QStringLiteral("-n"));
            Click(Child<QCheckBox>(dialog, "AddressCheckBox"));
            ClickEntry(list, 1);
            Click(Child<QPushButton>(dialog, "DelToolBtn"));
            Click(Child<QPushButton>(dialog, "NewToolBtn"));
            auto* catList = Child<QListWidget>(dialog, "CatList");
            Child<QTabWidget>(dialog, "PageControl")->setCurrentIndex(2);
            ClickEntry(catList, 0);
            QTest::keyClicks(Child<QLineEdit>(dialog, "CatName"), QStringLiteral("x"));
            Click(Child<QPushButton>(dialog, "CancelBtn"));
            return dialog.result();
        });
        QVERIFY(!RunOptions(nullptr, ini_, tools, names, images));
        QVERIFY(!QFile::exists(ini_));
        QCOMPARE(names, DefaultNames());
        QCOMPARE(tools.Count(), 2);
        QCOMPARE(tools.Items(0)->Description(), std::string("My Editor"));
        QCOMPARE(tools.Items(0)->Arguments(), std::string("-n"));
        QVERIFY(tools.Items(0)->TakesAddress());
        QCOMPARE(tools.Items(1)->Description(), std::string("sh"));
    }

    void EnterInTheCategoryListHandsTheNameOverAndKeepsTheDialogOpen() {
        TToolItems tools;
        ImageLists images;
        QStringList names = DefaultNames();
        bool stillOpen = false;
        QString handedOver;
        bool editHasFocus = false;
        QString typed;
        Prompter::QueueDialog([&](QDialog& dialog) {
            if (!ShowActive(dialog)) {
                return int(QDialog::Rejected);
            }
            Child<QTabWidget>(dialog, "PageControl")->setCurrentIndex(2);
            auto* list = Child<QListWidget>(dialog, "CatList");
            auto* edit = Child<QLineEdit>(dialog, "CatName");
            list->setFocus();
            list->setCurrentRow(3);
            QTest::keyClick(list, Qt::Key_Return);
            stillOpen = dialog.isVisible() && dialog.result() != QDialog::Accepted;
            handedOver = edit->text();
            editHasFocus = dialog.focusWidget() == edit;
            // The name typed at once replaces the old one.
            QTest::keyClicks(edit, QStringLiteral("Clients"));
            typed = edit->text();
            return int(QDialog::Rejected);
        });
        QVERIFY(!RunOptions(nullptr, ini_, tools, names, images));
        QVERIFY2(stillOpen, "Enter in the category list pressed OK");
        QCOMPARE(handedOver, QStringLiteral("User Defined 4"));
        QVERIFY(editHasFocus);
        QCOMPARE(typed, QStringLiteral("Clients"));
    }

    void RenamingCategory3AndPressingOk() {
        TToolItems tools;
        ImageLists images;
        QStringList names = DefaultNames();
        Prompter::QueueDialog([](QDialog& dialog) {
            if (!ShowActive(dialog)) {
                return int(QDialog::Rejected);
            }
            Child<QTabWidget>(dialog, "PageControl")->setCurrentIndex(2);
            auto* list = Child<QListWidget>(dialog, "CatList");
            auto* edit = Child<QLineEdit>(dialog, "CatName");
            ClickEntry(list, 2);
            // The click copies the name and moves the focus to the edit.
            if (edit->text() != QStringLiteral("User Defined 3") || dialog.focusWidget() != edit) {
                return int(QDialog::Rejected);
            }
            edit->selectAll();
            QTest::keyClicks(edit, QStringLiteral("Clients"));
            // Emptied names are not taken: category 5 keeps its name.
            ClickEntry(list, 4);
            edit->clear();
            ClickEntry(list, 5);
            if (list->item(4)->text() != QStringLiteral("User Defined 5") ||
                list->item(2)->text() != QStringLiteral("Clients")) {
                return int(QDialog::Rejected);
            }
            edit->selectAll();
            QTest::keyClicks(edit, QStringLiteral("Family"));
            // Enter presses "OK" with the focus still in CatName: closing applies it.
            QTest::keyClick(edit, Qt::Key_Return);
            return dialog.result();
        });
        QVERIFY(RunOptions(nullptr, ini_, tools, names, images));
        QStringList expected = DefaultNames();
        expected[2] = QStringLiteral("Clients");
        expected[5] = QStringLiteral("Family");
        QCOMPARE(names, expected);
        const std::vector<std::string> read = ReadCategoryNames(Ini());
        QCOMPARE(Text(read[2]), QStringLiteral("Clients"));
        QCOMPARE(Text(read[5]), QStringLiteral("Family"));
        QCOMPARE(ReadSectionKeys(Ini(), "Categories").size(), std::size_t(32));
    }

    void NewWithAFileThatIsNotAProgramShowsTheMessage() {
        const QString text = dir_.filePath(QStringLiteral("notes.txt"));
        QFile file(text);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("plain\n");
        file.close();
        TToolItems tools;
        ImageLists images;
        TOptionPages dialog(ini_, tools, images);
        const int count = images.Count();
        Prompter::QueueFileName(text);
        Prompter::QueueAnswer(QMessageBox::Ok);
        Prompter::QueueFileName(dir_.path()); // a directory is no program either
        Prompter::QueueAnswer(QMessageBox::Ok);
        Click(Child<QPushButton>(dialog, "NewToolBtn"));
        Click(Child<QPushButton>(dialog, "NewToolBtn"));
        const QString message =
            QStringLiteral("Invalid File Type|Only executable programs may be used as Tools");
        QCOMPARE(Prompter::Asked(), (QStringList{message, message}));
        for (const Prompter::Box& box : Prompter::Boxes()) {
            QCOMPARE(box.icon, QMessageBox::Critical);
            QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        }
        QCOMPARE(tools.Count(), 0);
        QCOMPARE(Child<QListWidget>(dialog, "ToolsList")->count(), 0);
        QCOMPARE(images.Count(), count);

        // Cancelling the file dialog does nothing at all.
        Prompter::QueueFileName(QString());
        Click(Child<QPushButton>(dialog, "NewToolBtn"));
        QCOMPARE(Prompter::Asked().size(), 2);
    }

    void NewWithAProgramCreatesASelectedTool() {
        TToolItems tools;
        ImageLists images;
        ConnectToolIcons(tools, images);
        TOptionPages dialog(ini_, tools, images);
        const int count = images.Count();
        Prompter::QueueFileName(QStringLiteral("/bin/sh"));
        Click(Child<QPushButton>(dialog, "NewToolBtn"));
        QVERIFY(Prompter::Asked().isEmpty());
        QCOMPARE(tools.Count(), 1);
        const TToolItem* tool = tools.Items(0);
        QCOMPARE(tool->Description(), std::string("sh"));
        QCOMPARE(tool->FileName(), std::string("/bin/sh"));
        QCOMPARE(tool->Arguments(), std::string());
        QVERIFY(!tool->TakesAddress());
        QCOMPARE(tool->ImageIndex(), count); // its icon appended to the image lists
        QCOMPARE(images.Count(), count + 1);
        QCOMPARE(images.ToolIconIndex("/bin/sh"), count);

        auto* list = Child<QListWidget>(dialog, "ToolsList");
        QCOMPARE(list->count(), 1);
        QVERIFY(list->item(0)->isSelected());
        QCOMPARE(list->item(0)->text(), QStringLiteral("sh"));
        QCOMPARE(TOptionPages::ToolOf(list->item(0)), tool);
        QCOMPARE(Child<QLineEdit>(dialog, "Description")->text(), QStringLiteral("sh"));
        QCOMPARE(Child<QLineEdit>(dialog, "FilenameEdit")->text(), QStringLiteral("/bin/sh"));
        QVERIFY(!Child<QCheckBox>(dialog, "AddressCheckBox")->isChecked());
    }

    void AttributesActOnTheToolAtOnceAndTheFileNameReloadsTheIcon() {
        TToolItems tools;
        ImageLists images;
        ConnectToolIcons(tools, images);
        TToolItem* tool = tools.AddNew("Cat", "/bin/cat", "", false);
        const int index = tool->ImageIndex();
        const int count = images.Count();
        TOptionPages dialog(ini_, tools, images);
        QVERIFY(ShowActive(dialog));
        Child<QTabWidget>(dialog, "PageControl")->setCurrentIndex(1);
        auto* list = Child<QListWidget>(dialog, "ToolsList");
        ClickEntry(list, 0);
        auto* fileName = Child<QLineEdit>(dialog, "FilenameEdit");
        Type(fileName, QStringLiteral("/bin/ls"));
        QCOMPARE(tool->FileName(), std::string("/bin/cat")); // not yet: the edit is not left
        Type(Child<QLineEdit>(dialog, "Description"), QStringLiteral("List"));
        QCOMPARE(tool->FileName(), std::string("/bin/ls"));
        QCOMPARE(tool->ImageIndex(), index); // replaced in place
        QCOMPARE(images.Count(), count);
        Click(Child<QCheckBox>(dialog, "AddressCheckBox"));
        QCOMPARE(tool->Description(), std::string("List")); // taken with the check box
        QVERIFY(tool->TakesAddress());
        QCOMPARE(list->item(0)->text(), QStringLiteral("List"));
        // Each entry is 36 pixels high.
        QCOMPARE(list->visualItemRect(list->item(0)).height(), 36);
        dialog.reject();
        QCOMPARE(tool->Description(), std::string("List"));
    }

    void DeletingOneOfTwoToolsWithTheSameDescriptionRemovesTheFirst() {
        TToolItems tools;
        ImageLists images;
        tools.AddNew("Edit", "/bin/one", "", false);
        TToolItem* second = tools.AddNew("Edit", "/bin/two", "", false);
        TOptionPages dialog(ini_, tools, images);
        auto* list = Child<QListWidget>(dialog, "ToolsList");
        list->setCurrentRow(1);
        QCOMPARE(Child<QLineEdit>(dialog, "FilenameEdit")->text(), QStringLiteral("/bin/two"));
        Click(Child<QPushButton>(dialog, "DelToolBtn"));
        QCOMPARE(tools.Count(), 1);
        QCOMPARE(tools.Items(0), second);
        // The list keeps only entries of tools that exist.
        QCOMPARE(list->count(), 1);
        QCOMPARE(TOptionPages::ToolOf(list->item(0)), second);

        list->setCurrentRow(0);
        Click(Child<QPushButton>(dialog, "DelToolBtn"));
        QCOMPARE(tools.Count(), 0);
        QCOMPARE(list->count(), 0);
        QCOMPARE(Child<QLineEdit>(dialog, "Description")->text(), QString());
        Click(Child<QPushButton>(dialog, "DelToolBtn")); // nothing selected: nothing happens
    }

    void SelectPathPutsTheChosenFileIntoPath() {
        TToolItems tools;
        ImageLists images;
        TOptionPages dialog(ini_, tools, images);
        Prompter::QueueFileName(QStringLiteral("/usr/bin/env"));
        Click(Child<QPushButton>(dialog, "SelectPathBtn"));
        QCOMPARE(Child<QLineEdit>(dialog, "Path")->text(), QStringLiteral("/usr/bin/env"));
        Prompter::QueueFileName(QString());
        Click(Child<QPushButton>(dialog, "SelectPathBtn"));
        QCOMPARE(Child<QLineEdit>(dialog, "Path")->text(), QStringLiteral("/usr/bin/env"));
    }

    void ToolsMenusHoldOneEntryPerTool() {
        TToolItems tools;
        ImageLists images;
        ConnectToolIcons(tools, images);
        tools.AddNew("First", "/bin/true", "", false);
        tools.AddNew("Second", "/bin/false", "", false);
        QMenu popup;
        popup.addAction(QStringLiteral("&Show Popup"));
        popup.addSeparator();
        popup.addAction(QStringLiteral("old entry"));
        BuildToolsMenu(popup, 2, tools, &images);
        QStringList captions;
        for (const QAction* action : popup.actions()) {
            captions << action->text();
        }
        QCOMPARE(captions, (QStringList{"&Show Popup", "", "First", "Second"}));
        QVERIFY(!popup.actions()[2]->icon().isNull());

        QMenu tray;
        tools.Delete("First");
        BuildToolsMenu(tray, 0, tools);
        QCOMPARE(tray.actions().size(), 1);
        QCOMPARE(tray.actions()[0]->text(), QStringLiteral("Second"));
        popup.actions()[2]->trigger(); // a deleted tool's stale entry does nothing
    }

    // The menu's tools start as the outline's tool items do: a tool whose program is gone is
    // named in a warning rather than doing nothing.
    void StartProgramRunsTheToolInItsDirectoryAndReportsWhatCannotStart() {
        QStringList reports;
        platform::DesktopShell shell([&](const QString& text) { reports << text; });
        Services services;
        services.shell = &shell;
        const ScopedServices scoped(services);
        QTemporaryDir work;
        QVERIFY(work.isValid());
        const QString script = work.filePath(QStringLiteral("where"));
        const QString out = work.filePath(QStringLiteral("out.txt"));
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\npwd > out.txt\n");
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const TToolItem tool("Where", script.toStdString(), "", "0");
        QCOMPARE(Text(tool.WorkingDirectory()), work.path() + QLatin1Char('/'));
        StartProgram(tool);
        QTRY_VERIFY(QFile::exists(out) && QFileInfo(out).size() > 0);
        QFile result(out);
        QVERIFY(result.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(result.readAll()).trimmed(), QDir(work.path()).canonicalPath());
        QVERIFY2(reports.isEmpty(), qPrintable(reports.join(QLatin1Char('\n'))));

        const QString gone = work.filePath(QStringLiteral("nothing"));
        const TToolItem missing("Missing", gone.toStdString(), "", "0");
        StartProgram(missing);
        LaunchTool(missing, QStringLiteral("Ann Lee"));
        QCOMPARE(reports, QStringList(2, platform::NotFoundText(gone)));
    }
};

QTEST_MAIN(OptionPagesTest)
#include "OptionPagesTest.moc"
