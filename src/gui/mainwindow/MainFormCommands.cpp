// The main window's commands on items: new items, delete, cut, copy and paste, save and
// revert, open, properties, rename, and the command line of this or another start.

#include "gui/mainwindow/TMainForm.h"

#include "platform/Utf8Text.h"

#include "core/comm/browser_dde.h"
#include "core/exchange/contact_summary.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/util/ascii.h"
#include "core/util/atomic_file.h"
#include "gui/common/Prompter.h"
#include "gui/mainwindow/ContentsListModel.h"
#include "gui/mainwindow/OutlineTreeModel.h"
#include "gui/mainwindow/ToolsDlg.h"
#include "platform/QtClipboard.h"

#include <QAbstractItemView>
#include <QFile>
#include <QTreeView>

#include <algorithm>

namespace quill::gui {
namespace {

const std::string kClipboardFile(kClipboardFileName);

// The clipboard file is a scratch copy: replaced whole, but not worth waiting for the disk.
FileResult WriteClipboardFile(std::string_view text) {
    AtomicFileWriter writer;
    writer.SetDurable(false);
    if (!writer.Open(kClipboardFile) || !writer.Write(text) || !writer.Commit()) {
        return FileResult::Failure(writer.Error());
    }
    return {};
}

} // namespace

void TMainForm::EnsureSelectedNode() {
    if (!SelectedNode()) {
        SelectNode(Root());
    }
}

void TMainForm::NewTreeItem(int kind, const char* title) {
    EnsureSelectedNode();
    TOutlineNode* parent = SelectedNode();
    TNRBObject* item = CreateItem(kind, title, "", "", 0, "", parent, &outline_);
    if (!item) {
        return;
    }
    TOutlineNode* node = item->Node();
    folders_->expand(treeModel_->IndexOf(parent));
    TOutline::SortChildren(parent);
    const bool keep = item->EditNew(node);
    if (kind == kFolderKind || kind == kTeamKind) {
        return; // kept in every case, its caption being edited in place
    }
    if (!keep) {
        outline_.DeleteNode(node);
        return;
    }
    if (kind == kWebsiteKind) {
        TOutline::SetNodeText(node, item->Title());
    }
    RefreshList();
}

void TMainForm::NewSubItem(int kind, const char* title) {
    EnsureSelectedNode();
    TOutlineNode* holder = SelectedNode();
    TNRBObject* item = CreateItem(kind, title, "", "", 0, "", holder, &outline_);
    if (!item) {
        return;
    }
    if (!item->EditNew(holder)) {
        holder->Item()->RemoveChild(item);
    }
    RefreshList();
}

void TMainForm::OnNewFolder() {
    NewTreeItem(kFolderKind, "New Folder");
}
void TMainForm::OnNewTeam() {
    NewTreeItem(kTeamKind, "New Team");
}
void TMainForm::OnNewOrg() {
    NewTreeItem(kOrganizationKind, "New Organization");
}
void TMainForm::OnNewPerson() {
    NewTreeItem(kPersonKind, "New Person");
}
void TMainForm::OnNewWebsite() {
    NewTreeItem(kWebsiteKind, "New Website");
}
void TMainForm::OnNewAddr() {
    NewSubItem(kAddressKind, "New Address");
}
void TMainForm::OnNewPhone() {
    NewSubItem(kPhoneKind, "New Phone");
}
void TMainForm::OnNewEMail() {
    NewSubItem(kEMailKind, "New E-Mail");
}
void TMainForm::OnNewFax() {
    NewSubItem(kFaxKind, "New Fax");
}
void TMainForm::NewDateBtnClick() {
    NewSubItem(kReminderKind, "New Reminder");
}
void TMainForm::DocItemClick() {
    NewSubItem(kDocumentKind, "New Document");
}

void TMainForm::ToolsBtnClick() {
    TToolsDlg picker(tools_, images_, this);
    if (Prompter::Exec(picker) != TToolsDlg::kNewAddress || !picker.ChosenTool()) {
        return;
    }
    const TToolItem& tool = *picker.ChosenTool();
    EnsureSelectedNode();
    TOutlineNode* holder = SelectedNode();
    const std::string dataLine =
        std::string(DataLineTag(kToolKind)) + tool.FileName() + "~~" + tool.Arguments();
    TNRBObject* item =
        CreateItem(kToolKind, "New " + tool.Description(), "", "", 0, dataLine, holder, &outline_);
    if (item && !item->EditNew(holder)) {
        holder->Item()->RemoveChild(item);
    }
    RefreshList();
}

void TMainForm::GetUrlBtnClick() {
    TBrowserDDE& browser = *CurrentServices().browser;
    // Only a browser that runs is asked: none is started for this.
    browser.AutoLoad = false;
    const TBrowserDDE::WindowInfo page = browser.GetWindowInfo();
    if (page.url.empty()) {
        // Nothing is added; without a word the user could not tell why.
        const QString text =
            page.browserFound
                ? QStringLiteral("The web browser did not give the address of the page it "
                                 "shows. Firefox gives it a few seconds after the page has "
                                 "opened; a Chromium-family browser only when it was started "
                                 "with remote debugging (--remote-debugging-port).")
                : QStringLiteral("No running web browser was found that the page could be "
                                 "read from (Firefox or a Chromium-family browser). Open the "
                                 "page in one, then choose Get Browser URL again.");
        Prompter::Ask(this, text, QStringLiteral("Quillmere"), QMessageBox::Ok,
                      QMessageBox::Information);
        return;
    }
    EnsureSelectedNode();
    TOutlineNode* holder = SelectedNode();
    CreateItem(kWebsiteKind, page.title, page.url, "", 0, "", holder, &outline_);
    TOutline::SortChildren(holder);
    RefreshList();
}

void TMainForm::DeleteBtnClick(bool cut) {
    QString name;
    TOutlineNode* node = nullptr;
    // Taken before the question: a search may move the tree's selection while it is open.
    TOutlineNode* holder = SelectedNode();
    std::vector<TNRBObject*> entries;
    if (activePane_ == Pane::Folders) {
        node = SelectedNode();
        if (!node || !node->Parent()) {
            return; // the top node is never deleted
        }
        name = FromUtf8(node->Text());
    } else {
        entries = SelectedEntries();
        if (entries.empty()) {
            return;
        }
        if (entries.size() == 1) {
            const QModelIndex row = contents_->index(contents_->RowOf(entries.front()), 0);
            name = row.data().toString();
        } else {
            name = QStringLiteral("the %1 selected items").arg(entries.size());
        }
    }
    if (!cut) {
        const auto answer = Prompter::Ask(
            this, QStringLiteral("Are you sure you want to delete %1 and all sub-items?").arg(name),
            QStringLiteral("Warning"), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
            QMessageBox::Question);
        if (answer != QMessageBox::Yes) {
            return;
        }
    }
    if (node) {
        outline_.DeleteNode(node);
    } else {
        // Last first: each sub-item removed renumbers the ones after it, and the list is in
        // their order, so that "Select All" and Delete stay linear in the entries. The list
        // follows the whole deletion as one piece of bulk work.
        outline_.BeginUpdate();
        std::vector<TOutlineNode*> nodes;
        for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
            TNRBObject* item = *it;
            if (item->IsTreeItem()) {
                nodes.push_back(item->Node());
            } else if (holder && holder->Item()) {
                holder->Item()->RemoveChild(item);
            }
        }
        // In list order, so that neighbouring nodes go together.
        std::reverse(nodes.begin(), nodes.end());
        outline_.DeleteNodes(nodes);
        outline_.EndUpdate();
        if (holder) {
            TOutline::SortChildren(holder);
        }
    }
    RefreshList();
}

