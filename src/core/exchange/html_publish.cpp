#include "core/exchange/html_publish.h"

#include "core/exchange/html_escape.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"
#include "core/util/ascii.h"
#include "core/util/atomic_file.h"
#include "core/util/background_files.h"
#include "core/util/work_progress.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <streambuf>
#include <vector>

namespace quill {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kEol = kHtmlLineEnd;

struct ColourEntry {
    std::string_view name;
    std::uint32_t rgb;
};
constexpr std::array<ColourEntry, kHtmlColourCount> kColours{{
    {"Aqua", 0x00FFFF},
    {"Black", 0x000000},
    {"Fuchsia", 0xFF00FF},
    {"Gray", 0x808080},
    {"Green", 0x008000},
    {"Lime", 0x00FF00},
    {"Maroon", 0x800000},
    {"Navy", 0x000080},
    {"Olive", 0x808000},
    {"Purple", 0x800080},
    {"Red", 0xFF0000},
    {"Silver", 0xC0C0C0},
    {"Teal", 0x008080},
    {"White", 0xFFFFFF},
    {"Yellow", 0xFFFF00},
}};

const ColourEntry& Entry(HtmlColour colour) {
    const auto i = static_cast<std::size_t>(colour);
    return kColours[i < kColours.size() ? i : 1];
}

// The last path component ("/" separates).
std::string_view FileNamePart(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Up to the last "/", or "." for a bare name.
std::string DirectoryPart(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string_view::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : std::string(path.substr(0, slash));
}

std::string JoinPath(std::string_view directory, std::string_view name) {
    std::string path(directory);
    if (!path.empty() && path.back() != '/') {
        path += '/';
    }
    path += name;
    return path;
}

// A file name as a relative address: characters that would end the path ("#", "?") or start
// an escape ("%") are percent-encoded; the rest is escaped as every attribute is.
std::string FileNameAddress(std::string_view name) {
    std::string address;
    for (char c : name) {
        if (c == '%') {
            address += "%25";
        } else if (c == '#') {
            address += "%23";
        } else if (c == '?') {
            address += "%3F";
        } else {
            address += c;
        }
    }
    return HtmlEscaped(address);
}

// Hands what the page writers stream to an AtomicFileWriter, so a page is replaced whole or
// not at all.
class AtomicWriterBuffer final : public std::streambuf {
public:
    explicit AtomicWriterBuffer(AtomicFileWriter& writer) : writer_(writer) {
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }
    bool Drain() {
        const std::size_t size = static_cast<std::size_t>(pptr() - pbase());
        if (ok_ && size > 0) {
            ok_ = writer_.Write(std::string_view(pbase(), size));
        }
        setp(buffer_.data(), buffer_.data() + buffer_.size());
        return ok_;
    }

protected:
    int_type overflow(int_type ch) override {
        if (!Drain()) {
            return traits_type::eof();
        }
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }
    int sync() override { return Drain() ? 0 : -1; }

private:
    AtomicFileWriter& writer_;
    std::array<char, 1 << 16> buffer_;
    bool ok_ = true;
};

FileResult WritePage(const std::string& path, const std::function<void(std::ostream&)>& write) {
    AtomicFileWriter writer;
    writer.SetDurable(false);
    if (!writer.Open(path)) {
        return FileResult::Failure(writer.Error());
    }
    AtomicWriterBuffer buffer(writer);
    std::ostream out(&buffer);
    write(out);
    if (!buffer.Drain() || !writer.Commit()) {
        return FileResult::Failure(writer.Error());
    }
    return {};
}

// Copies a picture next to the pages unless a file of that name is there already; a missing
// picture is left out without a word.
void CopyPictureOnce(const std::string& from, const std::string& outputDirectory) {
    std::error_code ec;
    if (from.empty() || !fs::is_regular_file(from, ec)) {
        return;
    }
    const std::string to = JoinPath(outputDirectory, FileNamePart(from));
    if (fs::exists(fs::symlink_status(to, ec))) {
        return;
    }
    CopyFileBytes(from, to, nullptr);
}

// Opens and closes blockquotes so that each entry sits at its level. Each tag opened is
// remembered with the level it left, so that closing always matches what was opened.
class LevelIndent {
public:
    LevelIndent(std::ostream& out, int level) : out_(out), current_(level) {}
    ~LevelIndent() {
        while (!opened_.empty()) {
            Close();
        }
    }
    void MoveTo(int level) {
        while (level < current_ && !opened_.empty()) {
            Close();
        }
        if (level > current_) {
            WriteHtml(out_, "<blockquote>", kEol);
            opened_.push_back(current_);
            current_ = level;
        }
    }

private:
    void Close() {
        WriteHtml(out_, "</blockquote>", kEol);
        current_ = opened_.back();
        opened_.pop_back();
    }

    std::ostream& out_;
    int current_;
    std::vector<int> opened_;
};

// Visits the descendants of start (and start itself when withStart) in outline order with
// their depth below start; a visit returning false skips the node's descendants.
template <typename Visit>
void ForEachWithDepth(const TOutlineNode& start, bool withStart, Visit&& visit) {
    struct Frame {
        const TOutlineNode* node;
        int depth;
    };
    std::vector<Frame> stack;
    const auto pushChildren = [&](const TOutlineNode* node, int depth) {
        for (std::size_t i = node->ChildCount(); i-- > 0;) {
            stack.push_back({node->ChildAt(i), depth + 1});
        }
    };
    if (withStart) {
        stack.push_back({&start, 0});
    } else {
        pushChildren(&start, 0);
    }
    while (!stack.empty()) {
        const Frame frame = stack.back();
        stack.pop_back();
        if (visit(*frame.node, frame.depth)) {
            pushChildren(frame.node, frame.depth);
        }
    }
}

// True when name is the name of a file the site writes itself in the same directory.
bool CollidesWithSiteFile(std::string_view name, const HtmlPublishOptions& options) {
    if (options.useFrames && (EqualsIgnoreAsciiCase(name, kIndexPageFile) ||
                              EqualsIgnoreAsciiCase(name, kMainPageFile))) {
        return true;
    }
    if (options.exchangeFileLink && EqualsIgnoreAsciiCase(name, kSiteExchangeFile)) {
        return true;
    }
    if (options.vCardLinks && StartsWithIgnoreAsciiCase(name, "vc") &&
        EndsWithIgnoreAsciiCase(name, ".vcf") && name.size() > 6) {
        std::string_view number = name.substr(2, name.size() - 6);
        if (number.front() == '-') {
            number.remove_prefix(1);
        }
        return !number.empty() && number.find_first_not_of("0123456789") == std::string_view::npos;
    }
    return false;
}

void WriteFramePage(std::ostream& out, const TOutlineNode& start) {
    const std::string_view title = start.Item() ? start.Item()->Title() : start.Text();
    WriteHtml(out, kFramesetDoctype, kEol, "<html>", kEol, "<head>", kEol, kCharsetMeta, kEol,
              "<title>", HtmlText{title}, "</title>", kEol,
              "<meta name=\"GENERATOR\" content=\"Quillmere\">", kEol, "</head>", kEol,
              "<frameset cols=\"35%,65%\">", kEol);
    WriteHtml(out, "<frame src=\"", kIndexPageFile,
              "\" name=\"index\" marginwidth=1 marginheight=1>", kEol);
    WriteHtml(out, "<frame src=\"", kMainPageFile, "\" name=\"main\" marginwidth=1 marginheight=1>",
              kEol);
    WriteHtml(out, "<noframes>", kEol, "<body><p>", kEol,
              "<p>This Web page uses frames, but your browser does not support them.</p>", kEol,
              "</body>", kEol, "</noframes>", kEol, "</frameset>", kEol, "</html>", kEol);
}

void WritePageHeading(std::ostream& out, const HtmlPublishOptions& options) {
    WriteHtml(out, "<h2>", HtmlText{options.title}, "</h2>", kEol, "<p>&nbsp;</p>", kEol);
}

void WriteContentsTail(std::ostream& out, const TOutlineNode& start,
                       const HtmlPublishOptions& options, FileResult& vCardFailure) {
    WriteHtml(out, "<hr>", kEol);
    WriteHTMLContents(out, start, options, &vCardFailure);
    WriteHtml(out, "</body>", kEol, "</html>", kEol);
}

} // namespace

std::string_view HtmlColourName(HtmlColour colour) {
    return Entry(colour).name;
}

std::uint32_t HtmlColourRgb(HtmlColour colour) {
    return Entry(colour).rgb;
}

std::optional<HtmlColour> HtmlColourFromName(std::string_view name) {
    for (std::size_t i = 0; i < kColours.size(); ++i) {
        if (EqualsIgnoreAsciiCase(name, kColours[i].name)) {
            return static_cast<HtmlColour>(i);
        }
    }
    return std::nullopt;
}

const std::array<std::string_view, 27>& BackgroundNames() {
    static constexpr std::array<std::string_view, 27> kNames{
        "beads",  "chalk",     "cloud1",   "cloud2",   "cloud3", "cloud4", "concrete",
        "fire",   "floortile", "flower",   "foam",     "grid",   "lace",   "letters",
        "marble", "nova",      "sand",     "smear1",   "smear2", "soil",   "speckle",
        "stone",  "terrain1",  "terrain2", "terrain3", "vines",  "weave"};
    return kNames;
}

const std::array<std::string_view, 8>& HtmlIconFiles() {
    static constexpr std::array<std::string_view, 8> kFiles{"folder.gif", "org.gif",  "person.gif",
                                                            "team.gif",   "web.gif",  "quilbtn.gif",
                                                            "nrb_16.gif", "vcard.gif"};
    return kFiles;
}

std::string BackgroundsDirectory(const std::string& webGraphicsDirectory) {
    return JoinPath(webGraphicsDirectory, "Backgrounds/");
}

std::string IconsDirectory(const std::string& webGraphicsDirectory) {
    return JoinPath(webGraphicsDirectory, "Icons/");
}

std::string BackgroundPreviewPath(const std::string& webGraphicsDirectory, std::string_view name) {
    if (name.empty() || name == kNoBackground) {
        return {};
    }
    return BackgroundsDirectory(webGraphicsDirectory) + std::string(name) + ".bmp";
}

std::string BackgroundPicturePath(const std::string& webGraphicsDirectory, std::string_view name) {
    const std::string preview = BackgroundPreviewPath(webGraphicsDirectory, name);
    std::error_code ec;
    if (preview.empty() || !fs::is_regular_file(preview, ec)) {
        return {};
    }
    return BackgroundsDirectory(webGraphicsDirectory) + std::string(name) + ".gif";
}

std::string FindWebGraphicsDirectory(const std::string& executablePath) {
    std::error_code ec;
    fs::path program = fs::weakly_canonical(fs::path(executablePath), ec);
    if (ec) {
        program = fs::absolute(fs::path(executablePath), ec);
    }
    const fs::path programDirectory = program.parent_path();
    std::vector<fs::path> candidates{programDirectory / kWebGraphicsName,
                                     programDirectory / ".." / "share" / "quillmere" /
                                         kWebGraphicsName};
    // From a build tree: the source tree above it, or the one its CMakeCache.txt names.
    for (fs::path dir = programDirectory; !dir.empty(); dir = dir.parent_path()) {
        candidates.push_back(dir / "assets" / kWebGraphicsName);
        std::ifstream cache(dir / "CMakeCache.txt");
        std::string line;
        constexpr std::string_view kHome = "CMAKE_HOME_DIRECTORY:INTERNAL=";
        while (cache && std::getline(cache, line)) {
            if (line.starts_with(kHome)) {
                candidates.push_back(fs::path(line.substr(kHome.size())) / "assets" /
                                     kWebGraphicsName);
                break;
            }
        }
        if (dir == dir.root_path()) {
            break;
        }
    }
    for (const fs::path& candidate : candidates) {
        if (fs::is_directory(candidate, ec)) {
            return candidate.lexically_normal().generic_string();
        }
    }
    return {};
}

std::string VCardFileName(std::int32_t id) {
    return "vc" + std::to_string(id) + ".vcf";
}

namespace {

// The site whose names are in force (the core runs on one thread; see HtmlSiteNames).
thread_local HtmlSiteNames* currentSite = nullptr;

// Letters and digits of the title, every other run of characters one "-"; a name that would
// not start with a letter gets "n-" in front.
std::string AnchorBase(std::string_view title) {
    std::string name;
    bool gap = false;
    for (char c : title) {
        const bool keep =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!keep) {
            gap = !name.empty();
            continue;
        }
        if (gap) {
            name += '-';
            gap = false;
        }
        name += c;
    }
    if (name.empty() ||
        !((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= 'A' && name[0] <= 'Z'))) {
        name.insert(0, "n-");
    }
    return name;
}

bool HasVCardFile(const TNRBObject& item) {
    return item.Kind() == kPersonKind || item.Kind() == kOrganizationKind;
}

} // namespace

