#include "core/app/command_line.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

using List = std::vector<std::string>;

TEST(HideSwitch, ExactAnywhereIncludingTheProgramPath) {
    EXPECT_TRUE(HasHideSwitch({"/usr/bin/quillmere", "HIDEWIN"}));
    EXPECT_TRUE(HasHideSwitch({"/usr/bin/quillmere", "a.qld", "HIDEWIN", "b.vcf"}));
    EXPECT_TRUE(HasHideSwitch({"HIDEWIN"})); // the program path is looked at too
    EXPECT_FALSE(HasHideSwitch({"/usr/bin/quillmere", "hidewin"}));
    EXPECT_FALSE(HasHideSwitch({"/usr/bin/quillmere", "HideWin"}));
    EXPECT_FALSE(HasHideSwitch({"/usr/bin/quillmere", "-HIDEWIN"}));
    EXPECT_FALSE(HasHideSwitch({"/usr/bin/quillmere", "HIDEWIN2"}));
    EXPECT_FALSE(HasHideSwitch({}));
}

TEST(AutomationSwitches, DashOrSlashAndTheWholeWordWithoutRegardToCase) {
    EXPECT_EQ(AutomationSwitch("-AUTOMATION"), StartMode::Automation);
    EXPECT_EQ(AutomationSwitch("/automation"), StartMode::Automation);
    EXPECT_EQ(AutomationSwitch("-Embedding"), StartMode::Automation);
    EXPECT_EQ(AutomationSwitch("/regserver"), StartMode::RegServer);
    EXPECT_EQ(AutomationSwitch("-REGSERVER"), StartMode::RegServer);
    EXPECT_EQ(AutomationSwitch("/UnRegServer"), StartMode::UnregServer);
    EXPECT_EQ(AutomationSwitch("REGSERVER"), StartMode::Normal);
    EXPECT_EQ(AutomationSwitch("--regserver"), StartMode::Normal);
    EXPECT_EQ(AutomationSwitch("-regserverx"), StartMode::Normal);
    EXPECT_EQ(AutomationSwitch("-"), StartMode::Normal);
    EXPECT_EQ(AutomationSwitch(""), StartMode::Normal);
}

TEST(AutomationSwitches, StartModeSkipsTheProgramPathAndTheFirstRuleWins) {
    EXPECT_EQ(ParseStartMode({"/usr/bin/quillmere"}), StartMode::Normal);
    EXPECT_EQ(ParseStartMode({}), StartMode::Normal);
    EXPECT_EQ(ParseStartMode({"/regserver"}), StartMode::Normal); // that is the program path
    EXPECT_EQ(ParseStartMode({"q", "/regserver"}), StartMode::RegServer);
    EXPECT_EQ(ParseStartMode({"q", "-unregserver"}), StartMode::UnregServer);
    EXPECT_EQ(ParseStartMode({"q", "-unregserver", "/REGSERVER"}), StartMode::RegServer);
    EXPECT_EQ(ParseStartMode({"q", "/regserver", "-embedding"}), StartMode::Automation);
    EXPECT_EQ(ParseStartMode({"q", "a.qld", "HIDEWIN"}), StartMode::Normal);
}

TEST(SplitCommandLine, BlanksOutsideQuotesSeparate) {
    EXPECT_EQ(SplitCommandLine("/usr/bin/quillmere a.qld b.vcf"),
              (List{"/usr/bin/quillmere", "a.qld", "b.vcf"}));
    EXPECT_EQ(SplitCommandLine("  q   a.qld\tb.vcf  "), (List{"q", "a.qld", "b.vcf"}));
    EXPECT_EQ(SplitCommandLine(""), List{});
    EXPECT_EQ(SplitCommandLine("   "), List{});
    // Without quotes a path with a blank falls apart.
    EXPECT_EQ(SplitCommandLine("q /home/ann/My Files/Friends.QLD"),
              (List{"q", "/home/ann/My", "Files/Friends.QLD"}));
}

TEST(SplitCommandLine, QuotedRunsAreOneArgumentWithoutTheirQuotes) {
    EXPECT_EQ(SplitCommandLine("q \"/home/ann/My Files/team.qld\""),
              (List{"q", "/home/ann/My Files/team.qld"}));
    EXPECT_EQ(SplitCommandLine("\"/opt/Quill mere/quillmere\" x"),
              (List{"/opt/Quill mere/quillmere", "x"}));
    EXPECT_EQ(SplitCommandLine("q /home/\"My Files\"/a.qld"), (List{"q", "/home/My Files/a.qld"}));
    EXPECT_EQ(SplitCommandLine("q \"say \"\"hi\"\".qld\""), (List{"q", "say \"hi\".qld"}));
    EXPECT_EQ(SplitCommandLine("q \"\" x"), (List{"q", "", "x"}));
    EXPECT_EQ(SplitCommandLine("q \"open end"), (List{"q", "open end"}));
    // Commas are ordinary characters here, unlike in comma text.
    EXPECT_EQ(SplitCommandLine("q a,b.qld"), (List{"q", "a,b.qld"}));
}

