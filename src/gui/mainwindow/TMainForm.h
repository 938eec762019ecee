#pragma once
// The main window: the tree `Folders` beside the list `MainItems`, the two toolbars, the find
// strip and the status bar, and every command on items. The outline lives here; the tree and
// the list are views over it through the two Qt models.
//
//   TOutline --OutlineTreeModel--> Folders (QTreeView)
//       \------ContentsListModel--> MainItems: one model, two views sharing one selection
//                 (selected node,    (QListView for the icon and list styles, QTreeView for
//                  category filter)   details), stacked so that one shows at a time

#include "core/model/outline.h"
#include "core/services.h"
#include "core/storage/categories.h"
#include "core/storage/data_file.h"
#include "core/storage/tool_items.h"
#include "core/storage/win_state.h"
#include "gui/common/DelayTimer.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QMenu;
class QSplitter;
class QStackedWidget;
class QToolBar;
class QToolButton;
class QTreeView;
class QAbstractItemView;
class QMimeData;
class QPrinter;

namespace quill {
struct CommandLineImport;
}

namespace quill::gui {

class Autosaver;
class ContentsListModel;
class ImageLists;
class OutlineTreeModel;
class TProgressForm;
class TReportForm;

class TMainForm final : public QMainWindow, public INavigator, public IWinStateHost {
    Q_OBJECT

public:
    enum class Pane { Folders, MainItems };
    enum ViewStyle { LargeIcons = 1, SmallIcons = 2, ListStyle = 3, Details = 4 };
    using FilterMode = CategoryFilter::Mode;

    // dataFile names the data file ("quil.dat" in the current directory at run time),
    // iniPath the settings file with the layouts, tools and category names.
    TMainForm(ImageLists& images, const std::string& dataFile, const std::string& iniPath,
              QWidget* parent = nullptr);
    ~TMainForm() override;

    TOutline& Outline() { return outline_; }
    TOutlineNode* Root() const { return outline_.Root(); }
    TOutlineNode* SelectedNode() const;
    // The list's selected items in list order.
    std::vector<TNRBObject*> SelectedEntries() const;
    // The list's entry on which the popup and the actions work, or the tree's node's item.
    TNRBObject* CurrentItem() const;
    Pane ActivePane() const { return activePane_; }
    QString ActivePaneName() const;
    ContentsListModel& Contents() { return *contents_; }

    // Fills the list with the contents of node and sets the contents title, the path and
    // the item count.
    void FoldersChange(TOutlineNode* node);
    void RefreshList();
    void RefreshFolderTitles();
    // Saves the outline to the data file; false (after telling the user) when it failed or
    // the user cancelled. A data file that another program wrote since it was read is not
    // overwritten without asking.
    bool Write();
    // How the outline was kept at the end of the program.
    enum class ExitSave { Saved, SavedElsewhere, Discarded, Cancelled, Recovered, Failed };
    // Saves for the end of the program. attended: the user can be asked, and a failure offers
    // to try again, to save elsewhere, to end without saving or to go on (Cancelled).
    // Unattended (a signal, the session's end, the last automation client): where the data
    // file cannot take the outline, it goes to a recovery file (Recovered), Failed when even
    // that could not be written.
    ExitSave SaveForExit(bool attended);
    // The recovery file written by the last unattended end that could not save.
    const QString& RecoveryFile() const { return recoveryFile_; }
    // Where recovery files go when the data file's directory takes none.
    void SetRecoveryFallback(std::function<QString()> directory) {
        recoveryFallback_ = std::move(directory);
    }
    // Replaces the outline by a copy in the data file's format (an autosave or recovery
    // file); the data file itself stays as it is until the next save.
    bool RestoreFrom(const QString& path);
    Autosaver& AutosaveWatch() { return *autosaver_; }
    // Whether the window was ever shown; a window never laid out has no layout to keep.
    bool EverShown() const { return everShown_; }
    void Locate(const QString& text);
    // Handles a command line: the program's own at the first show, another start's later.
    // The first argument is the program path.
    void OpenCommandLine(const QStringList& arguments);
    // Another start's command line as it arrives: its arguments quoted and joined.
    void OpenCommandLine(const QString& commandLine);
    // The program's own command line, handled when the window is first shown.
    void SetStartupArguments(const QStringList& arguments) { startupArguments_ = arguments; }
    void SetProgressWindow(TProgressForm* progress) { progress_ = progress; }
    // Whether an import, export or search runs now (also while it asks the user something),
    // which a handed-over file and an automation call wait for.
    bool BusyWithLongWork() const;
    // Saves what the end of the program saves: the outline (SaveForExit), the layouts and the
    // tools. Done once; false when the user chose to go on, and nothing was ended.
    bool Finish(bool attended);
    // The unattended Finish, for the end of a run that did not pass through Exit.
    void Shutdown() { Finish(false); }
    // From the start of an Exit on, closing the window no longer hides it.
    void SetExiting(bool exiting) { exiting_ = exiting; }

