// The main window's construction: actions, menus, bars, panes, and the views' state.

#include "gui/mainwindow/TMainForm.h"

#include "platform/Utf8Text.h"

#include "core/comm/browser_dde.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/storage/recovery_files.h"
#include "gui/common/CategoryList.h"
#include "gui/common/Help.h"
#include "gui/common/ImageLists.h"
#include "gui/common/Pictures.h"
#include "gui/common/Prompter.h"
#include "gui/mainwindow/Autosaver.h"
#include "gui/mainwindow/ContentsListModel.h"
#include "gui/mainwindow/EntryViews.h"
#include "gui/mainwindow/OptionPages.h"
#include "gui/mainwindow/OutlineTreeModel.h"
#include "gui/mainwindow/ToolsMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace quill::gui {
namespace {

constexpr int kDefaultTreeWidth = 201;

// The icon theme's picture when the desktop has one, else the bundled one; without a theme
// name always the bundled one (the two filter buttons must differ whatever the theme).
QIcon ThemeIcon(const char* name, const char* bundled) {
    const QIcon own = CommandPicture(QLatin1String(bundled));
    return name ? QIcon::fromTheme(QLatin1String(name), own) : own;
}

// "Tip | Long hint": the part before the bar is the tooltip, the part after it the status
// line's hint; without a bar both are the whole text.
void SetHint(QAction* action, const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    if (bar < 0) {
        action->setToolTip(hint);
        action->setStatusTip(hint);
        return;
    }
    action->setToolTip(hint.left(bar).trimmed());
    action->setStatusTip(hint.mid(bar + 1).trimmed());
}

} // namespace

TMainForm::TMainForm(ImageLists& images, const std::string& dataFile, const std::string& iniPath,
                     QWidget* parent)
    : QMainWindow(parent), images_(images), dataFile_(dataFile), iniPath_(iniPath) {
    setObjectName(QStringLiteral("TMainForm"));
    // Another start finds the running window by this caption; it never changes.
    setWindowTitle(QStringLiteral("Quillmere:"));
    setAcceptDrops(false);

    treeModel_ = std::make_unique<OutlineTreeModel>(outline_);
    contents_ = std::make_unique<ContentsListModel>(outline_);
    treeModel_->SetImageLists(&images_);
    contents_->SetImageLists(&images_);
    contents_->SetTitleEdited([this](TNRBObject*) { RefreshFolderTitles(); });
    // A renamed selected node (edited in the tree, or renamed through its list entry) is
    // named anew in the contents title and the tray's path at once.
    connect(treeModel_.get(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& first, const QModelIndex& last) {
                const QModelIndex current = treeModel_->IndexOf(SelectedNode());
                if (current.isValid() && current.parent() == first.parent() &&
                    current.row() >= first.row() && current.row() <= last.row()) {
                    ShowContentsTitle(SelectedNode());
                }
            });

    BuildActions();
    BuildMenus();
    BuildToolbars();
    BuildPanes();
    BuildPopup();

    connect(&searchTime_, &DelayTimer::timeout, this, &TMainForm::SearchTimeTimer);

    // The layouts, the tools and the category names from the settings file.
    winState_ = std::make_unique<TMainWinState>(*this, iniPath_);
    ConnectToolIcons(tools_, images_);
    tools_.Load(iniPath_);
    QStringList names;
    for (const std::string& name : ReadCategoryNames(iniPath_)) {
        names << QString::fromStdString(name);
    }
    SetCategoryNames(names);
    BuildToolsMenus();

    // The root, then the data file under it.
    TOutlineNode* root = outline_.CreateRoot();
    FileResult loaded = dataFile_.LoadDataFile(outline_);
    if (!loaded) {
        ShowFileProblem(loaded);
    }
    folders_->expand(treeModel_->IndexOf(root));
    SelectNode(root);
    SetActivePane(Pane::Folders);
    // The keys go to the active pane when the window first shows, not to whichever control
    // comes first in the tab order.
    folders_->setFocus();
    winState_->Apply();
    // Watching starts with the outline as the file gave it.
    autosaver_ = std::make_unique<Autosaver>(outline_, AutosavePath(dataFile_.Path()));
}

TMainForm::~TMainForm() {
    Shutdown();
    autosaver_.reset();
    // The views go before the models they show.
    delete centralWidget();
}

QAction* TMainForm::MakeAction(const QString& name, const QString& text, const QString& hint,
                               const QKeySequence& shortcut) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    if (!hint.isEmpty()) {
        SetHint(action, hint);
    }
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
    }
    addAction(action);
    return action;
}

QAction* TMainForm::Action(const QString& name) const {
    return findChild<QAction*>(name);
}

