#pragma once
// The options dialog: the browser and mail preferences, the tools and the category
// names. Tool changes act on the tools at once and stay whatever button closes the dialog;
// the preferences and the category names are written to the settings file on "OK" only.

#include "core/storage/tool_items.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace quill::gui {

class ImageLists;

class TOptionPages final : public QDialog {
    Q_OBJECT

public:
    // FormCreate: reads the preferences from the settings file and lists the tools. Tools
    // without an icon hook get one into images (see ConnectToolIcons), so that new and changed
    // tools show their icons; images must outlive the tools then.
    TOptionPages(const QString& iniPath, TToolItems& tools, ImageLists& images,
                 QWidget* parent = nullptr);

    // The main window's category names into CatList, and back out after "OK".
    void SetCategoryNames(const QStringList& names);
    QStringList CategoryNames() const;

    // The tool an entry of ToolsList stands for.
    static TToolItem* ToolOf(const QListWidgetItem* entry);

    // FormClose: CatName applied when it has the focus, then on "OK" the settings written.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* BuildBrowserPage();
    QWidget* BuildToolsPage();
    QWidget* BuildCategoriesPage();
    void FormCreate();
    void WriteSettings();

    TToolItem* SelectedTool() const;
    void SelectPathClick();
    void ToolsListClick();
    void AttributesChange(QObject* control);
    void NewToolBtnClick();
    void DelToolBtnClick();
    void CatListClick();
    void CatNameExit();
    void HelpBtnClick();

    QString iniPath_;
    TToolItems& tools_;
    ImageLists& images_;

    QTabWidget* pages_;
    QComboBox* dde_;
    QLineEdit* path_;
    QRadioButton* emailOpt_[3];
    QListWidget* toolsList_;
    QLineEdit* description_;
    QLineEdit* filenameEdit_;
    QLineEdit* arguments_;
    QCheckBox* addressCheckBox_;
    QListWidget* catList_;
    QLineEdit* catName_;
    bool centred_ = false;
};

// OptionsItemClick: runs the dialog over the tools and the category names; true when it was
// closed with "OK", and then categoryNames holds the names of CatList. (The caller clears the
// filter's ticks, takes the browser preferences again and rebuilds the tools menus, which it
// does after "Cancel" too.)
bool RunOptions(QWidget* parent, const QString& iniPath, TToolItems& tools,
                QStringList& categoryNames, ImageLists& images);

} // namespace quill::gui