    // The category filter.
    const CategoryFilter& Filter() const { return filter_; }
    HiddenItemTest HiddenTest() const { return filter_.Snapshot(); }
    QStringList CategoryNames() const;
    void SetCategoryNames(const QStringList& names);

    ViewStyle Style() const { return style_; }
    void SetViewStyle(int style);
    QAbstractItemView* ListView() const;
    QTreeView* FoldersView() const { return folders_; }
    QLineEdit* FindEditBox() const { return findEdit_; }
    QListWidget* FilterListBox() const { return filterList_; }
    QMenu* ListPopup() const { return listPopup_; }
    QMenu* ToolsPopup() const { return toolsPopup_; }
    // The find box's delay: a search a second after the last keystroke.
    DelayTimer& SearchTime() { return searchTime_; }
    // The action of a menu entry or button by its object name ("CutBtn", "Save1" ...).
    QAction* Action(const QString& name) const;

    // INavigator: what items ask of the window.
    void SelectNode(TOutlineNode* node) override;
    void BeginEditCaption(TOutlineNode* node) override;

    // Commands (menu entries, buttons and the popup).
    void OnNewFolder();
    void OnNewOrg();
    void OnNewTeam();
    void OnNewPerson();
    void OnNewWebsite();
    void OnNewAddr();
    void OnNewPhone();
    void OnNewEMail();
    void OnNewFax();
    void NewDateBtnClick();
    void DocItemClick();
    // The tools picker; a tool chosen with "&New Address..." becomes a tool item.
    void ToolsBtnClick();
    // A website under the selected node for the page the running browser shows.
    void GetUrlBtnClick();
    void DeleteBtnClick(bool cut = false);
    void CutBtnClick();
    void CopyBtnClick();
    void PasteBtnClick();
    void SelectAll1Click();
    void PrinterSetupItemClick();
    // Opens "Print Reports" for the selected node, addressed to the current item.
    void PrintBtnClick();
    // The one printer of the run, made on first use; Printer Setup and the reports share it.
    QPrinter& Printer();
    void Save1Click();
    void Revert1Click();
    void ListPaneOpenClick();
    void ListPanePropsClick();
    void ListPaneRenameClick();
    void UpOneBtnClick();
    void FilterBtnClick(FilterMode clicked, bool down);
    void FilterListBoxClick();
    void WinZoomBtnClick();
    void OptionsItemClick();
    // The import and publishing wizards for the selected node.
    void ImportBtnClick();
    void PublishBtnClick();
    // Rebuilds the tools entries of the tools popup and of the tray's tools menu.
    void BuildToolsMenus();
    void SetTrayToolsMenu(QMenu* menu) { trayToolsMenu_ = menu; }
    TToolItems& Tools() { return tools_; }
    TMainWinState& WinState() { return *winState_; }
    // The window's look as a layout, and a layout made the window's look.
    void GetSettings(WinLayout& layout) override;
    void ApplySettings(const WinLayout& layout) override;
    void ListPopupPopup();
    void ActivateEntry(const QModelIndex& index);
    // Drops: from a pane onto a tree node, from the list onto a list entry, files from the
    // file manager onto the list.
    void DropOnFolders(TOutlineNode* target, bool fromTree);
    void DropDocumentOn(TNRBObject* entry);
    void DropFiles(const QStringList& paths);
    bool AcceptsDocumentDropOn(const TNRBObject* entry) const;
    // Where a drag goes: from the tree, from the list, or files from outside the window.
    enum class DragFrom { Folders, MainItems, Outside };
    // Whether the pane whose viewport is given takes the drag at the point, as it enters
    // (DragEnter), moves over the pane (DragMove) or is dropped (Drop).
    bool AcceptsDrag(const QWidget* pane, QEvent::Type type, DragFrom from, const QMimeData* data,
                     const QPoint& at) const;

signals:
    void exitRequested();
    void trayToolTipChanged(const QString& text);
    void getUrlRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildActions();
    void BuildMenus();
    void BuildToolbars();
    void BuildPanes();
    void BuildPopup();
    QAction* MakeAction(const QString& name, const QString& text, const QString& hint,
                        const QKeySequence& shortcut = {});
    void NewTreeItem(int kind, const char* title);
    void NewSubItem(int kind, const char* title);
    void EnsureSelectedNode();
    void CopySelection();
    bool PutClipboardFileOnClipboard(const TNRBObject* contact = nullptr);
    void SortWholeTree();
    void ShowFileProblem(const FileResult& result);
    enum class DiskChangeAnswer { Overwrite, SaveElsewhere, Cancel };
    DiskChangeAnswer AskAboutChangeOnDisk();
    // A file dialog, then a copy of the outline there; false when cancelled or failed.
    bool SaveElsewhere();
    // The outline in a new user-only recovery file: beside the data file, else in the
    // fallback directory; false when neither took it.
    bool WriteRecoveryFile();
    void SaveLayoutsAndTools();
    void UpdateCount();
    // The contents title and the tray's path for the node.
    void ShowContentsTitle(TOutlineNode* node);
    void SetActivePane(Pane pane);
    void SearchTimeTimer();
    // The program's own command line, once, before any other start's.
    void OpenStartupArguments();
    void OpenWaitingCommandLines();
    // The next named file, once the window is active and has been for a moment, or without
    // the progress window when it does not become active soon.
    void ImportNamedFiles();
    void LookAgainAtNamedFiles(int milliseconds);
    void ImportNamedFile(const CommandLineImport& file, bool withProgress);
    // One named file imported under the top node, with the progress window and its Cancel
    // (which takes out again what the file had brought in) when withProgress.
    FileResult ImportStartFile(const CommandLineImport& file, bool withProgress);
    void ShowAbout();
    bool HandlePaneDrag(QObject* watched, QEvent* event);
    int ListRowOfCaption(const QString& caption) const;
    void SelectListRow(int row);
    // The last node found that the list could not show (the filter hides it): its holder is
    // selected instead, and the next search goes on behind it rather than finding it again.
    const TOutlineNode* hiddenFound_ = nullptr;

