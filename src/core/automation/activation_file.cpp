#include "core/automation/activation_file.h"

#include "core/util/atomic_file.h"

#include <filesystem>
#include <system_error>

namespace quill {
namespace {

bool PlainWordCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("_-./,:=+@%").find(c) != std::string_view::npos;
}

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

std::filesystem::path FilePath(const std::string& directory) {
    return std::filesystem::path(directory) / std::string(kActivationFileName);
}

} // namespace

std::string ActivationWord(std::string_view word) {
    bool plain = !word.empty();
    for (const char c : word) {
        plain = plain && PlainWordCharacter(c);
    }
    if (plain) {
        return std::string(word);
    }
    std::string quoted = "'";
    for (const char c : word) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

std::string ActivationFileText(std::string_view program, std::string_view dataHome) {
    if (HasLineBreak(program) || HasLineBreak(dataHome)) {
        return {};
    }
    std::string exec;
    if (!dataHome.empty()) {
        exec = "/usr/bin/env " + ActivationWord("QUILLMERE_HOME=" + std::string(dataHome)) + " ";
    }
    exec += ActivationWord(program) + " -AUTOMATION";
    return "[D-BUS Service]\nName=" + std::string(kAutomationBusName) + "\nExec=" + exec + "\n";
}

std::string ActivationDirectory(std::string_view dataHome) {
    return (std::filesystem::path(dataHome) / "dbus-1" / "services").string();
}

bool WriteActivationFile(const std::string& directory, std::string_view text, std::string* error) {
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    if (ec) {
        if (error) {
            *error = "Cannot create " + directory + ": " + ec.message();
        }
        return false;
    }
    AtomicFileWriter writer;
    // A registration is cheap to write again: it need not wait for the disk.
    writer.SetDurable(false);
    if (writer.Open(FilePath(directory).string()) && writer.Write(text) && writer.Commit()) {
        return true;
    }
    if (error) {
        *error = writer.Error();
    }
    return false;
}

bool RemoveActivationFile(const std::string& directory, std::string* error) {
    std::error_code ec;
    std::filesystem::remove(FilePath(directory), ec);
    if (ec) {
        if (error) {
            *error = "Cannot remove " + FilePath(directory).string() + ": " + ec.message();
        }
        return false;
    }
    return true;
}

} // namespace quill