void TMainForm::BuildActions() {
    const auto on = [this](QAction* a, auto method) {
        connect(a, &QAction::triggered, this, [this, method] { (this->*method)(); });
    };
    // File
    on(MakeAction("NewFolderItem", "&Folder", "Create new folder", QKeySequence("Ctrl+L")),
       &TMainForm::OnNewFolder);
    on(MakeAction("NewOrgItem", "&Organization", "Create new organization", QKeySequence("Ctrl+O")),
       &TMainForm::OnNewOrg);
    on(MakeAction("NewTeamItem", "&Team", "Create new team", QKeySequence("Ctrl+T")),
       &TMainForm::OnNewTeam);
    on(MakeAction("NewPersonItem", "&Person", "Create new person", QKeySequence("Ctrl+P")),
       &TMainForm::OnNewPerson);
    on(MakeAction("NewWebsiteItem", "&Website", "Create new Website", QKeySequence("Ctrl+W")),
       &TMainForm::OnNewWebsite);
    on(MakeAction("ImportItem", "&Import...", "Import data from another file type"),
       &TMainForm::ImportBtnClick);
    on(MakeAction("PublishItem", "P&ublish...",
                  "Export your data for use by other people or other programs"),
       &TMainForm::PublishBtnClick);
    // Beyond the menus' own keys, the desktop's usual ones: Ctrl+S saves, Ctrl+Q ends.
    on(MakeAction("Save1", "&Save", "Save all data now", QKeySequence("Ctrl+S")),
       &TMainForm::Save1Click);
    on(MakeAction("Revert1", "R&evert", "Revert to previously saved data"),
       &TMainForm::Revert1Click);
    on(MakeAction("PrintItem", "&Print...", "Print"), &TMainForm::PrintBtnClick);
    connect(MakeAction("PrinterSetupItem", "P&rinter Setup...", "Set printer options"),
            &QAction::triggered, this, &TMainForm::PrinterSetupItemClick);
    QAction* exitItem = MakeAction("ExitItem", "E&xit", "Exit application", QKeySequence("Alt+X"));
    exitItem->setShortcuts({QKeySequence("Alt+X"), QKeySequence("Ctrl+Q")});
    connect(exitItem, &QAction::triggered, this, &TMainForm::exitRequested);

    // Edit
    connect(MakeAction("Cut1", "Cu&t", "Cut selected items and place on the clipboard",
                       QKeySequence("Ctrl+X")),
            &QAction::triggered, this, &TMainForm::CutBtnClick);
    on(MakeAction("Copy1", "&Copy", "Copy selected items to the clipboard", QKeySequence("Ctrl+C")),
       &TMainForm::CopyBtnClick);
    on(MakeAction("Paste1", "&Paste", "Paste data from the clipboard", QKeySequence("Ctrl+V")),
       &TMainForm::PasteBtnClick);
    // The plain Delete key deletes too, with the same question; a text box that has the
    // focus keeps the key for itself.
    QAction* deleteItem =
        MakeAction("Delete1", "&Delete", "Delete the selected item(s)", QKeySequence("Shift+Del"));
    deleteItem->setShortcuts({QKeySequence("Shift+Del"), QKeySequence(Qt::Key_Delete)});
    connect(deleteItem, &QAction::triggered, this, [this] { DeleteBtnClick(false); });
    on(MakeAction("SelectAll1", "&Select All", {}), &TMainForm::SelectAll1Click);
    connect(MakeAction("FindItem", "&Find",
                       "Search for item with title containing text specified in \"Find\"",
                       QKeySequence(Qt::Key_F3)),
            &QAction::triggered, this, [this] {
                if (!findEdit_->text().isEmpty()) {
                    Locate(findEdit_->text());
                } else {
                    findEdit_->setFocus(); // with nothing to find, the box is where to type it
                }
            });

    // View
    QAction* toolbar = MakeAction("ToolbarItem", "&Toolbar", "Show or hide the main toolbar");
    QAction* statusbar =
        MakeAction("StatusbarItem", "&Status Bar", "Show or hide the main status bar");
    QAction* newbar = MakeAction("NewItemBarItem", "&New Item Bar",
                                 "Show or hide the toolbar for creating new items");
    for (QAction* a : {toolbar, statusbar, newbar}) {
        a->setCheckable(true);
        a->setChecked(true);
    }
    connect(toolbar, &QAction::toggled, this, [this](bool on) { speedPanel_->setVisible(on); });
    connect(statusbar, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
    connect(newbar, &QAction::toggled, this, [this](bool on) { newItemPanel_->setVisible(on); });

    viewMenuGroup_ = new QActionGroup(this);
    viewButtonGroup_ = new QActionGroup(this);
    const char* menuTexts[] = {"Lar&ge Icons", "S&mall Icons", "&List", "&Details"};
    const char* buttonHints[] = {"Large Icons | Change right-hand pane to large icon view",
                                 "Small Icons | Change right-hand pane to small icon view",
                                 "List | Change right-hand pane to list view",
                                 "Details | Change right-hand pane to detail view"};
    const char* buttonPictures[] = {"view-large-icons", "view-small-icons", "view-list",
                                    "view-details"};
    const char* buttonThemes[] = {"view-list-icons", "view-list-compact", "view-list-text",
                                  "view-list-details"};
    for (int style = 1; style <= 4; ++style) {
        QAction* entry =
            MakeAction(QStringLiteral("ViewItem%1").arg(style), QLatin1String(menuTexts[style - 1]),
                       "Change icon view for right-hand pane");
        QAction* button =
            MakeAction(QStringLiteral("ViewTypeBtn%1").arg(style), {}, buttonHints[style - 1]);
        button->setText(button->toolTip());
        button->setIcon(ThemeIcon(buttonThemes[style - 1], buttonPictures[style - 1]));
        for (QAction* a : {entry, button}) {
            a->setCheckable(true);
            a->setData(style);
            connect(a, &QAction::triggered, this, [this, style] { SetViewStyle(style); });
        }
        viewMenuGroup_->addAction(entry);
        viewButtonGroup_->addAction(button);
    }
    on(MakeAction("OptionsItem", "&Options...", "Set program options"),
       &TMainForm::OptionsItemClick);

    // Help
    connect(MakeAction("Contents1", "&Contents", {}), &QAction::triggered, this,
            [] { OpenHelpContents(); });
    // The maker's pages open through the browser link, which starts the browser if need be.
    const auto web = [this](const char* name, const char* text, const char* address) {
        connect(MakeAction(name, text, {}), &QAction::triggered, this, [address] {
            TBrowserDDE& browser = *CurrentServices().browser;
            browser.AutoLoad = true;
            browser.OpenURL(address);
        });
    };
    web("OrvaneHome", "&Orvane Home", "https://quillmere.org/");
    web("QuillmereInfo", "&Quillmere Info", "https://quillmere.org/about/");
    web("TechSupport", "&Tech Support", "https://quillmere.org/support/");
    on(MakeAction("About1", "&About...", {}), &TMainForm::ShowAbout);

    // Buttons of their own: the toolbar's, with hints of their own.
    auto button = [this](const char* name, const char* hint, const char* theme,
                         const char* fallback) {
        QAction* a = MakeAction(QLatin1String(name), {}, QLatin1String(hint));
        a->setText(a->toolTip());
        a->setIcon(ThemeIcon(theme, fallback));
        return a;
    };
    on(button("ImportBtn", "Import | Import data from another file type", "document-import",
              "import"),
       &TMainForm::ImportBtnClick);
    on(button("PublishBtn", "Publish | Export your data for use by other people or other programs",
              "document-export", "publish"),
       &TMainForm::PublishBtnClick);
    on(button("PrintBtn", "Print", "document-print", "print"), &TMainForm::PrintBtnClick);
    QAction* anyFilter = button("FilterBtn1", "Filter|Show items matching ANY selected category",
                                nullptr, "filter-any");
    QAction* allFilter = button("FilterBtn2", "Filter|Show items matching ALL selected categories",
                                nullptr, "filter-all");
    anyFilter->setText(QStringLiteral("Any"));
    allFilter->setText(QStringLiteral("All"));
    for (QAction* a : {anyFilter, allFilter}) {
        a->setCheckable(true);
    }
    // One group in which at most one is down and both may be up.
    connect(anyFilter, &QAction::triggered, this,
            [this](bool down) { FilterBtnClick(FilterMode::Any, down); });
    connect(allFilter, &QAction::triggered, this,
            [this](bool down) { FilterBtnClick(FilterMode::All, down); });
    connect(
        button("CutBtn", "Cut | Cut selected items and place on the clipboard", "edit-cut", "cut"),
        &QAction::triggered, this, &TMainForm::CutBtnClick);
    on(button("CopyBtn", "Copy | Copy selected items to the clipboard", "edit-copy", "copy"),
       &TMainForm::CopyBtnClick);
    on(button("PasteBtn", "Paste | Paste data from the clipboard", "edit-paste", "paste"),
       &TMainForm::PasteBtnClick);
    connect(button("DeleteBtn", "Delete | Delete the selected item(s)", "edit-delete", "delete"),
            &QAction::triggered, this, [this] { DeleteBtnClick(false); });
    QAction* getUrl = button("GetUrlBtn",
                             "Get Browser URL | Capture the URL of the current page from your Web "
                             "Browser",
                             "applications-internet", "get-url");
    on(getUrl, &TMainForm::GetUrlBtnClick);
    connect(button("HelpBtn", "Help", "help-contents", "help"), &QAction::triggered, this,
            [] { OpenHelpContents(); });
    QAction* winZoom =
        button("WinZoomBtn", "Toggle window settings", "view-restore", "toggle-layout");
    connect(winZoom, &QAction::triggered, this, &TMainForm::WinZoomBtnClick);
    QAction* upOne = button("UpOneBtn", "Up one level", "go-up", "up-one-level");
    on(upOne, &TMainForm::UpOneBtnClick);

    // The keyboard reaches what only a button offers. Get Browser URL is also an entry of the
    // File menu; the window's help topic is on F1.
    getUrl->setText(QStringLiteral("&Get Browser URL"));
    getUrl->setShortcut(QKeySequence("Ctrl+G"));
    anyFilter->setShortcut(QKeySequence("Ctrl+Shift+A"));
    allFilter->setShortcut(QKeySequence("Ctrl+Shift+L"));
    winZoom->setShortcut(QKeySequence("Ctrl+M"));
    upOne->setShortcut(QKeySequence("Alt+Up"));
    connect(MakeAction("HelpTopic", {}, {}, QKeySequence::HelpContents), &QAction::triggered, this,
            [] { OpenHelpTopic(kMainWindowHelp); });
    connect(MakeAction("ToolsMenuKey", {}, {}, QKeySequence("Alt+T")), &QAction::triggered, this,
            [this] {
                auto* tools = findChild<QToolButton*>(QStringLiteral("PopupButton1"));
                if (tools && tools->isVisible()) {
                    tools->showMenu();
                } else {
                    toolsPopup_->popup(mapToGlobal(QPoint(0, 0)));
                }
            });

    // The new-item bar: the kinds' own pictures, captioned.
    struct NewButton {
        const char* name;
        const char* caption;
        const char* hint;
        int image;
        void (TMainForm::*command)();
    };
    const NewButton newButtons[] = {
        {"NewFolderBtn", "Folder", "New Folder", kFolderKind, &TMainForm::OnNewFolder},
        {"NewOrgBtn", "Org", "New Organization", kOrganizationKind, &TMainForm::OnNewOrg},
        {"NewTeamBtn", "Team", "New Team", kTeamKind, &TMainForm::OnNewTeam},
        {"NewPersonBtn", "Person", "New Person", kPersonKind, &TMainForm::OnNewPerson},
        {"NewWebBtn", "Web", "New Website", kWebsiteKind, &TMainForm::OnNewWebsite},
        {"NewAddrBtn", "Addr", "New Address", kAddressKind, &TMainForm::OnNewAddr},
        {"NewPhoneBtn", "Phone", "New Phone Number", kPhoneKind, &TMainForm::OnNewPhone},
        {"NewEMailBtn", "E-mail", "New E-mail Address", kEMailKind, &TMainForm::OnNewEMail},
        {"NewFaxBtn", "Fax", "New Fax Number", kFaxKind, &TMainForm::OnNewFax},
        {"NewDateBtn", "Remind", "New Reminder", kReminderKind, &TMainForm::NewDateBtnClick},
    };
    for (const NewButton& b : newButtons) {
        QAction* a =
            MakeAction(QLatin1String(b.name), QLatin1String(b.caption), QLatin1String(b.hint));
        a->setIcon(images_.Icon(b.image));
        on(a, b.command);
    }

    // The popup's New entries (their shortcuts work from anywhere in the window).
    on(MakeAction("NewAddrItem", "&Address", {}, QKeySequence("Ctrl+A")), &TMainForm::OnNewAddr);
    on(MakeAction("NewEMailItem", "&E-Mail", {}, QKeySequence("Ctrl+E")), &TMainForm::OnNewEMail);
    on(MakeAction("NewPhoneItem", "&Phone", {}, QKeySequence("Ctrl+N")), &TMainForm::OnNewPhone);
    on(MakeAction("NewFaxItem", "&Fax", {}, QKeySequence("Ctrl+F")), &TMainForm::OnNewFax);
    on(MakeAction("NewReminderItem", "&Reminder", {}, QKeySequence("Ctrl+R")),
       &TMainForm::NewDateBtnClick);
    on(MakeAction("NewDocItem", "&Document", {}, QKeySequence("Ctrl+D")), &TMainForm::DocItemClick);
    QAction* popupCut = MakeAction("ListPaneCut", "Cu&t", {});
    connect(popupCut, &QAction::triggered, this, &TMainForm::CutBtnClick);
    on(MakeAction("ListPaneCopy", "&Copy", {}), &TMainForm::CopyBtnClick);
    connect(MakeAction("ListPaneDelete", "&Delete", {}), &QAction::triggered, this,
            [this] { DeleteBtnClick(false); });
    on(MakeAction("ListPaneRename", "&Rename", {}), &TMainForm::ListPaneRenameClick);
    on(MakeAction("ListPaneProps", "&Properties", {}), &TMainForm::ListPanePropsClick);
    on(MakeAction("ListPaneOpen", "&Open", {}), &TMainForm::ListPaneOpenClick);
    // The item's action entries: the current item's operation, no refresh afterwards.
    struct ItemAction {
        const char* name;
        const char* text;
        void (*run)(TNRBObject&);
    };
    const ItemAction itemActions[] = {
        {"ListPaneMail", "Send &Mail", [](TNRBObject& i) { i.SendMail(""); }},
        {"ListPaneFax", "Send &Fax", [](TNRBObject& i) { i.SendFax(""); }},
        {"ListPaneDial", "&Dial", [](TNRBObject& i) { i.Dial(); }},
        {"ListPaneBrowse", "&Browse", [](TNRBObject& i) { i.Browse(); }},
        {"ListPaneAdvance", "&Advance Date", [](TNRBObject& i) { i.AdvanceDate(); }},
        {"ListPaneLaunch", "&Launch", [](TNRBObject& i) { i.Launch(); }},
    };
    for (const ItemAction& ia : itemActions) {
        auto run = ia.run;
        connect(MakeAction(QLatin1String(ia.name), QLatin1String(ia.text), {}), &QAction::triggered,
                this, [this, run] {
                    if (TNRBObject* item = CurrentItem()) {
                        run(*item);
                    }
                });
    }
    on(MakeAction("ShowPopupItem", "&Show Popup", {}), &TMainForm::ToolsBtnClick);
}

void TMainForm::BuildMenus() {
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    QMenu* fileNew = file->addMenu(QStringLiteral("&New"));
    for (const char* name :
         {"NewFolderItem", "NewOrgItem", "NewTeamItem", "NewPersonItem", "NewWebsiteItem"}) {
        fileNew->addAction(Action(QLatin1String(name)));
    }
    fileNew->addSeparator();
    fileNew->addAction(Action("GetUrlBtn"));
    file->addAction(Action("ImportItem"));
    file->addAction(Action("PublishItem"));
    file->addSeparator();
    file->addAction(Action("Save1"));
    file->addAction(Action("Revert1"));
    file->addSeparator();
    file->addAction(Action("PrintItem"));
    file->addAction(Action("PrinterSetupItem"));
    file->addSeparator();
    file->addAction(Action("ExitItem"));

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    for (const char* name : {"Cut1", "Copy1", "Paste1", "Delete1"}) {
        edit->addAction(Action(QLatin1String(name)));
    }
    edit->addSeparator();
    edit->addAction(Action("SelectAll1"));
    edit->addAction(Action("FindItem"));

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    view->addAction(Action("ToolbarItem"));
    view->addAction(Action("StatusbarItem"));
    view->addAction(Action("NewItemBarItem"));
    view->addSeparator();
    for (int style = 1; style <= 4; ++style) {
        view->addAction(Action(QStringLiteral("ViewItem%1").arg(style)));
    }
    view->addSeparator();
    view->addAction(Action("OptionsItem"));

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->addAction(Action("Contents1"));
    help->addSeparator();
    QMenu* web = help->addMenu(QStringLiteral("&On the Web"));
    web->addAction(Action("OrvaneHome"));
    web->addAction(Action("QuillmereInfo"));
    web->addAction(Action("TechSupport"));
    help->addSeparator();
    help->addAction(Action("About1"));
}

void TMainForm::BuildToolbars() {
    speedPanel_ = new QToolBar(QStringLiteral("Toolbar"), this);
    speedPanel_->setObjectName(QStringLiteral("SpeedPanel"));
    speedPanel_->setMovable(false);
    speedPanel_->setIconSize(QSize(20, 20));
    speedPanel_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const char* name : {"ImportBtn", "PublishBtn", "PrintBtn"}) {
        speedPanel_->addAction(Action(QLatin1String(name)));
    }
    speedPanel_->addSeparator();
    speedPanel_->addAction(Action("FilterBtn1"));
    speedPanel_->addAction(Action("FilterBtn2"));
    speedPanel_->addSeparator();
    for (const char* name : {"CutBtn", "CopyBtn", "PasteBtn", "DeleteBtn"}) {
        speedPanel_->addAction(Action(QLatin1String(name)));
    }
    speedPanel_->addSeparator();
    for (int style = 1; style <= 4; ++style) {
        speedPanel_->addAction(Action(QStringLiteral("ViewTypeBtn%1").arg(style)));
    }
    speedPanel_->addSeparator();
    toolsPopup_ = new QMenu(this);
    toolsPopup_->setObjectName(QStringLiteral("ToolsPopup"));
    toolsPopup_->addAction(Action("ShowPopupItem"));
    toolsPopup_->addSeparator();
    auto* tools = new QToolButton(speedPanel_);
    tools->setObjectName(QStringLiteral("PopupButton1"));
    tools->setToolTip(QStringLiteral("Tools Menu"));
    tools->setStatusTip(QStringLiteral("Tools Menu"));
    tools->setIcon(ThemeIcon("applications-utilities", "tools"));
    tools->setMenu(toolsPopup_);
    tools->setPopupMode(QToolButton::InstantPopup);
    speedPanel_->addWidget(tools);
    speedPanel_->addAction(Action("GetUrlBtn"));
    speedPanel_->addAction(Action("HelpBtn"));
    addToolBar(Qt::TopToolBarArea, speedPanel_);
    addToolBarBreak(Qt::TopToolBarArea);

    newItemPanel_ = new QToolBar(QStringLiteral("New Item Bar"), this);
    newItemPanel_->setObjectName(QStringLiteral("NewItemPanel"));
    newItemPanel_->setMovable(false);
    newItemPanel_->setIconSize(QSize(16, 16));
    newItemPanel_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    // Ten captioned buttons fit the default 640-pixel window only when packed tightly.
    const qreal points = newItemPanel_->font().pointSizeF();
    newItemPanel_->setStyleSheet(
        points > 0
            ? QStringLiteral("QToolButton { padding: 1px 0px; margin: 0px; font-size: %1pt; }")
                  .arg(points * 0.9, 0, 'f', 1)
            : QStringLiteral("QToolButton { padding: 1px 0px; margin: 0px; }"));
    newItemPanel_->layout()->setSpacing(0);
    for (const char* name :
         {"NewFolderBtn", "NewOrgBtn", "NewTeamBtn", "NewPersonBtn", "NewWebBtn", "NewAddrBtn",
          "NewPhoneBtn", "NewEMailBtn", "NewFaxBtn", "NewDateBtn"}) {
        newItemPanel_->addAction(Action(QLatin1String(name)));
    }
    addToolBar(Qt::TopToolBarArea, newItemPanel_);

    itemCount_ = new QLabel(this);
    itemCount_->setObjectName(QStringLiteral("ItemCount"));
    itemCount_->setMinimumWidth(70);
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->addPermanentWidget(itemCount_);
}

