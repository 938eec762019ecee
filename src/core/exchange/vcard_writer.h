#pragma once
// Writing persons and organizations as vCards. Two forms:
//   - the program's own exchange form (vCard 2.1 in its own plain layout, see vcard.h), which
//     the program and older copies of it read back unchanged;
//   - vCard 3.0 (RFC 2426) and 4.0 (RFC 6350) as current address books read them: escaped
//     and folded as the RFCs say, UTF-8, a UID that stays the same across exports.
//
// What a 3.0 or 4.0 card holds, for a person or an organization:
//   FN      the title (never empty: the formal name or the kind's default title stand in)
//   N       a person's name fields, an honorific suffix after ", " in the last name split off
//           again; an organization's N is empty (4.0 leaves it out and says KIND:org)
//   ORG     an organization's title; for a person, the organization it stands under
//   TEL, EMAIL, ADR
//           every contact point in Children, in order, with TYPE= taken from the words of its
//           title ("Office,Fax Line", "Mobile", "Home") and PREF on the primary one. A title
//           that a reader would not get back from the types goes along as the label of the
//           line (Apple's grouped X-ABLABEL), so titles survive a round trip. ADR has the
//           three address lines in its street component; TEL the extension (4.0: a tel: URI
//           with ext=, 3.0: " x" and the extension after the number)
//   NOTE    the comment
//   URL     every website below the item, the primary one first
//   CATEGORIES  the names of the item's categories
//   BDAY, ANNIVERSARY
//           from yearly reminders titled "Birthday" and "Anniversary" (3.0: X-ANNIVERSARY,
//           and a date without its year with Apple's X-APPLE-OMIT-YEAR)
//   UID     urn:uuid: and a name-based UUID of the item's kind and Id (items sharing both
//           told apart by their order in the outline)

#include "core/storage/data_file.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

class TNRBObject;
class TOutlineNode;

enum class VCardVersion {
    Own21, // the program's own exchange form, "VERSION:2.1"
    V30,
    V40,
};

// "2.1", "3.0" or "4.0" (also "3" and "4"); nullopt for anything else.
std::optional<VCardVersion> VCardVersionNamed(std::string_view text);
std::string_view VCardVersionName(VCardVersion version);

struct VCardExportOptions {
    VCardVersion version = VCardVersion::Own21;
    // Every person and organization at or below the start node, in outline order, into one
    // file; otherwise the start node's item alone, which must be a person or organization.
    bool subtree = false;
    // The 32 category names for CATEGORIES; empty: the default names.
    std::vector<std::string> categoryNames;
    // Items the category filter hides are left out of a subtree.
    HiddenItemTest hidden;
};

// "urn:uuid:..." for the occurrence-th item (from 1, in outline order) of the kind and Id.
std::string VCardUid(int kind, std::int32_t id, std::size_t occurrence = 1);

// The 3.0 or 4.0 card of a person or organization (empty for other kinds), CR LF line ends,
// folded. occurrence as for VCardUid.
std::string StandardVCardText(const TNRBObject& item, VCardVersion version,
                              const std::vector<std::string>& categoryNames = {},
                              std::size_t occurrence = 1);

// Writes the file (atomically). Refused with the wizard's messages for a file name without
// ".vcf" and, without subtree, for a start item that is neither person nor organization; a
// subtree that holds neither is refused too, with nothing written. A subtree reports its
// progress to the work listener (work_progress.h) and, when that asks it to stop, fails
// without writing anything.
FileResult ExportVCardFile(const TOutlineNode& start, const std::string& fileName,
                           const VCardExportOptions& options);

// The line as a 3.0 or 4.0 writer folds it: no line longer than 75 octets, a continuation
// starting with one blank, never inside a UTF-8 sequence. Each line ends with CR LF.
std::string FoldedVCardLine(std::string_view line);

// A text value escaped for 3.0 and 4.0: backslash, line break and comma, and the semicolon
// when the value is a component of a structured property (N, ADR, ORG).
std::string EscapedVCardText(std::string_view text, bool component);

} // namespace quill
