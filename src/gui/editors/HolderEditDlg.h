#pragma once
// The dialog shared by the person and organization editors: the holder's own fields above
// five tab pages, one per primary contact point. It only copies its controls to and from a
// THolderForm; the core's holder form decides what is shown and what OK writes.

#include "core/editing/holder_form.h"
#include "gui/editors/EditorContext.h"

#include <QDialog>

#include <string>

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace quill {
class TContactHolderObject;
}

namespace quill::gui {

class MemoEdit;

class MaskedNumberEdit;
class TCatSelect;

class THolderEditDlg : public QDialog {
    Q_OBJECT

public:
    // Handlers, public so that the program and tests reach them as the controls do.
    void AddrTitleClick();
    void PhoneTitleClick();
    void FaxTitleClick();
    void EMailTitleClick();
    void WebTitleClick();
    // Sets the mask of the chosen format on the sender's number box.
    void OnPhoneFmtChg(QObject* sender, int index);
    // With the format lists shown (a new holder): "USA" in both, its mask on both boxes.
    void FormShow();
    void HelpBtnClick();

    // The dialog for a holder just created: presets the title boxes, runs, and on OK creates
    // the contact points. Returns whether the holder stays.
    bool EditNew();
    // The dialog for an existing holder, edited without masks. Returns whether OK was chosen.
    bool Edit();

    // What the controls show now.
    THolderForm Form() const;

protected:
    enum class Fields { Person, Organization };
    THolderEditDlg(TContactHolderObject& holder, Fields fields, const QString& caption,
                   const EditorContext& context);

    // Shows the form in every control, the title choices included.
    void ShowForm(const THolderForm& form);
    // Shows the holder's fields, its title choices and its primary contact points.
    void LoadHolder();
    // SetPerson or SetOrg: what Edit and EditNew do first.
    virtual void LoadItem() = 0;

    // Person fields; none for an organization.
    QComboBox* salutation_ = nullptr;
    QLineEdit* firstName_ = nullptr;
    QLineEdit* middleName_ = nullptr;
    QLineEdit* lastName_ = nullptr;
    QLineEdit* title_ = nullptr;
    QLineEdit* comment_ = nullptr;

private:
    QWidget* BuildAddressPage();
    QWidget* BuildPhonePage();
    QWidget* BuildFaxPage();
    QWidget* BuildEMailPage();
    QWidget* BuildWebPage();
    void BuildLayout(Fields fields);
    void SetTabOrder();
    void ShowAddressTab(const THolderAddressTab& tab);
    void ShowPhoneTab(const THolderPhoneTab& tab);
    void ShowFaxTab(const THolderFaxTab& tab);
    void ShowEMailTab(const THolderEMailTab& tab);
    void ShowWebTab(const THolderWebTab& tab);
    // Fills the tab of the kind from its title box, as its title handler does.
    void FillTab(int kind);
    void SetNumber(MaskedNumberEdit* box, const std::string& mask, const std::string& number);
    void HideFormats();
    void CentreOnScreen();
    void FocusTitle();

    TContactHolderObject& holder_;
    EditorContext context_;
    TCatSelect* catSelect_ = nullptr;
    QTabWidget* tabs_ = nullptr;

    QComboBox* addrTitle_ = nullptr;
    MemoEdit* addr_ = nullptr;
    QLineEdit* city_ = nullptr;
    QLineEdit* state_ = nullptr;
    QLineEdit* postCode_ = nullptr;
    QLineEdit* country_ = nullptr;
    QLineEdit* addrComment_ = nullptr;

    QFormLayout* phoneForm_ = nullptr;
    QComboBox* phoneTitle_ = nullptr;
    MaskedNumberEdit* phoneNum_ = nullptr;
    QLineEdit* extension_ = nullptr;
    QLineEdit* phoneComment_ = nullptr;
    QComboBox* phoneFmt_ = nullptr;

    QFormLayout* faxForm_ = nullptr;
    QComboBox* faxTitle_ = nullptr;
    MaskedNumberEdit* faxNum_ = nullptr;
    QLineEdit* faxComment_ = nullptr;
    QComboBox* faxFmt_ = nullptr;

    QComboBox* emailTitle_ = nullptr;
    QLineEdit* emailAddr_ = nullptr;
    QLineEdit* emailComment_ = nullptr;

    QComboBox* webTitle_ = nullptr;
    QComboBox* web_ = nullptr;
    QLineEdit* webComment_ = nullptr;

    QPushButton* okBtn_ = nullptr;
    QPushButton* cancelBtn_ = nullptr;
    QPushButton* helpBtn_ = nullptr;

    // The masks set on the number boxes, so that a number shown is typed into them anew.
    std::string phoneMask_;
    std::string faxMask_;
};

} // namespace quill::gui