void TMainForm::BuildPanes() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // The find strip: the find box on the left, the contents title on the right.
    auto* strip = new QWidget(central);
    strip->setObjectName(QStringLiteral("Panel1"));
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(4, 2, 4, 2);
    auto* findPanel = new QWidget(strip);
    findPanel->setObjectName(QStringLiteral("Panel2"));
    findPanel->setFixedWidth(205);
    auto* findLayout = new QHBoxLayout(findPanel);
    findLayout->setContentsMargins(0, 0, 0, 0);
    auto* findLabel = new QLabel(QStringLiteral("Find: "), findPanel);
    findEdit_ = new QLineEdit(findPanel);
    findEdit_->setObjectName(QStringLiteral("FindEditBox"));
    findEdit_->setToolTip(QStringLiteral("Type the title of the entry to find"));
    findEdit_->setStatusTip(QStringLiteral("Type the title of the entry to find"));
    findEdit_->setClearButtonEnabled(true);
    findLabel->setBuddy(findEdit_);
    findLayout->addWidget(findLabel);
    findLayout->addWidget(findEdit_);
    connect(findEdit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        // Each burst of typing gives one search, a second after the last change.
        if (!text.isEmpty()) {
            searchTime_.Restart();
        }
    });
    stripLayout->addWidget(findPanel);
    auto* contentsPanel = new QWidget(strip);
    contentsPanel->setObjectName(QStringLiteral("ContentsPanel"));
    auto* contentsLayout = new QHBoxLayout(contentsPanel);
    contentsLayout->setContentsMargins(6, 0, 0, 0);
    for (const char* name : {"WinZoomBtn", "UpOneBtn"}) {
        auto* b = new QToolButton(contentsPanel);
        b->setObjectName(QLatin1String(name) + QStringLiteral("Button"));
        b->setDefaultAction(Action(QLatin1String(name)));
        b->setAutoRaise(true);
        contentsLayout->addWidget(b);
    }
    contentsTitle_ = new QLabel(contentsPanel);
    contentsTitle_->setObjectName(QStringLiteral("ContentsTitle"));
    // It shows a node's name, which may hold "<" and "&" from an import or another program.
    contentsTitle_->setTextFormat(Qt::PlainText);
    // A long title must not hold the window wide: the compact layout is 300 pixels across.
    contentsTitle_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    contentsLayout->addWidget(contentsTitle_, 1);
    stripLayout->addWidget(contentsPanel, 1);
    layout->addWidget(strip);

    splitter_ = new QSplitter(Qt::Horizontal, central);
    splitter_->setObjectName(QStringLiteral("WinSplitterPanel"));
    splitter_->setHandleWidth(6);
    splitter_->setChildrenCollapsible(false);

    leftPane_ = new QStackedWidget(splitter_);
    folders_ = new QTreeView(leftPane_);
    folders_->setObjectName(QStringLiteral("Folders"));
    folders_->setModel(treeModel_.get());
    folders_->setHeaderHidden(true);
    folders_->setSelectionMode(QAbstractItemView::SingleSelection);
    folders_->setEditTriggers(QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::SelectedClicked);
    folders_->setDragEnabled(true);
    folders_->setAcceptDrops(true);
    folders_->setDropIndicatorShown(true);
    folders_->setDragDropMode(QAbstractItemView::DragDrop);
    folders_->setContextMenuPolicy(Qt::CustomContextMenu);
    folders_->setIconSize(QSize(ImageLists::kSmall + 11, ImageLists::kSmall));
    folders_->setUniformRowHeights(true);
    leftPane_->addWidget(folders_);

    filterList_ = new QListWidget(leftPane_);
    filterList_->setObjectName(QStringLiteral("FilterListBox"));
    SetCategoryNames({});
    connect(filterList_, &QListWidget::itemChanged, this, [this] { FilterListBoxClick(); });
    leftPane_->addWidget(filterList_);
    leftPane_->setCurrentWidget(folders_);

    listStack_ = new QStackedWidget(splitter_);
    iconView_ = new EntryIconView(listStack_);
    iconView_->setObjectName(QStringLiteral("MainItems"));
    iconView_->setModel(contents_.get());
    // Each entry's place takes the size of its caption, measured: a node of a hundred
    // thousand entries is laid out a batch at a time between events, so that the window
    // answers at once instead of after seconds.
    iconView_->setLayoutMode(QListView::Batched);
    iconView_->setBatchSize(kIconLayoutBatch);
    detailsView_ = new EntryDetailsView(listStack_);
    detailsView_->setObjectName(QStringLiteral("MainItemsDetails"));
    detailsView_->setModel(contents_.get());
    detailsView_->setRootIsDecorated(false);
    detailsView_->setItemsExpandable(false);
    detailsView_->setUniformRowHeights(true);
    detailsView_->setSortingEnabled(false);
    detailsView_->setIconSize(QSize(ImageLists::kSmall + 11, ImageLists::kSmall));
    detailsView_->setSelectionModel(iconView_->selectionModel());
    detailsView_->header()->resizeSection(ContentsListModel::TitleColumn, 125);
    detailsView_->header()->resizeSection(ContentsListModel::TargetColumn, 150);
    detailsView_->header()->resizeSection(ContentsListModel::CommentColumn, 150);
    for (QAbstractItemView* v : {static_cast<QAbstractItemView*>(iconView_),
                                 static_cast<QAbstractItemView*>(detailsView_)}) {
        v->setSelectionMode(QAbstractItemView::ExtendedSelection);
        // An entry is its whole row, whichever view shows it.
        v->setSelectionBehavior(QAbstractItemView::SelectRows);
        v->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
        v->setDragEnabled(true);
        v->setAcceptDrops(true);
        v->setDragDropMode(QAbstractItemView::DragDrop);
        v->setContextMenuPolicy(Qt::CustomContextMenu);
        v->installEventFilter(this);
        v->viewport()->installEventFilter(this);
        // The entry's action runs once the view is done with the double-click: a dialog opened
        // from inside it outlasted the view's wait for a second click, the caption edit of the
        // first click opened behind the dialog, and its end took the window's focus along.
        connect(v, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
            QMetaObject::invokeMethod(
                this,
                [this, entry = QPersistentModelIndex(index)] {
                    if (entry.isValid()) {
                        ActivateEntry(entry);
                    }
                },
                Qt::QueuedConnection);
        });
        connect(v, &QWidget::customContextMenuRequested, this, [this, v](const QPoint& at) {
            // Only with a selected entry; the popup never opens by itself.
            if (v->selectionModel()->hasSelection()) {
                ListPopupPopup();
                listPopup_->exec(v->viewport()->mapToGlobal(at));
            }
        });
        listStack_->addWidget(v);
    }
    folders_->installEventFilter(this);
    folders_->viewport()->installEventFilter(this);
    connect(folders_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = folders_->indexAt(at);
        if (!index.isValid()) {
            return;
        }
        folders_->setCurrentIndex(index);
        SetActivePane(Pane::Folders);
        ListPopupPopup();
        listPopup_->exec(folders_->viewport()->mapToGlobal(at));
    });
    connect(
        folders_->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this](const QModelIndex& current) { FoldersChange(OutlineTreeModel::NodeAt(current)); });
    connect(contents_.get(), &QAbstractItemModel::rowsInserted, this, &TMainForm::UpdateCount);
    connect(contents_.get(), &QAbstractItemModel::rowsRemoved, this, &TMainForm::UpdateCount);
    connect(contents_.get(), &QAbstractItemModel::modelReset, this, &TMainForm::UpdateCount);

    // The compact layout narrows the tree to one pixel.
    for (QWidget* pane : {static_cast<QWidget*>(leftPane_), static_cast<QWidget*>(folders_),
                          static_cast<QWidget*>(filterList_)}) {
        pane->setMinimumWidth(1);
    }
    listStack_->setMinimumWidth(40);
    splitter_->addWidget(leftPane_);
    splitter_->addWidget(listStack_);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({kDefaultTreeWidth, 640 - kDefaultTreeWidth});
    layout->addWidget(splitter_, 1);
    setCentralWidget(central);
    SetViewStyle(LargeIcons);
}

