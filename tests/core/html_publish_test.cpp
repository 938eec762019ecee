// Publishing a subtree as a web site: the pages of both layouts, the index levels, the
// exchange file and vCard files beside them, the pictures, and what a hostile or clashing
// name does.

#include "core/exchange/html_publish.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "core/util/ascii.h"
#include "core/util/atomic_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <set>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace quill {
namespace {

namespace fs = std::filesystem;

std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text.append(line);
        text.append("\r\n");
    }
    return text;
}

std::string Get(const std::string& path) {
    return ReadWholeFile(path).value_or("<missing>");
}

void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::size_t Count(const std::string& text, std::string_view what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

// A person that notes where it was asked to save its vCard.
class RecordingPerson final : public TPersonObject {
public:
    RecordingPerson(std::string_view title, std::int32_t id, std::vector<std::string>& saved)
        : TPersonObject(title, "", "", id, ""), saved_(saved) {}
    FileResult SaveVCardFile(const std::string& fileName) const override {
        saved_.push_back(fileName);
        return {};
    }

private:
    std::vector<std::string>& saved_;
};

class HtmlPublishTest : public ::testing::Test {
protected:
    test::FakeServices services;
    test::TempDir dir;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();
    std::vector<std::string> saved;

    TNRBObject* Make(int kind, std::string_view title, TOutlineNode* parent,
                     std::string_view target = "", std::int32_t id = 7) {
        return CreateItem(kind, title, target, "", id, "", parent);
    }
    TOutlineNode* Recording(std::string_view title, std::int32_t id, TOutlineNode* parent) {
        auto person = std::make_unique<RecordingPerson>(title, id, saved);
        TNRBObject* item = person.get();
        TOutlineNode* node = outline.AddNode(parent, title, std::move(person));
        item->SetNode(node);
        return node;
    }
    HtmlPublishOptions Options(std::string_view mainPage = "site.htm") const {
        HtmlPublishOptions options;
        options.directory = dir.path().string();
        options.mainPageName = mainPage;
        options.title = "Our People";
        return options;
    }
    std::string Index(const TOutlineNode& start, const HtmlPublishOptions& options) {
        std::ostringstream out;
        WriteHTMLIndex(out, start, "p.htm", options);
        return out.str();
    }
    // A "Web Graphics" directory with every icon and one background.
    std::string FakeWebGraphics() {
        const fs::path web = dir.path() / "graphics" / "Web Graphics";
        fs::create_directories(web / "Icons");
        fs::create_directories(web / "Backgrounds");
        for (std::string_view icon : HtmlIconFiles()) {
            Put((web / "Icons" / icon).string(), "icon " + std::string(icon));
        }
        Put((web / "Backgrounds" / "marble.bmp").string(), "preview");
        Put((web / "Backgrounds" / "marble.gif").string(), "marble picture");
        return web.string();
    }
};

TEST_F(HtmlPublishTest, FramesWriteFramePageIndexMainExchangeFileAndVCards) {
    TOutlineNode* folder = Make(kFolderKind, "Team", root)->Node();
    TOutlineNode* ann = Recording("Ann", 42, folder);
    Make(kPhoneKind, "Desk", ann, "555");

    ASSERT_TRUE(PublishHTML(*folder, Options()));

    EXPECT_EQ(Get(dir.File("site.htm")),
              Lines({kFramesetDoctype, "<html>", "<head>", kCharsetMeta, "<title>Team</title>",
                     "<meta name=\"GENERATOR\" content=\"Quillmere\">", "</head>",
                     "<frameset cols=\"35%,65%\">",
                     "<frame src=\"quilindex.htm\" name=\"index\" marginwidth=1 marginheight=1>",
                     "<frame src=\"quilmain.htm\" name=\"main\" marginwidth=1 marginheight=1>",
                     "<noframes>", "<body><p>",
                     "<p>This Web page uses frames, but your browser does not support them.</p>",
                     "</body>", "</noframes>", "</frameset>", "</html>"}));
    EXPECT_EQ(
        Get(dir.File("quilindex.htm")),
        Lines({kTransitionalDoctype, "<html>", "<head>", kCharsetMeta, "<title>Our People</title>",
               "<meta name=\"GENERATOR\" content=\"Quillmere\">", "<base target=main>", "</head>",
               "<body background=\"\" text=Black link=Navy>",
               "<p><font size=2><a href=\"quilmain.qld\"><img src=\"nrb_16.gif\" "
               "align=left border=0 width=16 height=16>Get Quillmere&#8482; file</a></font></p>",
               "<a href=\"quilmain.htm#Ann\"><img src=\"person.gif\" align=bottom border=0 "
               "hspace=5 width=16 height=16>Ann</a><br>",
               "<p><font size=1>This page created with...<br></font>",
               "<a href=\"https://quillmere.org/\" target=\"window\"><img src=\"quilbtn.gif\" "
               "align=bottom border=0 width=120 height=40></a></p>",
               "</body>", "</html>"}));
    const std::string main = Get(dir.File("quilmain.htm"));
    EXPECT_TRUE(main.starts_with(
        Lines({kTransitionalDoctype, "<html>", "<head>", kCharsetMeta, "<title>Our People</title>",
               "<meta name=\"GENERATOR\" content=\"Quillmere\">", "</head>",
               "<body background=\"\" text=Black link=Navy>", "<h2>Our People</h2>",
               "<p>&nbsp;</p>", "<hr>", "<p><a name=\"Team\"><font size=4>Team</font></a><br>",
               "<blockquote>", "</blockquote>", "<blockquote>", "<p><table width=100%>"})))
        << main;
    EXPECT_TRUE(main.ends_with(Lines({"<hr>", "</blockquote>", "</body>", "</html>"}))) << main;
    EXPECT_EQ(main.find("quilbtn.gif"), std::string::npos); // the footer is the index's

    // The exchange file reads back as the subtree.
    TOutline other;
    TOutlineNode* top = other.CreateRoot();
    ASSERT_TRUE(ImportFile(top, dir.File("quilmain.qld")));
    ASSERT_EQ(top->ChildCount(), 1u);
    ASSERT_EQ(top->ChildAt(0)->ChildCount(), 1u);
    EXPECT_EQ(top->ChildAt(0)->ChildAt(0)->Item()->Title(), "Ann");
    EXPECT_EQ(top->ChildAt(0)->ChildAt(0)->Item()->ChildCount(), 1u);

    EXPECT_EQ(saved, std::vector<std::string>{dir.File("vc42.vcf")});
}

TEST_F(HtmlPublishTest, WithoutFramesOnePageHoldsFooterIndexAndContents) {
    TOutlineNode* folder = Make(kFolderKind, "Team", root)->Node();
    Recording("Ann", 1, folder);
    HtmlPublishOptions options = Options();
    options.useFrames = false;
    options.exchangeFileLink = false;
    options.vCardLinks = false;
    ASSERT_TRUE(PublishHTML(*folder, options));

    EXPECT_FALSE(fs::exists(dir.File("quilindex.htm")));
    EXPECT_FALSE(fs::exists(dir.File("quilmain.htm")));
    EXPECT_FALSE(fs::exists(dir.File("quilmain.qld")));
    EXPECT_TRUE(saved.empty());
    const std::string page = Get(dir.File("site.htm"));
    EXPECT_TRUE(page.starts_with(
        Lines({kTransitionalDoctype, "<html>", "<head>", kCharsetMeta, "<title>Our People</title>",
               "<meta name=\"GENERATOR\" content=\"Quillmere\">", "</head>",
               "<body background=\"\" text=Black link=Navy>", "<h2>Our People</h2>",
               "<p>&nbsp;</p>", "<p><font size=1>This page created with...<br></font>",
               "<a href=\"https://quillmere.org/\"><img src=\"quilbtn.gif\" align=bottom border=0 "
               "width=120 height=40></a></p>",
               "<a href=\"#Ann\"><img src=\"person.gif\" align=bottom border=0 hspace=5 width=16 "
               "height=16>Ann</a><br>",
               "<hr>", "<p><a name=\"Team\"><font size=4>Team</font></a><br>"})))
        << page;
    EXPECT_EQ(page.find("vcard.gif"), std::string::npos);
    EXPECT_EQ(page.find("quilmain.qld"), std::string::npos);
}

TEST_F(HtmlPublishTest, IndexNestsByLevelAndStopsAtTheLevelLimit) {
    TOutlineNode* a = Make(kFolderKind, "A", root)->Node();
    TOutlineNode* b = Make(kFolderKind, "B", a)->Node();
    Make(kPersonKind, "C", b);
    Make(kWebsiteKind, "Leaf site", b, "http://x.example/");
    Make(kPersonKind, "D", root);
    HtmlPublishOptions options = Options();
    options.exchangeFileLink = false;

    const auto line = [](std::string_view icon, std::string_view title) {
        return "<a href=\"p.htm#" + std::string(title) + "\"><img src=\"" + std::string(icon) +
               "\" align=bottom border=0 hspace=5 " +
               (icon == "folder.gif" ? "width=15 height=13" : "width=16 height=16") + ">" +
               std::string(title) + "</a><br>";
    };
    const std::string all = Index(*root, options);
    EXPECT_EQ(all, Lines({line("folder.gif", "A"), "<blockquote>", line("folder.gif", "B"),
                          "<blockquote>", line("person.gif", "C"), "</blockquote>", "</blockquote>",
                          line("person.gif", "D")}));
    options.indexLevels = 1;
    EXPECT_EQ(Index(*root, options), Lines({line("folder.gif", "A"), line("person.gif", "D")}));
    options.indexLevels = 2;
    EXPECT_EQ(Index(*root, options),
              Lines({line("folder.gif", "A"), "<blockquote>", line("folder.gif", "B"),
                     "</blockquote>", line("person.gif", "D")}));
    // Levels still open at the end are closed, so what follows is not indented.
    EXPECT_TRUE(Index(*a, Options()).ends_with(Lines({line("person.gif", "C"), "</blockquote>"})));
}

TEST_F(HtmlPublishTest, ContentsIndentEachLevelAndSaveVCardsBesideThePages) {
    TOutlineNode* top = Make(kFolderKind, "Top", root)->Node();
    Recording("Ann", 5, top);
    TOutlineNode* sub = Make(kFolderKind, "Sub", top)->Node();
    Recording("Bob", -9, sub);
    HtmlPublishOptions options = Options();
    std::ostringstream out;
    WriteHTMLContents(out, *top, options);
    const std::string contents = out.str();
    EXPECT_EQ(Count(contents, "<blockquote>"), Count(contents, "</blockquote>"));
    EXPECT_EQ(saved, (std::vector<std::string>{dir.File("vc5.vcf"), dir.File("vc-9.vcf")}));
    // Bob sits two levels in: one blockquote per level plus Sub's own for its contact points.
    const std::size_t bob = contents.find("name=\"Bob\"");
    ASSERT_NE(bob, std::string::npos);
    EXPECT_EQ(Count(contents.substr(0, bob), "<blockquote>") -
                  Count(contents.substr(0, bob), "</blockquote>"),
              2u);

    saved.clear();
    options.vCardLinks = false;
    std::ostringstream quiet;
    WriteHTMLContents(quiet, *top, options);
    EXPECT_TRUE(saved.empty());
    EXPECT_EQ(quiet.str().find("vcard.gif"), std::string::npos);
}

TEST_F(HtmlPublishTest, PublishingALastChildCoversOnlyItsSubtree) {
    Make(kPersonKind, "Before", root);
    TOutlineNode* last = Make(kFolderKind, "Last", root)->Node();
    Make(kPersonKind, "Inside", last);
    TOutlineNode* after = Make(kFolderKind, "After", root)->Node();
    Make(kPersonKind, "Later", after);
    ASSERT_TRUE(PublishHTML(*last, Options()));
    const std::string main = Get(dir.File("quilmain.htm"));
    const std::string index = Get(dir.File("quilindex.htm"));
    EXPECT_NE(main.find("name=\"Inside\""), std::string::npos);
    for (std::string_view other : {"Before", "After", "Later"}) {
        EXPECT_EQ(main.find(other), std::string::npos) << other;
        EXPECT_EQ(index.find(other), std::string::npos) << other;
    }
}

TEST_F(HtmlPublishTest, HiddenItemsStayOutOfTheExchangeFileOnly) {
    TOutlineNode* folder = Make(kFolderKind, "F", root)->Node();
    Make(kPersonKind, "Secret", folder)->SetCategories(1);
    Make(kPersonKind, "Open", folder);
    ASSERT_TRUE(
        PublishHTML(*folder, Options(), [](const TNRBObject& item) { return item.InCategory(1); }));
    const std::string qld = Get(dir.File("quilmain.qld"));
    EXPECT_EQ(qld.find("Secret"), std::string::npos);
    EXPECT_NE(qld.find("Open"), std::string::npos);
    EXPECT_NE(Get(dir.File("quilmain.htm")).find("Secret"), std::string::npos);
}

TEST_F(HtmlPublishTest, ItemTextsCannotInjectMarkupAndAnchorsStillMatch) {
    const std::string evil = "<script>alert(\"pwn\")</script> & \"Co\"";
    TOutlineNode* folder = Make(kFolderKind, evil, root)->Node();
    TNRBObject* person = Make(kPersonKind, "<img src=x onerror=alert(1)>", folder);
    CreateItem(kPhoneKind, "<b>", "</td></table>", "<!--", 1, "", person->Node());
    HtmlPublishOptions options = Options();
    options.title = "</title><script>x()</script>";
    ASSERT_TRUE(PublishHTML(*folder, options));

    const std::string frame = Get(dir.File("site.htm"));
    const std::string index = Get(dir.File("quilindex.htm"));
    const std::string main = Get(dir.File("quilmain.htm"));
    for (const std::string* page : {&frame, &index, &main}) {
        EXPECT_EQ(page->find("<script"), std::string::npos) << *page;
        EXPECT_EQ(page->find("<img src=x"), std::string::npos) << *page;
        EXPECT_EQ(page->find("<!--"), std::string::npos) << *page;
    }
    EXPECT_EQ(Count(main, "<table"), 1u);
    EXPECT_EQ(Count(main, "</table>"), 1u);
    const std::string escaped =
        "&lt;script&gt;alert(&quot;pwn&quot;)&lt;/script&gt; &amp; &quot;Co&quot;";
    EXPECT_NE(frame.find("<title>" + escaped + "</title>"), std::string::npos);
    // The index link and the section's anchor carry the same name, of letters, digits and "-".
    const std::string personName = "img-src-x-onerror-alert-1";
    EXPECT_NE(index.find("href=\"quilmain.htm#" + personName + "\""), std::string::npos);
    EXPECT_NE(main.find("<a name=\"" + personName + "\">"), std::string::npos);
    EXPECT_NE(main.find("<a name=\"script-alert-pwn-script-Co\">"), std::string::npos);
}

TEST_F(HtmlPublishTest, AnchorsAndVCardFilesNeverCollide) {
    TOutlineNode* folder = Make(kFolderKind, "People", root)->Node();
    // Two persons of one name, one whose name only differs in case and blanks, one sharing
    // the first one's Id, and one named like the first one's second anchor.
    TNRBObject* first = CreateItem(kPersonKind, "Ann Lee", {}, {}, 77, {}, folder);
    TNRBObject* second = CreateItem(kPersonKind, "Ann Lee", {}, {}, 78, {}, folder);
    TNRBObject* third = CreateItem(kPersonKind, "ann  lee", {}, {}, 77, {}, folder);
    TNRBObject* fourth = CreateItem(kPersonKind, "Ann Lee 2", {}, {}, 79, {}, folder);
    ASSERT_TRUE(PublishHTML(*folder, Options()));
    const std::string index = Get(dir.File("quilindex.htm"));
    const std::string main = Get(dir.File("quilmain.htm"));
    std::set<std::string> anchors;
    std::set<std::string> files;
    for (const TNRBObject* person : {first, second, third, fourth}) {
        HtmlSiteNames names(*folder);
        const std::string anchor = HtmlAnchorName(*person);
        EXPECT_TRUE(anchors.insert(AsciiLowered(anchor)).second) << anchor;
        EXPECT_EQ(anchor.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                           "0123456789-"),
                  std::string::npos);
        EXPECT_EQ(Count(main, "<a name=\"" + anchor + "\">"), 1u) << anchor;
        EXPECT_EQ(Count(index, "#" + anchor + "\""), 1u) << anchor;
        const std::string file = HtmlVCardFileName(*person);
        EXPECT_TRUE(files.insert(file).second) << file;
        EXPECT_TRUE(std::filesystem::exists(dir.File(file))) << file;
        EXPECT_NE(main.find("href=\"" + file + "\""), std::string::npos) << file;
    }
    HtmlSiteNames names(*folder);
    EXPECT_EQ(HtmlVCardFileName(*first), "vc77.vcf") << "a unique Id keeps its name";
    EXPECT_EQ(HtmlVCardFileName(*third), "vc77-2.vcf");
    EXPECT_EQ(HtmlVCardFileName(*second), "vc78.vcf");
}

