#include "gui/exchange/TFieldChooserFrame.h"

#include "gui/common/ImageLists.h"
#include "platform/Utf8Text.h"

#include <QComboBox>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace quill::gui {

ChosenFieldList::ChosenFieldList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
}

void ChosenFieldList::dragEnterEvent(QDragEnterEvent* event) {
    event->acceptProposedAction();
}

void ChosenFieldList::dragMoveEvent(QDragMoveEvent* event) {
    // Every drag onto the list is accepted; only a drop on an entry of its own moves one.
    event->acceptProposedAction();
}

void ChosenFieldList::dropEvent(QDropEvent* event) {
    const QModelIndex onto = indexAt(event->position().toPoint());
    const int from = currentRow();
    event->setDropAction(Qt::IgnoreAction); // the list is refilled, not changed by Qt
    event->accept();
    // Only the list's own entries are moved (a drag from elsewhere names another source).
    const QObject* source = event->source();
    if ((!source || source == this) && onto.isValid() && from >= 0) {
        emit fieldDropped(from, onto.row());
    }
}

TFieldChooserFrame::TFieldChooserFrame(const QString& typeCaption, const QString& chosenHeading,
                                       QWidget* parent)
    : QWidget(parent), recType_(new QComboBox(this)), available_(new QListWidget(this)),
      chosen_(new ChosenFieldList(this)), copyRt_(new QToolButton(this)),
      copyLt_(new QToolButton(this)) {
    setObjectName(QStringLiteral("FieldChooser"));
    recType_->setObjectName(QStringLiteral("RecTypeCombo"));
    available_->setObjectName(QStringLiteral("ListBox1"));
    chosen_->setObjectName(QStringLiteral("ListBox2"));
    copyRt_->setObjectName(QStringLiteral("CopyRtBtn"));
    copyLt_->setObjectName(QStringLiteral("CopyLtBtn"));
    available_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    chosen_->setToolTip(QStringLiteral("Drag & drop fields to change order"));
    copyRt_->setText(QStringLiteral(">"));
    copyLt_->setText(QStringLiteral("<"));
    copyRt_->setArrowType(Qt::RightArrow);
    copyLt_->setArrowType(Qt::LeftArrow);
    copyRt_->setToolTip(QStringLiteral("Copy to Import"));
    copyLt_->setToolTip(QStringLiteral("Copy to Available"));
    for (QToolButton* button : {copyRt_, copyLt_}) {
        button->setFocusPolicy(Qt::StrongFocus);
        button->setAutoRaise(false);
    }
    for (const TRecordType& type : RecordTypes()) {
        recType_->addItem(ImageLists::StandardIcon(type.kind), FromUtf8(type.name));
    }

    auto* typeLabel = new QLabel(typeCaption, this);
    typeLabel->setBuddy(recType_);
    auto* availableLabel = new QLabel(QStringLiteral("Available Fields"), this);
    availableLabel->setBuddy(available_);
    auto* chosenLabel = new QLabel(chosenHeading, this);
    chosenLabel->setBuddy(chosen_);
    auto* buttons = new QVBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(copyRt_);
    buttons->addWidget(copyLt_);
    buttons->addStretch(1);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(typeLabel, 0, 0, 1, 3);
    grid->addWidget(recType_, 1, 0, 1, 3);
    grid->addWidget(availableLabel, 2, 0);
    grid->addWidget(chosenLabel, 2, 2);
    grid->addWidget(available_, 3, 0);
    grid->addLayout(buttons, 3, 1);
    grid->addWidget(chosen_, 3, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(3, 1);
    setTabOrder(recType_, available_);
    setTabOrder(available_, copyRt_);
    setTabOrder(copyRt_, copyLt_);
    setTabOrder(copyLt_, chosen_);

    connect(recType_, &QComboBox::currentIndexChanged, this,
            &TFieldChooserFrame::RecTypeComboChange);
    connect(copyRt_, &QToolButton::clicked, this, &TFieldChooserFrame::CopyRtBtnClick);
    connect(copyLt_, &QToolButton::clicked, this, &TFieldChooserFrame::CopyLtBtnClick);
    connect(available_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        available_->clearSelection();
        item->setSelected(true);
        CopyRtBtnClick();
    });
    connect(chosen_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        chosen_->setCurrentItem(item);
        CopyLtBtnClick();
    });
    connect(chosen_, &ChosenFieldList::fieldDropped, this, &TFieldChooserFrame::ListBox2DragDrop);
    RecTypeComboChange();
}

void TFieldChooserFrame::SelectRecordType(int index) {
    recType_->setCurrentIndex(index);
    RecTypeComboChange();
}

void TFieldChooserFrame::RecTypeComboChange() {
    if (const TRecordType* type =
            RecordTypeAt(static_cast<std::size_t>(recType_->currentIndex()))) {
        chooser_.SetRecordType(*type);
    }
    ShowLists();
    emit choiceChanged();
}

void TFieldChooserFrame::CopyRtBtnClick() {
    std::vector<bool> selected(chooser_.Available().size(), false);
    for (int row = 0; row < available_->count(); ++row) {
        selected[static_cast<std::size_t>(row)] = available_->item(row)->isSelected();
    }
    chooser_.ChooseSelected(selected);
    ShowLists();
    emit choiceChanged();
}

void TFieldChooserFrame::CopyLtBtnClick() {
    const int row = chosen_->currentRow();
    if (row < 0 || !chosen_->item(row)->isSelected()) {
        return;
    }
    chooser_.UnchooseAt(static_cast<std::size_t>(row));
    ShowLists();
    emit choiceChanged();
}

void TFieldChooserFrame::ListBox2DragDrop(int from, int onto) {
    if (from < 0 || onto < 0) {
        return;
    }
    chooser_.MoveChosen(static_cast<std::size_t>(from), static_cast<std::size_t>(onto));
    ShowLists();
    chosen_->setCurrentRow(onto);
    emit choiceChanged();
}

void TFieldChooserFrame::ShowLists() {
    available_->clear();
    for (const std::string& field : chooser_.Available()) {
        available_->addItem(FromUtf8(field));
    }
    chosen_->clear();
    for (const std::string& field : chooser_.Chosen()) {
        chosen_->addItem(FromUtf8(field));
    }
}

} // namespace quill::gui
