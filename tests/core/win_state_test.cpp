// The two window layouts in the section "WinState": defaults, value forms, key order and the
// toggle between them across runs.

#include "core/storage/win_state.h"

#include "core/storage/profile_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace quill {
namespace {

// The main window's look as a record; Get and Apply copy it.
class FakeWindow final : public IWinStateHost {
public:
    WinLayout look;
    int gets = 0;
    int applies = 0;
    void GetSettings(WinLayout& layout) override {
        layout = look;
        ++gets;
    }
    void ApplySettings(const WinLayout& layout) override {
        look = layout;
        ++applies;
    }
};

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(WinState, FirstRunWithoutASettingsFileGivesTheTableDefaults) {
    test::TempDir dir;
    FakeWindow window;
    TMainWinState state(window, dir.File("nrb.ini"));
    EXPECT_FALSE(state.IsAlt());
    const WinLayout& n = state.Norm;
    EXPECT_TRUE(n.Toolbar && n.Newbar && n.Statusbar);
    EXPECT_EQ(n.Left, 0);
    EXPECT_EQ(n.Top, 0);
    EXPECT_EQ(n.Width, 640);
    EXPECT_EQ(n.Height, 480);
    EXPECT_EQ(n.Split, 201);
    EXPECT_EQ(n.Style, 1);
    EXPECT_EQ(n.ColPos1, 125);
    EXPECT_EQ(n.ColPos2, 150);
    EXPECT_EQ(n.ColPos3, 150);
    const WinLayout& a = state.Alt;
    EXPECT_FALSE(a.Toolbar);
    EXPECT_FALSE(a.Newbar);
    EXPECT_TRUE(a.Statusbar);
    EXPECT_EQ(a.Left, 0);
    EXPECT_EQ(a.Top, 0);
    EXPECT_EQ(a.Width, 300);
    EXPECT_EQ(a.Height, 480);
    EXPECT_EQ(a.Split, 1);
    EXPECT_EQ(a.Style, 1);
    EXPECT_EQ(a.ColPos1, 125);
    EXPECT_EQ(a.ColPos2, 150);
    EXPECT_EQ(a.ColPos3, 150);
    EXPECT_FALSE(std::filesystem::exists(dir.File("nrb.ini"))); // reading creates nothing

    state.Apply();
    EXPECT_EQ(window.look, WinLayout::NormDefaults());
}

TEST(WinState, SaveWritesTheKeysInTheGivenOrder) {
    test::TempDir dir;
    FakeWindow window;
    TMainWinState state(window, dir.File("nrb.ini"));
    state.Norm.Left = -8;
    state.Alt.ColPos3 = 77;
    ASSERT_TRUE(state.Save());
    EXPECT_EQ(FileText(dir.File("nrb.ini")), "[WinState]\r\n"
                                             "Norm_Toolbar=1\r\n"
                                             "Norm_Newbar=1\r\n"
                                             "Norm_Statusbar=1\r\n"
                                             "Alt_Toolbar=0\r\n"
                                             "Alt_Newbar=0\r\n"
                                             "Alt_Statusbar=1\r\n"
                                             "Norm_Left=-8\r\n"
                                             "Norm_Top=0\r\n"
                                             "Norm_Width=640\r\n"
                                             "Norm_Height=480\r\n"
                                             "Norm_Split=201\r\n"
                                             "Alt_Left=0\r\n"
                                             "Alt_Top=0\r\n"
                                             "Alt_Width=300\r\n"
                                             "Alt_Height=480\r\n"
                                             "Alt_Split=1\r\n"
                                             "Norm_Style=1\r\n"
                                             "Alt_Style=1\r\n"
                                             "Norm_ColPos1=125\r\n"
                                             "Norm_ColPos2=150\r\n"
                                             "Norm_ColPos3=150\r\n"
                                             "Alt_ColPos1=125\r\n"
                                             "Alt_ColPos2=150\r\n"
                                             "Alt_ColPos3=77\r\n");
}

TEST(WinState, SaveLeavesTheRestOfTheFileAlone) {
    test::TempDir dir;
    const std::string ini = dir.File("nrb.ini");
    ASSERT_TRUE(WriteProfileString(ini, "Browser", "DDE", "NETSCAPE"));
    ASSERT_TRUE(WriteProfileString(ini, "WinState", "Norm_Width", "999"));
    FakeWindow window;
    TMainWinState state(window, ini);
    EXPECT_EQ(state.Norm.Width, 999);
    state.Norm.Width = 1000;
    ASSERT_TRUE(state.Save());
    EXPECT_EQ(ReadProfileString(ini, "Browser", "DDE", ""), "NETSCAPE");
    EXPECT_EQ(ReadProfileInt(ini, "WinState", "Norm_Width", 0), 1000);
    EXPECT_EQ(ReadSectionKeys(ini, "WinState").size(), 24u);
}

TEST(WinState, ValueFormsAndUnreadableValues) {
    test::TempDir dir;
    const std::string ini = dir.File("nrb.ini");
    {
        std::ofstream out(ini, std::ios::binary);
        out << "[WinState]\r\n"
               "Norm_Toolbar=0\r\n"
               "Norm_Newbar=7\r\n"      // any non-zero value is true
               "Norm_Statusbar=yes\r\n" // not a number: the default, true
               "Alt_Statusbar=0\r\n"
               "Alt_Toolbar=-1\r\n"
               "Norm_Left=0x10\r\n" // hexadecimal
               "Norm_Top=-20\r\n"
               "Norm_Width=wide\r\n" // the default 640
               "Norm_Height=\r\n"    // empty: the default 480
               "Alt_Split=0X1F\r\n"
               "Norm_Style=9\r\n"       // kept as read; Apply leaves the style alone
               "Alt_Width=12.5\r\n"     // not an integer: the default 300
               "norm_colpos2= 33 \r\n"; // key names without regard to case
    }
    FakeWindow window;
    TMainWinState state(window, ini);
    EXPECT_FALSE(state.Norm.Toolbar);
    EXPECT_TRUE(state.Norm.Newbar);
    EXPECT_TRUE(state.Norm.Statusbar);
    EXPECT_FALSE(state.Alt.Statusbar);
    EXPECT_TRUE(state.Alt.Toolbar);
    EXPECT_EQ(state.Norm.Left, 16);
    EXPECT_EQ(state.Norm.Top, -20);
    EXPECT_EQ(state.Norm.Width, 640);
    EXPECT_EQ(state.Norm.Height, 480);
    EXPECT_EQ(state.Alt.Split, 31);
    EXPECT_EQ(state.Norm.Style, 9);
    EXPECT_EQ(state.Alt.Width, 300);
    EXPECT_EQ(state.Norm.ColPos2, 33);
}

TEST(WinState, ToggleCapturesTheLayoutBeingLeftAndAppliesTheOther) {
    test::TempDir dir;
    FakeWindow window;
    TMainWinState state(window, dir.File("nrb.ini"));
    state.Apply();
    window.look.Width = 800; // the user widens the normal window

    state.Toggle();
    EXPECT_TRUE(state.IsAlt());
    EXPECT_EQ(state.Norm.Width, 800);
    EXPECT_EQ(window.look, WinLayout::AltDefaults());

    window.look.Height = 222;
    state.Toggle();
    EXPECT_FALSE(state.IsAlt());
    EXPECT_EQ(state.Alt.Height, 222);
    EXPECT_EQ(window.look.Width, 800);
    EXPECT_EQ(window.gets, 2);
    EXPECT_EQ(window.applies, 3);
}

TEST(WinState, ToggleResizeToggleEndRestartAndToggleShowsTheCompactSize) {
    test::TempDir dir;
    const std::string ini = dir.File("nrb.ini");
    {
        FakeWindow window;
        TMainWinState state(window, ini);
        state.Apply();
        state.Toggle();
        window.look.Width = 350; // resize the compact window
        window.look.Height = 600;
        window.look.Left = 40;
        state.Toggle();
        window.look.Top = 12; // and move the normal one before the end
        ASSERT_TRUE(state.Finish());
    }
    FakeWindow window;
    TMainWinState state(window, ini);
    EXPECT_FALSE(state.IsAlt()); // every run starts in the normal layout
    state.Apply();
    EXPECT_EQ(window.look.Top, 12);
    EXPECT_EQ(window.look.Width, 640);
    state.Toggle();
    EXPECT_EQ(window.look.Width, 350);
    EXPECT_EQ(window.look.Height, 600);
    EXPECT_EQ(window.look.Left, 40);
    EXPECT_FALSE(window.look.Toolbar);
}

TEST(WinState, FinishWhileCompactSavesBothLayouts) {
    test::TempDir dir;
    const std::string ini = dir.File("nrb.ini");
    FakeWindow window;
    TMainWinState state(window, ini);
    state.Apply();
    state.Toggle();
    window.look.Style = 4;
    ASSERT_TRUE(state.Finish());
    EXPECT_EQ(ReadProfileInt(ini, "WinState", "Alt_Style", 0), 4);
    EXPECT_EQ(ReadProfileInt(ini, "WinState", "Norm_Style", 0), 1);
}

TEST(WinState, SaveReportsAFileThatCannotBeWritten) {
    test::TempDir dir;
    FakeWindow window;
    TMainWinState state(window, dir.File("missing-dir/nrb.ini"));
    std::string error;
    EXPECT_FALSE(state.Save(&error));
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace quill