TEST_F(HtmlPublishTest, IconsAndPictureAreCopiedWithoutOverwriting) {
    TOutlineNode* folder = Make(kFolderKind, "F", root)->Node();
    HtmlPublishOptions options = Options();
    options.webGraphicsDirectory = FakeWebGraphics();
    options.backgroundPicture = BackgroundPicturePath(options.webGraphicsDirectory, "marble");
    options.textColour = HtmlColour::Maroon;
    options.linkColour = HtmlColour::Teal;
    Put(dir.File("person.gif"), "the user's own");
    ASSERT_TRUE(PublishHTML(*folder, options));

    for (std::string_view icon : HtmlIconFiles()) {
        EXPECT_TRUE(fs::exists(dir.path() / icon)) << icon;
    }
    EXPECT_EQ(Get(dir.File("folder.gif")), "icon folder.gif");
    EXPECT_EQ(Get(dir.File("person.gif")), "the user's own");
    EXPECT_EQ(Get(dir.File("marble.gif")), "marble picture");
    EXPECT_FALSE(fs::exists(dir.File("marble.bmp")));
    EXPECT_NE(Get(dir.File("quilmain.htm"))
                  .find("<body background=\"marble.gif\" text=Maroon "
                        "link=Teal>"),
              std::string::npos);

    // Missing pictures are no error; nothing else lands in the directory.
    fs::remove(fs::path(options.webGraphicsDirectory) / "Icons" / "web.gif");
    fs::remove(dir.File("web.gif"));
    options.backgroundPicture = dir.File("nowhere/pic#1.gif");
    ASSERT_TRUE(PublishHTML(*folder, options));
    EXPECT_FALSE(fs::exists(dir.File("web.gif")));
    EXPECT_NE(Get(dir.File("quilindex.htm")).find("<body background=\"pic%231.gif\""),
              std::string::npos);
}

