#pragma once
// What every quilltool command shares: exit codes, argument parsing, loading and saving.

#include "core/exchange/outline_path.h"

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace quill {
class TOutline;
class TOutlineNode;
} // namespace quill

namespace quilltool {

inline constexpr int kOk = 0;
inline constexpr int kBadData = 1;
inline constexpr int kUsage = 2;

extern const std::string_view kUsageText;

// Prints the usage text on stderr and returns kUsage.
int Usage();

// A command's arguments: positional ones, "--name value" options and "--flag" switches.
struct Arguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
    std::set<std::string> flags;

    bool Has(const std::string& name) const { return options.count(name) || flags.count(name); }
    std::string Option(const std::string& name, const std::string& fallback = {}) const;
};

// False when an option lacks its value or is not among the known ones.
bool ParseArguments(const std::vector<std::string_view>& args,
                    const std::set<std::string>& valueOptions,
                    const std::set<std::string>& switchOptions, Arguments& out);

bool ParseUnsigned(std::string_view text, unsigned long long& value);

// Loads a data file as the program loads its own; a missing file is an error here unless
// missingIsEmpty (then the outline is the root alone). Errors go to stderr.
bool Load(const std::string& path, quill::TOutline& outline, bool missingIsEmpty = false);
// Saves atomically as the Save command does. Errors go to stderr.
bool Save(const std::string& path, const quill::TOutline& outline);

// Ends the process with the outline still standing: the system takes its memory back at
// once, where taking a million items apart one by one would cost a good part of the command.
// Whatever the command wrote is in the system's hands by then (a save syncs its file before
// it returns); only the output streams are flushed.
[[noreturn]] void EndWithoutTeardown(int status);

// The node a path names (see core/exchange/outline_path.h), under its old name here too.
using quill::FindNodeByPath;

// Prints "quilltool: " and the message on stderr; returns kBadData.
int Fail(std::string_view message);

} // namespace quilltool
