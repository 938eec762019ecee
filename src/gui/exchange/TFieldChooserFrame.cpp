#include "gui/exchange/TFieldChooserFrame.h"

#include "gui/common/ImageLists.h"
#include "platform/Utf8Text.h"

#include <QComboBox>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace quill::gui {

namespace {

// "chosen" or "available", then the rows: what a drag of the lists carries.
QByteArray FieldDragData(bool chosen, const QList<int>& rows) {
    QByteArray data = chosen ? "chosen" : "available";
    for (int row : rows) {
        data += ' ' + QByteArray::number(row);
    }
    return data;
}

bool ReadFieldDragData(const QMimeData* mime, bool& chosen, QList<int>& rows) {
    if (!mime || !mime->hasFormat(QLatin1String(FieldList::kFieldDragFormat))) {
        return false;
    }
    const QList<QByteArray> parts =
        mime->data(QLatin1String(FieldList::kFieldDragFormat)).split(' ');
    if (parts.front() != "chosen" && parts.front() != "available") {
        return false;
    }
    chosen = parts.front() == "chosen";
    rows.clear();
    for (qsizetype i = 1; i < parts.size(); ++i) {
        bool ok = false;
        const int row = parts[i].toInt(&ok);
        if (!ok || row < 0) {
            return false;
        }
        rows << row;
    }
    return !rows.isEmpty();
}

} // namespace

FieldList::FieldList(bool chosen, QWidget* parent) : QListWidget(parent), chosen_(chosen) {
    setSelectionMode(chosen ? QAbstractItemView::SingleSelection
                            : QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(chosen);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
}

QStringList FieldList::mimeTypes() const {
    return {QLatin1String(kFieldDragFormat)};
}

QMimeData* FieldList::mimeData(const QList<QListWidgetItem*>& items) const {
    QList<int> rows;
    for (const QListWidgetItem* item : items) {
        rows << row(item);
    }
    std::sort(rows.begin(), rows.end());
    auto* mime = new QMimeData;
    mime->setData(QLatin1String(kFieldDragFormat), FieldDragData(chosen_, rows));
    return mime;
}

void FieldList::dragEnterEvent(QDragEnterEvent* event) {
    event->acceptProposedAction();
}

void FieldList::dragMoveEvent(QDragMoveEvent* event) {
    // Every drag onto the list is accepted; only a drop of the chooser's own fields moves one.
    event->acceptProposedAction();
}

void FieldList::dropEvent(QDropEvent* event) {
    const QModelIndex onto = indexAt(event->position().toPoint());
    event->setDropAction(Qt::IgnoreAction); // the lists are refilled, not changed by Qt
    event->accept();
    bool fromChosen = false;
    QList<int> rows;
    if (ReadFieldDragData(event->mimeData(), fromChosen, rows)) {
        emit fieldsDropped(fromChosen, rows, onto.isValid() ? onto.row() : -1);
    }
}

TFieldChooserFrame::TFieldChooserFrame(const QString& typeCaption, const QString& chosenHeading,
                                       QWidget* parent, std::string_view repeatableField)
    : QWidget(parent), recType_(new QComboBox(this)), available_(new FieldList(false, this)),
      chosen_(new FieldList(true, this)), copyRt_(new QToolButton(this)),
      copyLt_(new QToolButton(this)) {
    setObjectName(QStringLiteral("FieldChooser"));
    chooser_.SetRepeatableField(repeatableField);
    recType_->setObjectName(QStringLiteral("RecTypeCombo"));
    available_->setObjectName(QStringLiteral("ListBox1"));
    chosen_->setObjectName(QStringLiteral("ListBox2"));
    copyRt_->setObjectName(QStringLiteral("CopyRtBtn"));
    copyLt_->setObjectName(QStringLiteral("CopyLtBtn"));
    chosen_->setToolTip(QStringLiteral("Drag & drop fields to change order"));
    // The keyboard's way to change the order: Ctrl+Up and Ctrl+Down move the current field.
    chosen_->installEventFilter(this);
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
    auto* availableLabel = new QLabel(QStringLiteral("&Available Fields"), this);
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
    for (FieldList* list : {available_, chosen_}) {
        connect(list, &FieldList::fieldsDropped, this,
                [this, list](bool fromChosen, const QList<int>& rows, int onto) {
                    FieldsDropped(fromChosen, rows, onto, list == chosen_);
                });
    }
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

bool TFieldChooserFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == chosen_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int step = key->key() == Qt::Key_Up ? -1 : key->key() == Qt::Key_Down ? 1 : 0;
        if (step != 0 && key->modifiers() == Qt::ControlModifier) {
            const int from = chosen_->currentRow();
            const int onto = from + step;
            if (from >= 0 && onto >= 0 && onto < chosen_->count()) {
                ListBox2DragDrop(from, onto);
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
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

void TFieldChooserFrame::FieldsDropped(bool fromChosen, const QList<int>& rows, int onto,
                                       bool ontoChosen) {
    if (fromChosen && ontoChosen) {
        if (rows.size() == 1 && onto >= 0) {
            ListBox2DragDrop(rows.front(), onto);
        }
        return;
    }
    if (fromChosen) {
        // Given back wherever it lands, as "Copy to Available" does.
        if (rows.size() == 1 && rows.front() < chosen_->count()) {
            chosen_->setCurrentRow(rows.front());
            CopyLtBtnClick();
        }
        return;
    }
    if (!ontoChosen) {
        return; // the available list keeps no order of its own
    }
    std::vector<bool> selected(chooser_.Available().size(), false);
    for (int row : rows) {
        if (row < 0 || static_cast<std::size_t>(row) >= selected.size()) {
            return;
        }
        selected[static_cast<std::size_t>(row)] = true;
    }
    const std::size_t at = onto < 0 ? chooser_.Chosen().size() : static_cast<std::size_t>(onto);
    chooser_.ChooseSelectedAt(selected, at);
    ShowLists();
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