void TMainForm::CopyBtnClick() {
    if (activePane_ == Pane::MainItems) {
        const std::vector<TNRBObject*> entries = SelectedEntries();
        if (entries.size() == 1 && entries.front()->Kind() > kWebsiteKind &&
            !entries.front()->IsTreeItem()) {
            // A single sub-item: its record and its text for other programs.
            entries.front()->CopyToClipboard();
            return;
        }
    }
    CopySelection();
}

void TMainForm::CopySelection() {
    // One person or organization also goes out as text and a vCard, for mail and address
    // books; the program's own records come first whatever is copied.
    const TNRBObject* contact = nullptr;
    if (activePane_ == Pane::Folders) {
        TOutlineNode* node = SelectedNode();
        if (!node) {
            return;
        }
        contact = node->Item();
        FileResult written = WriteSubtree(*node, kClipboardFile, HiddenTest());
        if (!written) {
            ShowFileProblem(written);
            return;
        }
    } else {
        const std::vector<TNRBObject*> entries = SelectedEntries();
        if (entries.empty()) {
            return;
        }
        if (entries.size() == 1) {
            contact = entries.front();
        }
        // From the list every sub-item goes along, hidden or not, categories as they are.
        std::string records;
        for (TNRBObject* item : entries) {
            if (!item->IsTreeItem()) {
                WriteItemTree(*item, records, 1);
                continue;
            }
            TOutlineNode* top = item->Node();
            const int topDepth = top->Depth();
            ForEachInSubtree(top, [&](TOutlineNode* node) {
                if (node->Item()) {
                    WriteItemTree(*node->Item(), records, node->Depth() - topDepth + 1);
                }
            });
        }
        if (FileResult written = WriteClipboardFile(records); !written) {
            ShowFileProblem(written);
            return;
        }
    }
    PutClipboardFileOnClipboard(contact);
}

