// The published site as an independent checker sees it: tidy finds no error in any page, and
// no warning about nesting, anchors, addresses or the character encoding, for a generated
// outline of 10^4 items and for one made of the awkward cases (names that repeat, blanks,
// markup characters, non-ASCII text, persons sharing an Id). Skips, saying why, without tidy.

#include "core/exchange/html_publish.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "core/storage/data_file.h"
#include "interop_support.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quill {
namespace {

namespace fs = std::filesystem;

// Warnings that say the markup is not what it means to be.
constexpr std::string_view kForbidden[] = {
    "unexpected",          "implicit",         "missing </",
    "already defined",     "anchor",           "illegal character",
    "malformed URI",       "encoding",         "character code",
    "character reference", "DOCTYPE",          "cannot copy name",
    "not inside",          "isn't allowed in", "Error"};

void ExpectTidy(const std::string& tidy, const fs::path& siteDir, const fs::path& work,
                std::size_t expectedPages) {
    std::size_t pages = 0;
    for (const auto& entry : fs::directory_iterator(siteDir)) {
        if (entry.path().extension() != ".htm") {
            continue;
        }
        ++pages;
        const test::CommandOutcome checked = test::RunCommand(
            tidy + " -errors -q --show-warnings yes " + test::ShellQuoted(entry.path().string()),
            work);
        EXPECT_LT(checked.status, 2) << entry.path() << " has errors:\n" << checked.err;
        std::istringstream lines(checked.err);
        std::string line;
        while (std::getline(lines, line)) {
            for (std::string_view forbidden : kForbidden) {
                EXPECT_EQ(line.find(forbidden), std::string::npos)
                    << entry.path().filename() << ": " << line;
            }
        }
    }
    EXPECT_EQ(pages, expectedPages);
}

class HtmlTidyTest : public ::testing::Test {
protected:
    test::FakeServices services;
    test::TempDir dir;
};

TEST_F(HtmlTidyTest, GeneratedOutlinePublishesValidPages) {
    std::string whyNot;
    const std::optional<std::string> tidy = test::Tidy(whyNot);
    if (!tidy) {
        GTEST_SKIP() << whyNot;
    }
    const std::string data = dir.File("generated.dat");
    ASSERT_EQ(test::RunCommand(test::ShellQuoted(QUILLTOOL_PATH) + " generate 10000 " +
                                   test::ShellQuoted(data),
                               dir.path())
                  .status,
              0);
    for (const std::string layout : {"frames", "single"}) {
        const fs::path site = dir.path() / layout;
        const test::CommandOutcome published = test::RunCommand(
            test::ShellQuoted(QUILLTOOL_PATH) + " export html " + test::ShellQuoted(data) + " " +
                test::ShellQuoted(site.string()) + (layout == "single" ? " --no-frames" : ""),
            dir.path());
        ASSERT_EQ(published.status, 0) << published.err;
        ExpectTidy(*tidy, site, dir.path(), layout == "single" ? 1 : 3);
    }
}

TEST_F(HtmlTidyTest, AwkwardNamesPublishValidPages) {
    std::string whyNot;
    const std::optional<std::string> tidy = test::Tidy(whyNot);
    if (!tidy) {
        GTEST_SKIP() << whyNot;
    }
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();
    TOutlineNode* folder =
        CreateItem(kFolderKind, "K\xC3\xB6ln & <Bonn>", {}, "caf\xC3\xA9 \"x\"", 1, {}, root)
            ->Node();
    for (int i = 0; i < 3; ++i) {
        TNRBObject* person = CreateItem(kPersonKind, "Ann Lee", {}, {}, 42, {}, folder);
        CreateItem(kAddressKind, "Home",
                   "1 Stra\xC3\x9F"
                   "e",
                   {}, 2,
                   "{Addr}1 Stra\xC3\x9F"
                   "e~~~~~~K\xC3\xB6ln~~~~50667~~DE",
                   person->Node());
        CreateItem(kPhoneKind, "Work", "555", "x & y", 3, {}, person->Node());
        CreateItem(kEMailKind, "Mail", "ann@example.org", {}, 4, {}, person->Node());
    }
    CreateItem(kPersonKind, "   ", {}, {}, 43, {}, folder);
    CreateItem(kTeamKind, "", {}, {}, 44, {}, folder);
    TNRBObject* site =
        CreateItem(kWebsiteKind, "Site", "http://a.example/?a=1&b=2", {}, 5, {}, folder);
    CreateItem(kWebsiteKind, "Sub", "http://a.example/sub", {}, 6, {}, site->Node());
    for (bool frames : {true, false}) {
        const fs::path out = dir.path() / (frames ? "frames" : "single");
        fs::create_directories(out);
        HtmlPublishOptions options;
        options.directory = out.string();
        options.mainPageName = "site.htm";
        options.title = "K\xC3\xB6ln";
        options.useFrames = frames;
        ASSERT_TRUE(PublishHTML(*root, options));
        ExpectTidy(*tidy, out, dir.path(), frames ? 3 : 1);
    }
}

} // namespace
} // namespace quill
