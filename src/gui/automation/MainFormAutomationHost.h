#pragma once
// The main window offered to automation clients: its outline, its panes' selections, its
// search and the clipboard.

#include "core/automation/automation_host.h"

namespace quill::gui {

class TMainForm;

class MainFormAutomationHost final : public IAutomationHost {
public:
    explicit MainFormAutomationHost(TMainForm& form) : form_(form) {}

    TOutline& Outline() override;
    bool ListIsActive() const override;
    std::vector<TNRBObject*> SelectedEntries() const override;
    TOutlineNode* SelectedNode() const override;
    void Locate(std::string_view text) override;
    void RefreshFolderTitles() override;
    void PutTextOnClipboard(std::string_view text) override;

private:
    TMainForm& form_;
};

} // namespace quill::gui
