#include "tool_support.h"

#include "core/model/outline.h"
#include "core/storage/data_file.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

namespace quilltool {

const std::string_view kUsageText =
    "usage: quilltool stats FILE\n"
    "       quilltool resave IN OUT\n"
    "       quilltool generate N OUT [--seed S] [--format data|vcard|csv]\n"
    "       quilltool import FORMAT SOURCE DATAFILE [--target PATH] [options]\n"
    "       quilltool export FORMAT DATAFILE OUT [--from PATH] [options]\n"
    "FORMAT: qld, vcard, csv, tsv, favorites, bookmarks, nsaddress, eudora (import);\n"
    "        qld, csv, vcard, html (export)\n"
    "PATH: captions from the root joined by \"/\"; #N is the N-th child node;\n"
    "      \\/ and a leading \\# are a literal \"/\" and \"#\" in a caption\n"
    "vcard export: --version 2.1|3.0|4.0; csv/tsv import: --fields F1,,F3 | --header\n";

int Usage() {
    std::cerr << kUsageText;
    return kUsage;
}

int Fail(std::string_view message) {
    std::cerr << "quilltool: " << message << "\n";
    return kBadData;
}

std::string Arguments::Option(const std::string& name, const std::string& fallback) const {
    const auto it = options.find(name);
    return it == options.end() ? fallback : it->second;
}

bool ParseArguments(const std::vector<std::string_view>& args,
                    const std::set<std::string>& valueOptions,
                    const std::set<std::string>& switchOptions, Arguments& out) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string arg(args[i]);
        if (arg.size() > 2 && arg.starts_with("--")) {
            const std::string name = arg.substr(2);
            if (switchOptions.count(name)) {
                out.flags.insert(name);
            } else if (valueOptions.count(name) && i + 1 < args.size()) {
                out.options[name] = std::string(args[++i]);
            } else {
                return false;
            }
        } else {
            out.positional.push_back(arg);
        }
    }
    return true;
}

bool ParseUnsigned(std::string_view text, unsigned long long& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc{} && end == text.data() + text.size();
}

void EndWithoutTeardown(int status) {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(status);
}

bool Load(const std::string& path, quill::TOutline& outline, bool missingIsEmpty) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        if (missingIsEmpty) {
            outline.CreateRoot();
            return true;
        }
        Fail("cannot open " + path);
        return false;
    }
    if (!std::filesystem::is_regular_file(path, ec)) {
        Fail("cannot open " + path);
        return false;
    }
    quill::TDataFile file(path);
    const quill::FileResult result = file.LoadDataFile(outline);
    if (!result.ok) {
        Fail(result.message);
        return false;
    }
    return true;
}

bool Save(const std::string& path, const quill::TOutline& outline) {
    quill::TDataFile file(path);
    const quill::FileResult result = file.SaveDataFile(outline);
    if (!result.ok) {
        Fail(result.message);
        return false;
    }
    return true;
}

} // namespace quilltool
