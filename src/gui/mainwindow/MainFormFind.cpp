// Find: the search a second after the last keystroke, F3, and the walk itself.

#include "gui/mainwindow/TMainForm.h"

#include "platform/Utf8Text.h"

#include "core/model/locate.h"
#include "core/model/nrb_object.h"
#include "core/util/text_encoding.h"
#include "gui/common/TProgressForm.h"
#include "gui/mainwindow/ContentsListModel.h"
#include "gui/mainwindow/OutlineTreeModel.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTreeView>

#include <utility>

namespace quill::gui {

void TMainForm::SearchTimeTimer() {
    searchTime_.Stop();
    Locate(findEdit_->text());
}

int TMainForm::ListRowOfCaption(const QString& caption) const {
    for (int row = 0; row < contents_->rowCount(); ++row) {
        if (contents_->index(row, 0).data().toString().compare(caption, Qt::CaseInsensitive) == 0) {
            return row;
        }
    }
    return -1;
}

void TMainForm::SelectListRow(int row) {
    const QModelIndex index = contents_->index(row, 0);
    QItemSelectionModel* selection = ListView()->selectionModel();
    selection->setCurrentIndex(index,
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ListView()->scrollTo(index);
}

void TMainForm::Locate(const QString& text) {
    const std::string lower = Utf8ToLower(text.toStdString());
    if (!SelectedNode()) {
        SelectNode(Root());
    }
    const int nodes = static_cast<int>(outline_.NodeCount());
    if (progress_) {
        progress_->SetAction(QStringLiteral("Searching..."));
        progress_->SetResult({});
        progress_->SetRange(0, std::max(0, nodes - 1));
        progress_->SetPosition(0);
        progress_->ShowProgress();
    }
    // The walk starts at the node of the list's selected entry, which is let go, or else at
    // the tree's selected node.
    const TOutlineNode* start = SelectedNode();
    const std::vector<TNRBObject*> entries = SelectedEntries();
    const TOutlineNode* hidden = std::exchange(hiddenFound_, nullptr);
    if (entries.empty() && hidden && start) {
        // Only compared, never followed: the node may have gone since.
        for (std::size_t i = 0; i < start->ChildCount(); ++i) {
            if (start->ChildAt(i) == hidden) {
                start = hidden;
                break;
            }
        }
    }
    if (!entries.empty()) {
        if (entries.front()->Node()) {
            start = entries.front()->Node();
        }
        ListView()->selectionModel()->select(contents_->index(contents_->RowOf(entries.front()), 0),
                                             QItemSelectionModel::Deselect |
                                                 QItemSelectionModel::Rows);
    }
    const LocateResult found = LocateInOutline(outline_, start, lower, [this] {
        if (progress_) {
            progress_->Advance();
        }
    });
    if (progress_) {
        progress_->HideProgress();
    }
    if (!found) {
        return;
    }
    if (found.subItem) {
        SelectNode(found.node);
        const int row = ListRowOfCaption(FromUtf8(found.subItem->Title()));
        if (row >= 0) {
            SelectListRow(row);
        }
        ListView()->setFocus();
        SetActivePane(Pane::MainItems);
        return;
    }
    TOutlineNode* parent = found.node->Parent();
    if (!parent) {
        SelectNode(found.node);
        folders_->setFocus();
        SetActivePane(Pane::Folders);
        return;
    }
    SelectNode(parent);
    const int row = ListRowOfCaption(FromUtf8(found.node->Text()));
    if (row >= 0) {
        SelectListRow(row);
        ListView()->setFocus();
        SetActivePane(Pane::MainItems);
    } else {
        // The filter may hide it from the list; the tree still shows where it is.
        hiddenFound_ = found.node;
        folders_->setFocus();
        SetActivePane(Pane::Folders);
    }
}

} // namespace quill::gui
