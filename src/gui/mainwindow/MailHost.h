#pragma once
// What mail, fax and the messaging service ask of the main window: its settings file, the
// item list's selection and the questions put to the user (the recipient picker among
// them).

#include "core/services.h"
#include "platform/LinuxMapi.h"

#include <QDialog>

class QListWidget;

namespace quill::gui {

class TMainForm;

// "Which one do you mean?": the entries the outline holds under one name.
class TPickRecipientDlg final : public QDialog {
    Q_OBJECT

public:
    TPickRecipientDlg(const QString& name, const std::vector<MailCandidate>& entries,
                      QWidget* parent = nullptr);
    QListWidget* List() const { return list_; }
    // The chosen row; none without a choice.
    std::optional<std::size_t> Choice() const;

private:
    QListWidget* list_;
};

class TMailHost final : public IMailHost, public platform::IMailDialogs {
public:
    explicit TMailHost(TMainForm& form) : form_(form) {}

    std::string SettingsFile() const override;
    bool ItemListActive() const override;
    std::vector<const TNRBObject*> SelectedListItems() const override;
    bool Confirm(std::string_view text) override;
    void ShowError(std::string_view text) override;

    std::optional<std::size_t> PickRecipient(const QString& name,
                                             const std::vector<MailCandidate>& entries) override;
    bool ConfirmFax(const QString& recipient, const QString& number,
                    const QString& document) override;
    void ShowMailProblem(const QString& text) override;

private:
    TMainForm& form_;
};

} // namespace quill::gui