void TMainForm::BuildPopup() {
    listPopup_ = new QMenu(this);
    listPopup_->setObjectName(QStringLiteral("ListPopup"));
    for (const char* name : {"ListPaneOpen", "ListPaneMail", "ListPaneFax", "ListPaneDial",
                             "ListPaneBrowse", "ListPaneAdvance", "ListPaneLaunch"}) {
        listPopup_->addAction(Action(QLatin1String(name)));
    }
    listPopup_->addSeparator();
    QMenu* newMenu = listPopup_->addMenu(QStringLiteral("&New"));
    for (const char* name : {"NewAddrItem", "NewEMailItem", "NewPhoneItem", "NewFaxItem",
                             "NewWebsiteItem", "NewReminderItem", "NewDocItem"}) {
        newMenu->addAction(Action(QLatin1String(name)));
    }
    QMenu* editMenu = listPopup_->addMenu(QStringLiteral("&Edit"));
    for (const char* name : {"ListPaneCut", "ListPaneCopy", "ListPaneDelete", "ListPaneRename"}) {
        editMenu->addAction(Action(QLatin1String(name)));
    }
    listPopup_->addSeparator();
    listPopup_->addAction(Action("ListPaneProps"));
}

void TMainForm::SetViewStyle(int style) {
    if (style < LargeIcons || style > Details) {
        return;
    }
    style_ = static_cast<ViewStyle>(style);
    Action(QStringLiteral("ViewItem%1").arg(style))->setChecked(true);
    Action(QStringLiteral("ViewTypeBtn%1").arg(style))->setChecked(true);
    const bool hadFocus = ListView()->hasFocus();
    if (style_ == Details) {
        listStack_->setCurrentWidget(detailsView_);
    } else {
        listStack_->setCurrentWidget(iconView_);
        iconView_->setViewMode(style_ == LargeIcons ? QListView::IconMode : QListView::ListMode);
        const int size = style_ == LargeIcons ? ImageLists::kLarge : ImageLists::kSmall;
        iconView_->setIconSize(style_ == LargeIcons ? QSize(size + 11, size)
                                                    : QSize(size + 11, size));
        iconView_->setFlow(style_ == ListStyle ? QListView::TopToBottom : QListView::LeftToRight);
        iconView_->setWrapping(true);
        iconView_->setResizeMode(QListView::Adjust);
        iconView_->setMovement(QListView::Static);
        // Static movement also turns dragging and dropping off; entries are still dragged
        // onto folders and documents dropped on entries.
        iconView_->setDragEnabled(true);
        iconView_->viewport()->setAcceptDrops(true);
        iconView_->setGridSize(style_ == LargeIcons ? QSize(96, 64) : QSize());
        iconView_->setSpacing(style_ == LargeIcons ? 0 : 2);
        iconView_->setWordWrap(style_ == LargeIcons);
        iconView_->setUniformItemSizes(false);
    }
    if (hadFocus) {
        ListView()->setFocus();
    }
}

