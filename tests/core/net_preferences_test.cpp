// The browser and Internet-mail preferences of the settings file.

#include "core/storage/net_preferences.h"

#include "core/storage/profile_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

TEST(NetPreferences, AFreshFileGivesTheDefaults) {
    test::TempDir dir;
    const std::string ini = dir.File("nrb.ini");
    EXPECT_EQ(ReadBrowserDde(ini), "IExplore");
    EXPECT_EQ(ReadBrowserPath(ini), "");
    EXPECT_EQ(ReadINetMail(ini), 1);
    EXPECT_EQ(ReadINetMail(ini, 0), 0); // the mail link's own default
    const NetPreferences p = ReadNetPreferences(ini);
    EXPECT_EQ(p.dde, "IExplore");
    EXPECT_EQ(p.path, "");
    EXPECT_EQ(p.inetMail, 1);
}

TEST(NetPreferences, WrittenInOneGoAndReadBack) {
    test::TempDir dir;
    const std::string ini = dir.File("nrb.ini");
    ASSERT_TRUE(WriteNetPreferences(ini, {"NETSCAPE", "/opt/My Browser/browse", 3}));
    EXPECT_EQ(ReadSectionKeys(ini, "Browser"), (std::vector<std::string>{"Path", "DDE"}));
    EXPECT_EQ(ReadBrowserDde(ini), "NETSCAPE");
    EXPECT_EQ(ReadBrowserPath(ini), "/opt/My Browser/browse");
    EXPECT_EQ(ReadINetMail(ini), 3);
    const NetPreferences p = ReadNetPreferences(ini);
    EXPECT_EQ(p.dde, "NETSCAPE");
    EXPECT_EQ(p.path, "/opt/My Browser/browse");
    EXPECT_EQ(p.inetMail, 3);
}

TEST(NetPreferences, AnUnreadableMailMethodGivesTheDefault) {
    test::TempDir dir;
    const std::string ini = dir.File("nrb.ini");
    ASSERT_TRUE(WriteProfileString(ini, "Settings", "INetMail", "mapi"));
    ASSERT_TRUE(WriteProfileString(ini, "Browser", "DDE", ""));
    EXPECT_EQ(ReadINetMail(ini), 1);
    EXPECT_EQ(ReadNetPreferences(ini).inetMail, 1);
    EXPECT_EQ(ReadBrowserDde(ini), ""); // present but empty is not missing
}

} // namespace
} // namespace quill
