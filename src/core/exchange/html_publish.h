#pragma once
// Publishing a subtree of the outline as a small static web site: a frameset of an index page
// and a main page, or one page with the index at its top. Beside the pages go the pictures
// they show, the whole content as an exchange file and one vCard file per person and
// organization.

#include "core/storage/data_file.h"

#include <array>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace quill {

class TNRBObject;
class TOutlineNode;

// The colours offered for text and links: the basic colours of HTML 3.2 less Blue, in the
// order the wizard lists them.
enum class HtmlColour {
    Aqua,
    Black,
    Fuchsia,
    Gray,
    Green,
    Lime,
    Maroon,
    Navy,
    Olive,
    Purple,
    Red,
    Silver,
    Teal,
    White,
    Yellow
};
inline constexpr int kHtmlColourCount = 15;
// The keyword the pages carry ("Black").
std::string_view HtmlColourName(HtmlColour colour);
// 0xRRGGBB, for the wizard's preview.
std::uint32_t HtmlColourRgb(HtmlColour colour);
// The colour of a keyword in any case; none for anything else.
std::optional<HtmlColour> HtmlColourFromName(std::string_view name);

// The backgrounds offered after "No background", each a name.bmp (preview) and a name.gif
// (pages) in the backgrounds directory.
inline constexpr std::string_view kNoBackground = "No background";
const std::array<std::string_view, 27>& BackgroundNames();
// The pictures of the icons directory that the pages show.
const std::array<std::string_view, 8>& HtmlIconFiles();

// Subdirectories of the "Web Graphics" directory.
inline constexpr std::string_view kWebGraphicsName = "Web Graphics";
std::string BackgroundsDirectory(const std::string& webGraphicsDirectory); // ends in "/"
std::string IconsDirectory(const std::string& webGraphicsDirectory);       // ends in "/"

// The preview file of a background chosen from the list by name: none for "No background"
// (or nothing typed).
std::string BackgroundPreviewPath(const std::string& webGraphicsDirectory, std::string_view name);
// The page picture of a background chosen by name: its .gif, provided its preview file
// exists; otherwise none.
std::string BackgroundPicturePath(const std::string& webGraphicsDirectory, std::string_view name);

// The "Web Graphics" directory for a program at executablePath: beside it, in
// ../share/quillmere/ (installed), or in the assets/ of the source tree that a build tree
// above the program was configured from. Empty when none is found.
std::string FindWebGraphicsDirectory(const std::string& executablePath);

// The files a site is made of, in its directory.
inline constexpr std::string_view kIndexPageFile = "quilindex.htm";
inline constexpr std::string_view kMainPageFile = "quilmain.htm";
inline constexpr std::string_view kSiteExchangeFile = "quilmain.qld";
// "vc", the id in decimal, ".vcf".
std::string VCardFileName(std::int32_t id);

// The names a site gives its items, worked out once for the whole published range before a
// page is written, so that the index and the contents agree:
//   - an anchor per item, made of letters, digits and "-" (so a link to it needs no blank or
//     escape: "Ann Lee" is "Ann-Lee") and unique in the site ("Ann-Lee-2" for the second);
//   - a vCard file per person and organization: VCardFileName of its Id where that Id is
//     unique among them, "vc<Id>-2.vcf" and so on for the second and later of an Id.
// While a HtmlSiteNames object lives, HtmlAnchorName and HtmlVCardFileName answer from it;
// without one they answer for the item alone.
class HtmlSiteNames {
public:
    explicit HtmlSiteNames(const TOutlineNode& start);
    ~HtmlSiteNames();
    HtmlSiteNames(const HtmlSiteNames&) = delete;
    HtmlSiteNames& operator=(const HtmlSiteNames&) = delete;

private:
    friend std::string HtmlAnchorName(const TNRBObject& item);
    friend std::string HtmlVCardFileName(const TNRBObject& item);
    std::unordered_map<const TNRBObject*, std::string> anchors_;
    std::unordered_map<const TNRBObject*, std::string> vCardFiles_;
    HtmlSiteNames* previous_;
};
std::string HtmlAnchorName(const TNRBObject& item);
std::string HtmlVCardFileName(const TNRBObject& item);

// Where the footer's button leads.
inline constexpr std::string_view kMakerHomePage = "https://quillmere.org/";

// Everything the publishing wizard gathers.
struct HtmlPublishOptions {
    std::string directory;    // where the files go; it must exist
    std::string mainPageName; // the frame page, or the one page without frames
    std::string title;        // of the pages
    bool useFrames = true;
    int indexLevels = 0; // deepest level listed in the index, the start's children being 1; 0: all
    // Holds "Icons/" and "Backgrounds/"; empty: no icons are copied.
    std::string webGraphicsDirectory;
    // The page picture (see BackgroundPicturePath, or a file the user picked); empty: none.
    std::string backgroundPicture;
    HtmlColour textColour = HtmlColour::Black;
    HtmlColour linkColour = HtmlColour::Navy;
    bool exchangeFileLink = true; // a link to the whole content as kSiteExchangeFile
    bool vCardLinks = true;       // a link and a file per person and organization
    std::string makerHomePage = std::string(kMakerHomePage);
};

// Writes the site of start and everything below it. The exchange file leaves out the items
// that hidden names (as every subtree written from the tree does); the pages show them all.
// Stops at the first file that cannot be written; the files written until then stay. Refuses
// a main page name that another file of the site would overwrite.
FileResult PublishHTML(const TOutlineNode& start, const HtmlPublishOptions& options,
                       const HiddenItemTest& hidden = {});

// The page writers PublishHTML puts together.

// The document types: HTML 4.01 Frameset for the frame page, Transitional for the others.
inline constexpr std::string_view kFramesetDoctype =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Frameset//EN\" "
    "\"http://www.w3.org/TR/html4/frameset.dtd\">";
inline constexpr std::string_view kTransitionalDoctype =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
    "\"http://www.w3.org/TR/html4/loose.dtd\">";
// Every page says its text is UTF-8, as the program writes it.
inline constexpr std::string_view kCharsetMeta =
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">";

// The document type, "<html>", "<head>", the character set, the title, the generator, the
// base target when given, "</head>".
void WriteHTMLHead(std::ostream& out, std::string_view title, std::string_view baseTarget = {});
// The body tag with the picture's file name and the colours.
void WriteHTMLBodyTag(std::ostream& out, const HtmlPublishOptions& options);
// "This page created with..." and the maker's button; in frames it opens its own window.
void WriteHTMLFooter(std::ostream& out, const HtmlPublishOptions& options);
// The exchange-file link (when on) and an index entry for each descendant of start within
// the levels, indented by level; links go to pageName ("": this page).
void WriteHTMLIndex(std::ostream& out, const TOutlineNode& start, std::string_view pageName,
                    const HtmlPublishOptions& options);
// The body of start and of each descendant, indented by level; with vCard links on, each
// item also saves its vCard file in the options' directory. A card that cannot be written
// stops the walk; its outcome goes to vCardFailure when given.
void WriteHTMLContents(std::ostream& out, const TOutlineNode& start,
                       const HtmlPublishOptions& options, FileResult* vCardFailure = nullptr);

} // namespace quill
