#include "gui/mainwindow/ToolsDlg.h"

#include "core/storage/tool_items.h"
#include "gui/mainwindow/ToolEntries.h"
#include "gui/mainwindow/ToolsMenu.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quill::gui {

TToolsDlg::TToolsDlg(const TToolItems& tools, const ImageLists& images, QWidget* parent)
    : QDialog(parent, Qt::Tool), toolsList_(new QListWidget(this)),
      launch_(new QPushButton(QStringLiteral("&Launch"), this)),
      newAddress_(new QPushButton(QStringLiteral("&New Address..."), this)) {
    setObjectName(QStringLiteral("TToolsDlg"));
    setWindowTitle(QStringLiteral("Tools"));
    toolsList_->setObjectName(QStringLiteral("ToolsList"));
    toolsList_->setItemDelegate(new ToolEntryDelegate(images, toolsList_));
    toolsList_->setUniformItemSizes(true);
    toolsList_->setSelectionMode(QAbstractItemView::SingleSelection);
    toolsList_->setMinimumSize(260, 5 * kToolEntryHeight + 2 * toolsList_->frameWidth());
    for (int i = 0; i < tools.Count(); ++i) {
        NewToolEntry(toolsList_, tools.Items(i));
    }
    launch_->setObjectName(QStringLiteral("LaunchBtn"));
    newAddress_->setObjectName(QStringLiteral("AddrBtn"));
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("CloseBtn"));
    launch_->setEnabled(false);
    newAddress_->setEnabled(false);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(launch_);
    buttons->addWidget(newAddress_);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(toolsList_, 1);
    layout->addLayout(buttons);

    connect(toolsList_, &QListWidget::itemClicked, this, &TToolsDlg::ToolsListClick);
    connect(toolsList_, &QListWidget::currentRowChanged, this, &TToolsDlg::ToolsListClick);
    // Space selects a row without moving to it: the buttons follow that selection too.
    connect(toolsList_, &QListWidget::itemSelectionChanged, this, &TToolsDlg::ToolsListClick);
    connect(toolsList_, &QListWidget::itemDoubleClicked, this, &TToolsDlg::LaunchBtnClick);
    connect(launch_, &QPushButton::clicked, this, &TToolsDlg::LaunchBtnClick);
    connect(newAddress_, &QPushButton::clicked, this, &TToolsDlg::AddrBtnClick);
    connect(close, &QPushButton::clicked, this, &TToolsDlg::CloseBtnClick);
}

TToolItem* TToolsDlg::SelectedTool() const {
    const QList<QListWidgetItem*> selected = toolsList_->selectedItems();
    return selected.isEmpty() ? nullptr : ToolOfEntry(selected.front());
}

void TToolsDlg::ToolsListClick() {
    const TToolItem* tool = SelectedTool();
    if (!tool) {
        return;
    }
    launch_->setEnabled(true);
    newAddress_->setEnabled(tool->TakesAddress());
}

void TToolsDlg::LaunchBtnClick() {
    if (const TToolItem* tool = SelectedTool()) {
        LaunchTool(*tool, {});
    }
    done(QDialog::Rejected);
}

void TToolsDlg::AddrBtnClick() {
    chosen_ = SelectedTool();
    done(kNewAddress);
}

void TToolsDlg::CloseBtnClick() {
    done(QDialog::Rejected);
}

} // namespace quill::gui
