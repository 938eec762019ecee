#pragma once
// The main window as the automation object sees it: the outline it works on, what the user
// has selected in which pane, the search, and the clipboard's plain text.

#include <string_view>
#include <vector>

namespace quill {

class TNRBObject;
class TOutline;
class TOutlineNode;

class IAutomationHost {
public:
    virtual ~IAutomationHost() = default;
    virtual TOutline& Outline() = 0;
    // True when the list had the input focus last, false when the tree had.
    virtual bool ListIsActive() const = 0;
    // The items of the list's selected entries, in list order.
    virtual std::vector<TNRBObject*> SelectedEntries() const = 0;
    // The tree's selected node; none when nothing is selected.
    virtual TOutlineNode* SelectedNode() const = 0;
    // The find strip's search, which moves the user's selection to what it finds.
    virtual void Locate(std::string_view text) = 0;
    // Sets the captions of the selected node and its child nodes to their items' titles.
    virtual void RefreshFolderTitles() = 0;
    // Replaces the clipboard's contents by the text.
    virtual void PutTextOnClipboard(std::string_view text) = 0;
};

} // namespace quill