QAbstractItemView* TMainForm::ListView() const {
    return style_ == Details ? static_cast<QAbstractItemView*>(detailsView_)
                             : static_cast<QAbstractItemView*>(iconView_);
}

TOutlineNode* TMainForm::SelectedNode() const {
    return OutlineTreeModel::NodeAt(folders_->currentIndex());
}

std::vector<TNRBObject*> TMainForm::SelectedEntries() const {
    std::vector<TNRBObject*> items;
    for (const int row : SelectedRowNumbers(*iconView_->selectionModel())) {
        if (TNRBObject* item = contents_->ItemAt(row)) {
            items.push_back(item);
        }
    }
    return items;
}

TNRBObject* TMainForm::CurrentItem() const {
    if (activePane_ == Pane::MainItems) {
        const std::vector<TNRBObject*> selected = SelectedEntries();
        if (!selected.empty()) {
            return selected.front();
        }
    }
    TOutlineNode* node = SelectedNode();
    return node ? node->Item() : nullptr;
}

QString TMainForm::ActivePaneName() const {
    return activePane_ == Pane::Folders ? QStringLiteral("Folders") : QStringLiteral("MainItems");
}

void TMainForm::SetActivePane(Pane pane) {
    activePane_ = pane;
}

void TMainForm::SelectNode(TOutlineNode* node) {
    if (!node) {
        return;
    }
    const QModelIndex index = treeModel_->IndexOf(node);
    if (folders_->currentIndex() == index) {
        // Selecting the selected node again shows its contents afresh.
        FoldersChange(node);
        return;
    }
    folders_->setCurrentIndex(index);
    folders_->scrollTo(index);
}

