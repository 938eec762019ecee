#pragma once
// What the person and organization editors show, and the rules that load it from a holder,
// fill a tab from a chosen title, split a typed name and write it all back on OK. The dialogs
// only copy their controls to and from a THolderForm; everything that decides is here.

#include "core/editing/memo_lines.h"

#include <string>
#include <string_view>
#include <vector>

namespace quill {

class TContactHolderObject;

struct THolderAddressTab {
    std::string title;
    std::vector<std::string> lines; // the memo, one entry per line
    std::string city;
    std::string state;
    std::string postCode;
    std::string country;
    std::string comment;
};

struct THolderPhoneTab {
    std::string title;
    std::string number;   // as displayed, the mask's literals included
    bool entered = false; // the number box holds a character beyond literals and blanks
    std::string extension;
    std::string comment;
};

struct THolderFaxTab {
    std::string title;
    std::string number;
    bool entered = false;
    std::string comment;
};

struct THolderEMailTab {
    std::string title;
    std::string address;
    std::string comment;
};

inline constexpr std::string_view kWebAddressPreset = "http://";

struct THolderWebTab {
    std::string title;
    std::string url{kWebAddressPreset};
    std::string comment;
};

struct THolderForm {
    // The holder's own fields; the four name fields belong to persons only.
    std::string title;
    std::string salutation;
    std::string firstName;
    std::string middleName;
    std::string lastName;
    std::string comment;

    THolderAddressTab address;
    THolderPhoneTab phone;
    THolderFaxTab fax;
    THolderEMailTab email;
    THolderWebTab web;

    // The choices of the five title boxes: the holder's contact points of each kind.
    std::vector<std::string> addressTitles;
    std::vector<std::string> phoneTitles;
    std::vector<std::string> faxTitles;
    std::vector<std::string> emailTitles;
    std::vector<std::string> webTitles;
};

// SetPerson / SetOrg: the holder's own fields, then, when it holds contact points in its
// list, each tab's title choices, its primary title and the fields of the contact point of
// that title. A holder without any contained items leaves all five tabs empty.
THolderForm LoadHolderForm(const TContactHolderObject& holder);

// The five primary titles a new person or organization starts with.
void PresetNewHolderTitles(THolderForm& form);

// A title handler (AddrTitleClick and its siblings): when the holder has contained items and
// the tab of the kind (5 address, 6 phone, 8 fax, 7 e-mail, 4 website) names one of its
// contact points, that tab shows the contact point's fields. Returns whether one was found;
// otherwise the tab keeps what it shows.
bool FillHolderTab(THolderForm& form, const TContactHolderObject& holder, int kind);

// TitleExit: the title split into words as comma text; two words are first and last name,
// three or more first, middle and last (further words are ignored); fewer change nothing.
void SplitTitleIntoNames(THolderForm& form);

// OK on an existing holder: its own fields, then per tab, under that tab's condition, the
// contact point of the tab's title updated or created, and the primary title set.
void AcceptHolderEdit(const THolderForm& form, TContactHolderObject& holder);

// OK on a holder just created: its own fields, and a new contact point for every tab whose
// condition holds, each made primary. Returns true: the holder stays.
bool AcceptHolderNew(const THolderForm& form, TContactHolderObject& holder);

} // namespace quill
