#include "core/storage/profile_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "core/util/atomic_file.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using Keys = std::vector<std::string>;
using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(IniDocument, LooksUpAsWindowsDoes) {
    const IniDocument doc = ParseIni("orphan=not in a section\n"
                                     "; comment=no\n"
                                     "[WinState]\r\n"
                                     "  Norm_Width = 640  \r\n"
                                     "norm_width=800\n"
                                     "no equals sign\n"
                                     "Empty=\n"
                                     "[ browser ] trailing text\n"
                                     "Path=\"/usr/bin/firefox \"\n"
                                     "Single='x'\n"
                                     "Mixed=\"x'\n"
                                     "Lone=\"\n"
                                     "[WINSTATE]\n"
                                     "Norm_Width=1024\n"
                                     "Other=1");
    EXPECT_EQ(doc.Value("winstate", "NORM_WIDTH"), "640"); // first key, first section
    EXPECT_EQ(doc.Value(" WinState ", " Norm_Width "), "640");
    EXPECT_EQ(doc.Value("WinState", "Other"), std::nullopt); // in the later duplicate
    EXPECT_EQ(doc.Value("WinState", "Empty"), "");
    EXPECT_EQ(doc.Value("WinState", "no equals sign"), std::nullopt);
    EXPECT_EQ(doc.Value("Browser", "Path"), "/usr/bin/firefox ");
    EXPECT_EQ(doc.Value("Browser", "Single"), "x");
    EXPECT_EQ(doc.Value("Browser", "Mixed"), "\"x'");
    EXPECT_EQ(doc.Value("Browser", "Lone"), "\"");
    EXPECT_EQ(doc.Value("Browser", "orphan"), std::nullopt);
    EXPECT_EQ(doc.Value("", "orphan"), std::nullopt);
    EXPECT_EQ(doc.Value("Missing", "x"), std::nullopt);
    EXPECT_EQ(doc.Keys("WinState"), (Keys{"Norm_Width", "Empty"}));
    EXPECT_EQ(
        doc.Values("browser"),
        (Pairs{{"Path", "/usr/bin/firefox "}, {"Single", "x"}, {"Mixed", "\"x'"}, {"Lone", "\""}}));
}

TEST(IniDocument, ChangesTouchOnlyTheirLines) {
    IniDocument doc = ParseIni("; Quillmere settings\n"
                               "[Browser]\n"
                               "DDE = IExplore ; not a comment\n"
                               "\n"
                               "; mail\n"
                               "[Settings]\n"
                               "INetMail=1\n");
    EXPECT_TRUE(doc.SetValue("browser", "dde", "Firefox"));
    EXPECT_TRUE(doc.SetValue("Browser", "Path", "/usr/bin/firefox"));
    EXPECT_TRUE(doc.SetValue("Tools", "Tool0", "Editor,gedit,\"\",0"));
    EXPECT_EQ(doc.Serialize(), "; Quillmere settings\r\n"
                               "[Browser]\r\n"
                               "DDE=Firefox\r\n"
                               "Path=/usr/bin/firefox\r\n"
                               "\r\n"
                               "; mail\r\n"
                               "[Settings]\r\n"
                               "INetMail=1\r\n"
                               "\r\n"
                               "[Tools]\r\n"
                               "Tool0=Editor,gedit,\"\",0\r\n");
}

TEST(IniDocument, WrittenValuesReadBackAsWritten) {
    IniDocument doc;
    for (const std::string value : {" leading", "trailing\t", "\"quoted\"", "'single'", "", "\"",
                                    "\"a\",\"b\"", "a = b ; c", "Zoë"}) {
        ASSERT_TRUE(doc.SetValue("S", "K", value));
        EXPECT_EQ(ParseIni(doc.Serialize()).Value("S", "K"), value) << value;
    }
    ASSERT_TRUE(doc.SetValue("S", "K", "two\r\nlines\n"));
    EXPECT_EQ(doc.Lines().size(), 2u);
    EXPECT_EQ(ParseIni(doc.Serialize()).Value("S", "K"), "two  lines ");
}

TEST(IniDocument, RefusesNamesItCannotWrite) {
    IniDocument doc;
    EXPECT_FALSE(doc.SetValue("", "k", "v"));
    EXPECT_FALSE(doc.SetValue("  ", "k", "v"));
    EXPECT_FALSE(doc.SetValue("a]b", "k", "v"));
    EXPECT_FALSE(doc.SetValue("a\nb", "k", "v"));
    EXPECT_FALSE(doc.SetValue("s", "", "v"));
    EXPECT_FALSE(doc.SetValue("s", "a=b", "v"));
    EXPECT_FALSE(doc.SetValue("s", ";k", "v"));
    EXPECT_FALSE(doc.SetValue("s", "[k]", "v"));
    EXPECT_FALSE(doc.SetValue("s", "k\rj", "x"));
    EXPECT_TRUE(doc.Lines().empty());
    EXPECT_TRUE(doc.SetValue("[s", "k;", "v")); // harmless where they stand
    EXPECT_EQ(ParseIni(doc.Serialize()).Value("[s", "k;"), "v");
}