TEST_F(HtmlPublishTest, MainPageNamedLikeAnotherSiteFileOrUnwritableFails) {
    TOutlineNode* folder = Make(kFolderKind, "F", root)->Node();
    for (std::string_view name : {"quilmain.htm", "QuilIndex.HTM", "quilmain.qld", "vc42.vcf"}) {
        const FileResult result = PublishHTML(*folder, Options(name));
        EXPECT_FALSE(result) << name;
        EXPECT_NE(result.message.find(std::string(name)), std::string::npos);
        EXPECT_FALSE(fs::exists(dir.File(std::string(name)))) << name;
    }
    // One page without frames may take the name, and so may a vc file without vCard links.
    HtmlPublishOptions options = Options("quilmain.htm");
    options.useFrames = false;
    EXPECT_TRUE(PublishHTML(*folder, options));
    options = Options("vc42.vcf");
    options.vCardLinks = false;
    EXPECT_TRUE(PublishHTML(*folder, options));
    EXPECT_FALSE(PublishHTML(*folder, Options("")));

    options = Options();
    options.directory = dir.File("missing");
    const FileResult unwritable = PublishHTML(*folder, options);
    EXPECT_FALSE(unwritable);
    EXPECT_NE(unwritable.message.find("site.htm"), std::string::npos) << unwritable.message;
}

