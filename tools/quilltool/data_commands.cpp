#include "data_commands.h"

#include "exchange_generator.h"
#include "outline_generator.h"
#include "tool_support.h"

#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iostream>
#include <string>

namespace quilltool {

int Stats(const std::vector<std::string_view>& args) {
    if (args.size() != 1) {
        return Usage();
    }
    const std::string path(args[0]);
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
    EndWithoutTeardown(kOk);
}

int Resave(const std::vector<std::string_view>& args) {
    if (args.size() != 2) {
        return Usage();
    }
    quill::TOutline outline;
    if (!Load(std::string(args[0]), outline)) {
        return kBadData;
    }
    EndWithoutTeardown(Save(std::string(args[1]), outline) ? kOk : kBadData);
}

int Generate(const std::vector<std::string_view>& args) {
    Arguments parsed;
    if (!ParseArguments(args, {"seed", "format"}, {}, parsed) || parsed.positional.size() != 2) {
        return Usage();
    }
    unsigned long long count = 0;
    unsigned long long seed = 1;
    const std::string format = parsed.Option("format", "data");
    if (!ParseUnsigned(parsed.positional[0], count) ||
        (parsed.Has("seed") && !ParseUnsigned(parsed.Option("seed"), seed)) ||
        (format != "data" && format != "vcard" && format != "csv")) {
        return Usage();
    }
    if (format != "data") {
        // Input for the import benchmarks: N cards, or N person lines under a header line.
        const std::string& path = parsed.positional[1];
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (format == "vcard") {
            quill::GenerateVCards(out, static_cast<std::size_t>(count),
                                  static_cast<std::uint32_t>(seed));
        } else {
            quill::GeneratePersonCsv(out, static_cast<std::size_t>(count),
                                     static_cast<std::uint32_t>(seed));
        }
        out.close();
        return out ? kOk : Fail("cannot write " + path);
    }
    quill::TOutline outline;
    quill::GenerateOutline(outline, static_cast<std::size_t>(count),
                           static_cast<std::uint32_t>(seed));
    EndWithoutTeardown(Save(parsed.positional[1], outline) ? kOk : kBadData);
}

} // namespace quilltool
