// Every caption, key and hint of the main window's menus and bars, row by row, as the user
// reads and types them: the menus' own entries, the keys a Linux desktop adds (Ctrl+S, Ctrl+Q,
// Delete, F1 ...), the order of the entries, and no key bound to two commands.

#include "core/services.h"
#include "gui/common/ImageLists.h"
#include "gui/common/Prompter.h"
#include "gui/mainwindow/TMainForm.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include <memory>

using namespace quill;
using namespace quill::gui;

namespace {

QStringList Keys(const QAction& action) {
    QStringList keys;
    for (const QKeySequence& key : action.shortcuts()) {
        keys << key.toString(QKeySequence::PortableText);
    }
    return keys;
}

// The entry of menu whose caption is the first part of path, then of its submenu ...
QAction* EntryAt(const QList<QAction*>& entries, const QStringList& path) {
    for (QAction* entry : entries) {
        if (entry->isSeparator() || entry->text() != path.front()) {
            continue;
        }
        if (path.size() == 1) {
            return entry;
        }
        return entry->menu() ? EntryAt(entry->menu()->actions(), path.mid(1)) : nullptr;
    }
    return nullptr;
}

// A menu's entries as captions, "-" for a separator, "Caption>" for a submenu.
QStringList Captions(const QMenu& menu) {
    QStringList captions;
    for (const QAction* entry : menu.actions()) {
        captions << (entry->isSeparator() ? QStringLiteral("-")
                                          : entry->text() + (entry->menu() ? ">" : ""));
    }
    return captions;
}

} // namespace

class MainWindowTextsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    QString previousDir_;
    std::unique_ptr<ImageLists> images_;
    std::unique_ptr<TMainForm> form_;

    TMainForm& Form() { return *form_; }
    QMenu* MenuOfBar(const QString& caption) {
        QAction* entry = EntryAt(Form().menuBar()->actions(), {caption});
        return entry ? entry->menu() : nullptr;
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
        InstallServices({nullptr, nullptr, images_.get(), nullptr, form_.get()});
    }

    void cleanup() {
        form_.reset();
        InstallServices({});
        QVERIFY2(Prompter::Unanswered().isEmpty(), qPrintable(Prompter::Unanswered().join("; ")));
        QDir::setCurrent(previousDir_);
        dir_.reset();
    }

    // path: the captions from the menu bar (or "ListPopup") down to the entry.
    void menuEntries_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("hint");
        const auto row = [](const char* path, const char* name, QStringList keys,
                            const char* hint) {
            QTest::newRow(path) << QString::fromUtf8(path) << QString::fromLatin1(name) << keys
                                << QString::fromUtf8(hint);
        };
        row("&File/&New/&Folder", "NewFolderItem", {"Ctrl+L"}, "Create new folder");
        row("&File/&New/&Organization", "NewOrgItem", {"Ctrl+O"}, "Create new organization");
        row("&File/&New/&Team", "NewTeamItem", {"Ctrl+T"}, "Create new team");
        row("&File/&New/&Person", "NewPersonItem", {"Ctrl+P"}, "Create new person");
        row("&File/&New/&Website", "NewWebsiteItem", {"Ctrl+W"}, "Create new Website");
        row("&File/&New/&Get Browser URL", "GetUrlBtn", {"Ctrl+G"},
            "Capture the URL of the current page from your Web Browser");
        row("&File/&Import...", "ImportItem", {}, "Import data from another file type");
        row("&File/P&ublish...", "PublishItem", {},
            "Export your data for use by other people or other programs");
        row("&File/&Save", "Save1", {"Ctrl+S"}, "Save all data now");
        row("&File/R&evert", "Revert1", {}, "Revert to previously saved data");
        row("&File/&Print...", "PrintItem", {}, nullptr);
        row("&File/P&rinter Setup...", "PrinterSetupItem", {}, "Set printer options");
        row("&File/E&xit", "ExitItem", {"Alt+X", "Ctrl+Q"}, "Exit application");
        row("&Edit/Cu&t", "Cut1", {"Ctrl+X"}, "Cut selected items and place on the clipboard");
        row("&Edit/&Copy", "Copy1", {"Ctrl+C"}, "Copy selected items to the clipboard");
        row("&Edit/&Paste", "Paste1", {"Ctrl+V"}, "Paste data from the clipboard");
        row("&Edit/&Delete", "Delete1", {"Shift+Del", "Del"}, "Delete the selected item(s)");
        row("&Edit/&Select All", "SelectAll1", {}, "");
        row("&Edit/&Find", "FindItem", {"F3"},
            "Search for item with title containing text specified in \"Find\"");
        row("&View/&Toolbar", "ToolbarItem", {}, "Show or hide the main toolbar");
        row("&View/&Status Bar", "StatusbarItem", {}, "Show or hide the main status bar");
        row("&View/&New Item Bar", "NewItemBarItem", {},
            "Show or hide the toolbar for creating new items");
        row("&View/Lar&ge Icons", "ViewItem1", {}, "Change icon view for right-hand pane");
        row("&View/S&mall Icons", "ViewItem2", {}, "Change icon view for right-hand pane");
        row("&View/&List", "ViewItem3", {}, "Change icon view for right-hand pane");
        row("&View/&Details", "ViewItem4", {}, "Change icon view for right-hand pane");
        row("&View/&Options...", "OptionsItem", {}, "Set program options");
        row("&Help/&Contents", "Contents1", {}, "");
        row("&Help/&On the Web/&Orvane Home", "OrvaneHome", {}, "");
        row("&Help/&On the Web/&Quillmere Info", "QuillmereInfo", {}, "");
        row("&Help/&On the Web/&Tech Support", "TechSupport", {}, "");
        row("&Help/&About...", "About1", {}, "");
        row("ListPopup/&Open", "ListPaneOpen", {}, "");
        row("ListPopup/Send &Mail", "ListPaneMail", {}, "");
        row("ListPopup/Send &Fax", "ListPaneFax", {}, "");
        row("ListPopup/&Dial", "ListPaneDial", {}, "");
        row("ListPopup/&Browse", "ListPaneBrowse", {}, "");
        row("ListPopup/&Advance Date", "ListPaneAdvance", {}, "");
        row("ListPopup/&Launch", "ListPaneLaunch", {}, "");
        row("ListPopup/&New/&Address", "NewAddrItem", {"Ctrl+A"}, "");
        row("ListPopup/&New/&E-Mail", "NewEMailItem", {"Ctrl+E"}, "");
        row("ListPopup/&New/&Phone", "NewPhoneItem", {"Ctrl+N"}, "");
        row("ListPopup/&New/&Fax", "NewFaxItem", {"Ctrl+F"}, "");
        row("ListPopup/&New/&Website", "NewWebsiteItem", {"Ctrl+W"}, "Create new Website");
        row("ListPopup/&New/&Reminder", "NewReminderItem", {"Ctrl+R"}, "");
        row("ListPopup/&New/&Document", "NewDocItem", {"Ctrl+D"}, "");
        row("ListPopup/&Edit/Cu&t", "ListPaneCut", {}, "");
        row("ListPopup/&Edit/&Copy", "ListPaneCopy", {}, "");
        row("ListPopup/&Edit/&Delete", "ListPaneDelete", {}, "");
        row("ListPopup/&Edit/&Rename", "ListPaneRename", {}, "");
        row("ListPopup/&Properties", "ListPaneProps", {}, "");
    }

    void menuEntries() {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QFETCH(QStringList, keys);
        QFETCH(QString, hint);
        QStringList parts = path.split(QLatin1Char('/'));
        const QList<QAction*> top = parts.front() == QStringLiteral("ListPopup")
                                        ? Form().ListPopup()->actions()
                                        : Form().menuBar()->actions();
        if (parts.front() == QStringLiteral("ListPopup")) {
            parts.removeFirst();
        }
        QAction* entry = EntryAt(top, parts);
        QVERIFY2(entry, qPrintable(path));
        QCOMPARE(entry->objectName(), name);
        QCOMPARE(Keys(*entry), keys);
        if (!hint.isNull()) {
            // The status line shows the whole hint; a bar in a hint would split it.
            QCOMPARE(entry->statusTip(), hint);
        }
        if (!keys.isEmpty()) {
            // Window-wide: the keys work whichever pane or box has the focus.
            QVERIFY(Form().actions().contains(entry));
            QCOMPARE(entry->shortcutContext(), Qt::WindowShortcut);
        }
    }

    void theMenusHoldTheirEntriesInOrder() {
        QStringList bar;
        for (const QAction* menu : Form().menuBar()->actions()) {
            bar << menu->text();
        }
        QCOMPARE(bar, (QStringList{"&File", "&Edit", "&View", "&Help"}));
        QMenu* file = MenuOfBar(QStringLiteral("&File"));
        QMenu* edit = MenuOfBar(QStringLiteral("&Edit"));
        QMenu* view = MenuOfBar(QStringLiteral("&View"));
        QMenu* help = MenuOfBar(QStringLiteral("&Help"));
        QVERIFY(file && edit && view && help);
        QCOMPARE(Captions(*file),
                 (QStringList{"&New>", "&Import...", "P&ublish...", "-", "&Save", "R&evert", "-",
                              "&Print...", "P&rinter Setup...", "-", "E&xit"}));
        QAction* fileNew = EntryAt(file->actions(), {QStringLiteral("&New")});
        QVERIFY(fileNew && fileNew->menu());
        QCOMPARE(Captions(*fileNew->menu()),
                 (QStringList{"&Folder", "&Organization", "&Team", "&Person", "&Website", "-",
                              "&Get Browser URL"}));
        QCOMPARE(Captions(*edit),
                 (QStringList{"Cu&t", "&Copy", "&Paste", "&Delete", "-", "&Select All", "&Find"}));
        QCOMPARE(Captions(*view),
                 (QStringList{"&Toolbar", "&Status Bar", "&New Item Bar", "-", "Lar&ge Icons",
                              "S&mall Icons", "&List", "&Details", "-", "&Options..."}));
        QCOMPARE(Captions(*help),
                 (QStringList{"&Contents", "-", "&On the Web>", "-", "&About..."}));
        QCOMPARE(
            Captions(*Form().ListPopup()),
            (QStringList{"&Open", "Send &Mail", "Send &Fax", "&Dial", "&Browse", "&Advance Date",
                         "&Launch", "-", "&New>", "&Edit>", "-", "&Properties"}));
        QAction* popupNew = EntryAt(Form().ListPopup()->actions(), {QStringLiteral("&New")});
        QVERIFY(popupNew && popupNew->menu());
        QCOMPARE(Captions(*popupNew->menu()), (QStringList{"&Address", "&E-Mail", "&Phone", "&Fax",
                                                           "&Website", "&Reminder", "&Document"}));
    }

    void theViewMenuStartsMarked() {
        for (const char* name : {"ToolbarItem", "StatusbarItem", "NewItemBarItem", "ViewItem1"}) {
            QAction* entry = Form().Action(QLatin1String(name));
            QVERIFY2(entry, name);
            QVERIFY2(entry->isCheckable() && entry->isChecked(), name);
        }
        for (const char* name : {"ViewItem2", "ViewItem3", "ViewItem4"}) {
            QAction* entry = Form().Action(QLatin1String(name));
            QVERIFY2(entry, name);
            QVERIFY2(entry->isCheckable() && !entry->isChecked(), name);
            QVERIFY2(entry->actionGroup() && entry->actionGroup()->isExclusive(), name);
        }
    }

    // The tooltip is the part of the hint before "|", the status line's hint the part after.
    void toolbarButtons_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QStringList>("keys");
        const auto row = [](const char* name, const char* tip, const char* hint,
                            QStringList keys = {}) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(tip)
                                << QString::fromUtf8(hint) << keys;
        };
        row("ImportBtn", "Import", "Import data from another file type");
        row("PublishBtn", "Publish", "Export your data for use by other people or other programs");
        row("PrintBtn", "Print", "Print");
        row("FilterBtn1", "Filter", "Show items matching ANY selected category", {"Ctrl+Shift+A"});
        row("FilterBtn2", "Filter", "Show items matching ALL selected categories",
            {"Ctrl+Shift+L"});
        row("CutBtn", "Cut", "Cut selected items and place on the clipboard");
        row("CopyBtn", "Copy", "Copy selected items to the clipboard");
        row("PasteBtn", "Paste", "Paste data from the clipboard");
        row("DeleteBtn", "Delete", "Delete the selected item(s)");
        row("ViewTypeBtn1", "Large Icons", "Change right-hand pane to large icon view");
        row("ViewTypeBtn2", "Small Icons", "Change right-hand pane to small icon view");
        row("ViewTypeBtn3", "List", "Change right-hand pane to list view");
        row("ViewTypeBtn4", "Details", "Change right-hand pane to detail view");
        row("GetUrlBtn", "Get Browser URL",
            "Capture the URL of the current page from your Web Browser", {"Ctrl+G"});
        row("HelpBtn", "Help", "Help");
        row("WinZoomBtn", "Toggle window settings", "Toggle window settings", {"Ctrl+M"});
        row("UpOneBtn", "Up one level", "Up one level", {"Alt+Up"});
        // Keys without a menu entry or button of their own.
        row("HelpTopic", "", "", {"F1"});
        row("ToolsMenuKey", "", "", {"Alt+T"});
    }

    void toolbarButtons() {
        QFETCH(QString, name);
        QFETCH(QString, tip);
        QFETCH(QString, hint);
        QFETCH(QStringList, keys);
        QAction* button = Form().Action(name);
        QVERIFY2(button, qPrintable(name));
        QCOMPARE(button->toolTip().isEmpty() ? QString() : button->toolTip(),
                 tip.isEmpty() ? QString() : tip);
        QCOMPARE(button->statusTip(), hint);
        QCOMPARE(Keys(*button), keys);
        QVERIFY(Form().actions().contains(button));
    }

    void theToolbarsHoldTheirButtonsInOrder() {
        auto* speed = Form().findChild<QToolBar*>(QStringLiteral("SpeedPanel"));
        auto* newItems = Form().findChild<QToolBar*>(QStringLiteral("NewItemPanel"));
        QVERIFY(speed && newItems);
        QStringList names;
        for (QAction* a : speed->actions()) {
            QWidget* widget = speed->widgetForAction(a);
            names << (a->isSeparator()                      ? QStringLiteral("-")
                      : a->objectName().isEmpty() && widget ? widget->objectName()
                                                            : a->objectName());
        }
        QCOMPARE(names, (QStringList{"ImportBtn",
                                     "PublishBtn",
                                     "PrintBtn",
                                     "-",
                                     "FilterBtn1",
                                     "FilterBtn2",
                                     "-",
                                     "CutBtn",
                                     "CopyBtn",
                                     "PasteBtn",
                                     "DeleteBtn",
                                     "-",
                                     "ViewTypeBtn1",
                                     "ViewTypeBtn2",
                                     "ViewTypeBtn3",
                                     "ViewTypeBtn4",
                                     "-",
                                     "PopupButton1",
                                     "GetUrlBtn",
                                     "HelpBtn"}));
        auto* tools = speed->findChild<QToolButton*>(QStringLiteral("PopupButton1"));
        QVERIFY(tools);
        QCOMPARE(tools->toolTip(), QStringLiteral("Tools Menu"));
        QCOMPARE(tools->menu(), Form().ToolsPopup());
        QAction* largeIcons = Form().Action("ViewTypeBtn1");
        QVERIFY(largeIcons && largeIcons->isChecked());

        // The new-item bar: caption and hint of each button, left to right.
        const QList<QPair<QString, QString>> expected{
            {"Folder", "New Folder"},      {"Org", "New Organization"},
            {"Team", "New Team"},          {"Person", "New Person"},
            {"Web", "New Website"},        {"Addr", "New Address"},
            {"Phone", "New Phone Number"}, {"E-mail", "New E-mail Address"},
            {"Fax", "New Fax Number"},     {"Remind", "New Reminder"}};
        QList<QPair<QString, QString>> actual;
        for (QAction* a : newItems->actions()) {
            actual << qMakePair(a->text(), a->statusTip());
            QCOMPARE(a->toolTip(), a->statusTip());
        }
        QCOMPARE(actual, expected);
    }

    void noKeyIsBoundToTwoCommands() {
        // Qt runs neither command of an ambiguous key.
        QHash<QString, QString> owner;
        for (QAction* a : Form().findChildren<QAction*>()) {
            for (const QString& key : Keys(*a)) {
                const QString name = a->objectName();
                QVERIFY2(!owner.contains(key) || owner.value(key) == name,
                         qPrintable(key + " on " + owner.value(key) + " and " + name));
                owner.insert(key, name);
            }
        }
        QVERIFY(owner.size() >= 25);
    }

    void theExitKeysEndTheProgramFromEitherPane() {
        QSignalSpy exits(&Form(), &TMainForm::exitRequested);
        Form().show();
        Form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Form()));
        Form().FoldersView()->setFocus();
        QTest::keyClick(Form().FoldersView(), Qt::Key_X, Qt::AltModifier);
        QCOMPARE(exits.size(), 1);
        Form().ListView()->setFocus();
        QTest::keyClick(Form().ListView(), Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(exits.size(), 2);
    }
};

QTEST_MAIN(MainWindowTextsTest)
#include "MainWindowTextsTest.moc"
