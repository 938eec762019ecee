#pragma once
// The 32 user categories: their names in the section "Categories" of the settings file, and
// the main window's category filter that hides list entries by them.

#include "core/storage/data_file.h" // HiddenItemTest

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

inline constexpr int kCategoryCount = 32;
inline constexpr std::string_view kCategoriesSection = "Categories";

// "User Defined " followed by the number, the name of a category nobody named (1 to 32).
std::string DefaultCategoryName(int category);
// The name of category (1 to 32) in a list of names, entry n-1 naming category n: the default
// name where the list has none or an empty one.
std::string CategoryName(const std::vector<std::string>& names, int category);

// Always 32 names, entry n-1 naming category n: the value of "Cat" + n, or the default name
// when that value is missing or empty.
std::vector<std::string> ReadCategoryNames(const std::string& iniPath);

// Erases the section and writes Cat1, Cat2 and so on with the names in order, at most 32, in
// one write. False (with *error) when the file cannot be written.
bool WriteCategoryNames(const std::string& iniPath, const std::vector<std::string>& names,
                        std::string* error = nullptr);

// The filter of the main window: off, or one of the two modes of the filter buttons, and the
// mask of ticked categories. Off with an empty mask at start; never stored.
class CategoryFilter {
public:
    enum class Mode {
        Off, // neither filter button down: the tree shows, nothing is hidden
        Any, // FilterBtn1 down: hidden when the mask is set and shares no bit with the item
        All, // FilterBtn2 down: hidden when the item lacks a bit of the mask
    };

    Mode GetMode() const { return mode_; }
    void SetMode(Mode mode) { mode_ = mode; }
    // Whether the category list stands in place of the tree.
    bool On() const { return mode_ != Mode::Off; }

    // Bit i set for every ticked entry i of the check list.
    std::uint32_t Mask() const { return mask_; }
    void SetMask(std::uint32_t mask) { mask_ = mask; }
    // The mask rebuilt from scratch from the ticks, entry i giving bit i (entries past 32 do
    // not count).
    static std::uint32_t MaskOf(const std::vector<bool>& ticked);

    // Whether an item with this category set is hidden. All 32 bits count alike, the top one
    // (category 32) included.
    bool Hides(std::int32_t categories) const;
    bool Hides(const TNRBObject& item) const;

    // A test for the list, the subtree writer and the reports that follows this filter as it
    // changes; the filter must outlive it.
    HiddenItemTest LiveTest() const;
    // A test fixed to the filter as it stands now; empty when nothing can be hidden, so that
    // writers skip the test altogether.
    HiddenItemTest Snapshot() const;

private:
    Mode mode_ = Mode::Off;
    std::uint32_t mask_ = 0;
};

} // namespace quill
