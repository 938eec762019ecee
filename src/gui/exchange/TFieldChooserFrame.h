#pragma once
// The record-type list and the two-list field chooser both wizards show: "Available Fields"
// (several may be selected), the chosen fields in column order (one selected; dragged
// within the list to change the order), and the buttons between them. Double-clicking a
// field moves it across. The state lives in the core's TFieldChooser.

#include "core/exchange/record_types.h"

#include <QListWidget>
#include <QWidget>

class QComboBox;
class QLabel;
class QToolButton;

namespace quill::gui {

// The chosen list: a drop moves the dragged field onto the entry it lands on.
class ChosenFieldList final : public QListWidget {
    Q_OBJECT

public:
    explicit ChosenFieldList(QWidget* parent = nullptr);

signals:
    void fieldDropped(int from, int onto);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

class TFieldChooserFrame final : public QWidget {
    Q_OBJECT

public:
    // chosenHeading: "Fields to Import (in order)" or "Fields to Export (in order)";
    // typeCaption: "Import records of type:" or "Export records of type:".
    TFieldChooserFrame(const QString& typeCaption, const QString& chosenHeading,
                       QWidget* parent = nullptr);

    void SelectRecordType(int index);
    const TRecordType* RecordType() const { return chooser_.RecordType(); }
    const std::vector<std::string>& Chosen() const { return chooser_.Chosen(); }
    const std::vector<std::string>& Available() const { return chooser_.Available(); }
    bool CanProceed() const { return chooser_.CanProceed(); }

    // The handlers.
    void RecTypeComboChange();
    void CopyRtBtnClick();
    void CopyLtBtnClick();
    void ListBox2DragDrop(int from, int onto);

    QComboBox* RecTypeCombo() const { return recType_; }
    QListWidget* AvailableList() const { return available_; }
    ChosenFieldList* ChosenList() const { return chosen_; }
    QToolButton* CopyRtBtn() const { return copyRt_; }
    QToolButton* CopyLtBtn() const { return copyLt_; }

signals:
    // The record type or the choice changed (the wizard decides "Next >>" on it).
    void choiceChanged();

private:
    void ShowLists();

    TFieldChooser chooser_;
    QComboBox* recType_;
    QListWidget* available_;
    ChosenFieldList* chosen_;
    QToolButton* copyRt_;
    QToolButton* copyLt_;
};

} // namespace quill::gui