TEST_F(HtmlPublishTest, ACardThatCannotBeWrittenFailsThePublishNamingIt) {
    TOutlineNode* folder = Make(kFolderKind, "People", root)->Node();
    ASSERT_NE(CreateItem(kPersonKind, "Ann Lee", {}, {}, 55, {}, folder), nullptr);
    ASSERT_NE(CreateItem(kPersonKind, "Bob Roe", {}, {}, 56, {}, folder), nullptr);
    fs::create_directories(dir.File("vc55.vcf")); // a folder stands where the card goes
    for (const bool frames : {true, false}) {
        HtmlPublishOptions options = Options();
        options.useFrames = frames;
        const FileResult result = PublishHTML(*folder, options);
        EXPECT_FALSE(result) << "frames " << frames;
        EXPECT_NE(result.message.find("vc55.vcf"), std::string::npos) << result.message;
    }
    // The same site without vCard links publishes.
    HtmlPublishOptions options = Options();
    options.vCardLinks = false;
    EXPECT_TRUE(PublishHTML(*folder, options));
}

TEST_F(HtmlPublishTest, WizardChoicesOfBackgroundAndColour) {
    const std::string web = FakeWebGraphics();
    EXPECT_EQ(BackgroundPicturePath(web, "marble"), web + "/Backgrounds/marble.gif");
    EXPECT_EQ(BackgroundPreviewPath(web, "marble"), web + "/Backgrounds/marble.bmp");
    EXPECT_EQ(BackgroundPicturePath(web, "sand"), ""); // no sand.bmp here
    EXPECT_EQ(BackgroundPicturePath(web, kNoBackground), "");
    EXPECT_EQ(BackgroundPreviewPath(web, kNoBackground), "");
    EXPECT_EQ(HtmlColourFromName("navy"), HtmlColour::Navy);
    EXPECT_EQ(HtmlColourFromName("Blue"), std::nullopt);
    EXPECT_EQ(HtmlColourName(HtmlColour::Yellow), "Yellow");
    EXPECT_EQ(HtmlColourRgb(HtmlColour::Olive), 0x808000u);
}