TEST(IniDocument, EraseAndDelete) {
    IniDocument doc = ParseIni("[Tools]\nTool0=a\n[Keep]\nx=1\nx=2\ny=3\n[tools]\nTool9=z\n");
    EXPECT_TRUE(doc.DeleteKey("keep", "X"));
    EXPECT_EQ(doc.Value("Keep", "x"), std::nullopt); // the duplicate went too
    EXPECT_FALSE(doc.DeleteKey("Keep", "x"));
    EXPECT_TRUE(doc.EraseSection("TOOLS"));
    EXPECT_FALSE(doc.HasSection("Tools"));
    EXPECT_FALSE(doc.EraseSection("Tools"));
    EXPECT_EQ(doc.Serialize(), "[Keep]\r\ny=3\r\n");
}

TEST(ParseProfileInt, DecimalAndHexadecimal) {
    EXPECT_EQ(ParseProfileInt("640"), 640);
    EXPECT_EQ(ParseProfileInt("  -7 "), -7);
    EXPECT_EQ(ParseProfileInt("+3"), 3);
    EXPECT_EQ(ParseProfileInt("0x1F"), 31);
    EXPECT_EQ(ParseProfileInt("0XfF"), 255);
    EXPECT_EQ(ParseProfileInt("0xFFFFFFFF"), -1);
    EXPECT_EQ(ParseProfileInt("-0x10"), -16);
    EXPECT_EQ(ParseProfileInt("2147483647"), 2147483647);
    EXPECT_EQ(ParseProfileInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseProfileInt("007"), 7);
    for (const char* bad : {"", " ", "-", "2147483648", "-2147483649", "99999999999999999999", "0x",
                            "0x100000000", "0xG", "12abc", "1 2", "1.5", "--1", "abc"}) {
        EXPECT_EQ(ParseProfileInt(bad), std::nullopt) << bad;
    }
}

class ProfileFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ =
            fs::temp_directory_path() / ("quill-profile-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
        ini_ = (dir_ / "nrb.ini").string();
    }
    void TearDown() override { fs::remove_all(dir_); }
    void Put(const std::string& content) const { std::ofstream(ini_, std::ios::binary) << content; }
    std::string Content() const { return ReadWholeFile(ini_).value_or("<none>"); }

    fs::path dir_;
    std::string ini_;
};

TEST_F(ProfileFileTest, MissingFileGivesDefaultsAndTheFirstWriteCreatesIt) {
    EXPECT_EQ(ReadProfileString(ini_, "Browser", "DDE", "IExplore"), "IExplore");
    EXPECT_EQ(ReadProfileInt(ini_, "WinState", "Norm_Width", 640), 640);
    EXPECT_TRUE(ReadSectionKeys(ini_, "Tools").empty());
    EXPECT_TRUE(EraseSection(ini_, "Tools"));
    EXPECT_TRUE(DeleteProfileKey(ini_, "Tools", "Tool0"));
    EXPECT_FALSE(fs::exists(ini_));

    ASSERT_TRUE(WriteProfileInt(ini_, "WinState", "Norm_Width", 800));
    ASSERT_TRUE(WriteProfileInt(ini_, "WinState", "Norm_Left", -5));
    EXPECT_EQ(Content(), "[WinState]\r\nNorm_Width=800\r\nNorm_Left=-5\r\n");
    EXPECT_EQ(ReadProfileInt(ini_, "winstate", "norm_left", 0), -5);
}

TEST_F(ProfileFileTest, NumbersAndTheirDefaults) {
    Put("[WinState]\nA=0x10\nB=wide\nC=\nD=\"12\"\nE= 3 \n");
    EXPECT_EQ(ReadProfileInt(ini_, "WinState", "A", 1), 16);
    EXPECT_EQ(ReadProfileInt(ini_, "WinState", "B", 1), 1);
    EXPECT_EQ(ReadProfileInt(ini_, "WinState", "C", 1), 1);
    EXPECT_EQ(ReadProfileInt(ini_, "WinState", "D", 1), 12);
    EXPECT_EQ(ReadProfileInt(ini_, "WinState", "E", 1), 3);
    EXPECT_EQ(ReadProfileString(ini_, "WinState", "C", "default"), "");
}

TEST_F(ProfileFileTest, ToolsAreRewrittenInOrder) {
    Put("[Tools]\nTool0=old\nTool1=older\n\n[Browser]\nDDE=Firefox\n");
    ASSERT_TRUE(EraseSection(ini_, "Tools"));
    for (int i = 0; i < 12; ++i) {
        ASSERT_TRUE(WriteProfileString(ini_, "Tools", "Tool" + std::to_string(i),
                                       "Tool " + std::to_string(i) + ",/bin/t,\"\",1"));
    }
    const Keys keys = ReadSectionKeys(ini_, "Tools");
    ASSERT_EQ(keys.size(), 12u);
    EXPECT_EQ(keys[0], "Tool0");
    EXPECT_EQ(keys[10], "Tool10");
    EXPECT_EQ(ReadSectionValues(ini_, "Tools")[11].second, "Tool 11,/bin/t,\"\",1");
    EXPECT_EQ(ReadProfileString(ini_, "Browser", "DDE", ""), "Firefox");
}

