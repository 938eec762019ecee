#pragma once
// The category popup of every editor: one check list of the category names, opened at the
// lower-left corner of the editor's category picture. Closing it rebuilds the item's
// categories from the ticks at once, whatever the editor does afterwards.

#include <QDialog>
#include <QLabel>
#include <QStringList>

class QListWidget;

namespace quill {
class TNRBObject;
}

namespace quill::gui {

class TCategoryPopup final : public QDialog {
    Q_OBJECT

public:
    TCategoryPopup(const QStringList& names, std::int32_t categories, QWidget* parent = nullptr);

    // Bit i set for every ticked entry i.
    std::int32_t Categories() const;
    QListWidget* List() const { return list_; }

    // Opens the popup for the item with its top-left corner at the point (screen
    // coordinates) and writes the categories back when it closes.
    static void Run(TNRBObject& item, const QStringList& names, QPoint topLeft,
                    QWidget* parent = nullptr);

private:
    QListWidget* list_;
};

// The `CatSelect` picture of the editors: clicking it opens the category popup for the item.
class TCatSelect final : public QLabel {
    Q_OBJECT

public:
    TCatSelect(TNRBObject& item, std::function<QStringList()> names, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Open();

    TNRBObject& item_;
    std::function<QStringList()> names_;
};

} // namespace quill::gui
