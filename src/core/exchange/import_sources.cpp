#include "core/exchange/import_sources.h"

#include "core/exchange/html_anchor_reader.h"
#include "core/exchange/html_escape.h"
#include "core/exchange/nickname_file.h"
#include "core/exchange/shortcut_file.h"
#include "core/model/item_factory.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"
#include "core/model/record_text.h"
#include "core/util/ascii.h"
#include "core/util/atomic_file.h"
#include "core/util/text_encoding.h"
#include "core/util/text_lines.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unordered_map>
#include <unordered_set>

namespace quill {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMailtoPrefix = "mailto:";

TOutlineNode* FirstTopLevel(TOutlineNode* node) {
    if (TOutline* outline = node->Outline()) {
        return outline->Root();
    }
    return OutlineRootOf(node);
}

// File names on Linux are bytes; one that is not UTF-8 came from a Windows-1252 system.
std::string NameText(std::string_view name) {
    return IsValidUtf8(name) ? std::string(name) : Windows1252ToUtf8(name);
}

std::optional<std::string> ReadSource(const std::string& path, FileResult& result) {
    errno = 0;
    std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) {
        result = FileResult::Failure(CannotReadMessage(path, errno ? errno : EIO));
    }
    return bytes;
}

// The directory as one form: absolute, without "." and ".." steps or a trailing "/", so
// that the walk's file paths and the directories taken from them compare as text.
std::string NormalDirectory(const std::string& directory) {
    std::error_code ec;
    fs::path path = fs::absolute(directory, ec);
    if (ec) {
        path = directory;
    }
    std::string text = path.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') {
        text.pop_back();
    }
    return text;
}

std::string_view DirectoryOf(std::string_view file) {
    const std::size_t slash = file.find_last_of('/');
    if (slash == std::string_view::npos) {
        return {};
    }
    return file.substr(0, slash == 0 ? 1 : slash);
}

TOutlineNode* FirstNodeTitled(TOutlineNode* anyNode, std::string_view title) {
    for (TOutlineNode* node = FirstTopLevel(anyNode); node; node = node->NextInTree()) {
        if (node->Item() && node->Item()->Title() == title) {
            return node;
        }
    }
    return nullptr;
}

TOutlineNode* NewFolder(std::string_view title, TOutlineNode* parent) {
    return CreateItem(kFolderKind, title, "", "", 0, "", parent)->Node();
}

// The named file of a source directory, whole, and the root its items go under. Nothing
// (and no error) when the file is missing; nothing and the error when it cannot be read.
std::optional<std::string> OpenSource(const std::string& directory, std::string_view name,
                                      TOutlineNode* target, TOutlineNode*& root,
                                      FileResult& result) {
    root = OutlineRootOf(target);
    const std::optional<std::string> path = FindSourceFile(directory, name);
    if (!root || !path) {
        return std::nullopt;
    }
    return ReadSource(*path, result);
}

// The anchor that starts at lines[i], read as browsers write them: a tag written across
// lines is joined up, and so is text that ends on a later line; without "</A>" the text runs
// to the next tag or the end of the line. Its title and address with character references
// decoded. i is left on the last line used.
std::optional<HtmlAnchor> BookmarkAnchor(const std::vector<std::string>& lines, std::size_t& i) {
    constexpr std::size_t kMostLines = 20;
    const std::size_t open = lines[i].find("<A");
    if (open == std::string::npos) {
        return std::nullopt;
    }
    std::string joined = lines[i];
    auto endsTag = [&] { return joined.find('>', open) != std::string::npos; };
    auto closes = [&] {
        return joined.find("</A>", open) != std::string::npos ||
               joined.find("</a>", open) != std::string::npos;
    };
    std::size_t last = i;
    // Each line joined with one blank, its indentation dropped.
    auto join = [&](std::string_view line) {
        while (!line.empty() && static_cast<unsigned char>(line.front()) <= ' ') {
            line.remove_prefix(1);
        }
        joined += ' ';
        joined += line;
    };
    while (!endsTag() && last + 1 < lines.size() && last - i < kMostLines) {
        join(lines[++last]);
    }
    if (!closes() && last + 1 < lines.size()) {
        // Text carried on to the next line, which closes the anchor before any other tag.
        const std::string& next = lines[last + 1];
        const std::size_t end =
            next.find("</A>") != std::string::npos ? next.find("</A>") : next.find("</a>");
        if (end != std::string::npos && next.find('<') == end) {
            join(next);
            ++last;
        }
    }
    std::optional<HtmlAnchor> anchor = GetAnchorInfo(joined);
    if (!anchor) {
        return anchor;
    }
    i = last;
    if (anchor->title.empty()) {
        // Text closed by "</a>" in lower case, or not closed: up to the next tag.
        const std::size_t tagEnd = joined.find('>', open);
        if (tagEnd != std::string::npos) {
            std::string_view text = std::string_view(joined).substr(tagEnd + 1);
            text = text.substr(0, text.find('<'));
            while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') {
                text.remove_suffix(1);
            }
            anchor->title = std::string(text);
        }
    }
    anchor->title = HtmlUnescaped(anchor->title);
    anchor->address = HtmlUnescaped(anchor->address);
    return anchor;
}

