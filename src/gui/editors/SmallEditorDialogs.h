#pragma once
// The single-page editors of addresses, phones, faxes, e-mail addresses, websites, folders,
// teams, documents and tools. Each dialog shows a form of core/editing and hands it back as
// the user left it; whether and what reaches the item is decided by the form's accept rule.

#include "core/editing/item_forms.h"
#include "gui/editors/EditorContext.h"

#include <QDialog>

#include <string>
#include <string_view>
#include <vector>

class QComboBox;
class QFormLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quill {
class TNRBObject;
}

namespace quill::gui {

class ImageLists;
class MaskedNumberEdit;
class MemoEdit;
class TCatSelect;

// What the nine dialogs share: the form on the left, "OK" (default), "Cancel" and "&Help"
// on the right with the category picture below them.
class TSmallEditorDlg : public QDialog {
    Q_OBJECT

public:
    QPushButton* OKBtn() const { return ok_; }

protected:
    TSmallEditorDlg(const QString& caption, TNRBObject& item, const EditorContext& context);
    QFormLayout* Form() const { return form_; }
    // A line edit named name, limited to maxLength characters (0: no limit), in a row
    // labelled label with the label's accelerator leading to it.
    QLineEdit* AddLine(const QString& name, const QString& label, int maxLength);
    // A row whose label's accelerator leads to buddy (the field itself when none).
    QLabel* AddRow(const QString& label, QWidget* field, QWidget* buddy = nullptr);
    // Puts the Tab order right: the fields top to bottom, then the buttons and the picture;
    // the first field has the focus. Called at the end of each dialog's constructor.
    void FinishLayout();
    // A picture left of the form, at its top.
    void AddLeadingPicture(QWidget* picture);
    // Where Tab goes, in order; AddLine and AddRow add their fields.
    void AddToTabChain(QWidget* widget) { tabChain_.push_back(widget); }

private:
    QHBoxLayout* outer_;
    QFormLayout* form_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* help_;
    TCatSelect* catSelect_;
    std::vector<QWidget*> tabChain_;
};

class TEditAddressDlg final : public TSmallEditorDlg {
    Q_OBJECT

public:
    TEditAddressDlg(TNRBObject& item, const EditorContext& context);
    void Load(const AddressForm& form);
    AddressForm Read() const;

private:
    QLineEdit* title_;
    MemoEdit* addr_;
    QLineEdit* city_;
    QLineEdit* state_;
    QLineEdit* postCode_;
    QLineEdit* country_;
    QLineEdit* comment_;
};

// The phone and fax editors: a number box whose mask the format list sets. The list and
// its label show only while a new number is entered; a stored number is edited freely.
class TNumberEditDlg : public TSmallEditorDlg {
    Q_OBJECT

protected:
    TNumberEditDlg(const QString& caption, const QString& prefix, const QString& numberLabel,
                   TNRBObject& item, const EditorContext& context);
    // Shows the format list with the format chosen and its mask set, or hides it and takes
    // the mask away.
    void ShowFormats(bool shown, std::size_t format);
    void SetNumber(const std::string& number);
    std::string Number() const;
    std::string Mask() const;
    void FormatChange(int index);

    QLineEdit* title_;
    MaskedNumberEdit* number_;
    QLabel* formatLabel_;
    QComboBox* format_;

private:
    std::string mask_;
};

class TPhoneEditDlg final : public TNumberEditDlg {
    Q_OBJECT

public:
    TPhoneEditDlg(TNRBObject& item, const EditorContext& context);
    void Load(const PhoneForm& form);
    PhoneForm Read() const;
    // The format list's handler: the chosen format's mask goes to PhoneNum.
    void PhoneFmtChange(int index) { FormatChange(index); }

private:
    QLineEdit* extension_;
    QLineEdit* comment_;
};

class TFaxEditDlg final : public TNumberEditDlg {
    Q_OBJECT

public:
    TFaxEditDlg(TNRBObject& item, const EditorContext& context);
    void Load(const FaxForm& form);
    FaxForm Read() const;
    void FaxFmtChange(int index) { FormatChange(index); }

private:
    QLineEdit* comment_;
};

class TEMailEditDlg final : public TSmallEditorDlg {
    Q_OBJECT

public:
    TEMailEditDlg(TNRBObject& item, const EditorContext& context);
    void Load(const EMailForm& form);
    EMailForm Read() const;

private:
    QLineEdit* title_;
    QLineEdit* address_;
    QLineEdit* comment_;
};

class TWebSiteDlg final : public TSmallEditorDlg {
    Q_OBJECT

public:
    TWebSiteDlg(TNRBObject& item, const EditorContext& context);
    void Load(const WebsiteForm& form);
    WebsiteForm Read() const;

private:
    QLineEdit* title_;
    QComboBox* web_;
    QLineEdit* comment_;
};

// Folders and teams: a title and a comment.
class TGroupEditDlg : public TSmallEditorDlg {
    Q_OBJECT

public:
    void Load(const GroupForm& form);
    GroupForm Read() const;

protected:
    TGroupEditDlg(const QString& caption, const QString& prefix, TNRBObject& item,
                  const EditorContext& context);

private:
    QLineEdit* title_;
    QLineEdit* comment_;
};

class TFolderEditDlg final : public TGroupEditDlg {
    Q_OBJECT

public:
    TFolderEditDlg(TNRBObject& item, const EditorContext& context);
};

class TTeamEditDlg final : public TGroupEditDlg {
    Q_OBJECT

public:
    TTeamEditDlg(TNRBObject& item, const EditorContext& context);
};

class TDocEditDlg final : public TSmallEditorDlg {
    Q_OBJECT

public:
    TDocEditDlg(TNRBObject& item, const EditorContext& context);
    void Load(const DocumentForm& form);
    DocumentForm Read() const;
    // Picks an existing file, starting in the directory of the file name shown; the file's
    // name becomes the title, its path the file name.
    void BrowseBtnClick();

private:
    QLineEdit* title_;
    QLineEdit* fileName_;
    QLineEdit* comment_;
};

class TToolEdit final : public TSmallEditorDlg {
    Q_OBJECT

public:
    TToolEdit(TNRBObject& item, const EditorContext& context);
    void Load(const ToolForm& form);
    ToolForm Read() const;

private:
    ImageLists* images_;
    ToolForm shown_;
    QLineEdit* title_;
    QLineEdit* address_;
    QLineEdit* comment_;
    QLabel* image_;
};

} // namespace quill::gui