HtmlSiteNames::HtmlSiteNames(const TOutlineNode& start) : previous_(currentSite) {
    // Sized once for every node of the range: a large site would rehash each table many times.
    std::size_t nodes = 0;
    ForEachInSubtree(&start, [&](const TOutlineNode*) { ++nodes; });
    std::unordered_map<std::string, int> anchorsTaken;
    std::unordered_map<std::int32_t, int> idsTaken;
    anchorsTaken.reserve(nodes);
    idsTaken.reserve(nodes);
    anchors_.reserve(nodes);
    vCardFiles_.reserve(nodes);
    ForEachInSubtree(&start, [&](const TOutlineNode* node) {
        const TNRBObject* item = node->Item();
        if (!item) {
            return;
        }
        // Compared without regard to case, as browsers find fragments in some pages.
        const std::string base = AnchorBase(item->Title());
        std::string anchor = base;
        for (int n = ++anchorsTaken[AsciiLowered(base)]; n > 1;) {
            anchor = base + "-" + std::to_string(n);
            if (anchorsTaken.find(AsciiLowered(anchor)) == anchorsTaken.end()) {
                anchorsTaken[AsciiLowered(anchor)] = 1;
                break;
            }
            n = ++anchorsTaken[AsciiLowered(base)];
        }
        anchors_.emplace(item, std::move(anchor));
        if (HasVCardFile(*item)) {
            const int n = ++idsTaken[item->Id()];
            std::string file = VCardFileName(item->Id());
            if (n > 1) {
                file.insert(file.size() - 4, "-" + std::to_string(n));
            }
            vCardFiles_.emplace(item, std::move(file));
        }
    });
    currentSite = this;
}

