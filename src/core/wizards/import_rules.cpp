#include "core/wizards/import_rules.h"

#include "core/exchange/delimited_text.h"
#include "core/exchange/import_sources.h"
#include "core/exchange/vcard.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/outline.h"
#include "core/util/atomic_file.h"
#include "core/util/text_lines.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

namespace quill {
namespace {

constexpr std::array<std::string_view, kImportSourceCount> kSourceNames{
    "Quillmere File (*.QLD)", "Microsoft Internet Explorer Favorites (*.URL)",
    "Netscape Bookmarks",     "Netscape Address Book",
    "Eudora Nicknames File",  "Comma or Tab-Delimited Text",
    "vCard File (*.VCF)",
};

FileResult ImportBookmarkSource(const ImportRequest& request, TOutlineNode* target) {
    if (request.browserBookmarks) {
        ImportBookmarkList(request.browserBookmarks->title, request.browserBookmarks->bookmarks,
                           target);
        return {};
    }
    if (FindSourceFile(request.directory, kBookmarkFileName)) {
        return ImportBookmarks(request.directory, target);
    }
    const std::string page = BookmarkPageIn(request.directory);
    return page.empty() ? FileResult{} : ImportBookmarkPage(page, target);
}

bool IsFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

} // namespace

std::vector<std::string> ImportWizardPages() {
    return {
        std::string(kSourcePage),     std::string(kFavoritesPage),   std::string(kExchangeFilePage),
        std::string(kBookmarksPage),  std::string(kAddressBookPage), std::string(kEudoraPage),
        std::string(kTextFieldsPage), std::string(kTextFilePage),    std::string(kVCardFilePage)};
}

std::string_view ImportSourceName(ImportSource source) {
    return kSourceNames[static_cast<std::size_t>(source)];
}

std::vector<std::string> ImportSourcePages(ImportSource source) {
    std::vector<std::string> pages{std::string(kSourcePage)};
    switch (source) {
    case ImportSource::ExchangeFile:
        pages.emplace_back(kExchangeFilePage);
        break;
    case ImportSource::Favorites:
        pages.emplace_back(kFavoritesPage);
        break;
    case ImportSource::NetscapeBookmarks:
        pages.emplace_back(kBookmarksPage);
        break;
    case ImportSource::NetscapeAddressBook:
        pages.emplace_back(kAddressBookPage);
        break;
    case ImportSource::Eudora:
        pages.emplace_back(kEudoraPage);
        break;
    case ImportSource::DelimitedText:
        pages.emplace_back(kTextFieldsPage);
        pages.emplace_back(kTextFilePage);
        break;
    case ImportSource::VCard:
        pages.emplace_back(kVCardFilePage);
        break;
    }
    return pages;
}

std::string BookmarkPageIn(const std::string& directory) {
    if (std::optional<std::string> page = FindSourceFile(directory, kBookmarkFileName)) {
        return *page;
    }
    return FindSourceFile(directory, kExportedBookmarksFileName).value_or(std::string());
}

std::string BookmarksStatus(const std::string& directory) {
    const std::string page = BookmarkPageIn(directory);
    return page.empty() ? std::string(kNoneFound) : PageFileTitle(page);
}

std::string AddressBookStatus(const std::string& directory) {
    const std::optional<std::string> page = FindSourceFile(directory, kAddressFileName);
    return page ? PageFileTitle(*page) : std::string(kNoneFound);
}

std::string EudoraStatus(const std::string& directory) {
    return FindSourceFile(directory, kNicknameFileName) ? std::string(kEudoraFound)
                                                        : std::string(kNoneFound);
}

bool TextFieldsReady(const std::vector<std::string>& chosenFields, bool firstLineHasNames) {
    if (chosenFields.empty()) {
        return firstLineHasNames;
    }
    return std::any_of(chosenFields.begin(), chosenFields.end(), [](const std::string& field) {
        return !field.empty() && field != kIgnoredField;
    });
}

bool ImportSourceReports(ImportSource source) {
    return source == ImportSource::DelimitedText || source == ImportSource::VCard;
}

FileResult RunImport(const ImportRequest& request, TOutlineNode* target, TImportReport* report) {
    if (!target) {
        return {};
    }
    switch (request.source) {
    case ImportSource::ExchangeFile:
        return IsFile(request.file) ? ImportExchangeFile(request.file, target) : FileResult{};
    case ImportSource::Favorites:
        return request.directory.empty() ? FileResult{}
                                         : ImportFavorites(request.directory, target);
    case ImportSource::NetscapeBookmarks:
        return ImportBookmarkSource(request, target);
    case ImportSource::NetscapeAddressBook:
        return ImportNetscapeAddressBook(request.directory, target);
    case ImportSource::Eudora:
        return ImportEudora(request.directory, target);
    case ImportSource::DelimitedText: {
        if (!request.recordType || !IsFile(request.file) ||
            !TextFieldsReady(request.fields, request.firstLineHasNames)) {
            return {};
        }
        DelimitedImportOptions options;
        options.separator = request.separator;
        options.fields = request.fields;
        options.firstLineHasNames = request.firstLineHasNames;
        return ImportDelimitedText(request.file, target, *request.recordType, options, report);
    }
    case ImportSource::VCard:
        if (!request.vCardChoice || !IsFile(request.file)) {
            return {};
        }
        return ImportVCardFile(request.file, target, *request.vCardChoice, report,
                               request.categoryNames);
    }
    return {};
}

void ImportBookmarkList(std::string_view title, const std::vector<HtmlAnchor>& bookmarks,
                        TOutlineNode* target) {
    TOutlineNode* root = OutlineRootOf(target);
    if (!root) {
        return;
    }
    TOutlineUpdate update(root->Outline());
    TOutlineNode* folder = CreateItem(kFolderKind, title, "", "", 0, "", root)->Node();
    for (const HtmlAnchor& bookmark : bookmarks) {
        CreateItem(kWebsiteKind, bookmark.title, bookmark.address, "", 0, "", folder);
    }
}

FileResult ImportBookmarkPage(const std::string& path, TOutlineNode* target) {
    errno = 0;
    const std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) {
        return FileResult::Failure(CannotReadMessage(path, errno ? errno : EIO));
    }
    const std::vector<std::string> lines = SplitSourceLines(*bytes);
    std::vector<HtmlAnchor> bookmarks;
    for (const std::string& line : lines) {
        if (std::optional<HtmlAnchor> anchor = GetAnchorInfo(line)) {
            bookmarks.push_back(std::move(*anchor));
        }
    }
    ImportBookmarkList(GetBMTitle(lines), bookmarks, target);
    return {};
}

} // namespace quill
