#pragma once
// vCard files: a file holds cards, a card holds property lines, a property has a name, a set
// of the 29 type flags and its values. The program's own cards (no VERSION line) follow its
// own plain rules; cards that declare VERSION 2.1, 3.0 or 4.0 (phones, web address books) are
// also unfolded, unescaped and decoded as those versions write them.

#include "core/storage/data_file.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

class TNRBObject;
class TOutlineNode;

// The type table: its order is the bit order of a type set and the order types are written.
struct VCardType {
    std::string_view parameter;   // as written in a file
    std::string_view displayName; // as used for item titles
};
inline constexpr std::size_t kVCardTypeCount = 29;
extern const std::array<VCardType, kVCardTypeCount> kVCardTypes;

enum VCardTypeIndex : int {
    kVCardHome = 4,
    kVCardWork = 5,
    kVCardPref = 6, // the primary contact point of its kind
    kVCardVoice = 7,
    kVCardFax = 8, // a TEL with it is a fax number
    kVCardCell = 10,
    kVCardInternet = 22,
};

// The table index of a parameter (compared without regard to case), -1 when it has none.
int VCardTypeIndexOf(std::string_view parameter);

class TCardProperty {
public:
    TCardProperty() = default;
    explicit TCardProperty(std::string_view line) { Parse(line); }

    // Sets name, types and values from one line of the program's own form, clearing what the
    // property held.
    void Parse(std::string_view line);
    // The line written for the property. A value that would not read back as itself (it holds
    // a separator, or is enclosed in double quotes) is enclosed in double quotes.
    std::string Format() const;
    // Display names of the set types in table order, joined by ","; empty without types.
    std::string TypeDisplayText() const;

    void Clear();
    const std::string& Name() const { return name_; }
    void SetName(std::string_view name) { name_ = name; }
    std::uint32_t Types() const { return types_; }
    bool HasType(int index) const { return (types_ >> index) & 1u; }
    void SetType(int index, bool on = true);
    const std::vector<std::string>& Values() const { return values_; }
    std::size_t ValueCount() const { return values_.size(); }
    // Empty when the property has fewer values.
    std::string_view Value(std::size_t index) const;
    void AddValue(std::string value) { values_.push_back(std::move(value)); }
    void ReserveValues(std::size_t count) { values_.reserve(count); }

    bool operator==(const TCardProperty&) const = default;

private:
    std::string name_;
    std::uint32_t types_ = 0;
    std::vector<std::string> values_;
};

class TCard {
public:
    void Add(TCardProperty property) { properties_.push_back(std::move(property)); }
    void Reserve(std::size_t count) { properties_.reserve(count); }
    std::size_t Count() const { return properties_.size(); }
    const TCardProperty& At(std::size_t index) const { return properties_[index]; }
    TCardProperty& At(std::size_t index) { return properties_[index]; }
    int IndexOf(const TCardProperty* property) const;
    void Delete(std::size_t index);
    // The first property whose name equals name exactly (case-sensitive); none otherwise.
    const TCardProperty* Find(std::string_view name) const;
    void Clear();

    // The VERSION the card declared ("2.1", "3.0", "4.0"); empty for the program's own form.
    const std::string& Version() const { return version_; }
    void SetVersion(std::string_view version) { version_ = version; }
    bool IsStandard() const { return !version_.empty(); }

private:
    std::vector<TCardProperty> properties_;
    std::string version_;
};

// Reads the cards of a file's text one at a time: each is handed to onCard and then dropped,
// so a large file never stands in memory as cards. The text is read as UTF-8 when it is
// valid UTF-8 (a leading byte order mark skipped), otherwise as Windows-1252.
void ForEachVCard(std::string_view text, const std::function<void(TCard&)>& onCard);
// The same for a file; a file that cannot be read gives a failure and no cards.
FileResult ForEachVCardInFile(const std::string& path, const std::function<void(TCard&)>& onCard);

class TVCardFile {
public:
    const std::string& Filename() const { return filename_; }
    void SetFilename(std::string filename) { filename_ = std::move(filename); }

    // Append every card found; the list is not cleared first.
    FileResult Load();
    void LoadText(std::string_view text);
    // Writes all cards to Filename, replacing the file (atomically).
    FileResult Save() const;
    // What Save writes: each card between "begin:vcard" and "end:vcard", lines ending CR LF.
    std::string Text() const;

    void AddCard(TCard card) { cards_.push_back(std::move(card)); }
    std::size_t CardCount() const { return cards_.size(); }
    TCard& CardAt(std::size_t index) { return cards_[index]; }
    const TCard& CardAt(std::size_t index) const { return cards_[index]; }

private:
    std::string filename_;
    std::vector<TCard> cards_;
};

// Appends the card's lines as Save writes them.
void AppendCardText(const TCard& card, std::string& out);

// The name shown when asking how to import a card: prefix, given, middle and family name
// from N, or "New" without N.
std::string CardDisplayName(const TCard& card);

// The Title a person (kind 3) or organization (kind 1) reading the card gets.
std::string CardItemTitle(const TCard& card, int kind);

// The card a person or organization writes (empty for other kinds), and writing it as a
// file of one card: what SaveVCardFile does, with the outcome.
TCard ItemVCard(const TNRBObject& item);
FileResult SaveItemVCard(const TNRBObject& item, const std::string& fileName);

// Asked for every card that has ORG: true files it as an organization ("Import as Orgn."),
// false as a person ("Import as Person", the default). The import wizard answers with its
// dialog, the command-line tool with its option.
class IVCardImportChoice {
public:
    virtual ~IVCardImportChoice() = default;
    virtual bool ImportAsOrganization(std::string_view displayName,
                                      std::string_view organization) = 0;
};

// The texts of the dialog that asks.
inline constexpr std::string_view kVCardImportCaption = "vCard Import";
inline constexpr std::string_view kVCardImportIntro =
    "Attempting to read vCard with the following information:";
inline constexpr std::string_view kVCardImportName = "Name:";
inline constexpr std::string_view kVCardImportOrganization = "Organization:";
inline constexpr std::string_view kVCardImportQuestion = "How should this vCard be imported?";
inline constexpr std::string_view kVCardImportAsPerson = "Import as Person";
inline constexpr std::string_view kVCardImportAsOrganization = "Import as Orgn.";

// Imports every card of the file under target, each as a person or (when it has ORG and the
// choice says so) an organization. A file that cannot be read imports nothing. The target's
// child nodes are sorted afterwards, as each renamed node would have been.
FileResult ImportVCardFile(const std::string& path, TOutlineNode* target,
                           IVCardImportChoice& choice);

// The publishing wizard's vCard choice.
inline constexpr std::string_view kVCardKindWarning =
    "vCard publishing is only supported for Person and Organization items.";
// Persons and organizations are the only items with a vCard form.
bool CanExportVCard(const TNRBObject& item);
// Writes the start node's item as a file of one card. Refused, with the wizard's message and
// nothing written, for another kind of item or a file name without ".vcf".
FileResult ExportVCardFile(const TOutlineNode& start, const std::string& fileName);

} // namespace quill