HtmlSiteNames::~HtmlSiteNames() {
    currentSite = previous_;
}

std::string HtmlAnchorName(const TNRBObject& item) {
    if (currentSite) {
        const auto found = currentSite->anchors_.find(&item);
        if (found != currentSite->anchors_.end()) {
            return found->second;
        }
    }
    return AnchorBase(item.Title());
}

std::string HtmlVCardFileName(const TNRBObject& item) {
    if (currentSite) {
        const auto found = currentSite->vCardFiles_.find(&item);
        if (found != currentSite->vCardFiles_.end()) {
            return found->second;
        }
    }
    return VCardFileName(item.Id());
}

void WriteHTMLHead(std::ostream& out, std::string_view title, std::string_view baseTarget) {
    WriteHtml(out, kTransitionalDoctype, kEol, "<html>", kEol, "<head>", kEol, kCharsetMeta, kEol,
              "<title>", HtmlText{title}, "</title>", kEol,
              "<meta name=\"GENERATOR\" content=\"Quillmere\">", kEol);
    if (!baseTarget.empty()) {
        WriteHtml(out, "<base target=", HtmlText{baseTarget}, ">", kEol);
    }
    WriteHtml(out, "</head>", kEol);
}

void WriteHTMLBodyTag(std::ostream& out, const HtmlPublishOptions& options) {
    WriteHtml(out, "<body background=\"", FileNameAddress(FileNamePart(options.backgroundPicture)),
              "\" text=", HtmlColourName(options.textColour),
              " link=", HtmlColourName(options.linkColour), ">", kEol);
}

