#pragma once
// Address labels: the Avery stocks, the settings read from the dialog's boxes, where each
// label lands on the sheet, and what each label says.

#include "core/reports/report_fields.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

class TNRBObject;
class TOutlineNode;

// One label stock, or the settings the dialog holds; lengths in hundredths of an inch.
struct TLabelDimension {
    std::string_view name;
    int top = 0;
    int side = 0;
    int height = 0;
    int width = 0;
    int hPitch = 0;
    int vPitch = 0;
    int across = 1;
};

// The 18 stocks in list order; every one is a US Letter sheet.
std::span<const TLabelDimension> LabelStocks();
// The stock of that exact name; none for any other text.
const TLabelDimension* FindLabelStock(std::string_view name);

inline constexpr int kLetterWidth = 850; // hundredths of an inch
inline constexpr int kLetterHeight = 1100;
// The memo sits this far right of and below its label's corner, and is this much smaller.
inline constexpr int kLabelInset = 10;

// Where label positions fall on a sheet. Positions count across first, row by row, from 0
// at the top left label; labels are placed from the physical sheet's corner, whatever part
// of it a printer can reach.
struct LabelSheet {
    TLabelDimension label;
    int sheetHeight = kLetterHeight;

    int Columns() const { return label.across < 1 ? 1 : label.across; }
    // Rows that fit between the top margin and the sheet's bottom edge (at least one).
    int Rows() const;
    int PerSheet() const { return Columns() * Rows(); }

    struct Spot {
        int sheet = 0; // 0 for the first sheet
        int left = 0;  // the memo's corner and size, from the sheet's top left corner
        int top = 0;
        int width = 0;
        int height = 0;
    };
    // The memo of the label at position (counted over all sheets).
    Spot MemoAt(std::size_t position) const;
};

// The label settings as the label report uses them: the memo is the label less the inset,
// the rows repeat at the vertical pitch and the columns at the horizontal pitch.
struct LabelBands {
    int columns = 1;
    int detailHeight = 0; // vertical pitch
    int pageHeader = 0;   // top margin, from the sheet's edge
    int leftMargin = 0;   // side margin, from the sheet's edge
    int columnPitch = 0;  // horizontal pitch
    int memoLeft = kLabelInset;
    int memoTop = kLabelInset;
    int memoWidth = 0;
    int memoHeight = 0;
};
LabelBands MakeLabelBands(const TLabelDimension& settings);

// One label: the item it comes from and the name on its first line.
struct LabelEntry {
    std::string name;
    const TNRBObject* item = nullptr;
};

// The lines of a label: the name, each street line that is not empty, city + ", " + state
// when there is a city, and always postal code + " " + country.
std::vector<std::string> LabelLines(const LabelEntry& entry);

class TLabelRecords {
public:
    // In outline order, unsorted: a person the filter does not hide is one label named by its
    // Target (its formal name), an organization one named by its Title; any other node gives
    // one label per address it holds that the filter does not hide, named by the address's
    // Title.
    void Initialize(const std::vector<TOutlineNode*>& nodes, std::size_t first, std::size_t last,
                    const HiddenItemTest& hidden);
    void Initialize(TOutlineNode* selected, const HiddenItemTest& hidden);

    const std::vector<LabelEntry>& Entries() const { return entries_; }
    // The next label's lines; false and no lines when none is left.
    bool Next(std::vector<std::string>& lines);
    void Rewind() { position_ = 0; }

private:
    std::vector<LabelEntry> entries_;
    std::size_t position_ = 0;
};

} // namespace quill
