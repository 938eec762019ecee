#include "gui/automation/MainFormAutomationHost.h"

#include "gui/mainwindow/TMainForm.h"
#include "platform/Utf8Text.h"

#include <QClipboard>
#include <QGuiApplication>

namespace quill::gui {

TOutline& MainFormAutomationHost::Outline() {
    return form_.Outline();
}

bool MainFormAutomationHost::ListIsActive() const {
    return form_.ActivePane() == TMainForm::Pane::MainItems;
}

std::vector<TNRBObject*> MainFormAutomationHost::SelectedEntries() const {
    return form_.SelectedEntries();
}

TOutlineNode* MainFormAutomationHost::SelectedNode() const {
    return form_.SelectedNode();
}

void MainFormAutomationHost::Locate(std::string_view text) {
    form_.Locate(FromUtf8(text));
}

void MainFormAutomationHost::RefreshFolderTitles() {
    form_.RefreshFolderTitles();
}

void MainFormAutomationHost::PutTextOnClipboard(std::string_view text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->setText(FromUtf8(text));
    }
}

} // namespace quill::gui
