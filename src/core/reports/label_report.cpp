#include "core/reports/label_report.h"

#include "core/model/nrb_object.h"
#include "core/model/outline.h"

#include <algorithm>
#include <array>

namespace quill {

std::span<const TLabelDimension> LabelStocks() {
    static constexpr std::array<TLabelDimension, 18> stocks{{
        {"Avery 5095-Name Tag", 58, 69, 233, 338, 375, 250, 2},
        {"Avery 5160-Address", 50, 19, 100, 263, 275, 100, 3},
        {"Avery 5161-Address", 50, 16, 100, 400, 419, 100, 2},
        {"Avery 5162-Address", 83, 16, 133, 400, 419, 133, 2},
        {"Avery 5163-Shipping", 50, 16, 200, 400, 419, 200, 2},
        {"Avery 5164-Shipping", 50, 16, 333, 400, 419, 333, 2},
        {"Avery 5260-Address", 50, 19, 100, 263, 275, 100, 3},
        {"Avery 5261-Address", 50, 16, 100, 400, 419, 100, 2},
        {"Avery 5262-Address", 83, 16, 133, 400, 419, 133, 2},
        {"Avery 5385-Rotary Card", 117, 25, 217, 400, 400, 217, 2},
        {"Avery 5386-Rotary Card", 100, 175, 300, 500, 500, 300, 1},
        {"Avery 5388-Index Card", 100, 175, 300, 500, 500, 300, 1},
        {"Avery 5389-Post Card", 150, 175, 400, 600, 600, 400, 1},
        {"Avery 5660-Address", 50, 0, 100, 283, 283, 100, 3},
        {"Avery 5661-Address", 50, 16, 100, 400, 419, 100, 2},
        {"Avery 5662-Address", 83, 0, 133, 425, 425, 133, 2},
        {"Avery 5663-Address", 50, 0, 200, 425, 425, 200, 2},
        {"Avery 5664-Shipping", 50, 16, 333, 400, 419, 333, 2},
    }};
    return stocks;
}

const TLabelDimension* FindLabelStock(std::string_view name) {
    for (const TLabelDimension& stock : LabelStocks()) {
        if (stock.name == name) {
            return &stock;
        }
    }
    return nullptr;
}

int LabelSheet::Rows() const {
    if (label.vPitch <= 0) {
        return 1;
    }
    return std::max(1, (sheetHeight - label.top) / label.vPitch);
}

LabelSheet::Spot LabelSheet::MemoAt(std::size_t position) const {
    const auto perSheet = static_cast<std::size_t>(PerSheet());
    const auto columns = static_cast<std::size_t>(Columns());
    const std::size_t onSheet = position % perSheet;
    Spot spot;
    spot.sheet = static_cast<int>(position / perSheet);
    spot.left = label.side + static_cast<int>(onSheet % columns) * label.hPitch + kLabelInset;
    spot.top = label.top + static_cast<int>(onSheet / columns) * label.vPitch + kLabelInset;
    spot.width = std::max(0, label.width - kLabelInset);
    spot.height = std::max(0, label.height - kLabelInset);
    return spot;
}

LabelBands MakeLabelBands(const TLabelDimension& settings) {
    LabelBands b;
    b.columns = std::max(1, settings.across);
    b.detailHeight = settings.vPitch;
    b.pageHeader = settings.top;
    b.leftMargin = settings.side;
    b.columnPitch = settings.hPitch;
    b.memoWidth = std::max(0, settings.width - kLabelInset);
    b.memoHeight = std::max(0, settings.height - kLabelInset);
    return b;
}

std::vector<std::string> LabelLines(const LabelEntry& entry) {
    std::vector<std::string> lines{std::string(PrintedName(entry.name))};
    if (!entry.item) {
        return lines;
    }
    const AddressEntries a = ReadAddressEntries(*entry.item);
    a.AppendStreetLines(lines);
    if (!a.city.empty()) {
        lines.push_back(a.CityLine());
    }
    lines.push_back(a.PostalLine());
    return lines;
}

void TLabelRecords::Initialize(const std::vector<TOutlineNode*>& nodes, std::size_t first,
                               std::size_t last, const HiddenItemTest& hidden) {
    entries_.clear();
    last = std::min(last, nodes.size());
    for (std::size_t i = first; i < last; ++i) {
        const TNRBObject* item = nodes[i]->Item();
        if (!item) {
            continue;
        }
        if (item->Kind() == kPersonKind) {
            if (!IsHidden(hidden, *item)) {
                entries_.push_back({std::string(item->Target()), item});
            }
        } else if (item->Kind() == kOrganizationKind) {
            if (!IsHidden(hidden, *item)) {
                entries_.push_back({std::string(item->Title()), item});
            }
        } else {
            for (std::size_t c = 0; c < item->ChildCount(); ++c) {
                const TNRBObject* child = item->ChildAt(c);
                if (child->Kind() == kAddressKind && !IsHidden(hidden, *child)) {
                    entries_.push_back({std::string(child->Title()), child});
                }
            }
        }
    }
    Rewind();
}

void TLabelRecords::Initialize(TOutlineNode* selected, const HiddenItemTest& hidden) {
    const std::vector<TOutlineNode*> nodes = CoveredNodes(selected);
    Initialize(nodes, 0, nodes.size(), hidden);
}

bool TLabelRecords::Next(std::vector<std::string>& lines) {
    lines.clear();
    if (position_ >= entries_.size()) {
        return false;
    }
    lines = LabelLines(entries_[position_++]);
    return true;
}

} // namespace quill
