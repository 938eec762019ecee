#pragma once
// vCard files: a file holds cards, a card holds property lines, a property has a name, a set
// of the 29 type flags and its values. The program's own cards follow its own plain rules:
// those that carry the program's PRODID, and those without a VERSION line (older copies of
// the program wrote them so). Other cards that declare VERSION 2.1, 3.0 or 4.0 (phones, web
// address books) are standard cards: unfolded, unescaped and decoded as those versions write
// them, FN naming the person and TITLE holding the job title.

#include "core/exchange/import_report.h"
#include "core/storage/data_file.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
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

// The lines after the begin line of every card the program writes in its own form: the
// version every 2.1 reader expects, and the product that tells the program's own reader that
// TITLE holds the caption.
inline constexpr std::string_view kOwnVCardVersion = "2.1";
inline constexpr std::string_view kOwnVCardProductId = "-//Quillmere//Quillmere//EN";

inline constexpr std::string_view kVCardExtensionParameter = "EXT";

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
    void SetValues(std::vector<std::string> values) { values_ = std::move(values); }

    // The group a standard line names before its property ("item1" of "item1.TEL"), which
    // ties a property to the label line of the same group; empty without one.
    const std::string& Group() const { return group_; }
    void SetGroup(std::string_view group) { group_ = group; }
    // A NAME=VALUE parameter of a standard line other than TYPE, PREF, ENCODING and CHARSET
    // (name compared without regard to case); empty when the line has none.
    // The extension of a tel: URI stands under kVCardExtensionParameter.
    std::string_view Parameter(std::string_view name) const;
    void AddParameter(std::string_view name, std::string_view value);

    bool operator==(const TCardProperty&) const = default;

private:
    std::string name_;
    std::uint32_t types_ = 0;
    std::vector<std::string> values_;
    std::string group_;
    std::vector<std::pair<std::string, std::string>> parameters_;
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
    // Clear, handing the properties over to spare instead of freeing them: a reader of many
    // cards fills them again without allocating anew.
    void ClearInto(std::vector<TCardProperty>& spare);

    // The first property of the name in the group (both compared exactly); none otherwise.
    const TCardProperty* FindInGroup(std::string_view name, std::string_view group) const;

    // The VERSION the card declared ("2.1", "3.0", "4.0"); empty for the program's own form
    // as older copies wrote it.
    const std::string& Version() const { return version_; }
    void SetVersion(std::string_view version) { version_ = version; }
    // Whether the card carries the program's own PRODID.
    bool IsOwnProduct() const { return ownProduct_; }
    void SetOwnProduct(bool own) { ownProduct_ = own; }
    // A card another program wrote to the standard: it declares a version and is not the
    // program's own.
    bool IsStandard() const { return !version_.empty() && !ownProduct_; }

    // The names of the lines the reader passed over (photos, keys, instant messaging ...),
    // upper-cased, one entry per line, so an import can say what it did not keep.
    const std::vector<std::string>& SkippedNames() const { return skipped_; }
    void AddSkippedName(std::string_view name);

private:
    std::vector<TCardProperty> properties_;
    std::string version_;
    bool ownProduct_ = false;
    std::vector<std::string> skipped_;
};

// Reads the cards of a file's text one at a time: each is handed to onCard and then dropped,
// so a large file never stands in memory as cards. Text that starts with a UTF-16 byte order
// mark is read as UTF-16; otherwise it is read as UTF-8 when it is valid UTF-8 (a leading
// byte order mark skipped), else as Windows-1252.
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
    // What Save writes: each card between "begin:vcard" and "end:vcard", the version and
    // product lines first, lines ending CR LF.
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
// The text of that file.
std::string ItemVCardFileText(const TNRBObject& item);

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
// choice says so) an organization. A standard card imported as a person whose ORG names an
// organization other than the person is filed under the organization of that title among
// target's child nodes (created when there is none; one made from a card of the same file
// counts). A file that cannot be read imports nothing; a file that holds no card at all is a
// failure too ("... holds no vCard"). The target's child nodes (and those of the
// organizations filed under) are sorted afterwards, as each renamed node would have been.
// The report, when given, receives what came in and what was not kept. A card's CATEGORIES
// that name categories of categoryNames (the 32 names; empty: the default names) put the item
// in them, as the vCard export writes them.
FileResult ImportVCardFile(const std::string& path, TOutlineNode* target,
                           IVCardImportChoice& choice);
FileResult ImportVCardFile(const std::string& path, TOutlineNode* target,
                           IVCardImportChoice& choice, TImportReport* report,
                           const std::vector<std::string>& categoryNames = {});

// The properties of the card that a person (kind 3) or organization (kind 1) reading it
// leaves behind, added to the report by name: the lines the reader passed over and those
// the item has no place for. Lines about the card itself (VERSION, PRODID, UID, REV, KIND)
// are not counted, nor CATEGORIES, which only the category names can judge.
void AddCardLeftovers(const TCard& card, int kind, TImportReport& report);

// Reads the categories a card's CATEGORIES lines name, as a category set: each name of the
// list that equals one of the 32 names (names[n-1], or the default name when that is missing
// or empty), without regard to case or surrounding blanks. Made once per import.
class TCardCategories {
public:
    explicit TCardCategories(const std::vector<std::string>& names);
    TCardCategories(const TCardCategories&) = delete; // the pieces point into its names
    TCardCategories& operator=(const TCardCategories&) = delete;
    // A name of the card's that matches no category sets left.
    std::int32_t Of(const TCard& card, bool& left) const;

private:
    std::vector<std::string> names_;
    std::vector<std::vector<std::string_view>> pieces_; // of each name, into names_
};

// The publishing wizard's vCard choice.
inline constexpr std::string_view kVCardKindWarning =
    "vCard publishing is only supported for Person and Organization items.";
// Persons and organizations are the only items with a vCard form.
bool CanExportVCard(const TNRBObject& item);
// Writes the start node's item as a file of one card. Refused, with the wizard's message and
// nothing written, for another kind of item or a file name without ".vcf".
FileResult ExportVCardFile(const TOutlineNode& start, const std::string& fileName);

} // namespace quill
