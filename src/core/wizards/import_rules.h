#pragma once
// What the import wizard decides, apart from its windows: the sources and the pages each
// shows, the status texts of the directory pages, and the import that "Finish" runs.

#include "core/exchange/html_anchor_reader.h"
#include "core/storage/data_file.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

class TOutlineNode;
class IVCardImportChoice;
struct TImportReport;
struct TRecordType;

enum class ImportSource {
    ExchangeFile = 0,
    Favorites = 1,
    NetscapeBookmarks = 2,
    NetscapeAddressBook = 3,
    Eudora = 4,
    DelimitedText = 5,
    VCard = 6,
};
inline constexpr int kImportSourceCount = 7;

// The import wizard's pages in their order.
inline constexpr std::string_view kSourcePage = "SourcePage";
inline constexpr std::string_view kFavoritesPage = "FavoritesPage";
inline constexpr std::string_view kExchangeFilePage = "ExchangeFilePage";
inline constexpr std::string_view kBookmarksPage = "BookmarksPage";
inline constexpr std::string_view kAddressBookPage = "AddressBookPage";
inline constexpr std::string_view kEudoraPage = "EudoraPage";
inline constexpr std::string_view kTextFieldsPage = "TextFieldsPage";
inline constexpr std::string_view kTextFilePage = "TextFilePage";
inline constexpr std::string_view kVCardFilePage = "VCardFilePage";
std::vector<std::string> ImportWizardPages();

// The entry of the source list ("Quillmere File (*.QLD)" ...).
std::string_view ImportSourceName(ImportSource source);
// The pages the source shows, the source page first.
std::vector<std::string> ImportSourcePages(ImportSource source);

// The status of the bookmark, address and nickname pages when nothing is there.
inline constexpr std::string_view kNoneFound = "None Found";
inline constexpr std::string_view kEudoraFound = "Found Eudora Address File in this directory";
// A browser exports its bookmarks under this name; the page finds it beside "bookmark.htm".
inline constexpr std::string_view kExportedBookmarksFileName = "bookmarks.html";

// The bookmark page's file in directory: "bookmark.htm", else an exported "bookmarks.html";
// empty when there is neither.
std::string BookmarkPageIn(const std::string& directory);
// The status of the bookmarks page: the title of its file, or "None Found".
std::string BookmarksStatus(const std::string& directory);
// The address page: the title of "address.htm", or "None Found".
std::string AddressBookStatus(const std::string& directory);
// The nicknames page: kEudoraFound when "nndbase.txt" is there, else "None Found".
std::string EudoraStatus(const std::string& directory);

// Bookmarks a browser keeps itself, read by the desktop layer: the folder title and the
// bookmarks, taken as the anchors of a bookmark page are.
struct BrowserBookmarks {
    std::string title;
    std::vector<HtmlAnchor> bookmarks;
};

// Everything the wizard gathered for "Finish".
struct ImportRequest {
    ImportSource source = ImportSource::ExchangeFile;
    std::string file;      // exchange, text and vCard file
    std::string directory; // favourites, bookmark, address and nickname directory
    // Taken instead of the bookmark page of directory when set (a browser's own bookmarks).
    const BrowserBookmarks* browserBookmarks = nullptr;
    const TRecordType* recordType = nullptr;
    std::vector<std::string> fields; // in column order; "(Ignore)" skips a column
    char separator = ',';
    // The first line names the columns: it is not imported, and without chosen fields the
    // columns are matched to the fields by these names.
    bool firstLineHasNames = false;
    IVCardImportChoice* vCardChoice = nullptr;
    std::vector<std::string> categoryNames; // for a vCard's CATEGORIES; empty: the defaults
};

// Whether the text pages say enough to import: a chosen field that is not "(Ignore)", or no
// field at all when the first line names the columns.
bool TextFieldsReady(const std::vector<std::string>& chosenFields, bool firstLineHasNames);

// Whether the source's reader reports what came in and what it left behind (vCard files and
// delimited text); the wizard counts the others' items itself.
bool ImportSourceReports(ImportSource source);

// Runs the import the request names. Exchange files, bookmarks, address books and nicknames
// go under the outline's root, the rest under target. A missing source imports nothing and
// is no error. report, when given, receives what a reporting source brought in.
FileResult RunImport(const ImportRequest& request, TOutlineNode* target,
                     TImportReport* report = nullptr);

// Bookmarks as websites in a new folder titled title under the root of target's outline,
// one folder for all of them, as a bookmark page's are.
void ImportBookmarkList(std::string_view title, const std::vector<HtmlAnchor>& bookmarks,
                        TOutlineNode* target);
// A bookmark page at path (any name): its anchors in a folder titled with its title.
FileResult ImportBookmarkPage(const std::string& path, TOutlineNode* target);

} // namespace quill
