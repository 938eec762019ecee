#pragma once
// The tools picker: the configured tools, "&Launch" to start one, "&New Address..." to make
// a tool item from one that takes addresses, "&Close".

#include <QDialog>

class QListWidget;
class QPushButton;

namespace quill {
class TToolItem;
class TToolItems;
} // namespace quill

namespace quill::gui {

class ImageLists;

class TToolsDlg final : public QDialog {
    Q_OBJECT

public:
    // "&New Address..." closes the picker with this result.
    static constexpr int kNewAddress = 2;

    TToolsDlg(const TToolItems& tools, const ImageLists& images, QWidget* parent = nullptr);

    // The tool "&New Address..." was pressed for; none when no row was selected.
    TToolItem* ChosenTool() const { return chosen_; }

    void ToolsListClick();
    void LaunchBtnClick();
    void AddrBtnClick();
    void CloseBtnClick();

private:
    TToolItem* SelectedTool() const;

    QListWidget* toolsList_;
    QPushButton* launch_;
    QPushButton* newAddress_;
    TToolItem* chosen_ = nullptr;
};

} // namespace quill::gui
