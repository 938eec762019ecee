#pragma once
// The import wizard's sources that are read here: Internet shortcut files in a directory
// tree, Netscape's bookmark and address pages, Eudora's nicknames file, and exchange files.
// The wizard gathers the choices and calls one function per source; each runs in one update
// bracket of the outline and reports a file that cannot be read as a FileResult, the items
// created until then staying.

#include "core/storage/data_file.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

class TOutlineNode;

inline constexpr std::string_view kBookmarkFileName = "bookmark.htm";
inline constexpr std::string_view kAddressFileName = "address.htm";
inline constexpr std::string_view kNicknameFileName = "nndbase.txt";
inline constexpr std::string_view kEudoraFolderTitle = "Eudora Addresses";
// The folders of pages whose title is missing or blank.
inline constexpr std::string_view kUntitledBookmarks = "Bookmarks";
inline constexpr std::string_view kUntitledAddressBook = "Address Book";

// The last directory name in a path: what follows the last "/" of its directory part, a
// trailing "/" dropped. For a file, its directory's name; a directory needs its trailing "/".
std::string GetFolderName(std::string_view path);

// Calls visit with the full path of every regular file in directory and below it, depth
// first: a subdirectory is walked where it stands in the listing (sorted by name), before
// the listing goes on. Directories whose names start with "." are left out, a directory
// reached twice through symbolic links is walked once, and special files (pipes, devices) are
// never passed, since reading one could block. visit returns false to stop the walk.
// False when directory cannot be listed; unreadable subdirectories are skipped.
bool WalkDirectory(const std::string& directory,
                   const std::function<bool(const std::string& file)>& visit);

// The file name in directory, matched exactly or else without regard to the case of A to Z
// (so "Bookmark.htm" is found as "bookmark.htm"); nullopt when there is none.
std::optional<std::string> FindSourceFile(const std::string& directory, std::string_view name);

// The lines of a file's bytes: they end at CR, LF or CR LF; a leading UTF-8 byte order mark
// is dropped, and a line that is not valid UTF-8 is read as Windows-1252.
std::vector<std::string> SplitSourceLines(std::string_view bytes);

// The title of the bookmark or address page at path (GetBMTitle); empty when it has none or
// cannot be read. The wizard shows it as the found file's status.
std::string PageFileTitle(const std::string& path);

// Internet shortcuts (*.url) of directory and its subdirectories, as websites in a new
// folder under target named after the directory. Shortcuts of a subdirectory at any depth go
// into the first node of the outline titled with the subdirectory's name, or else into a new
// folder of that name directly under the import folder.
FileResult ImportFavorites(const std::string& directory, TOutlineNode* target);

// The anchors of "bookmark.htm" in directory as websites, in a new folder under the root of
// target's outline titled with the page's title ("Bookmarks" when it has none). Anchors are
// read across lines, their character references decoded; the browser's own queries (place:)
// and scripts (javascript:) are left out. No file: nothing is imported.
FileResult ImportBookmarks(const std::string& directory, TOutlineNode* target);

// The anchors of "address.htm" in directory as e-mail addresses ("mailto:" taken off), in a
// new folder under the root of target's outline titled with the page's title.
FileResult ImportNetscapeAddressBook(const std::string& directory, TOutlineNode* target);

// The aliases of "nndbase.txt" in directory as e-mail addresses, their notes as comments, in a
// new folder "Eudora Addresses" under the root of target's outline.
FileResult ImportEudora(const std::string& directory, TOutlineNode* target);

// An exchange file (".qld") merged under the root of target's outline.
FileResult ImportExchangeFile(const std::string& fileName, TOutlineNode* target);

} // namespace quill