void WriteHTMLFooter(std::ostream& out, const HtmlPublishOptions& options) {
    WriteHtml(out, "<p><font size=1>This page created with...<br></font>", kEol, "<a href=\"",
              HtmlText{options.makerHomePage}, "\"");
    if (options.useFrames) {
        WriteHtml(out, " target=\"window\"");
    }
    WriteHtml(out, "><img src=\"quilbtn.gif\" align=bottom border=0 width=120 height=40></a></p>",
              kEol);
}

void WriteHTMLIndex(std::ostream& out, const TOutlineNode& start, std::string_view pageName,
                    const HtmlPublishOptions& options) {
    if (options.exchangeFileLink) {
        WriteHtml(out, "<p><font size=2><a href=\"", kSiteExchangeFile,
                  "\"><img src=\"nrb_16.gif\" align=left border=0 width=16 height=16>Get "
                  "Quillmere&#8482; file</a></font></p>",
                  kEol);
    }
    const int levels = options.indexLevels > 0 ? options.indexLevels : 0;
    LevelIndent indent(out, 1);
    ForEachWithDepth(start, false, [&](const TOutlineNode& node, int depth) {
        // Everything below a node is deeper than it: once past the last level, the whole
        // subtree is.
        if (levels > 0 && depth > levels) {
            return false;
        }
        const TNRBObject* item = node.Item();
        if (item && item->ShowsInHTMLIndex()) {
            indent.MoveTo(depth);
            item->WriteHTMLIndexEntry(out, pageName);
        }
        return true;
    });
}