void TMainForm::BeginEditCaption(TOutlineNode* node) {
    const QModelIndex index = treeModel_->IndexOf(node);
    if (!index.isValid()) {
        return;
    }
    folders_->scrollTo(index);
    folders_->setFocus();
    folders_->edit(index);
}

void TMainForm::FoldersChange(TOutlineNode* node) {
    contents_->SetNode(node);
    if (!node) {
        contentsTitle_->clear();
        UpdateCount();
        return;
    }
    ShowContentsTitle(node);
    UpdateCount();
}

void TMainForm::ShowContentsTitle(TOutlineNode* node) {
    const QString text = FromUtf8(node->Text());
    contentsTitle_->setText(QStringLiteral("Contents of \"%1\"").arg(text));
    const std::string path = "[" + NodePath(node, "/") + "]";
    emit trayToolTipChanged(QString::fromStdString(path));
}

void TMainForm::UpdateCount() {
    itemCount_->setText(QStringLiteral("%1 item(s)").arg(contents_->rowCount()));
}

void TMainForm::RefreshList() {
    FoldersChange(SelectedNode());
}

void TMainForm::RefreshFolderTitles() {
    TOutlineNode* node = SelectedNode();
    if (!node) {
        return;
    }
    if (node->Item()) {
        TOutline::SetNodeText(node, node->Item()->Title());
    }
    for (std::size_t i = 0; i < node->ChildCount(); ++i) {
        TOutlineNode* child = node->ChildAt(i);
        if (child->Item()) {
            TOutline::SetNodeText(child, child->Item()->Title());
        }
    }
}

