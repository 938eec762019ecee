#pragma once
// What each single-page item editor shows, loaded from its item, and the rule by which the
// editor's OK writes it back. The dialogs only copy between these forms and their widgets,
// so every decision about what reaches an item is made (and tested) here.
//
// Accept functions write nothing and return false when the kind's condition fails: input
// that fails it is dropped without a message, and for a new item the caller removes it.

#include "core/editing/memo_lines.h"

#include <string>
#include <string_view>
#include <vector>

namespace quill {

class TAddressObject;
class TDocObject;
class TEMailObject;
class TFaxObject;
class TNRBObject;
class TPhoneObject;
class TToolObject;
class TWebObject;

// Whether the dialog changes a stored item (Edit) or completes one just created (EditNew).
enum class EditMode { Edit, New };

struct AddressForm {
    std::string title;
    // The memo: the address lines, separated by line feeds.
    std::string memo;
    std::string city;
    std::string state;
    std::string postCode;
    std::string country;
    std::string comment;
};

struct PhoneForm {
    std::string title;
    std::string number; // as the number box displays it
    std::string extension;
    std::string comment;
    // The edit mask in force on the number box; empty when there is none, as always when a
    // stored number is edited.
    std::string mask;
};

struct FaxForm {
    std::string title;
    std::string number;
    std::string comment;
    std::string mask;
};

struct EMailForm {
    std::string title;
    std::string address;
    std::string comment;
};

struct WebsiteForm {
    std::string title;
    std::string url;
    std::string comment;
};

// Folders and teams.
struct GroupForm {
    std::string title;
    std::string comment;
};

struct DocumentForm {
    std::string title;
    std::string fileName;
    std::string comment;
};

struct ToolForm {
    std::string title;
    std::string address;
    std::string comment;
    int imageIndex = 0; // the tool's picture in the image lists
};

// The format a new phone or fax starts with, and its mask.
inline constexpr std::size_t kNewNumberFormat = 0; // "USA"
std::string_view NewNumberMask();
// The initial text of the site address box of a new website.
inline constexpr std::string_view kNewWebsiteUrl = "http://";

// Loading: Edit shows the item's fields; New shows the kind's preset title and otherwise
// empty boxes (a tool keeps the title its caller gave it and shows its icon in both).
AddressForm LoadAddressForm(const TAddressObject& item, EditMode mode);
PhoneForm LoadPhoneForm(const TPhoneObject& item, EditMode mode);
FaxForm LoadFaxForm(const TFaxObject& item, EditMode mode);
EMailForm LoadEMailForm(const TEMailObject& item, EditMode mode);
WebsiteForm LoadWebsiteForm(const TWebObject& item, EditMode mode);
GroupForm LoadGroupForm(const TNRBObject& item);
DocumentForm LoadDocumentForm(const TDocObject& item, EditMode mode);
ToolForm LoadToolForm(const TToolObject& item, EditMode mode);

// Accepting: true when the condition held and the form was written to the item.
// Address: Edit needs a title, New a title and a non-empty memo. Lines become the memo's
// lines padded to three, Target the first of them.
bool AcceptAddressForm(const AddressForm& form, EditMode mode, TAddressObject& item);
// Phone, in both modes: a title and an entered number (something left once the literals and
// blanks of the form's mask are taken away; without a mask, any text). Target is the number
// as displayed, so a cleared stored number leaves the phone unchanged.
bool AcceptPhoneForm(const PhoneForm& form, TPhoneObject& item);
// Fax: New as a phone; Edit only needs a title, so a cleared number is stored empty.
bool AcceptFaxForm(const FaxForm& form, EditMode mode, TFaxObject& item);
// E-mail: an address; the title may be empty.
bool AcceptEMailForm(const EMailForm& form, TEMailObject& item);
// What a typed web address stands for: "www.example.com" is "http://www.example.com", an
// address pasted behind the box's "http://" is that address; blanks around it go. Other
// texts stay as typed.
std::string CompleteWebAddress(std::string_view typed);
// Website: a URL that passes IsURL once completed; the title may be empty.
bool AcceptWebsiteForm(const WebsiteForm& form, TWebObject& item);
// Folder or team: always, an empty title too.
bool AcceptGroupForm(const GroupForm& form, TNRBObject& item);
// Document: a title and a file name; the document's icon is then taken afresh.
bool AcceptDocumentForm(const DocumentForm& form, TDocObject& item);
// Tool: a title. Program and parameters are not edited here.
bool AcceptToolForm(const ToolForm& form, TToolObject& item);

// Browsing for a document: the open dialog starts in the directory part of the current file
// name (up to and including its last "/"; empty when it has none). A chosen file replaces
// the title by its name part (after the last "/", extension included), and the file name
// by the full path.
std::string BrowseStartDirectory(std::string_view fileName);
void TakeBrowsedFile(std::string_view path, DocumentForm& form);

} // namespace quill
