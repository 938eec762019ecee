#include "core/exchange/import_report.h"

#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"

namespace quill {
namespace {

// Plural of a kind's name for the listing.
std::string KindCount(std::size_t count, int kind) {
    std::string text = std::to_string(count) + " ";
    const std::string_view name = KindName(kind);
    if (kind == kEMailKind) {
        return text + (count == 1 ? "e-mail address" : "e-mail addresses");
    }
    text.append(name);
    if (count != 1) {
        text += name.ends_with('s') || name.ends_with('x') ? "es" : "s";
    }
    return text;
}

void AddChildrenOf(const TNRBObject& item, TImportReport& report) {
    for (std::size_t i = 0; i < item.ChildCount(); ++i) {
        const TNRBObject* child = item.ChildAt(i);
        report.AddItem(child->Kind());
        AddChildrenOf(*child, report);
    }
}

} // namespace

void TImportReport::AddItem(int kind) {
    if (kind >= 0 && kind < static_cast<int>(items.size())) {
        ++items[static_cast<std::size_t>(kind)];
    }
}

void TImportReport::AddItemTree(const TNRBObject& item) {
    const TOutlineNode* node = item.Node();
    if (node && node->Item() == &item) {
        ForEachInSubtree(node, [&](const TOutlineNode* visited) {
            if (const TNRBObject* own = visited->Item()) {
                AddItem(own->Kind());
                AddChildrenOf(*own, *this);
            }
        });
        return;
    }
    AddItem(item.Kind());
    AddChildrenOf(item, *this);
}

void TImportReport::AddNotKept(std::string_view name, std::size_t count) {
    if (count == 0) {
        return;
    }
    const auto found = notKept.find(name);
    if (found != notKept.end()) {
        found->second += count;
    } else {
        notKept.emplace(std::string(name), count);
    }
}

std::size_t TImportReport::ItemCount() const {
    std::size_t total = 0;
    for (std::size_t count : items) {
        total += count;
    }
    return total;
}

std::string TImportReport::Text(std::string_view recordUnit) const {
    std::string text = "Read " + std::to_string(records) + " " + std::string(recordUnit);
    if (records != 1) {
        text += 's';
    }
    text += ".\n";
    text += "Created: ";
    bool any = false;
    for (std::size_t kind = 0; kind < items.size(); ++kind) {
        if (items[kind] == 0) {
            continue;
        }
        if (any) {
            text += ", ";
        }
        text += KindCount(items[kind], static_cast<int>(kind));
        any = true;
    }
    text += any ? ".\n" : "nothing.\n";
    if (!notKept.empty()) {
        text += "Not kept: ";
        bool first = true;
        for (const auto& [name, count] : notKept) {
            if (!first) {
                text += ", ";
            }
            text += name + " (" + std::to_string(count) + ")";
            first = false;
        }
        text += ".\n";
    }
    return text;
}

} // namespace quill
