// Drag and drop: nodes and entries dropped on tree nodes, documents dropped on entries with
// a fax number or an e-mail address, and files dropped from the file manager.

#include "gui/mainwindow/TMainForm.h"

#include "platform/Utf8Text.h"

#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "gui/common/Prompter.h"
#include "gui/mainwindow/ContentsListModel.h"
#include "gui/mainwindow/OutlineTreeModel.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QListView>
#include <QMimeData>
#include <QTreeView>
#include <QUrl>

#include <vector>

namespace quill::gui {
namespace {

QStringList LocalFiles(const QMimeData* data) {
    QStringList files;
    if (data->hasUrls()) {
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile()) {
                files << url.toLocalFile();
            }
        }
    }
    return files;
}

} // namespace

bool TMainForm::AcceptsDocumentDropOn(const TNRBObject* entry) const {
    const std::vector<TNRBObject*> selected = SelectedEntries();
    if (selected.empty() || selected.front()->Kind() != kDocumentKind || !entry) {
        return false;
    }
    return entry->CSVFieldText("Fax Number").size() > 1 ||
           entry->CSVFieldText("E-Mail Address").size() > 1;
}

bool TMainForm::AcceptsDrag(const QWidget* pane, QEvent::Type type, DragFrom from,
                            const QMimeData* data, const QPoint& at) const {
    if (pane == folders_->viewport()) {
        // The tree takes a pane drag anywhere; the drop itself needs a node.
        return from != DragFrom::Outside;
    }
    if (pane != iconView_->viewport() && pane != detailsView_->viewport()) {
        return false;
    }
    if (from == DragFrom::Outside) {
        return !LocalFiles(data).isEmpty();
    }
    if (from == DragFrom::Folders) {
        // Only a document dragged itself is sent: a node dragged out of the tree onto a fax
        // entry asked to send whichever document the list had selected.
        return false;
    }
    if (type == QEvent::DragEnter) {
        // A drag from the list enters it over the entry dragged. Refused there, the pane would
        // get no moves at all and the document could never reach an entry that takes it.
        const std::vector<TNRBObject*> selected = SelectedEntries();
        return !selected.empty() && selected.front()->Kind() == kDocumentKind;
    }
    const auto* view = static_cast<const QAbstractItemView*>(pane->parentWidget());
    return AcceptsDocumentDropOn(contents_->ItemAt(view->indexAt(at).row()));
}

bool TMainForm::HandlePaneDrag(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return false;
    }
    const bool onTree = watched == folders_->viewport();
    const bool onList = watched == iconView_->viewport() || watched == detailsView_->viewport();
    if (!onTree && !onList) {
        return false;
    }
    auto* drop = static_cast<QDropEvent*>(event);
    const QMimeData* data = drop->mimeData();
    const QObject* source = drop->source();
    DragFrom from = DragFrom::Outside;
    if (data->hasFormat(QLatin1String(kPaneDragMime))) {
        if (source == folders_) {
            from = DragFrom::Folders;
        } else if (source == iconView_ || source == detailsView_) {
            from = DragFrom::MainItems;
        }
    }
    const QPoint at = drop->position().toPoint();
    if (!AcceptsDrag(static_cast<QWidget*>(watched), type, from, data, at)) {
        drop->ignore();
        return true;
    }
    // Copy, not move: the views must never take rows out themselves.
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type != QEvent::Drop) {
        return true;
    }
    if (onTree) {
        DropOnFolders(OutlineTreeModel::NodeAt(folders_->indexAt(at)), from == DragFrom::Folders);
    } else if (from != DragFrom::Outside) {
        auto* view = static_cast<QAbstractItemView*>(watched->parent());
        DropDocumentOn(contents_->ItemAt(view->indexAt(at).row()));
    } else {
        DropFiles(LocalFiles(data));
    }
    return true;
}

void TMainForm::DropOnFolders(TOutlineNode* target, bool fromTree) {
    if (!target) {
        return;
    }
    if (fromTree) {
        TOutlineNode* moved = SelectedNode();
        // A node never goes into itself or its own subtree.
        if (moved && moved != target && !moved->IsAncestorOf(target)) {
            outline_.MoveNode(moved, target, target->ChildCount());
        }
    } else {
        TOutlineNode* holder = SelectedNode();
        const std::vector<TNRBObject*> entries = SelectedEntries();
        outline_.BeginUpdate();
        std::vector<TOutlineNode*> nodes;
        for (TNRBObject* item : entries) {
            if (item->IsTreeItem()) {
                if (item->Node()) {
                    nodes.push_back(item->Node());
                }
            } else if (holder && holder->Item() && target->Item()) {
                std::unique_ptr<TNRBObject> child = holder->Item()->UnlinkChild(item);
                if (child) {
                    TNRBObject* added = target->Item()->AddChild(std::move(child));
                    added->SetNode(target);
                }
            }
        }
        // A node never goes into itself or its own subtree; the outline refuses those.
        outline_.MoveNodesToEnd(nodes, target);
        outline_.EndUpdate();
        RefreshList();
    }
    TOutline::SortChildren(target);
    // Show where the dropped nodes went.
    folders_->expand(treeModel_->IndexOf(target));
}

void TMainForm::DropDocumentOn(TNRBObject* entry) {
    const std::vector<TNRBObject*> selected = SelectedEntries();
    if (!AcceptsDocumentDropOn(entry)) {
        return;
    }
    const TNRBObject* document = selected.front();
    const std::string path(document->Target());
    const QString title = FromUtf8(entry->Title());
    if (entry->CSVFieldText("Fax Number").size() > 1 &&
        Prompter::Ask(this, QStringLiteral("Send document via Fax to %1?").arg(title),
                      QStringLiteral("Confirm"),
                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                      QMessageBox::Question) == QMessageBox::Yes) {
        entry->SendFax(path);
    }
    if (entry->CSVFieldText("E-Mail Address").size() > 1 &&
        Prompter::Ask(
            this, QStringLiteral("Send document as an E-Mail attachment to %1?").arg(title),
            QStringLiteral("Confirm"), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
            QMessageBox::Question) == QMessageBox::Yes) {
        entry->SendMail(path);
    }
}

void TMainForm::DropFiles(const QStringList& paths) {
    if (paths.isEmpty()) {
        return;
    }
    EnsureSelectedNode();
    // Only the first file is taken; its path is kept whole, however long.
    const QString path = paths.front();
    const QString name = QFileInfo(path).fileName();
    CreateItem(kDocumentKind, name.toStdString(), path.toStdString(), "", 0, "", SelectedNode(),
               &outline_);
    RefreshList();
}

} // namespace quill::gui