TEST_F(HtmlPublishTest, WebGraphicsAreFoundBesideOrAboveTheProgram) {
    const fs::path installed = dir.path() / "usr";
    fs::create_directories(installed / "bin");
    fs::create_directories(installed / "share" / "quillmere" / "Web Graphics");
    EXPECT_EQ(FindWebGraphicsDirectory((installed / "bin" / "quillmere").string()),
              (installed / "share" / "quillmere" / "Web Graphics").string());
    fs::create_directories(installed / "bin" / "Web Graphics");
    EXPECT_EQ(FindWebGraphicsDirectory((installed / "bin" / "quillmere").string()),
              (installed / "bin" / "Web Graphics").string());

    // A build tree outside the sources names them in its cache.
    const fs::path source = dir.path() / "src";
    fs::create_directories(source / "assets" / "Web Graphics");
    const fs::path build = dir.path() / "build";
    fs::create_directories(build / "tools" / "quilltool");
    Put((build / "CMakeCache.txt").string(),
        "FOO:BOOL=ON\nCMAKE_HOME_DIRECTORY:INTERNAL=" + source.string() + "\n");
    EXPECT_EQ(FindWebGraphicsDirectory((build / "tools" / "quilltool" / "quilltool").string()),
              (source / "assets" / "Web Graphics").string());
}

// The pictures that ship with the program, as the test program finds them from its build tree.
TEST(HtmlShippedGraphicsTest, EveryIconAndBackgroundIsASmallPicture) {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    ASSERT_FALSE(ec) << "cannot find the test program";
    const std::string web = FindWebGraphicsDirectory(self.string());
    ASSERT_FALSE(web.empty()) << "no Web Graphics directory found from " << self;
    const auto check = [](const std::string& path, std::string_view magic) {
        const std::string bytes = ReadWholeFile(path).value_or("");
        EXPECT_TRUE(bytes.starts_with(magic)) << path;
        EXPECT_LT(bytes.size(), 16u * 1024) << path;
    };
    for (std::string_view icon : HtmlIconFiles()) {
        check(IconsDirectory(web) + std::string(icon), "GIF8");
    }
    for (std::string_view name : BackgroundNames()) {
        check(BackgroundsDirectory(web) + std::string(name) + ".gif", "GIF8");
        check(BackgroundsDirectory(web) + std::string(name) + ".bmp", "BM");
        EXPECT_EQ(BackgroundPicturePath(web, name),
                  BackgroundsDirectory(web) + std::string(name) + ".gif");
    }
}

} // namespace
} // namespace quill