void TMainForm::UpOneBtnClick() {
    TOutlineNode* node = SelectedNode();
    if (node && node->Parent()) {
        SelectNode(node->Parent());
    }
}

void TMainForm::ListPopupPopup() {
    ActionMenu menu;
    if (const TNRBObject* item = CurrentItem()) {
        item->SetupActionMenu(menu);
    } else {
        menu.HideAll();
    }
    Action("ListPaneOpen")->setVisible(menu.open);
    Action("ListPaneMail")->setVisible(menu.sendMail);
    Action("ListPaneFax")->setVisible(menu.sendFax);
    Action("ListPaneDial")->setVisible(menu.dial);
    Action("ListPaneBrowse")->setVisible(menu.browse);
    Action("ListPaneAdvance")->setVisible(menu.advanceDate);
    Action("ListPaneLaunch")->setVisible(menu.launch);
}

void TMainForm::ActivateEntry(const QModelIndex& index) {
    if (TNRBObject* item = contents_->ItemAt(index.row())) {
        item->Activate();
    }
}

// The category filter.

void TMainForm::FilterBtnClick(FilterMode clicked, bool down) {
    const bool wasOn = filter_.On();
    filter_.SetMode(down ? clicked : FilterMode::Off);
    // At most one of the two is down.
    Action("FilterBtn1")->setChecked(filter_.GetMode() == FilterMode::Any);
    Action("FilterBtn2")->setChecked(filter_.GetMode() == FilterMode::All);
    const bool on = filter_.On();
    if (on != wasOn) {
        // The pane that comes takes the width of the one that goes.
        const QList<int> sizes = splitter_->sizes();
        leftPane_->setCurrentWidget(on ? static_cast<QWidget*>(filterList_) : folders_);
        splitter_->setSizes(sizes);
    }
    contents_->SetHiddenTest(HiddenTest());
    UpdateCount();
}

void TMainForm::FilterListBoxClick() {
    filter_.SetMask(TickedCategories(filterList_));
    contents_->SetHiddenTest(HiddenTest());
    UpdateCount();
}

QStringList TMainForm::CategoryNames() const {
    QStringList names;
    for (int i = 0; i < filterList_->count(); ++i) {
        names << filterList_->item(i)->text();
    }
    return names;
}

void TMainForm::SetCategoryNames(const QStringList& names) {
    // New names come without ticks; the mask keeps filtering until the next click.
    QStringList all = names.mid(0, kCategoryCount);
    while (all.size() < kCategoryCount) {
        all << QString::fromStdString(DefaultCategoryName(static_cast<int>(all.size()) + 1));
    }
    const QSignalBlocker block(filterList_);
    FillCategoryList(filterList_, all, 0);
}

// Layouts, options and tools.

void TMainForm::GetSettings(WinLayout& layout) {
    // The position of the frame and the size inside it, as move() and resize() take them:
    // the frame's own size is the window manager's and unknown until it has framed the
    // window, so only these two round-trip exactly.
    layout.Left = pos().x();
    layout.Top = pos().y();
    layout.Width = width();
    layout.Height = height();
    // The left pane's width, also while the category list stands in the tree's place.
    layout.Split = splitter_->sizes().value(0, kDefaultTreeWidth);
    layout.Toolbar = Action("ToolbarItem")->isChecked();
    layout.Newbar = Action("NewItemBarItem")->isChecked();
    layout.Statusbar = Action("StatusbarItem")->isChecked();
    layout.Style = style_;
    layout.ColPos1 = detailsView_->header()->sectionSize(ContentsListModel::TitleColumn);
    layout.ColPos2 = detailsView_->header()->sectionSize(ContentsListModel::TargetColumn);
    layout.ColPos3 = detailsView_->header()->sectionSize(ContentsListModel::CommentColumn);
}

