#pragma once
// The record-type list and the two-list field chooser both wizards show: "Available Fields"
// (several may be selected), the chosen fields in column order (one selected; dragged
// within the list to change the order), and the buttons between them. Double-clicking a
// field, or dragging it onto the other list, moves it across. The state lives in the core's
// TFieldChooser.

#include "core/exchange/record_types.h"

#include <QListWidget>
#include <QWidget>

#include <string_view>

class QComboBox;
class QLabel;
class QToolButton;

namespace quill::gui {

// One of the two lists. A drag carries the list it came from and the rows dragged (under
// kFieldDragFormat), so a drop knows what to move whoever started the drag.
class FieldList final : public QListWidget {
    Q_OBJECT

public:
    static constexpr const char* kFieldDragFormat = "application/x-quillmere-fields";

    FieldList(bool chosen, QWidget* parent = nullptr);
    bool IsChosenList() const { return chosen_; }

signals:
    // Rows of the chosen list (fromChosen) or of the available list dropped here: onto is
    // the row of the entry they landed on, -1 for an empty area.
    void fieldsDropped(bool fromChosen, const QList<int>& rows, int onto);

protected:
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
    QStringList mimeTypes() const override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool chosen_;
};

class TFieldChooserFrame final : public QWidget {
    Q_OBJECT

public:
    // chosenHeading: "Fields to Import (in order)" or "Fields to Export (in order)";
    // typeCaption: "Import records of type:" or "Export records of type:"; repeatableField:
    // a field that can be chosen any number of times (the import's "(Ignore)"), or none.
    TFieldChooserFrame(const QString& typeCaption, const QString& chosenHeading,
                       QWidget* parent = nullptr, std::string_view repeatableField = {});

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
    // A drop from the other list: available fields put in at the row they land on (at the
    // end on an empty area), or a chosen field given back.
    void FieldsDropped(bool fromChosen, const QList<int>& rows, int onto, bool ontoChosen);

    QComboBox* RecTypeCombo() const { return recType_; }
    FieldList* AvailableList() const { return available_; }
    FieldList* ChosenList() const { return chosen_; }
    QToolButton* CopyRtBtn() const { return copyRt_; }
    QToolButton* CopyLtBtn() const { return copyLt_; }

signals:
    // The record type or the choice changed (the wizard decides "Next >>" on it).
    void choiceChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowLists();

    TFieldChooser chooser_;
    QComboBox* recType_;
    FieldList* available_;
    FieldList* chosen_;
    QToolButton* copyRt_;
    QToolButton* copyLt_;
};

} // namespace quill::gui
