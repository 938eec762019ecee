// The tools list of the settings file: loading, saving, the list operations, the icon hook and
// the launch rules.

#include "core/storage/tool_items.h"

#include "core/storage/profile_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace quill {
namespace {

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

TEST(ToolItems, ANewListIsEmptyAndItemsOutOfRangeAreNone) {
    TToolItems tools;
    EXPECT_EQ(tools.Count(), 0);
    EXPECT_EQ(tools.Items(0), nullptr);
    tools.AddNew("a", "/bin/a", "", false);
    EXPECT_NE(tools.Items(0), nullptr);
    EXPECT_EQ(tools.Items(1), nullptr);
    EXPECT_EQ(tools.Items(-1), nullptr);
}

TEST(ToolItems, ADescriptionWithABlankIsWrittenQuotedAndReadBackWhole) {
    test::TempDir dir;
    const std::string ini = dir.File("nrb.ini");
    TToolItems tools;
    tools.AddNew("My Editor", "/usr/bin/ed", "", true);
    tools.AddNew("Viewer", "/opt/My Apps/view", "-a \"b\"", false);
    ASSERT_TRUE(tools.Save(ini));
    EXPECT_EQ(FileText(ini), "[Tools]\r\n"
                             "Tool0=\"My Editor\",/usr/bin/ed,\"\",1\r\n"
                             "Tool1=Viewer,\"/opt/My Apps/view\",\"-a \"\"b\"\"\",0\r\n");

    TToolItems again;
    again.Load(ini);
    ASSERT_EQ(again.Count(), 2);
    EXPECT_EQ(again.Items(0)->Description(), "My Editor");
    EXPECT_EQ(again.Items(0)->FileName(), "/usr/bin/ed");
    EXPECT_EQ(again.Items(0)->Arguments(), "");
    EXPECT_TRUE(again.Items(0)->TakesAddress());
    EXPECT_EQ(again.Items(1)->FileName(), "/opt/My Apps/view");
    EXPECT_EQ(again.Items(1)->Arguments(), "-a \"b\"");
    EXPECT_FALSE(again.Items(1)->TakesAddress());
}

TEST(ToolItems, LoadTakesTheKeysInFileOrderAndSkipsValuesNotOfFourParts) {
    test::TempDir dir;
    const std::string ini = dir.File("nrb.ini");
    WriteFile(ini, "[Other]\r\n"
                   "Tool0=not,a,tool,here\r\n"
                   "[Tools]\r\n"
                   "Tool5=Last,/bin/last,,1\r\n" // an empty field between commas
                   "Tool0=First,/bin/first,-x,0\r\n"
                   "Tool1=Two words,/bin/two words,0\r\n" // blanks unquoted: five parts
                   "Tool2=three,parts,only\r\n"
                   "Tool3=a,b,c,d,e\r\n"
                   "Tool4=\r\n"
                   "Tool6=Flag,/bin/flag,\"\",true\r\n" // only "1" is true
                   "Tool0=Duplicate,/bin/dup,,1\r\n"    // the first of duplicate keys wins
                   "[Later]\r\n"
                   "x=1\r\n");
    TToolItems tools;
    tools.Load(ini);
    ASSERT_EQ(tools.Count(), 3);
    EXPECT_EQ(tools.Items(0)->Description(), "Last");
    EXPECT_EQ(tools.Items(0)->Arguments(), "");
    EXPECT_TRUE(tools.Items(0)->TakesAddress());
    EXPECT_EQ(tools.Items(1)->Description(), "First");
    EXPECT_EQ(tools.Items(1)->Arguments(), "-x");
    EXPECT_EQ(tools.Items(2)->Description(), "Flag");
    EXPECT_FALSE(tools.Items(2)->TakesAddress());

    // The skipped values are gone after the next save; the tools are renumbered from 0.
    ASSERT_TRUE(tools.Save(ini));
    EXPECT_EQ(ReadSectionKeys(ini, "Tools"), (std::vector<std::string>{"Tool0", "Tool1", "Tool2"}));
    EXPECT_EQ(ReadProfileString(ini, "Tools", "Tool0", ""), "Last,/bin/last,\"\",1");
    EXPECT_EQ(ReadProfileString(ini, "Other", "Tool0", ""), "not,a,tool,here");
    EXPECT_EQ(ReadProfileString(ini, "Later", "x", ""), "1");
}

TEST(ToolItems, SavingAnEmptyListErasesTheSection) {
    test::TempDir dir;
    const std::string ini = dir.File("nrb.ini");
    WriteFile(ini, "[Tools]\r\nTool0=a,/bin/a,,0\r\n[Browser]\r\nDDE=Mosaic\r\n");
    TToolItems tools;
    ASSERT_TRUE(tools.Save(ini));
    EXPECT_EQ(FileText(ini), "[Browser]\r\nDDE=Mosaic\r\n");
}

TEST(ToolItems, DeletingOneOfTwoToolsWithTheSameDescriptionRemovesTheFirst) {
    TToolItems tools;
    TToolItem* first = tools.AddNew("Edit", "/bin/one", "", false);
    TToolItem* second = tools.AddNew("Edit", "/bin/two", "", false);
    tools.AddNew("edit", "/bin/three", "", false);
    (void)first;
    EXPECT_TRUE(tools.Delete("Edit"));
    ASSERT_EQ(tools.Count(), 2);
    EXPECT_EQ(tools.Items(0), second);
    EXPECT_EQ(tools.Items(0)->FileName(), "/bin/two");
    EXPECT_FALSE(tools.Delete("EDIT")); // case-sensitive
    EXPECT_TRUE(tools.Delete("edit"));
    EXPECT_EQ(tools.Count(), 1);
    EXPECT_FALSE(tools.Delete("nothing"));
}

TEST(ToolItems, FindByFileNameIsExactAndTakesTheFirst) {
    TToolItems tools;
    TToolItem* a = tools.AddNew("A", "/usr/bin/vim", "", false);
    tools.AddNew("B", "/usr/bin/vim", "", false);
    EXPECT_EQ(tools.FindByFileName("/usr/bin/vim"), a);
    EXPECT_EQ(tools.FindByFileName("/usr/bin/VIM"), nullptr);
    EXPECT_EQ(tools.FindByFileName("vim"), nullptr);
    EXPECT_EQ(tools.IndexOf(a), 0);
    EXPECT_EQ(tools.IndexOf(nullptr), -1);
}

TEST(ToolItems, AssigningTheFileNameLoadsTheIconThroughTheHook) {
    std::vector<std::pair<std::string, int>> calls;
    int next = 14;
    const ToolIconLoader loader = [&](const std::string& file, int previous) {
        calls.emplace_back(file, previous);
        return previous < 0 ? next++ : previous;
    };
    TToolItems tools;
    TToolItem* before = tools.AddNew("Before", "/bin/before", "", false);
    EXPECT_EQ(before->ImageIndex(), -1); // no hook yet, no icon
    tools.SetIconLoader(loader);         // tools without an icon get theirs now
    EXPECT_EQ(before->ImageIndex(), 14);

    TToolItem* tool = tools.AddNew("Ed", "/bin/ed", "", false);
    EXPECT_EQ(tool->ImageIndex(), 15);
    tool->SetFileName("/bin/vi"); // replaced at its index
    EXPECT_EQ(tool->ImageIndex(), 15);
    tool->SetDescription("Vi");
    tool->SetArguments("-R");
    EXPECT_EQ(calls, (std::vector<std::pair<std::string, int>>{
                         {"/bin/before", -1}, {"/bin/ed", -1}, {"/bin/vi", 15}}));

    test::TempDir dir;
    const std::string ini = dir.File("nrb.ini");
    ASSERT_TRUE(tools.Save(ini));
    TToolItems loaded;
    loaded.SetIconLoader(loader);
    loaded.Load(ini);
    ASSERT_EQ(loaded.Count(), 2);
    EXPECT_EQ(loaded.Items(1)->ImageIndex(), 17);
    EXPECT_EQ(calls.back(), (std::pair<std::string, int>{"/bin/vi", -1}));
}

TEST(ToolItems, TheFlagTextGivesTakesAddress) {
    EXPECT_TRUE(TToolItem("a", "b", "c", "1").TakesAddress());
    EXPECT_FALSE(TToolItem("a", "b", "c", "0").TakesAddress());
    EXPECT_FALSE(TToolItem("a", "b", "c", "01").TakesAddress());
    EXPECT_FALSE(TToolItem("a", "b", "c", "").TakesAddress());
}

TEST(ToolItems, StartProgramRunsInTheDirectoryPartOfTheFileName) {
    EXPECT_EQ(TToolItem("a", "/usr/bin/vim", "", "0").WorkingDirectory(), "/usr/bin/");
    EXPECT_EQ(TToolItem("a", "/vim", "", "0").WorkingDirectory(), "/");
    EXPECT_EQ(TToolItem("a", "vim", "", "0").WorkingDirectory(), "");
    EXPECT_EQ(TToolItem("a", "/opt/My Apps/x/", "", "0").WorkingDirectory(), "/opt/My Apps/x/");
}

TEST(ToolItems, LaunchToolJoinsArgumentsAndTargetWithABlank) {
    EXPECT_EQ(TToolItem("a", "/bin/x", "", "0").LaunchParameters(""), "");
    EXPECT_EQ(TToolItem("a", "/bin/x", "-n", "0").LaunchParameters(""), "-n ");
    EXPECT_EQ(TToolItem("a", "/bin/x", "", "0").LaunchParameters("ann@example.org"),
              " ann@example.org");
    EXPECT_EQ(TToolItem("a", "/bin/x", "-n", "0").LaunchParameters("t"), "-n t");
}

TEST(ToolItems, TheDescriptionOfANewToolDropsOnlyARealExtension) {
    EXPECT_EQ(ToolDescriptionFromFileName("/bin/sh"), "sh");
    EXPECT_EQ(ToolDescriptionFromFileName("/usr/bin/gnome-calculator"), "gnome-calculator");
    EXPECT_EQ(ToolDescriptionFromFileName("/opt/wine/NOTEPAD.EXE"), "NOTEPAD");
    EXPECT_EQ(ToolDescriptionFromFileName("/home/me/bin/backup.sh"), "backup");
    EXPECT_EQ(ToolDescriptionFromFileName("/opt/Krita-5.2.appimage"), "Krita-5.2");
    EXPECT_EQ(ToolDescriptionFromFileName("/usr/bin/python3.12"), "python3.12");
    EXPECT_EQ(ToolDescriptionFromFileName("/home/me/.hidden"), ".hidden");
    EXPECT_EQ(ToolDescriptionFromFileName("/home/me/odd."), "odd.");
    EXPECT_EQ(ToolDescriptionFromFileName("/home/me.d/tool"), "tool");
    EXPECT_EQ(ToolDescriptionFromFileName("tool.bin"), "tool");
}

} // namespace
} // namespace quill