// Entries of a browser's bookmarks that are no web address: the browser's own queries
// (place:) and scripts.
bool IsBrowserOnlyEntry(std::string_view address) {
    while (!address.empty() && static_cast<unsigned char>(address.front()) <= ' ') {
        address.remove_prefix(1);
    }
    return StartsWithIgnoreAsciiCase(address, "place:") ||
           StartsWithIgnoreAsciiCase(address, "javascript:");
}

// Bookmark and address pages: one folder titled with the page's title, an item per anchor.
FileResult ImportPage(const std::string& directory, TOutlineNode* target, std::string_view name,
                      int kind) {
    TOutlineNode* root = nullptr;
    FileResult result;
    const std::optional<std::string> bytes = OpenSource(directory, name, target, root, result);
    if (!bytes) {
        return result;
    }
    const std::vector<std::string> lines = SplitSourceLines(*bytes);
    TOutlineUpdate update(root->Outline());
    // A page without a title (or one of blanks) still gets a folder one can see.
    std::string title = HtmlUnescaped(GetBMTitle(lines));
    if (title.find_first_not_of(" \t\xA0") == std::string::npos) {
        title = kind == kEMailKind ? kUntitledAddressBook : kUntitledBookmarks;
    }
    TOutlineNode* folder = NewFolder(title, root);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::optional<HtmlAnchor> anchor = BookmarkAnchor(lines, i);
        if (!anchor) {
            continue;
        }
        std::string_view address = anchor->address;
        if (kind == kEMailKind && address.starts_with(kMailtoPrefix)) {
            address.remove_prefix(kMailtoPrefix.size());
        }
        if (kind == kWebsiteKind && IsBrowserOnlyEntry(address)) {
            continue;
        }
        CreateItem(kind, anchor->title, address, "", 0, "", folder);
    }
    return result;
}

} // namespace

std::string GetFolderName(std::string_view path) {
    std::string_view directory = path.substr(0, path.find_last_of('/') + 1);
    if (!directory.empty() && directory.back() == '/') {
        directory.remove_suffix(1);
    }
    const std::size_t slash = directory.find_last_of('/');
    return std::string(slash == std::string_view::npos ? directory : directory.substr(slash + 1));
}

bool WalkDirectory(const std::string& directory,
                   const std::function<bool(const std::string& file)>& visit) {
    // Each directory is listed whole and closed before its entries are handled, so that
    // depth never holds more than one directory open; the stack replaces recursion.
    struct Listing {
        std::vector<fs::path> entries;
        std::size_t next = 0;
    };
    std::unordered_set<std::string> walked;
    auto list = [&walked](const fs::path& dir, Listing& listing) {
        std::error_code ec;
        const fs::path canonical = fs::canonical(dir, ec);
        if (ec || !walked.insert(canonical.string()).second) {
            return !ec;
        }
        fs::directory_iterator it(dir, ec);
        for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
            listing.entries.push_back(it->path());
        }
        std::sort(listing.entries.begin(), listing.entries.end(),
                  [](const fs::path& a, const fs::path& b) {
                      return a.filename().native() < b.filename().native();
                  });
        return !ec || !listing.entries.empty();
    };

    std::vector<Listing> stack(1);
    if (!list(fs::path(directory), stack.back())) {
        return false;
    }
    while (!stack.empty()) {
        Listing& top = stack.back();
        if (top.next == top.entries.size()) {
            stack.pop_back();
            continue;
        }
        const fs::path entry = top.entries[top.next++];
        std::error_code ec;
        const fs::file_status status = fs::status(entry, ec);
        if (fs::is_directory(status)) {
            if (!entry.filename().native().starts_with('.')) {
                Listing listing;
                if (list(entry, listing)) {
                    stack.push_back(std::move(listing));
                }
            }
        } else if (fs::is_regular_file(status)) {
            if (!visit(entry.string())) {
                return true;
            }
        }
    }
    return true;
}

