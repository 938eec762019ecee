// The main window's hand-over to the wizards: Import and Publish open them for the selected
// node.

#include "gui/mainwindow/TMainForm.h"

#include "gui/common/Prompter.h"
#include "gui/exchange/TExportWizard.h"
#include "gui/exchange/TImportWizard.h"
#include "gui/mainwindow/ContentsListModel.h"
#include "platform/Utf8Text.h"

#include <QDir>

namespace quill::gui {
namespace {

// The wizards' work shows and hides windows of its own (the progress window, message boxes);
// a window manager may leave the focus with one of them once it is gone, and the main
// window's keys would then do nothing until it is clicked.
void TakeFocusBack(QWidget& window) {
    if (window.isVisible() && !window.isMinimized()) {
        window.activateWindow();
    }
}

} // namespace

void TMainForm::ImportBtnClick() {
    EnsureSelectedNode();
    const QString directory = QDir::currentPath();
    {
        TImportWizard wizard(progress_, this);
        wizard.SetParent(SelectedNode());
        wizard.SetCategoryNames(ToUtf8(CategoryNames()));
        Prompter::Exec(wizard);
    }
    QDir::setCurrent(directory);
    SortWholeTree();
    RefreshFolderTitles();
    RefreshList();
    TakeFocusBack(*this);
}

void TMainForm::PublishBtnClick() {
    EnsureSelectedNode();
    const QString directory = QDir::currentPath();
    {
        TExportWizard wizard(progress_, this);
        wizard.SetParent(SelectedNode());
        wizard.SetHiddenTest(HiddenTest());
        wizard.SetCategoryNames(ToUtf8(CategoryNames()));
        Prompter::Exec(wizard);
    }
    QDir::setCurrent(directory);
    TakeFocusBack(*this);
}

} // namespace quill::gui