void WriteHTMLContents(std::ostream& out, const TOutlineNode& start,
                       const HtmlPublishOptions& options, FileResult* vCardFailure) {
    LevelIndent indent(out, 0);
    std::uint64_t nodes = 0;
    // The cards' files are written beside the making of the pages.
    BackgroundFileWriter cards;
    const BackgroundFileScope scope(cards);
    bool stopped = false;
    ForEachWithDepth(start, true, [&](const TOutlineNode& node, int depth) {
        // A listener hears of every node (each may write a vCard file) and may stop the
        // run; what it leaves is then removed by the listener's owner.
        if (!ReportWorkProgress(++nodes, 0)) {
            stopped = true;
            return false;
        }
        indent.MoveTo(depth);
        if (const TNRBObject* item = node.Item()) {
            item->WriteHTMLBody(out, options.vCardLinks);
            if (options.vCardLinks) {
                // A site whose cards were not written is not a site published.
                FileResult saved =
                    item->SaveVCardFile(JoinPath(options.directory, HtmlVCardFileName(*item)));
                if (!saved) {
                    if (vCardFailure) {
                        *vCardFailure = std::move(saved);
                    }
                    return false;
                }
            }
        }
        return true;
    });
    if (stopped) {
        cards.Abandon(); // nothing is written after the listener's owner cleans up
    } else if (!cards.Finish() && vCardFailure && vCardFailure->ok) {
        *vCardFailure = FileResult::Failure(cards.Error());
    }
}

FileResult PublishHTML(const TOutlineNode& start, const HtmlPublishOptions& options,
                       const HiddenItemTest& hidden) {
    const std::string mainPath = JoinPath(options.directory, options.mainPageName);
    const std::string_view mainName = FileNamePart(mainPath);
    if (mainName.empty()) {
        return FileResult::Failure("The main page needs a file name.");
    }
    if (CollidesWithSiteFile(mainName, options)) {
        return FileResult::Failure("The main page cannot be named \"" + std::string(mainName) +
                                   "\": another file of the site has that name.");
    }
    const std::string outputDirectory = DirectoryPart(mainPath);
    HtmlPublishOptions site = options;
    site.directory = outputDirectory;
    const HtmlSiteNames names(start);
    FileResult vCards; // the first card that could not be written

    if (site.useFrames) {
        if (FileResult r =
                WritePage(mainPath, [&](std::ostream& out) { WriteFramePage(out, start); });
            !r) {
            return r;
        }
    }
    if (site.exchangeFileLink) {
        if (FileResult r =
                WriteSubtree(start, JoinPath(outputDirectory, kSiteExchangeFile), hidden);
            !r) {
            return r;
        }
    }
    if (site.useFrames) {
        if (FileResult r = WritePage(JoinPath(outputDirectory, kIndexPageFile),
                                     [&](std::ostream& out) {
                                         WriteHTMLHead(out, site.title, "main");
                                         WriteHTMLBodyTag(out, site);
                                         WriteHTMLIndex(out, start, kMainPageFile, site);
                                         WriteHTMLFooter(out, site);
                                         WriteHtml(out, "</body>", kEol, "</html>", kEol);
                                     });
            !r) {
            return r;
        }
        if (FileResult r = WritePage(JoinPath(outputDirectory, kMainPageFile),
                                     [&](std::ostream& out) {
                                         WriteHTMLHead(out, site.title);
                                         WriteHTMLBodyTag(out, site);
                                         WritePageHeading(out, site);
                                         WriteContentsTail(out, start, site, vCards);
                                     });
            !r) {
            return r;
        }
        if (!vCards) {
            return vCards;
        }
    } else {
        if (FileResult r = WritePage(mainPath,
                                     [&](std::ostream& out) {
                                         WriteHTMLHead(out, site.title);
                                         WriteHTMLBodyTag(out, site);
                                         WritePageHeading(out, site);
                                         WriteHTMLFooter(out, site);
                                         WriteHTMLIndex(out, start, "", site);
                                         WriteContentsTail(out, start, site, vCards);
                                     });
            !r) {
            return r;
        }
        if (!vCards) {
            return vCards;
        }
    }
    CopyPictureOnce(site.backgroundPicture, outputDirectory);
    if (!site.webGraphicsDirectory.empty()) {
        const std::string icons = IconsDirectory(site.webGraphicsDirectory);
        for (std::string_view icon : HtmlIconFiles()) {
            CopyPictureOnce(icons + std::string(icon), outputDirectory);
        }
    }
    return {};
}

} // namespace quill