bool TMainForm::PutClipboardFileOnClipboard(const TNRBObject* contact) {
    const std::optional<std::string> bytes = ReadWholeFile(kClipboardFile);
    if (!bytes) {
        return false;
    }
    // Every line ends with a carriage return and a line feed.
    std::string text;
    text.reserve(bytes->size() + 16);
    std::size_t start = 0;
    while (start < bytes->size()) {
        std::size_t end = bytes->find('\n', start);
        if (end == std::string::npos) {
            end = bytes->size();
        }
        std::size_t lineEnd = end;
        if (lineEnd > start && (*bytes)[lineEnd - 1] == '\r') {
            --lineEnd;
        }
        text.append(*bytes, start, lineEnd - start);
        text.append("\r\n");
        start = end + 1;
    }
    if (text.empty()) {
        return false;
    }
    const std::string summary = contact ? ContactSummaryText(*contact) : std::string();
    if (summary.empty()) {
        platform::QtClipboard::SetRecordsOnly(text);
    } else {
        platform::QtClipboard::SetRecordsWithContact(
            text, summary, ContactVCardText(*contact, ToUtf8(CategoryNames())));
    }
    return true;
}

void TMainForm::CutBtnClick() {
    CopyBtnClick();
    DeleteBtnClick(true);
}

void TMainForm::PasteBtnClick() {
    const std::optional<std::string> text = platform::QtClipboard::Records();
    if (!text || text->empty()) {
        return;
    }
    EnsureSelectedNode();
    TOutlineNode* target = SelectedNode();
    if (FileResult written = WriteClipboardFile(*text); !written) {
        ShowFileProblem(written);
        return;
    }
    FileResult pasted = ImportFile(target, kClipboardFile);
    TOutline::SortChildren(target);
    folders_->expand(treeModel_->IndexOf(target));
    RefreshList();
    if (!pasted) {
        ShowFileProblem(pasted);
    }
}

void TMainForm::SelectAll1Click() {
    ListView()->setFocus();
    SetActivePane(Pane::MainItems);
    ListView()->selectAll();
}

void TMainForm::SortWholeTree() {
    outline_.ForEachNode([](TOutlineNode* node) {
        if (node->HasChildren()) {
            TOutline::SortChildren(node);
        }
    });
}

void TMainForm::ListPaneOpenClick() {
    if (activePane_ != Pane::MainItems) {
        return;
    }
    const std::vector<TNRBObject*> entries = SelectedEntries();
    // A sub-item's node is the one already selected: nothing changes then.
    if (!entries.empty() && entries.front()->Node() && entries.front()->Node() != SelectedNode()) {
        SelectNode(entries.front()->Node());
    }
}

void TMainForm::ListPanePropsClick() {
    TNRBObject* item = nullptr;
    if (activePane_ == Pane::MainItems) {
        const std::vector<TNRBObject*> entries = SelectedEntries();
        item = entries.empty() ? nullptr : entries.front();
    } else if (TOutlineNode* node = SelectedNode(); node && node->Parent()) {
        item = node->Item();
    }
    if (!item) {
        return;
    }
    item->Edit();
    RefreshFolderTitles();
    RefreshList();
}

void TMainForm::ListPaneRenameClick() {
    const std::vector<TNRBObject*> entries = SelectedEntries();
    if (entries.empty()) {
        return;
    }
    const QModelIndex index = contents_->index(contents_->RowOf(entries.front()), 0);
    ListView()->setFocus();
    ListView()->setCurrentIndex(index);
    ListView()->edit(index);
}

} // namespace quill::gui
