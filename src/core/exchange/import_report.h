#pragma once
// What an import brought in and what it left behind, for the user to see afterwards: the
// import wizard shows it on its last page, quilltool prints it.
//
// An importer fills one report as it goes:
//   - records: how many units the source held (cards of a vCard file, data lines of a
//     delimited-text file), whether or not each became an item;
//   - items: every item the import created, counted by kind (a person with two phones counts
//     one person and two phones; an organization created to file persons under counts too);
//   - notKept: what the source held that no item holds now, counted per name: a vCard
//     property name ("PHOTO", "X-SKYPE"), a column name of delimited text ("Job Title"), or
//     a note in words ("record without a name"). A property that was kept in a different
//     form (BDAY as a reminder) is not listed.
//
// The report never decides anything: an import with things not kept still succeeded.

#include <array>
#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace quill {

class TNRBObject;
class TOutlineNode;

struct TImportReport {
    std::size_t records = 0;
    // Indexed by item kind (folder 0 to tool 12).
    std::array<std::size_t, 13> items{};
    // Name -> how many times it was left behind; ordered by name for a stable listing.
    std::map<std::string, std::size_t, std::less<>> notKept;

    // One item more of the kind; kinds outside 0 to 12 are not counted.
    void AddItem(int kind);
    // The item, the items in its Children (at any depth) and, for a tree item whose node it
    // owns, every item of the nodes below it: everything one record or card made.
    void AddItemTree(const TNRBObject& item);
    void AddNotKept(std::string_view name, std::size_t count = 1);

    std::size_t ItemCount() const;
    bool KeptEverything() const { return notKept.empty(); }

    // The report as lines for a terminal or a message: "Read 3 cards." (with the unit given),
    // "Created: 2 persons, 5 phones.", "Not kept: PHOTO (2), X-SKYPE (1)." The last line is
    // left out when everything was kept.
    std::string Text(std::string_view recordUnit) const;
};

} // namespace quill
