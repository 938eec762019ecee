#pragma once
// The item kinds, as numbered in every record, and what belongs to each kind.

#include <cstdint>
#include <string_view>

namespace quill {

enum ItemKind : std::uint8_t {
    kFolderKind = 0,
    kOrganizationKind = 1,
    kTeamKind = 2,
    kPersonKind = 3,
    kWebsiteKind = 4,
    kAddressKind = 5,
    kPhoneKind = 6,
    kEMailKind = 7,
    kFaxKind = 8,
    kReminderKind = 9,
    kDocumentKind = 10,
    kRootKind = 11,
    kToolKind = 12,
};

inline constexpr int kKindCount = 13; // kinds with a class of their own; 13 to 255 are unknown
inline constexpr std::int32_t kRootId = 32892645;

// Folders, organizations, teams, persons and websites are nodes of the tree; the rest are
// held in a tree item's Children.
constexpr bool IsTreeKind(int kind) {
    return kind >= kFolderKind && kind <= kWebsiteKind;
}

// Image indices of the main window's image lists.
inline constexpr int kOpenFolderImage = 10;
inline constexpr int kDueReminderImage = 11;
inline constexpr int kRootImage = 12;
inline constexpr int kDueStateImage = 1; // the bullet among the tree's state images
inline constexpr int kNoStateImage = -1;

// The title a new item of the kind gets ("New " and the tool's name for tools).
std::string_view DefaultTitle(int kind);

// The six-character tag that starts the kind's data line; empty for the root and unknowns.
std::string_view DataLineTag(int kind);

// A readable name of the kind ("folder", "person", ...; "unknown" for 13 to 255).
std::string_view KindName(int kind);

} // namespace quill
