// The browser link: which service is asked and in what order, when a browser is started,
// what is asked of it, and how its window reply is read.

#include "comm_fakes.h"
#include "core/comm/browser_dde.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

using Lines = std::vector<std::string>;

TEST(BrowserDDE, FirstBrowseProbesTheLastServiceThenTheConfiguredOneAndRemembersIt) {
    test::FakeBrowserLink link;
    link.running = {"IExplore"};
    link.replies["IExplore|WWW_OpenURL|https://example.org/,,0xFFFFFFFF"] = "7";
    TBrowserDDE dde(link, "IExplore", "");
    EXPECT_EQ(dde.ServerName, "NETSCAPE");
    EXPECT_EQ(dde.OpenURL("https://example.org/"), "7");
    EXPECT_EQ(link.log, (Lines{"link NETSCAPE|WWW_Version", "open no", "link IExplore|WWW_Version",
                               "open ok", "request ", "close", "link IExplore|WWW_OpenURL",
                               "open ok", "request https://example.org/,,0xFFFFFFFF", "close",
                               "link IExplore|WWW_Activate", "open ok", "request 7", "close"}));
    EXPECT_EQ(dde.ServerName, "IExplore");

    link.log.clear();
    dde.OpenURL("https://example.org/");
    EXPECT_EQ(link.Lines("link ").front(), "link IExplore|WWW_Version");
    EXPECT_EQ(link.Lines("link IExplore|WWW_Version").size(), 1u);
}

TEST(BrowserDDE, WithoutAConfiguredServiceTheThreeAreTriedInTurn) {
    test::FakeBrowserLink link;
    link.running = {"Mosaic"};
    TBrowserDDE dde(link, "", "");
    ASSERT_TRUE(dde.FindServer());
    EXPECT_EQ(link.Lines("link "), (Lines{"link NETSCAPE|WWW_Version", "link NETSCAPE|WWW_Version",
                                          "link IExplore|WWW_Version", "link Mosaic|WWW_Version"}));
    EXPECT_EQ(dde.ServerName, "Mosaic");
    EXPECT_TRUE(link.Lines("start ").empty());
}

TEST(BrowserDDE, NoBrowserRunningStartsTheConfiguredProgramAndThenOpensThePage) {
    test::FakeBrowserLink link;
    link.startsService["/usr/bin/firefox"] = "NETSCAPE";
    TBrowserDDE dde(link, "NETSCAPE", "/usr/bin/firefox");
    EXPECT_EQ(dde.DefaultApp, "/usr/bin/firefox"); // no extension, nothing cut
    auto* site = static_cast<TNRBObject*>(nullptr);
    TOutline outline;
    test::FakeServices services;
    ScopedServices scope(Services{.clock = &services.clock,
                                  .locale = &EnglishLocaleNames(),
                                  .shell = &services.shell,
                                  .browser = &dde});
    site = CreateItem(kWebsiteKind, "Example", "https://example.org/", "", 0, "",
                      outline.CreateRoot());
    ASSERT_NE(site, nullptr);
    dde.AutoLoad = false; // Browse sets it again
    site->Browse();
    EXPECT_TRUE(dde.AutoLoad);
    // Only the configured program is started, once, and only after every service failed.
    EXPECT_EQ(link.Lines("start "), Lines{"start /usr/bin/firefox"});
    EXPECT_EQ(link.Lines("request "),
              (Lines{"request ", "request https://example.org/,,0xFFFFFFFF", "request "}));
    EXPECT_EQ(dde.ServerName, "NETSCAPE");
    EXPECT_EQ(dde.StartCommand(), "/usr/bin/firefox");
}

TEST(BrowserDDE, AProgramThatDoesNotStartOrDoesNotAnswerLeavesThePageUnshown) {
    test::FakeBrowserLink link;
    TBrowserDDE dde(link, "NETSCAPE", "/opt/none/browser");
    EXPECT_EQ(dde.OpenURL("https://example.org/"), "");
    EXPECT_EQ(link.Lines("start "), Lines{"start /opt/none/browser"});
    EXPECT_TRUE(link.Lines("request ").empty());

    // Without a program nothing is started, not even one named after the service.
    test::FakeBrowserLink bare;
    TBrowserDDE plain(bare, "IExplore", "");
    EXPECT_FALSE(plain.FindServer());
    EXPECT_TRUE(bare.Lines("start ").empty());
}

TEST(BrowserDDE, ABrowserThatRefusesTheOpenRequestLeavesThePageUnchanged) {
    test::FakeBrowserLink link;
    link.running = {"NETSCAPE"};
    link.refusedTopics = {"WWW_OpenURL"};
    TBrowserDDE dde(link, "NETSCAPE", "");
    EXPECT_EQ(dde.OpenURL("https://example.org/"), "");
    EXPECT_EQ(link.Lines("request "), Lines{"request "}); // the version probe only
    EXPECT_TRUE(link.Lines("link NETSCAPE|WWW_Activate").empty());

    // One that opens the page but names no window is still asked to come forward.
    link.refusedTopics.clear();
    link.log.clear();
    EXPECT_EQ(dde.OpenURL("https://example.org/"), "");
    EXPECT_EQ(link.Lines("link NETSCAPE|WWW_Activate").size(), 1u);
    EXPECT_EQ(link.Lines("request ").back(), "request ");
}