TEST_F(ProfileFileTest, Windows1252FileIsReadAndRewrittenAsUtf8) {
    Put("[Categories]\r\nCat1=M\xFCller\r\nCat2=\x80uro\r\n");
    EXPECT_EQ(ReadProfileString(ini_, "Categories", "Cat1", ""), "Müller");
    ASSERT_TRUE(WriteProfileString(ini_, "Categories", "Cat3", "Zoë"));
    EXPECT_EQ(Content(), "[Categories]\r\nCat1=Müller\r\nCat2=€uro\r\nCat3=Zoë\r\n");

    Put("\xEF\xBB\xBF[S]\nk=v\n");
    EXPECT_EQ(ReadProfileString(ini_, "S", "k", ""), "v");
}

TEST_F(ProfileFileTest, FailedWritesLeaveTheFileAlone) {
    Put("[S]\nk=v\n");
    std::string error;
    EXPECT_FALSE(WriteProfileString(ini_, "S", "a=b", "x", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Content(), "[S]\nk=v\n");

    const std::string inMissingDir = (dir_ / "gone" / "nrb.ini").string();
    EXPECT_FALSE(WriteProfileString(inMissingDir, "S", "k", "v", &error));
    EXPECT_NE(error.find(inMissingDir), std::string::npos) << error;

    // Something that exists but cannot be read is not overwritten.
    fs::create_directory(dir_ / "adir");
    EXPECT_FALSE(WriteProfileString((dir_ / "adir").string(), "S", "k", "v", &error));
    EXPECT_TRUE(fs::is_directory(dir_ / "adir"));
}

TEST_F(ProfileFileTest, ADiskThatFailsLeavesTheSettingsAsTheyWere) {
    const std::string before = "[WinState]\r\nNorm_Width=640\r\n[Tools]\r\nTool0=a\r\n";
    Put(before);
    const std::pair<ScopedFileFault::Step, int> failures[] = {
        {ScopedFileFault::Step::Create, EROFS},
        {ScopedFileFault::Step::Write, ENOSPC},
        {ScopedFileFault::Step::Sync, EIO},
        {ScopedFileFault::Step::Rename, EIO},
    };
    for (const auto& [step, number] : failures) {
        ScopedFileFault fault(step, number, "nrb.ini");
        std::string error;
        EXPECT_FALSE(WriteProfileInt(ini_, "WinState", "Norm_Width", 800, &error));
        EXPECT_FALSE(EraseSection(ini_, "Tools", &error));
        EXPECT_FALSE(UpdateProfile(
            ini_, [](IniDocument& doc) { return doc.SetValue("Tools", "Tool1", "x"); }, &error));
        EXPECT_EQ(fault.Failures(), 3);
        EXPECT_NE(error.find(ini_), std::string::npos) << error;
        EXPECT_NE(error.find(std::strerror(number)), std::string::npos) << error;
        EXPECT_EQ(Content(), before);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
    }
    ASSERT_TRUE(WriteProfileInt(ini_, "WinState", "Norm_Width", 800));
    EXPECT_EQ(ReadProfileInt(ini_, "WinState", "Norm_Width", 0), 800);
}

TEST_F(ProfileFileTest, UpdateWritesManyKeysAtOnceAsSingleWritesWould) {
    Put("[S]\r\nb=old\r\n");
    ASSERT_TRUE(WriteProfileString(ini_, "S", "a", "1"));
    ASSERT_TRUE(WriteProfileString(ini_, "S", "b", "2"));
    ASSERT_TRUE(WriteProfileString(ini_, "T", "c", "x y"));
    const std::string singly = Content();

    Put("[S]\r\nb=old\r\n");
    ASSERT_TRUE(UpdateProfile(ini_, [](IniDocument& doc) {
        return doc.SetValue("S", "a", "1") && doc.SetValue("S", "b", "2") &&
               doc.SetValue("T", "c", "x y");
    }));
    EXPECT_EQ(Content(), singly);
    EXPECT_EQ(ReadProfileDocument(ini_).Value("t", "C"), "x y");

    // A change that cannot be applied saves nothing of it.
    std::string error;
    EXPECT_FALSE(UpdateProfile(
        ini_,
        [](IniDocument& doc) {
            return doc.SetValue("S", "a", "changed") && doc.SetValue("S", "", "v");
        },
        &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Content(), singly);
    EXPECT_FALSE(ReadProfileDocument((dir_ / "none.ini").string()).HasSection("S"));
}

} // namespace
} // namespace quill