void TMainForm::ApplySettings(const WinLayout& layout) {
    move(layout.Left, layout.Top);
    resize(std::max(1, layout.Width), std::max(1, layout.Height));
    const int total = std::max(splitter_->width(), layout.Width);
    splitter_->setSizes({layout.Split, std::max(1, total - layout.Split)});
    // The bars keep their order whichever is shown: the toolbar first, the new-item bar next.
    Action("ToolbarItem")->setChecked(layout.Toolbar);
    speedPanel_->setVisible(layout.Toolbar);
    Action("StatusbarItem")->setChecked(layout.Statusbar);
    statusBar()->setVisible(layout.Statusbar);
    Action("NewItemBarItem")->setChecked(layout.Newbar);
    newItemPanel_->setVisible(layout.Newbar);
    SetViewStyle(layout.Style);
    detailsView_->header()->resizeSection(ContentsListModel::TitleColumn, layout.ColPos1);
    detailsView_->header()->resizeSection(ContentsListModel::TargetColumn, layout.ColPos2);
    detailsView_->header()->resizeSection(ContentsListModel::CommentColumn, layout.ColPos3);
}

void TMainForm::WinZoomBtnClick() {
    winState_->Toggle();
}

void TMainForm::OptionsItemClick() {
    QStringList names = CategoryNames();
    if (RunOptions(this, QString::fromStdString(iniPath_), tools_, names, images_)) {
        SetCategoryNames(names);
    }
    // Tools may have changed even when the dialog was cancelled.
    BuildToolsMenus();
}

void TMainForm::BuildToolsMenus() {
    BuildToolsMenu(*toolsPopup_, 2, tools_, &images_);
    if (trayToolsMenu_) {
        BuildToolsMenu(*trayToolsMenu_, 0, tools_, &images_);
    }
}

// Window events.

void TMainForm::closeEvent(QCloseEvent* event) {
    if (exiting_) {
        event->accept();
        return;
    }
    // Closing only hides the window; the program goes on behind its tray icon. Without a
    // tray there would be no way back, so closing then ends the program as Exit does.
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        event->ignore();
        hide();
        return;
    }
    event->ignore();
    emit exitRequested();
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    everShown_ = true;
    if (firstShow_) {
        // Queued, so that the window is on screen before any import asks a question.
        QMetaObject::invokeMethod(this, &TMainForm::OpenStartupArguments, Qt::QueuedConnection);
    }
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == folders_) {
            SetActivePane(Pane::Folders);
        } else if (watched == iconView_ || watched == detailsView_) {
            SetActivePane(Pane::MainItems);
        }
    }
    // The popup from the keyboard: the Menu key, or Shift+F10 where a keyboard has none. It
    // opens at the current entry, as a right-click there would.
    if (event->type() == QEvent::KeyPress &&
        (watched == folders_ || watched == iconView_ || watched == detailsView_) &&
        static_cast<QWidget*>(watched)->hasFocus()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Menu ||
            (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
            auto* view = static_cast<QAbstractItemView*>(watched);
            const QRect at = view->visualRect(view->currentIndex());
            if (at.isValid()) {
                emit view->customContextMenuRequested(at.center());
            }
            return true;
        }
    }
    // Only keys meant for the view itself: while a caption is edited, the Enter that the
    // editor lets pass reaches the view as well, and must commit the new caption, not open
    // the entry (which would refill the list and drop the edit).
    if (event->type() == QEvent::KeyPress && (watched == iconView_ || watched == detailsView_) &&
        static_cast<QWidget*>(watched)->hasFocus()) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* view = static_cast<QAbstractItemView*>(watched);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            view->currentIndex().isValid()) {
            ActivateEntry(view->currentIndex());
            return true;
        }
        // F2 renames the entry from whichever column of the details view it was chosen: only
        // the caption can be edited, and the view would otherwise try the column clicked.
        if (key->key() == Qt::Key_F2 && view->currentIndex().isValid() &&
            view->currentIndex().column() != ContentsListModel::TitleColumn) {
            view->edit(view->currentIndex().siblingAtColumn(ContentsListModel::TitleColumn));
            return true;
        }
    }
    if (HandlePaneDrag(watched, event)) {
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::PrinterSetupItemClick() {
    // One printer for the whole run, so that the reports print as it was set up: which
    // printer, its properties, paper and orientation; what to print is the reports' choice.
    QPrintDialog setup(&Printer(), this);
    setup.setWindowTitle(QStringLiteral("Printer Setup"));
    // The PDF file is offered as a printer too: once a report went there it is the current
    // printer, and without the entry the printer box would stand empty.
    setup.setOptions(QAbstractPrintDialog::PrintShowPageSize | QAbstractPrintDialog::PrintToFile);
    // Nothing is printed here: the button that keeps the choice says so.
    if (auto* buttons = setup.findChild<QDialogButtonBox*>()) {
        if (QPushButton* keep = buttons->button(QDialogButtonBox::Ok)) {
            keep->setText(QStringLiteral("OK"));
            keep->setIcon({});
        }
    }
    Prompter::Exec(setup);
}

void TMainForm::ShowAbout() {
    QDialog about(this);
    about.setWindowTitle(QStringLiteral("About Quillmere"));
    auto* layout = new QHBoxLayout(&about);
    auto* picture = new QLabel(&about);
    picture->setPixmap(QApplication::windowIcon().pixmap(48, 48));
    layout->addWidget(picture, 0, Qt::AlignTop);
    auto* column = new QVBoxLayout;
    auto* name = new QLabel(QStringLiteral("<b>Quillmere</b>"), &about);
    column->addWidget(name);
    column->addWidget(new QLabel(QStringLiteral("Version 1.0 (Mar. 1997)"), &about));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &about);
    connect(buttons, &QDialogButtonBox::accepted, &about, &QDialog::accept);
    column->addWidget(buttons);
    layout->addLayout(column);
    Prompter::Exec(about);
}

void TMainForm::ShowFileProblem(const FileResult& result) {
    QString text = QString::fromStdString(result.message);
    if (dataFile_.BackupPending()) {
        text += QStringLiteral("\n\n") + QString::fromStdString(dataFile_.BackupNote());
    }
    const QString title =
        result.title.empty() ? QStringLiteral("Quillmere") : QString::fromStdString(result.title);
    Prompter::Ask(this, text, title, QMessageBox::Ok, QMessageBox::Warning);
}

} // namespace quill::gui
