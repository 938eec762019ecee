// The pure readers behind the import sources: anchors and titles of bookmark pages, alias
// and note lines of the Eudora nicknames file, Internet shortcuts, folder names and lines.

#include "core/exchange/html_anchor_reader.h"
#include "core/exchange/import_sources.h"
#include "core/exchange/nickname_file.h"
#include "core/exchange/shortcut_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quill {
namespace {

HtmlAnchor Anchor(std::string_view line) {
    return GetAnchorInfo(line).value_or(HtmlAnchor{"<none>", "<none>"});
}

TEST(AnchorReaderTest, ReadsNetscapeBookmarkLines) {
    const HtmlAnchor a = Anchor(R"(    <DT><A HREF="http://example.com/a" ADD_DATE="8" )"
                                R"(LAST_VISIT="9">Example &amp; Co</A>)");
    EXPECT_EQ(a.address, "http://example.com/a");
    EXPECT_EQ(a.title, "Example &amp; Co");
    // Attribute names in any case, separated by commas too, the value unquoted.
    EXPECT_EQ(Anchor("<A ADD_DATE=1,href=ftp://x.org/>F</A>").address, "ftp://x.org/");
    // A quoted value keeps its blanks and commas.
    EXPECT_EQ(Anchor(R"(<A HREF="http://x.org/a b,c" X=1>T</A>)").address, "http://x.org/a b,c");
}

TEST(AnchorReaderTest, OnlyUpperCaseTagsWithAnHrefAreAnchors) {
    EXPECT_FALSE(GetAnchorInfo(R"(<DT><a href="http://x.org/">lower</a>)"));
    EXPECT_FALSE(GetAnchorInfo(R"(<DT><H3 ADD_DATE="1">Heading</H3>)"));
    EXPECT_FALSE(GetAnchorInfo(R"(<A NAME="top">Top</A>)"));
    EXPECT_FALSE(GetAnchorInfo("<ADDRESS>Ann</ADDRESS>"));
    EXPECT_FALSE(GetAnchorInfo("text ending in <A"));
}

TEST(AnchorReaderTest, MalformedLinesGiveWhatTheyHold) {
    // No "</A>": no text. No ">": the whole rest is the tag.
    EXPECT_EQ(Anchor(R"(<A HREF="http://x.org/">No end)").title, "");
    const HtmlAnchor open = Anchor(R"(<A HREF="http://x.org/ with an open quote)");
    EXPECT_EQ(open.address, "http://x.org/ with an open quote");
    EXPECT_EQ(open.title, "");
    EXPECT_EQ(Anchor("<A HREF=x</A>").title, "");
    EXPECT_EQ(Anchor(R"(<A HREF=">Quote</A>)").address, "");

    // A huge line of unterminated tags and quotes is read in one pass.
    std::string huge;
    for (int i = 0; i < 200000; ++i) {
        huge += "<A HREF=\"a, ";
    }
    EXPECT_EQ(Anchor(huge).title, "");
    EXPECT_EQ(Anchor(std::string(4 << 20, '<') + "A HREF=u>t</A>").address, "u");
}

TEST(AnchorReaderTest, TitleComesFromTheFirstLineStartingWithTitle) {
    EXPECT_EQ(TitleOfLine("<TITLE>Bookmarks for Ann</TITLE>"), "Bookmarks for Ann");
    EXPECT_EQ(TitleOfLine("<title>Ann's Bookmarks</Title> <H1>"), "Ann's Bookmarks");
    EXPECT_EQ(TitleOfLine("<TITLE>Unfinished"), "");
    EXPECT_FALSE(TitleOfLine(" <TITLE>indented</TITLE>"));
    EXPECT_FALSE(TitleOfLine("<TITLE"));

    const std::vector<std::string> lines{"<HTML>", "<TITLE>First</TITLE>", "<TITLE>Second</TITLE>"};
    EXPECT_EQ(GetBMTitle(lines), "First");
    const std::vector<std::string> untitled{"<HTML>", "<H1>Bookmarks</H1>"};
    EXPECT_EQ(GetBMTitle(untitled), "");
}

TEST(NicknameReaderTest, AliasTakesTheFirstItemHoldingAnAtSign) {
    const auto alias = ParseAliasLine(R"(alias ann "Ann Lee" <ann@example.com>)");
    ASSERT_TRUE(alias);
    EXPECT_EQ(alias->nickname, "ann");
    EXPECT_EQ(alias->address, "ann@example.com");

    const auto quoted = ParseAliasLine(R"(alias "Lee, Ann" ann@example.com,bob@example.com)");
    ASSERT_TRUE(quoted);
    EXPECT_EQ(quoted->nickname, "Lee, Ann");
    EXPECT_EQ(quoted->address, "ann@example.com");
    // The nickname itself can be the address.
    EXPECT_EQ(ParseAliasLine("alias <a@x.org> Ann")->address, "a@x.org");
}

TEST(NicknameReaderTest, AliasLinesThatGiveNothing) {
    EXPECT_FALSE(ParseAliasLine("alias ann@example.com"));
    EXPECT_FALSE(ParseAliasLine(R"(alias ann "Ann Lee")"));
    EXPECT_FALSE(ParseAliasLine("Alias ann ann@example.com"));
    EXPECT_FALSE(ParseAliasLine(" alias ann ann@example.com"));
}

TEST(NicknameReaderTest, NoteTextStartsAfterTheNicknameAsWritten) {
    const auto note = ParseNoteLine("note ann <name:Ann Lee>Met at the fair");
    ASSERT_TRUE(note);
    EXPECT_EQ(note->nickname, "ann");
    EXPECT_EQ(note->text, "<name:Ann Lee>Met at the fair");
    // A quoted nickname, extra blanks and a comma do not shift the text.
    EXPECT_EQ(ParseNoteLine(R"(note  "Ann Lee"  two blanks)")->text, " two blanks");
    EXPECT_EQ(ParseNoteLine(R"(note "Ann Lee" kept)")->nickname, "Ann Lee");
    EXPECT_EQ(ParseNoteLine(R"(note "Ann Lee" kept)")->text, "kept");
    EXPECT_EQ(ParseNoteLine("note ann,text")->text, "text");
    // Long notes are kept whole.
    const std::string longText(1000, 'x');
    EXPECT_EQ(ParseNoteLine("note ann " + longText)->text, longText);

    EXPECT_FALSE(ParseNoteLine("note ann"));
    EXPECT_FALSE(ParseNoteLine("Note ann text"));
    EXPECT_FALSE(ParseNoteLine("note ,"));
}

TEST(ShortcutReaderTest, UrlOfTheShortcutSectionElseAnyUrlLine) {
    EXPECT_EQ(ShortcutUrl("[DEFAULT]\r\nBASEURL=http://base.org/\r\n[InternetShortcut]\r\n"
                          "URL=http://x.org/page\r\nModified=1\r\n"),
              "http://x.org/page");
    EXPECT_EQ(ShortcutUrl("[Other]\nURL=http://other.org/\n[InternetShortcut]\nurl = http://x/\n"),
              "http://x/");
    EXPECT_EQ(ShortcutUrl("url = \"http://loose.org/\" \n"), "http://loose.org/");
    EXPECT_EQ(ShortcutUrl("[InternetShortcut]\nIconIndex=0\n"), "");
}

TEST(ShortcutReaderTest, NamesTitlesAndFolders) {
    EXPECT_FALSE(IsShortcutFileName("/f/Home.url.txt"));
    EXPECT_EQ(ShortcutTitle(".url"), "");
    EXPECT_EQ(GetFolderName("/home/ann/Fav/Sub/b.URL"), "Sub");
    EXPECT_EQ(GetFolderName("/home/ann/Fav/"), "Fav");
    EXPECT_EQ(GetFolderName("/home/ann/Fav"), "ann");
    EXPECT_EQ(GetFolderName("Fav/x.url"), "Fav");
    EXPECT_EQ(GetFolderName("x.url"), "");
}

TEST(SourceLinesTest, SplitsAtEveryLineEndAndDecodesLineByLine) {
    EXPECT_EQ(SplitSourceLines("\xEF\xBB\xBF"
                               "a\r\nb\rc\n\nd"),
              (std::vector<std::string>{"a", "b", "c", "", "d"}));
    EXPECT_EQ(SplitSourceLines("a\r\n"), (std::vector<std::string>{"a"}));
    EXPECT_TRUE(SplitSourceLines("").empty());
    // One Windows-1252 line does not turn the UTF-8 lines around it into mojibake.
    EXPECT_EQ(SplitSourceLines("Caf\xE9\nCaf\xC3\xA9"),
              (std::vector<std::string>{"Caf\xC3\xA9", "Caf\xC3\xA9"}));
}

} // namespace
} // namespace quill
