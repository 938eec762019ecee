#pragma once
// "Import Wizard": the source on the first page, then that source's pages; "Finish" runs the
// import under the target node with the progress window (Cancel takes back everything the
// import added) and then says what came in.

#include "core/wizards/import_rules.h"
#include "gui/exchange/TFolderBrowser.h"
#include "gui/exchange/TWizardForm.h"
#include "platform/BrowserBookmarks.h"

#include <QList>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;

namespace quill {
class TOutlineNode;
}

namespace quill::gui {

class TFieldChooserFrame;
class TFolderBrowser;
class TProgressForm;

inline constexpr int kImportWizardHelp = 1050;

class TImportWizard final : public TWizardForm {
    Q_OBJECT

public:
    explicit TImportWizard(TProgressForm* progress = nullptr, QWidget* parent = nullptr);

    // The import target: its path is shown on the favourites page.
    void SetParent(TOutlineNode* node);
    TOutlineNode* Target() const { return target_; }
    // The 32 category names that a vCard's CATEGORIES are matched with (default: the
    // default names).
    void SetCategoryNames(std::vector<std::string> names) { categoryNames_ = std::move(names); }

    void ImportTypeChange();
    void SelectSource(ImportSource source);
    ImportSource Source() const;

    // What the last "Finish" reported ("Imported 3 persons.", and for vCards and text what
    // the file held that was not kept), and whether it was cancelled.
    const QString& ResultText() const { return resultText_; }
    bool LastImportCancelled() const { return cancelled_; }
    // Milliseconds from "Finish" to the progress window's first update (-1: none).
    qint64 FirstProgressMilliseconds() const { return firstProgress_; }

    TFolderBrowser* Browser(const QString& page) const;
    TFieldChooserFrame* Chooser() const { return chooser_; }
    QComboBox* ImportType() const { return importType_; }
    QLabel* Status(const QString& page) const;
    QRadioButton* TabSeparator() const { return tab_; }
    QCheckBox* FirstLineHasNames() const { return firstLineHasNames_; }
    QComboBox* BrowserProfiles() const { return profiles_; }
    // The profiles the bookmarks page offers (found in the user's home when shown).
    void SetBrowserProfiles(const QList<platform::BrowserProfile>& profiles);

protected:
    void PageChange() override;
    bool FormClose() override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* MakeSourcePage();
    QWidget* MakeFavoritesPage();
    QWidget* MakeFilePage(const QString& text, const std::vector<FileFilter>& filters,
                          const QString& picture = {});
    QWidget* MakeDirectoryPage(const QString& text, const QString& box, std::string_view name);
    QWidget* MakeTextFieldsPage();
    QWidget* MakeTextFilePage();
    void AddBrowserChoice(QWidget* page);
    ImportRequest Request(BrowserBookmarks& browser);
    void Import(const ImportRequest& request);

    TProgressForm* progress_;
    TOutlineNode* target_ = nullptr;
    std::vector<std::string> categoryNames_;
    bool firstEntry_ = false;
    bool shown_ = false;
    QComboBox* importType_ = nullptr;
    QLabel* targetPath_ = nullptr;
    TFieldChooserFrame* chooser_ = nullptr;
    QRadioButton* comma_ = nullptr;
    QRadioButton* tab_ = nullptr;
    QCheckBox* firstLineHasNames_ = nullptr;
    QComboBox* profiles_ = nullptr;
    QList<platform::BrowserProfile> profileList_;
    QString resultText_;
    bool cancelled_ = false;
    qint64 firstProgress_ = -1;
};

} // namespace quill::gui
