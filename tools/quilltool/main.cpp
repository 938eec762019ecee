// quilltool: the headless companion of Quillmere, on the core alone. Exit status 0 on
// success, 1 when the data is bad or a file cannot be used, 2 on wrong usage.

#include "outline_generator.h"

#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"
#include "core/storage/data_file.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kOk = 0;
constexpr int kBadData = 1;
constexpr int kUsage = 2;

constexpr std::string_view kUsageText = "usage: quilltool stats FILE\n"
                                        "       quilltool resave IN OUT\n"
                                        "       quilltool generate N OUT [--seed S]\n";

int Usage() {
    std::cerr << kUsageText;
    return kUsage;
}

bool ParseUnsigned(std::string_view text, unsigned long long& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
}

// Loads the file as the program loads its data file; a missing file is an error here.
bool Load(const std::string& path, quill::TOutline& outline) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        std::cerr << "quilltool: cannot open " << path << "\n";
        return false;
    }
    quill::TDataFile file(path);
    const quill::FileResult result = file.LoadDataFile(outline);
    if (!result.ok) {
        std::cerr << "quilltool: " << result.message << "\n";
        return false;
    }
    return true;
}

bool Save(const std::string& path, const quill::TOutline& outline) {
    quill::TDataFile file(path);
    const quill::FileResult result = file.SaveDataFile(outline);
    if (!result.ok) {
        std::cerr << "quilltool: " << result.message << "\n";
        return false;
    }
    return true;
}

int Stats(const std::string& path) {
    quill::TOutline outline;
    if (!Load(path, outline)) {
        return kBadData;
    }
    std::array<std::size_t, quill::kKindCount> perKind{};
    std::size_t unknown = 0;
    std::size_t items = 0;
    std::size_t nodes = 0;
    int deepest = 0;
    auto count = [&](const quill::TNRBObject& item) {
        ++items;
        if (item.Kind() < quill::kKindCount) {
            ++perKind[item.Kind()];
        } else {
            ++unknown;
        }
    };
    // Depth-first with the depth carried along, so a deep outline costs no more than a flat one.
    std::vector<std::pair<const quill::TOutlineNode*, int>> stack;
    for (std::size_t i = outline.TopLevelCount(); i-- > 0;) {
        stack.emplace_back(outline.ChildOf(nullptr, i), 0);
    }
    while (!stack.empty()) {
        const auto [node, depth] = stack.back();
        stack.pop_back();
        ++nodes;
        deepest = std::max(deepest, depth);
        if (const quill::TNRBObject* item = node->Item()) {
            count(*item);
            for (std::size_t i = 0; i < item->ChildCount(); ++i) {
                count(*item->ChildAt(i));
                deepest = std::max(deepest, depth + 1);
            }
        }
        for (std::size_t i = node->ChildCount(); i-- > 0;) {
            stack.emplace_back(node->ChildAt(i), depth + 1);
        }
    }
    std::cout << "nodes: " << nodes << "\n";
    std::cout << "items: " << items << "\n";
    for (int kind = 0; kind < quill::kKindCount; ++kind) {
        std::cout << quill::KindName(kind) << ": " << perKind[kind] << "\n";
    }
    std::cout << "unknown: " << unknown << "\n";
    std::cout << "deepest-level: " << deepest << "\n";
    return kOk;
}

int Resave(const std::string& in, const std::string& out) {
    quill::TOutline outline;
    if (!Load(in, outline)) {
        return kBadData;
    }
    return Save(out, outline) ? kOk : kBadData;
}

int Generate(const std::vector<std::string_view>& args) {
    unsigned long long count = 0;
    unsigned long long seed = 1;
    std::string out;
    std::vector<std::string_view> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--seed") {
            if (i + 1 >= args.size() || !ParseUnsigned(args[i + 1], seed)) {
                return Usage();
            }
            ++i;
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 2 || !ParseUnsigned(positional[0], count)) {
        return Usage();
    }
    out = std::string(positional[1]);
    quill::TOutline outline;
    quill::GenerateOutline(outline, static_cast<std::size_t>(count),
                           static_cast<std::uint32_t>(seed));
    return Save(out, outline) ? kOk : kBadData;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty()) {
        return Usage();
    }
    const std::string_view command = args.front();
    args.erase(args.begin());
    if (command == "stats" && args.size() == 1) {
        return Stats(std::string(args[0]));
    }
    if (command == "resave" && args.size() == 2) {
        return Resave(std::string(args[0]), std::string(args[1]));
    }
    if (command == "generate") {
        return Generate(args);
    }
    if (command == "--help" || command == "-h") {
        std::cout << kUsageText;
        return kOk;
    }
    return Usage();
}
