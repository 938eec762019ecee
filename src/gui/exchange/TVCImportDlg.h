#pragma once
// "vCard Import": asked for every card that names an organization, whether it becomes a
// person ("Import as Person", the default) or an organization ("Import as Orgn."). The check
// box "Apply to all remaining cards" gives the same answer to the rest of the file, so a
// file of thousands of such cards asks once.

#include "core/exchange/vcard.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace quill::gui {

class TProgressForm;

class TVCImportDlg final : public QDialog {
    Q_OBJECT

public:
    // The dialog's results.
    static constexpr int kAsPerson = 1;
    static constexpr int kAsOrganization = 2;

    TVCImportDlg(const QString& name, const QString& organization, QWidget* parent = nullptr);

    bool ApplyToAll() const;
    QPushButton* PersonBtn() const { return person_; }
    QPushButton* OrganizationBtn() const { return organization_; }
    QCheckBox* ApplyToAllBox() const { return applyToAll_; }

private:
    QPushButton* person_;
    QPushButton* organization_;
    QCheckBox* applyToAll_;
};

// The import's question answered with the dialog, remembered once "Apply to all remaining
// cards" was checked. A progress window in front is put aside while the dialog asks.
class TVCardImportChoice final : public IVCardImportChoice {
public:
    explicit TVCardImportChoice(QWidget* parent, TProgressForm* progress = nullptr)
        : parent_(parent), progress_(progress) {}
    bool ImportAsOrganization(std::string_view displayName, std::string_view organization) override;

private:
    QWidget* parent_;
    TProgressForm* progress_;
    int remembered_ = 0; // a result of the dialog, or 0 while it asks each time
};

} // namespace quill::gui
