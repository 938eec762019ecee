#pragma once
// The bus activation file that registers the program as the automation server: the session
// bus reads "Quil.Application.service" from $XDG_DATA_HOME/dbus-1/services and starts the
// program with "-AUTOMATION" when a client calls the name while no program owns it.

#include <string>
#include <string_view>

namespace quill {

inline constexpr std::string_view kAutomationBusName = "Quil.Application";
inline constexpr std::string_view kActivationFileName = "Quil.Application.service";

// The file's text. program is the absolute path of the executable; a non-empty dataHome
// (the QUILLMERE_HOME the program runs with) goes into the command through env, so that an
// activated program opens the same outline. Words are quoted as the bus splits them.
// Empty when a path holds a line break, which the file cannot carry.
std::string ActivationFileText(std::string_view program, std::string_view dataHome);

// One word of the command quoted for the bus: unchanged when it holds only letters, digits
// and "_-./,:=+@%", otherwise in single quotes (a single quote itself as '\'').
std::string ActivationWord(std::string_view word);

// The directory the session bus looks in under a data home ($XDG_DATA_HOME).
std::string ActivationDirectory(std::string_view dataHome);

// Writes the file into the directory (created when missing), replacing it whole. False with
// *error saying why when it could not.
bool WriteActivationFile(const std::string& directory, std::string_view text, std::string* error);
// Removes the file; a missing file is no failure.
bool RemoveActivationFile(const std::string& directory, std::string* error);

} // namespace quill
