#pragma once
// The command line as the program reads it: the hide switch, the
// automation start modes, and the text a second start hands to the running program, which
// names the exchange and vCard files to import.
//
// Deliberate change from the Windows program: the hand-over text is no longer lower-cased
// before it is split. The file extensions ".qld" and ".vcf" are found without regard to the
// case of A to Z, and each path is kept exactly as given, since Linux paths are
// case-sensitive.

#include <string>
#include <string_view>
#include <vector>

namespace quill {

inline constexpr std::string_view kHideSwitch = "HIDEWIN";

// True when any argument, the program path included, equals "HIDEWIN" exactly (case counts).
bool HasHideSwitch(const std::vector<std::string>& arguments);

// How the program was started, from the automation switches.
enum class StartMode {
    Normal,      // no automation switch
    Automation,  // "-AUTOMATION" or "-EMBEDDING": ends when the last automation object goes
    RegServer,   // "-REGSERVER": register and end at once
    UnregServer, // "-UNREGSERVER": unregister and end at once
};

// The switch one argument is: "-" or "/" followed by the whole word, the word compared
// without regard to case ("/regserver" counts, "-regserverx" and "regserver" do not).
StartMode AutomationSwitch(std::string_view argument);

// The start mode of a command line. The first argument (the program path) is not looked at;
// among the rest, the first rule that applies wins: AUTOMATION or EMBEDDING, then REGSERVER,
// then UNREGSERVER, else Normal.
StartMode ParseStartMode(const std::vector<std::string>& arguments);

// Splits a hand-over text into arguments. Blanks (and other control characters) outside
// double quotes separate arguments; runs of them count once. A double quote opens or closes a
// quoted run and is removed; inside a quoted run a doubled quote stands for one quote
// character. Quoted runs and unquoted characters next to each other make one argument, and an
// empty quoted run ("") is an empty argument. An unterminated quote runs to the end.
// Commas are ordinary characters (Linux paths may hold them).
std::vector<std::string> SplitCommandLine(std::string_view text);

// One argument ready for the text: unchanged when it is not empty and holds no blank,
// control character or double quote; otherwise enclosed in double quotes with every inner
// double quote doubled. SplitCommandLine gives it back whole.
std::string QuoteArgument(std::string_view argument);

// The arguments quoted and joined by single blanks.
std::string JoinCommandLine(const std::vector<std::string>& arguments);

// What OpenCommandLine does with one argument after the program path.
enum class CommandLineFile {
    Ignored,
    ExchangeFile, // contains ".qld" anywhere: ImportFile under the top node
    VCardFile,    // else contains ".vcf" anywhere: ImportVCardFile under the top node
};

// Looks for ".qld", then ".vcf", without regard to the case of A to Z.
CommandLineFile ClassifyArgument(std::string_view argument);

struct CommandLineImport {
    CommandLineFile kind;
    std::string path; // as given, case kept
    bool operator==(const CommandLineImport&) const = default;
};

// The files to import from a list of arguments: the first one (the program path) skipped,
// ignored arguments left out, the order kept.
std::vector<CommandLineImport> CommandLineImports(const std::vector<std::string>& arguments);

// The same for a hand-over text (split with SplitCommandLine). An empty text gives nothing:
// it only brings the window forward.
std::vector<CommandLineImport> CommandLineImports(std::string_view text);

} // namespace quill
