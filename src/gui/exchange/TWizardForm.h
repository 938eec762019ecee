#pragma once
// The page-sequencing dialog both wizards are built on: pages with hidden tabs in a stacked
// widget, and below them "Cancel", "<< Back" and "Next >>" (the default button). The path
// through the pages (VisibleSheets) and the position (CurrentPage) follow the core's
// TWizardSequence; "Next >>" becomes "Finish" on the last page of the path and then closes
// the wizard with OK, provided FormClose agrees. F1 opens the wizard's help page.

#include "core/wizards/wizard_sequence.h"

#include <QDialog>
#include <QStringList>

#include <optional>

class QPushButton;
class QStackedWidget;
class QVBoxLayout;

namespace quill::gui {

class TWizardForm : public QDialog {
    Q_OBJECT

public:
    explicit TWizardForm(QWidget* parent = nullptr);

    void ShowAllSheets();
    // Keeps the visible pages named in pages, in page order.
    void KeepSheets(const std::vector<std::string>& pages);
    QStringList VisibleSheets() const;
    int CurrentPage() const;
    // Ignored unless 0 <= page < the number of visible pages.
    void SetCurrentPage(int page);
    // The object name of the page shown.
    QString CurrentPageName() const;
    QWidget* Page(const QString& name) const;

    void NextBtnClick();
    void PrevBtnClick();

    QPushButton* NextBtn() const { return next_; }
    QPushButton* BackBtn() const { return back_; }
    QPushButton* CancelBtn() const { return cancel_; }
    int HelpContext() const { return helpContext_; }

protected:
    // Adds a page under its name; the pages' order is the order they are added in. Call
    // FinishPages when all are there.
    void AddPage(std::string_view name, QWidget* page);
    void FinishPages();
    void SetHelpContext(int context) { helpContext_ = context; }
    // Run after every "Next >>" and "<< Back" and whenever the path changes.
    virtual void PageChange() {}
    // Closing with OK: the wizard does its work here; false keeps it open.
    virtual bool FormClose() { return true; }
    // A column for a page's contents, with the page's margins.
    static QVBoxLayout* PageLayout(QWidget* page);

    void accept() override;
    void showEvent(QShowEvent* event) override;

private:
    void ShowCurrent();
    // The focus to the first control of the page shown, in Tab order.
    void FocusFirstControl();

    QStackedWidget* stack_;
    QPushButton* cancel_;
    QPushButton* back_;
    QPushButton* next_;
    std::vector<std::string> names_;
    std::optional<TWizardSequence> sequence_;
    int helpContext_ = 0;
    bool sized_ = false;
    static constexpr int kWidth = 560;
    static constexpr int kHeight = 520;
};

} // namespace quill::gui