TEST(BrowserDDE, GetWindowInfoWithAutoLoadOffStartsNothingAndGivesNothing) {
    test::FakeBrowserLink link;
    link.startsService["/usr/bin/firefox"] = "NETSCAPE";
    TBrowserDDE dde(link, "NETSCAPE", "/usr/bin/firefox");
    dde.AutoLoad = false;
    const TBrowserDDE::WindowInfo info = dde.GetWindowInfo();
    EXPECT_EQ(info.url, "");
    EXPECT_EQ(info.title, "");
    EXPECT_FALSE(info.browserFound);
    EXPECT_TRUE(link.Lines("start ").empty());
}

TEST(BrowserDDE, GetWindowInfoTellsABrowserThatGaveNoPageFromNoBrowser) {
    test::FakeBrowserLink link;
    link.running = {"Mosaic"}; // answers, but has no reply for the page
    TBrowserDDE dde(link, "IExplore", "");
    dde.AutoLoad = false;
    TBrowserDDE::WindowInfo info = dde.GetWindowInfo();
    EXPECT_EQ(info.url, "");
    EXPECT_TRUE(info.browserFound);

    // One that answers but will not be asked for its page is no browser to read it from.
    link.refusedTopics = {"WWW_GetWindowInfo"};
    info = dde.GetWindowInfo();
    EXPECT_EQ(info.url, "");
    EXPECT_FALSE(info.browserFound);
}

TEST(BrowserDDE, GetWindowInfoAsksForTheCurrentWindowAndReadsItsReply) {
    test::FakeBrowserLink link;
    link.running = {"NETSCAPE"};
    link.replies["NETSCAPE|WWW_GetWindowInfo|0xFFFFFFFF"] =
        R"("https://example.org/a","Netscape - [Example Page]","")";
    TBrowserDDE dde(link, "IExplore", "");
    const TBrowserDDE::WindowInfo info = dde.GetWindowInfo();
    EXPECT_EQ(info.url, "https://example.org/a");
    EXPECT_EQ(info.title, "Example Page");
    EXPECT_TRUE(info.browserFound);
    EXPECT_EQ(link.log.back(), "close");
}

TEST(ParseWindowInfo, TakesTheQuotedAddressAndTitle) {
    auto parse = [](std::string_view reply) {
        const TBrowserDDE::WindowInfo info = ParseWindowInfo(reply);
        return info.url + "|" + info.title;
    };
    EXPECT_EQ(parse(R"("http://a.example/","A page","main")"), "http://a.example/|A page");
    EXPECT_EQ(parse(R"("http://a.example/","A page")"), "http://a.example/|A page");
    EXPECT_EQ(parse(R"("http://a.example/","Netscape - [Bare]")"), "http://a.example/|Bare");
    // A bracket inside the title stays; only a last one that is the first is removed.
    EXPECT_EQ(parse(R"("u","Netscape - [A] b]")"), "u|A] b]");
    EXPECT_EQ(parse(R"("u","Netscape - [A [x]")"), "u|A [x");
    EXPECT_EQ(parse(R"("u","")"), "u|");
    EXPECT_EQ(parse(""), "|");
    EXPECT_EQ(parse(R"("u")"), "u|u"); // no comma: the title is read from the second character
    EXPECT_EQ(parse("\""), "|");
}

TEST(BrowserProgram, DropsAFourCharacterExtensionOnly) {
    EXPECT_EQ(BrowserProgram("/usr/bin/firefox"), "/usr/bin/firefox");
    EXPECT_EQ(BrowserProgram("C:/Program Files/Netscape/netscape.exe"),
              "C:/Program Files/Netscape/netscape");
    EXPECT_EQ(BrowserProgram("/opt/browser.sh"), "/opt/browser.sh");
    EXPECT_EQ(BrowserProgram("/opt/Browser.AppImage"), "/opt/Browser.AppImage");
    EXPECT_EQ(BrowserProgram("/opt/v1.0/browser"), "/opt/v1.0/browser");
    EXPECT_EQ(BrowserProgram(".exe"), ".exe");
    EXPECT_EQ(BrowserProgram(""), "");
}

TEST(BrowserDDE, PersonsForwardBrowseToTheirPrimaryWebsite) {
    test::FakeBrowserLink link;
    link.running = {"IExplore"};
    TBrowserDDE dde(link);
    test::FakeServices services;
    ScopedServices scope(Services{.clock = &services.clock,
                                  .locale = &EnglishLocaleNames(),
                                  .shell = &services.shell,
                                  .browser = &dde});
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();
    auto* org =
        static_cast<TOrgObject*>(CreateItem(kOrganizationKind, "Acme", "", "", 0, "", root));
    ASSERT_NE(org, nullptr);
    CreateItem(kWebsiteKind, "Home", "https://acme.example/", "", 0, "", org->Node());
    org->Browse();
    EXPECT_TRUE(link.Lines("request https").empty()); // no primary website yet
    org->SetPrimaryWebsite("Home");
    org->Browse();
    EXPECT_EQ(link.Lines("request https"), Lines{"request https://acme.example/,,0xFFFFFFFF"});
}

} // namespace
} // namespace quill
