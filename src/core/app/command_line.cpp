#include "core/app/command_line.h"

#include "core/util/ascii.h"
#include "core/util/comma_text.h"

#include <algorithm>

namespace quill {

namespace {

constexpr bool IsSeparator(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

bool ContainsIgnoreAsciiCase(std::string_view text, std::string_view part) {
    if (part.size() > text.size()) {
        return false;
    }
    for (std::size_t i = 0; i + part.size() <= text.size(); ++i) {
        if (EqualsIgnoreAsciiCase(text.substr(i, part.size()), part)) {
            return true;
        }
    }
    return false;
}

} // namespace

bool HasHideSwitch(const std::vector<std::string>& arguments) {
    return std::find(arguments.begin(), arguments.end(), kHideSwitch) != arguments.end();
}

StartMode AutomationSwitch(std::string_view argument) {
    if (argument.size() < 2 || (argument[0] != '-' && argument[0] != '/')) {
        return StartMode::Normal;
    }
    const std::string_view word = argument.substr(1);
    if (EqualsIgnoreAsciiCase(word, "AUTOMATION") || EqualsIgnoreAsciiCase(word, "EMBEDDING")) {
        return StartMode::Automation;
    }
    if (EqualsIgnoreAsciiCase(word, "REGSERVER")) {
        return StartMode::RegServer;
    }
    if (EqualsIgnoreAsciiCase(word, "UNREGSERVER")) {
        return StartMode::UnregServer;
    }
    return StartMode::Normal;
}

StartMode ParseStartMode(const std::vector<std::string>& arguments) {
    bool reg = false;
    bool unreg = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        switch (AutomationSwitch(arguments[i])) {
        case StartMode::Automation:
            return StartMode::Automation;
        case StartMode::RegServer:
            reg = true;
            break;
        case StartMode::UnregServer:
            unreg = true;
            break;
        case StartMode::Normal:
            break;
        }
    }
    return reg ? StartMode::RegServer : unreg ? StartMode::UnregServer : StartMode::Normal;
}

std::vector<std::string> SplitCommandLine(std::string_view text) {
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false; // something (if only an empty quoted run) was read
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"') {
                current += c;
            } else if (i + 1 < text.size() && text[i + 1] == '"') {
                current += '"';
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == '"') {
            quoted = true;
            inArgument = true;
        } else if (IsSeparator(c)) {
            if (inArgument) {
                arguments.push_back(std::move(current));
                current.clear();
                inArgument = false;
            }
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument) {
        arguments.push_back(std::move(current));
    }
    return arguments;
}

std::string QuoteArgument(std::string_view argument) {
    const bool plain =
        !argument.empty() && std::none_of(argument.begin(), argument.end(),
                                          [](char c) { return IsSeparator(c) || c == '"'; });
    return plain ? std::string(argument) : QuotedText(argument);
}

std::string JoinCommandLine(const std::vector<std::string>& arguments) {
    std::string out;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) {
            out += ' ';
        }
        out += QuoteArgument(arguments[i]);
    }
    return out;
}

CommandLineFile ClassifyArgument(std::string_view argument) {
    if (ContainsIgnoreAsciiCase(argument, ".qld")) {
        return CommandLineFile::ExchangeFile;
    }
    if (ContainsIgnoreAsciiCase(argument, ".vcf")) {
        return CommandLineFile::VCardFile;
    }
    return CommandLineFile::Ignored;
}

std::vector<CommandLineImport> CommandLineImports(const std::vector<std::string>& arguments) {
    std::vector<CommandLineImport> imports;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const CommandLineFile kind = ClassifyArgument(arguments[i]);
        if (kind != CommandLineFile::Ignored) {
            imports.push_back({kind, arguments[i]});
        }
    }
    return imports;
}

std::vector<CommandLineImport> CommandLineImports(std::string_view text) {
    return CommandLineImports(SplitCommandLine(text));
}

} // namespace quill