TEST(QuoteArgument, OnlyWhatNeedsIt) {
    EXPECT_EQ(QuoteArgument("/home/ann/a.qld"), "/home/ann/a.qld");
    EXPECT_EQ(QuoteArgument("/home/ann/My Files/a.qld"), "\"/home/ann/My Files/a.qld\"");
    EXPECT_EQ(QuoteArgument("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(QuoteArgument("a\"b"), "\"a\"\"b\"");
    EXPECT_EQ(QuoteArgument(""), "\"\"");
    EXPECT_EQ(QuoteArgument("tab\there"), "\"tab\there\"");
    EXPECT_EQ(QuoteArgument("Zoë,1.vcf"), "Zoë,1.vcf");
}

TEST(QuoteArgument, EveryArgumentListComesBackWhole) {
    const std::vector<List> lists = {
        {"/usr/bin/quillmere"},
        {"/usr/bin/quillmere", "/home/ann/My Files/Friends.QLD"},
        {"/opt/my quill/quillmere", "a b.vcf", "", "HIDEWIN", "c.qld"},
        {"q", "say \"hi\".qld", "\"", "\"\"", "x\"", "\"x", " lead", "trail ", "a  b"},
        {"q", "line\nbreak.vcf", "Zoë Müller.vcf", "a,b,c", "/regserver"},
    };
    for (const List& args : lists) {
        EXPECT_EQ(SplitCommandLine(JoinCommandLine(args)), args) << JoinCommandLine(args);
    }
    EXPECT_EQ(JoinCommandLine({}), "");
}

TEST(ClassifyArgument, ExchangeBeforeVCardWithoutRegardToCase) {
    EXPECT_EQ(ClassifyArgument("/home/ann/a.qld"), CommandLineFile::ExchangeFile);
    EXPECT_EQ(ClassifyArgument("/home/ann/Friends.QLD"), CommandLineFile::ExchangeFile);
    EXPECT_EQ(ClassifyArgument("/home/ann/Card.VcF"), CommandLineFile::VCardFile);
    EXPECT_EQ(ClassifyArgument("/home/ann/x.qld.vcf"), CommandLineFile::ExchangeFile);
    EXPECT_EQ(ClassifyArgument("/home/ann/x.vcf.qld"), CommandLineFile::ExchangeFile);
    EXPECT_EQ(ClassifyArgument("/data/a.qldx"), CommandLineFile::ExchangeFile); // "anywhere"
    EXPECT_EQ(ClassifyArgument("/home/ann/notes.txt"), CommandLineFile::Ignored);
    EXPECT_EQ(ClassifyArgument("qld"), CommandLineFile::Ignored);
    EXPECT_EQ(ClassifyArgument("HIDEWIN"), CommandLineFile::Ignored);
    EXPECT_EQ(ClassifyArgument(""), CommandLineFile::Ignored);
}

TEST(CommandLineImports, SkipsTheProgramPathAndKeepsEachPathAsGiven) {
    using enum CommandLineFile;
    EXPECT_EQ(CommandLineImports("\"/opt/Q.qld/quillmere\" \"/home/Ann/My Files/Friends.QLD\" "
                                 "HIDEWIN /tmp/Team.VCF notes.txt /tmp/b.qld"),
              (std::vector<CommandLineImport>{{ExchangeFile, "/home/Ann/My Files/Friends.QLD"},
                                              {VCardFile, "/tmp/Team.VCF"},
                                              {ExchangeFile, "/tmp/b.qld"}}));
    EXPECT_TRUE(CommandLineImports(std::string_view{}).empty());
    EXPECT_TRUE(CommandLineImports("/usr/bin/quillmere").empty());
    EXPECT_TRUE(CommandLineImports(List{"/home/x.qld"}).empty());
    EXPECT_EQ(
        CommandLineImports(List{"q", "/A/B.Qld", "/A/c.vcf"}),
        (std::vector<CommandLineImport>{{ExchangeFile, "/A/B.Qld"}, {VCardFile, "/A/c.vcf"}}));
}

} // namespace
} // namespace quill