std::optional<std::string> FindSourceFile(const std::string& directory, std::string_view name) {
    std::error_code ec;
    const fs::path exact = fs::path(directory) / name;
    if (fs::is_regular_file(exact, ec)) {
        return exact.string();
    }
    std::optional<std::string> best;
    fs::directory_iterator it(directory, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string candidate = it->path().filename().string();
        std::error_code statusError;
        if (EqualsIgnoreAsciiCase(candidate, name) &&
            fs::is_regular_file(it->path(), statusError) && (!best || candidate < *best)) {
            best = candidate;
        }
    }
    if (!best) {
        return std::nullopt;
    }
    return (fs::path(directory) / *best).string();
}

std::vector<std::string> SplitSourceLines(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    std::vector<std::string> lines;
    std::size_t p = 0;
    while (p < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", p);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        const std::string_view line = bytes.substr(p, end - p);
        lines.push_back(IsValidUtf8(line) ? std::string(line) : Windows1252ToUtf8(line));
        p = end;
        if (p < bytes.size()) {
            p += (bytes[p] == '\r' && p + 1 < bytes.size() && bytes[p + 1] == '\n') ? 2 : 1;
        }
    }
    return lines;
}

std::string PageFileTitle(const std::string& path) {
    const std::optional<std::string> bytes = ReadWholeFile(path);
    return bytes ? GetBMTitle(SplitSourceLines(*bytes)) : std::string();
}

FileResult ImportFavorites(const std::string& directory, TOutlineNode* target) {
    if (!target) {
        return {};
    }
    const std::string base = NormalDirectory(directory);
    std::error_code ec;
    if (!fs::is_directory(base, ec)) {
        return FileResult::Failure(CannotReadMessage(directory, ec ? ec.value() : ENOTDIR));
    }
    TOutlineUpdate update(target->Outline());
    TOutlineNode* importFolder = NewFolder(NameText(GetFolderName(base + "/")), target);
    TOutlineNode* current = importFolder;
    // Where each directory's shortcuts went: every shortcut of one directory lands in one
    // place, whatever the walk met in between.
    std::unordered_map<std::string, TOutlineNode*> placed{{base, importFolder}};
    FileResult result;
    WalkDirectory(base, [&](const std::string& file) {
        if (!IsShortcutFileName(file)) {
            return true;
        }
        const std::optional<std::string> bytes = ReadSource(file, result);
        if (!bytes) {
            return false;
        }
        const std::string directoryText(DirectoryOf(file));
        const auto known = placed.find(directoryText);
        if (known != placed.end()) {
            current = known->second;
        } else {
            const std::string folderName = CleanField(NameText(GetFolderName(file)));
            if (!current->Item() || current->Item()->Title() != folderName) {
                TOutlineNode* named = FirstNodeTitled(target, folderName);
                current = named ? named : NewFolder(folderName, importFolder);
            }
            placed.emplace(directoryText, current);
        }
        CreateItem(kWebsiteKind, NameText(ShortcutTitle(file)), ShortcutUrl(DecodeFileText(*bytes)),
                   "", 0, "", current);
        return true;
    });
    return result;
}

FileResult ImportBookmarks(const std::string& directory, TOutlineNode* target) {
    return ImportPage(directory, target, kBookmarkFileName, kWebsiteKind);
}

FileResult ImportNetscapeAddressBook(const std::string& directory, TOutlineNode* target) {
    return ImportPage(directory, target, kAddressFileName, kEMailKind);
}

FileResult ImportEudora(const std::string& directory, TOutlineNode* target) {
    TOutlineNode* root = nullptr;
    FileResult result;
    const std::optional<std::string> bytes =
        OpenSource(directory, kNicknameFileName, target, root, result);
    if (!bytes) {
        return result;
    }
    TOutlineUpdate update(root->Outline());
    TOutlineNode* folder = NewFolder(kEudoraFolderTitle, root);
    // The folder holds only what this import made, so the first e-mail item of each title,
    // which FindChild would return, is known without searching the children for each note.
    std::unordered_map<std::string, TNRBObject*> byNickname;
    for (const std::string& line : SplitSourceLines(*bytes)) {
        if (std::optional<NicknameAlias> alias = ParseAliasLine(line)) {
            TNRBObject* item =
                CreateItem(kEMailKind, alias->nickname, alias->address, "", 0, "", folder);
            byNickname.emplace(item->Title(), item);
        } else if (std::optional<NicknameNote> note = ParseNoteLine(line)) {
            const auto found = byNickname.find(note->nickname);
            if (found != byNickname.end()) {
                found->second->SetComment(note->text);
            }
        }
    }
    return result;
}

FileResult ImportExchangeFile(const std::string& fileName, TOutlineNode* target) {
    return ImportFile(OutlineRootOf(target), fileName);
}

} // namespace quill
