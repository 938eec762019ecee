// The import sources over sample directory trees: where favourites, bookmark and address
// pages, Eudora nicknames and exchange files put their items, and what odd trees do.

#include "core/exchange/import_sources.h"
#include "core/model/item_factory.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"
#include "core/storage/data_file.h"
#include "interop_support.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace quill {
namespace {

namespace fs = std::filesystem;

void Put(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Shortcut(const std::string& url) {
    return "[InternetShortcut]\r\nURL=" + url + "\r\n";
}

class ImportSourcesTest : public ::testing::Test {
protected:
    test::FakeServices services;
    test::TempDir dir;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();

    TOutlineNode* Folder(std::string_view title, TOutlineNode* parent) {
        return CreateItem(kFolderKind, title, "", "", 1, "", parent)->Node();
    }
    static TOutlineNode* Child(TOutlineNode* parent, std::string_view title) {
        for (std::size_t i = 0; parent && i < parent->ChildCount(); ++i) {
            if (parent->ChildAt(i)->Item()->Title() == title) {
                return parent->ChildAt(i);
            }
        }
        return nullptr;
    }
    static std::string Titles(const TOutlineNode* node) {
        std::string out;
        for (std::size_t i = 0; i < node->ChildCount(); ++i) {
            out += (i ? "," : "") + std::string(node->ChildAt(i)->Item()->Title());
        }
        return out;
    }
};

TEST_F(ImportSourcesTest, FavoritesSubdirectoriesBecomeFoldersDirectlyUnderTheImportFolder) {
    const fs::path fav = dir.path() / "Fav";
    Put(fav / "a.url", Shortcut("http://a.org/"));
    Put(fav / "Sub" / "b.URL", Shortcut("http://b.org/"));
    Put(fav / "Sub" / "Deep" / "c.url", Shortcut("http://c.org/"));
    Put(fav / "Sub" / "notes.txt", "URL=http://not-a-shortcut/");
    Put(fav / "x.url", "[InternetShortcut]\r\nIconIndex=1\r\n");
    TOutlineNode* target = Folder("T", root);

    ASSERT_TRUE(ImportFavorites(fav.string() + "/", target));
    TOutlineNode* imported = Child(target, "Fav");
    ASSERT_NE(imported, nullptr);
    // Sub lists Deep before its own b.URL, so Deep's folder is made first.
    EXPECT_EQ(Titles(imported), "Deep,Sub,a,x");
    EXPECT_EQ(Child(imported, "a")->Item()->Kind(), kWebsiteKind);
    EXPECT_EQ(Child(imported, "a")->Item()->Target(), "http://a.org/");
    EXPECT_EQ(Child(imported, "x")->Item()->Target(), "");
    EXPECT_EQ(Titles(Child(imported, "Sub")), "b");
    EXPECT_EQ(Titles(Child(imported, "Deep")), "c");
    EXPECT_EQ(Child(Child(imported, "Deep"), "c")->Item()->Target(), "http://c.org/");
}

TEST_F(ImportSourcesTest, FavoritesJoinNodesOfTheSameNameButKeepEachDirectoryTogether) {
    // Another "Fav" stands before the target in outline order, and a "Work" elsewhere.
    TOutlineNode* oldFav = Folder("Fav", root);
    TOutlineNode* work = Folder("Work", Folder("Clients", root));
    TOutlineNode* target = Folder("T", root);
    const fs::path fav = dir.path() / "Fav";
    Put(fav / "A" / "in-a.url", Shortcut("a"));
    Put(fav / "Work" / "w.url", Shortcut("w"));
    Put(fav / "Work" / "Z" / "z.url", Shortcut("z"));
    Put(fav / "top.url", Shortcut("t"));

    ASSERT_TRUE(ImportFavorites(fav.string(), target));
    TOutlineNode* imported = Child(target, "Fav");
    ASSERT_NE(imported, nullptr);
    // top.url comes after the subdirectories, and still goes to the import folder.
    EXPECT_EQ(Titles(imported), "A,Z,top");
    EXPECT_EQ(oldFav->ChildCount(), 0u);
    EXPECT_EQ(Titles(work), "w");
    // A new directory met while inside a found node still gets its folder in the import.
    EXPECT_EQ(Titles(Child(imported, "Z")), "z");
}

TEST_F(ImportSourcesTest, FavoritesWalkSkipsHiddenDirectoriesLoopsAndSpecialFiles) {
    const fs::path fav = dir.path() / "Fav";
    Put(fav / ".cache" / "hidden.url", Shortcut("h"));
    Put(fav / "Sub" / "s.url", Shortcut("s"));
    fs::create_directory_symlink(fav, fav / "Sub" / "Loop");
    fs::create_symlink(fav / "missing.url", fav / "dangling.url");
#ifndef _WIN32
    ASSERT_EQ(::mkfifo((fav / "pipe.url").c_str(), 0600), 0);
#endif
    TOutlineNode* target = Folder("T", root);

    ASSERT_TRUE(ImportFavorites(fav.string(), target));
    TOutlineNode* imported = Child(target, "Fav");
    EXPECT_EQ(Titles(imported), "Sub");
    EXPECT_EQ(Titles(Child(imported, "Sub")), "s");
}

TEST_F(ImportSourcesTest, FavoritesFromAMissingDirectoryCreateNothing) {
    TOutlineNode* target = Folder("T", root);
    const FileResult result = ImportFavorites(dir.File("none"), target);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find("none"), std::string::npos);
    EXPECT_EQ(target->ChildCount(), 0u);
}

TEST_F(ImportSourcesTest, BookmarksGoIntoOneFolderUnderTheRoot) {
    Put(dir.path() / "Bookmark.htm",
        "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<TITLE>Ann's Bookmarks</TITLE>\r\n"
        "<H1>Ann's Bookmarks</H1>\r\n<DL><p>\r\n"
        "    <DT><A HREF=\"http://a.org/\" ADD_DATE=\"1\">Alpha</A>\r\n"
        "    <DT><H3 ADD_DATE=\"2\">Nested</H3>\r\n    <DL><p>\r\n"
        "        <DT><A HREF=\"http://b.org/\">Caf\xE9</A>\r\n"
        "        <DT><a href=\"http://lower.org/\">lower</a>\r\n    </DL><p>\r\n</DL><p>\r\n");
    TOutlineNode* target = Folder("T", Folder("Elsewhere", root));
    EXPECT_EQ(PageFileTitle(*FindSourceFile(dir.path().string(), kBookmarkFileName)),
              "Ann's Bookmarks");

    ASSERT_TRUE(ImportBookmarks(dir.path().string(), target));
    EXPECT_EQ(target->ChildCount(), 0u);
    TOutlineNode* folder = Child(root, "Ann's Bookmarks");
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(Titles(folder), "Alpha,Caf\xC3\xA9");
    EXPECT_EQ(Child(folder, "Alpha")->Item()->Target(), "http://a.org/");
    EXPECT_EQ(Child(folder, "Alpha")->Item()->Kind(), kWebsiteKind);
}

TEST_F(ImportSourcesTest, PagesWithoutTitleOrWithoutFile) {
    EXPECT_TRUE(ImportBookmarks(dir.path().string(), root));
    EXPECT_EQ(root->ChildCount(), 0u);

    Put(dir.path() / "bookmark.htm", "<A HREF=u>t</A>");
    ASSERT_TRUE(ImportBookmarks(dir.path().string(), root));
    ASSERT_EQ(root->ChildCount(), 1u);
    EXPECT_EQ(root->ChildAt(0)->Item()->Title(), "Bookmarks") << "a folder one can see";
    EXPECT_EQ(Titles(root->ChildAt(0)), "t");
}

TEST_F(ImportSourcesTest, BookmarksAsBrowsersWriteThem) {
    // Firefox's queries and a bookmarklet, references in addresses and titles, a tag written
    // across lines, text closed on the next line or not at all, and a title of blanks.
    Put(dir.path() / "bookmark.htm",
        "<TITLE>   </TITLE>\n<DL><p>\n"
        "<DT><A HREF=\"place:sort=8&amp;maxResults=10\">Most visited</A>\n"
        "<DT><A HREF=\"javascript:alert(1)\">Bookmarklet</A>\n"
        "<DT><A HREF=\"http://x.org/?a=1&amp;b=2\" ADD_DATE=\"1\">Tom &amp; Jerry&#39;s "
        "&#x263A;</A>\n"
        "<DT><A HREF=\"http://split.example/\"\n    ADD_DATE=\"2\" ICON=\"data:x\">Split tag</A>\n"
        "<DT><A HREF=\"http://long.example/\">A long\n title</A>\n"
        "<DT><A HREF=\"http://open.example/\" TAGS=\"a,b\">No end here\n"
        "<DD>A description\n</DL><p>\n");
    ASSERT_TRUE(ImportBookmarks(dir.path().string(), root));
    TOutlineNode* folder = Child(root, "Bookmarks");
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(Titles(folder), "Tom & Jerry's \xE2\x98\xBA,Split tag,A long title,No end here");
    EXPECT_EQ(Child(folder, "Tom & Jerry's \xE2\x98\xBA")->Item()->Target(),
              "http://x.org/?a=1&b=2");
    EXPECT_EQ(Child(folder, "Split tag")->Item()->Target(), "http://split.example/");
}

TEST_F(ImportSourcesTest, BookmarkFilesOfRealBrowsers) {
    const std::optional<fs::path> corpus = test::InteropCorpus();
    if (!corpus) {
        GTEST_SKIP() << "the folder of other programs' files (interop-corpus) is not here";
    }
    std::size_t sites = 0;
    for (const auto& entry : fs::directory_iterator(*corpus / "bookmarks")) {
        const fs::path copy = dir.path() / entry.path().stem();
        fs::create_directories(copy);
        fs::copy_file(entry.path(), copy / "bookmark.htm");
        TOutline fresh;
        TOutlineNode* top = fresh.CreateRoot();
        ASSERT_TRUE(ImportBookmarks(copy.string(), top)) << entry.path();
        ASSERT_EQ(top->ChildCount(), 1u) << entry.path();
        const TOutlineNode* folder = top->ChildAt(0);
        EXPECT_FALSE(folder->Text().empty()) << entry.path();
        EXPECT_GT(folder->ChildCount(), 0u) << entry.path();
        for (std::size_t i = 0; i < folder->ChildCount(); ++i) {
            const TNRBObject* site = folder->ChildAt(i)->Item();
            EXPECT_FALSE(site->Title().empty()) << entry.path() << ": " << site->Target();
            EXPECT_EQ(site->Target().find("&amp;"), std::string_view::npos) << entry.path();
            EXPECT_FALSE(site->Target().starts_with("place:")) << entry.path();
            ++sites;
        }
    }
    EXPECT_GT(sites, 50u);
}

TEST_F(ImportSourcesTest, TheExactlyNamedFileWinsOverOtherCases) {
    Put(dir.path() / "BOOKMARK.HTM", "<TITLE>upper</TITLE>");
    Put(dir.path() / "bookmark.htm", "<TITLE>exact</TITLE>");
    EXPECT_EQ(PageFileTitle(*FindSourceFile(dir.path().string(), kBookmarkFileName)), "exact");
    fs::create_directory(dir.path() / "address.htm");
    EXPECT_FALSE(FindSourceFile(dir.path().string(), kAddressFileName));
}

TEST_F(ImportSourcesTest, AddressBookMakesEMailItemsWithoutMailto) {
    Put(dir.path() / "address.htm",
        "<TITLE>Address book</TITLE>\n"
        "<DT><A HREF=\"mailto:ann@example.com\" NICKNAME=\"ann\">Ann Lee</A>\n"
        "<DT><A HREF=\"MAILTO:bob@example.com\">Bob</A>\n");
    TOutlineNode* target = Folder("T", root);
    ASSERT_TRUE(ImportNetscapeAddressBook(dir.path().string(), target));
    TOutlineNode* folder = Child(root, "Address book");
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(folder->ChildCount(), 0u);
    ASSERT_EQ(folder->Item()->ChildCount(), 2u);
    const TNRBObject* ann = folder->Item()->ChildAt(0);
    EXPECT_EQ(ann->Kind(), kEMailKind);
    EXPECT_EQ(ann->Title(), "Ann Lee");
    EXPECT_EQ(ann->Target(), "ann@example.com");
    EXPECT_EQ(folder->Item()->ChildAt(1)->Target(), "MAILTO:bob@example.com");
}

TEST_F(ImportSourcesTest, EudoraAliasesAndTheirNotes) {
    const std::string longNote(600, 'n');
    Put(dir.path() / "NNdbase.txt", "alias ann \"Ann Lee\" <ann@example.com>\r\n"
                                    "alias nobody \"No Address\"\r\n"
                                    "note ann <name:Ann Lee>Met at the fair\r\n"
                                    "note ghost text for nobody\r\n"
                                    "alias bob bob@example.com\r\n"
                                    "note bob " +
                                        longNote + "\r\n");
    TOutlineNode* target = Folder("T", root);
    ASSERT_TRUE(ImportEudora(dir.path().string(), target));
    TOutlineNode* folder = Child(root, kEudoraFolderTitle);
    ASSERT_NE(folder, nullptr);
    ASSERT_EQ(folder->Item()->ChildCount(), 2u);
    const TNRBObject* ann = folder->Item()->ChildAt(0);
    EXPECT_EQ(ann->Kind(), kEMailKind);
    EXPECT_EQ(ann->Target(), "ann@example.com");
    EXPECT_EQ(ann->Comment(), "<name:Ann Lee>Met at the fair");
    EXPECT_EQ(folder->Item()->ChildAt(1)->Comment(), longNote);
}

TEST_F(ImportSourcesTest, ExchangeFileMergesUnderTheRoot) {
    TOutline source;
    TOutlineNode* sourceRoot = source.CreateRoot();
    TOutlineNode* family = Folder("Family", sourceRoot);
    CreateItem(kPersonKind, "Ann", "", "", 2, "", family);
    ASSERT_TRUE(WriteSubtree(*family, dir.File("backup.QLD")));
    fs::copy_file(dir.File("backup.QLD"), dir.File("backup.txt"));

    TOutlineNode* target = Folder("T", root);
    ASSERT_TRUE(ImportExchangeFile(dir.File("backup.QLD"), target));
    ASSERT_TRUE(ImportExchangeFile(dir.File("backup.txt"), target));
    EXPECT_EQ(Titles(root), "T,Family");
    EXPECT_EQ(Titles(Child(root, "Family")), "Ann");
}

TEST_F(ImportSourcesTest, EachImportIsOneUpdateBracket) {
    struct Counter : IOutlineObserver {
        int suspended = 0;
        int resumed = 0;
        void UpdatesSuspended() override { ++suspended; }
        void UpdatesResumed() override { ++resumed; }
    } counter;
    outline.AddObserver(&counter);
    Put(dir.path() / "Fav" / "a.url", Shortcut("a"));
    Put(dir.path() / "Fav" / "b.url", Shortcut("b"));
    Put(dir.path() / "nndbase.txt", "alias a a@b\nalias b b@c\n");
    ImportFavorites(dir.File("Fav"), root);
    ImportEudora(dir.path().string(), root);
    outline.RemoveObserver(&counter);
    EXPECT_EQ(counter.suspended, 2);
    EXPECT_EQ(counter.resumed, 2);
    EXPECT_FALSE(outline.Updating());
}

} // namespace
} // namespace quill