    ImageLists& images_;
    TOutline outline_;
    TDataFile dataFile_;
    std::unique_ptr<OutlineTreeModel> treeModel_;
    std::unique_ptr<ContentsListModel> contents_;

    QTreeView* folders_ = nullptr;
    QListWidget* filterList_ = nullptr;
    QStackedWidget* leftPane_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QStackedWidget* listStack_ = nullptr;
    QListView* iconView_ = nullptr;
    QTreeView* detailsView_ = nullptr;
    QLineEdit* findEdit_ = nullptr;
    QLabel* contentsTitle_ = nullptr;
    QLabel* itemCount_ = nullptr;
    QToolBar* speedPanel_ = nullptr;
    QToolBar* newItemPanel_ = nullptr;
    QMenu* listPopup_ = nullptr;
    QMenu* toolsPopup_ = nullptr;
    QActionGroup* viewMenuGroup_ = nullptr;
    QActionGroup* viewButtonGroup_ = nullptr;
    DelayTimer searchTime_{std::chrono::milliseconds(1000)};

    Pane activePane_ = Pane::Folders;
    static constexpr int kIconLayoutBatch = 2000;
    ViewStyle style_ = LargeIcons;
    CategoryFilter filter_;
    std::string iniPath_;
    TToolItems tools_;
    std::unique_ptr<TMainWinState> winState_;
    QMenu* trayToolsMenu_ = nullptr;
    bool firstShow_ = true;
    bool everShown_ = false;
    bool shutDown_ = false;
    bool exiting_ = false;
    std::unique_ptr<Autosaver> autosaver_;
    QString recoveryFile_;
    std::function<QString()> recoveryFallback_;
    QStringList startupArguments_;
    QStringList waitingCommandLines_; // handed over while long work ran, oldest first
    QStringList namedFiles_;          // named by command lines and not yet imported, in order
    QElapsedTimer namedFileWait_;     // since the next named file began to wait
    QElapsedTimer activeFor_;         // since the window was seen active while it waits
    bool namedFilesLook_ = false;     // a look at the named files is due
    bool importingNamedFile_ = false;
    TProgressForm* progress_ = nullptr;
    std::unique_ptr<QPrinter> printer_;
    TReportForm* reportForm_ = nullptr; // made on first use, kept for the run
};

} // namespace quill::gui
