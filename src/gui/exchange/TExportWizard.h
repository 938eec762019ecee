#pragma once
// "Publishing Wizard": the file type on the first page, then that type's pages: the exchange
// file, an HTML site (index, graphics, download links, where and under which names), CSV
// (record type, fields, file) or a vCard file. "Finish" checks the file name and writes
// with the progress window; Cancel there removes the files this run created.

#include "core/storage/data_file.h"
#include "core/wizards/export_rules.h"
#include "gui/exchange/TWizardForm.h"

#include <QColor>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QSpinBox;
class QVBoxLayout;

namespace quill {
class TOutlineNode;
}

namespace quill::gui {

class TFieldChooserFrame;
class TFolderBrowser;
class TProgressForm;

inline constexpr int kPublishWizardHelp = 1060;

class TExportWizard final : public TWizardForm {
    Q_OBJECT

public:
    explicit TExportWizard(TProgressForm* progress = nullptr, QWidget* parent = nullptr);

    // The start node: its path on the first page, and the names proposed from its title.
    void SetParent(TOutlineNode* node);
    // The items the category filter hides, left out of exchange files and vCard subtrees.
    void SetHiddenTest(HiddenItemTest hidden) { hidden_ = std::move(hidden); }
    // The 32 category names a vCard 3.0 or 4.0 writes as CATEGORIES (default: the default
    // names).
    void SetCategoryNames(std::vector<std::string> names) { categoryNames_ = std::move(names); }

    void ExportTypeChange();
    void SelectType(ExportType type);
    ExportType Type() const;

    // The graphics page.
    void BkgComboBoxChange();
    void BrowseBkgButtonClick();
    void TextColorComboChange();
    void DrawPreview();
    // Where the pictures come from ("Web Graphics" with "Backgrounds/" and "Icons/").
    void SetWebGraphicsDirectory(const QString& directory);
    const QString& PagePicture() const { return pagePicture_; }
    const QString& PreviewFile() const { return previewFile_; }

    // What "Finish" would write.
    ExportRequest Request() const;
    const QString& ResultText() const { return resultText_; }
    bool LastExportCancelled() const { return cancelled_; }

    TFolderBrowser* Browser(const QString& page) const;
    QLineEdit* FileNameEdit(const QString& page) const;
    TFieldChooserFrame* Chooser() const { return chooser_; }
    QComboBox* TypeList() const { return exportType_; }
    QComboBox* Backgrounds() const { return backgrounds_; }
    QComboBox* TextColour() const { return textColour_; }
    QComboBox* LinkColour() const { return linkColour_; }
    QLabel* Preview() const { return preview_; }
    QSpinBox* Levels() const { return levels_; }
    QCheckBox* UseFrames() const { return useFrames_; }
    QCheckBox* QldLink() const { return qldLink_; }
    QCheckBox* VCardLinks() const { return vCardLinks_; }
    QCheckBox* IncludeNames() const { return includeNames_; }
    QLineEdit* PageTitle() const { return pageTitle_; }
    // Where the vCard page's further choices go: the version and the whole subtree.
    QVBoxLayout* VCardOptions() const { return vCardOptions_; }
    QComboBox* VCardVersionBox() const { return vCardVersion_; }
    QCheckBox* VCardSubtree() const { return vCardSubtree_; }

protected:
    void PageChange() override;
    bool FormClose() override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* MakeTypePage();
    QWidget* MakeFilePage(const QString& intro, const QString& text, const QString& nameCaption,
                          QVBoxLayout** extra = nullptr, QFormLayout** nameForm = nullptr);
    QWidget* MakeIndexPage();
    QWidget* MakeGraphicsPage();
    QWidget* MakeLinksPage();
    QWidget* MakeHtmlFilePage();
    QWidget* MakeCsvFieldsPage();
    void AddVCardOptions();
    // The kind warning for a one-item vCard file of an item that has no card; true when
    // the choice stands.
    bool VCardKindAccepted();
    QString PageOfType() const;
    void Export(const ExportRequest& request);

    TProgressForm* progress_;
    TOutlineNode* start_ = nullptr;
    HiddenItemTest hidden_;
    std::vector<std::string> categoryNames_;
    bool shown_ = false;
    int appliedType_ = 0;
    QComboBox* exportType_ = nullptr;
    QLabel* startPath_ = nullptr;
    QSpinBox* levels_ = nullptr;
    QCheckBox* useFrames_ = nullptr;
    QComboBox* backgrounds_ = nullptr;
    QComboBox* textColour_ = nullptr;
    QComboBox* linkColour_ = nullptr;
    QLabel* preview_ = nullptr;
    QCheckBox* qldLink_ = nullptr;
    QCheckBox* vCardLinks_ = nullptr;
    QLineEdit* pageTitle_ = nullptr;
    TFieldChooserFrame* chooser_ = nullptr;
    QCheckBox* includeNames_ = nullptr;
    QVBoxLayout* vCardOptions_ = nullptr;
    QFormLayout* vCardForm_ = nullptr;
    QComboBox* vCardVersion_ = nullptr;
    QCheckBox* vCardSubtree_ = nullptr;
    QString webGraphics_;
    QString previewFile_;
    QString pagePicture_;
    QString resultText_;
    bool cancelled_ = false;
};

} // namespace quill::gui
