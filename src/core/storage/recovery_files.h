#pragma once
// Copies of the outline that keep the user's work when the data file cannot take it: the
// autosave copy written a few seconds after each change (removed by every save), and the
// recovery file written when the program had to end without being able to save and nobody
// could be asked. A start that finds either newer than the data file offers it back.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

inline constexpr std::string_view kAutosaveSuffix = ".autosave";
inline constexpr std::string_view kRecoveredInfix = ".recovered-";

// "quil.dat" beside "quil.dat.autosave".
std::string AutosavePath(const std::string& dataFilePath);

// "<data file name>.recovered-<stamp>", stamp "YYYYMMDD-HHMMSS" in local time; a second
// file of the same second gets "-2", "-3" ... (attempt counts from 1).
std::string RecoveryFileName(std::string_view dataFileName, std::string_view stamp,
                             int attempt = 1);

// Whether fileName (without a directory) is a recovery file of the data file.
bool IsRecoveryFileOf(std::string_view fileName, std::string_view dataFileName);

// Whether the copy at path exists and was written after the data file (or the data file is
// gone): then it holds work the data file does not.
bool NewerThanDataFile(const std::string& path, const std::string& dataFilePath);

// The recovery files of the data file in the given directories that are newer than the data
// file, newest first.
std::vector<std::string> NewerRecoveryFiles(const std::vector<std::string>& directories,
                                            const std::string& dataFilePath);

// The base names whose leftover temporary files a start may sweep from the data directory.
std::vector<std::string> OwnSavedFileNames(std::string_view dataFileName);

} // namespace quill
