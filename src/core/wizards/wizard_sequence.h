#pragma once
// The page sequencing both wizards share: the pages of the current path through the wizard
// (VisibleSheets), the position shown (CurrentPage) and what "Next >>" is: a step forward,
// or, on the last page of the path, "Finish", which closes the wizard with OK.

#include <string>
#include <string_view>
#include <vector>

namespace quill {

inline constexpr std::string_view kNextCaption = "Next >>";
inline constexpr std::string_view kFinishCaption = "Finish";
inline constexpr std::string_view kBackCaption = "<< Back";
inline constexpr std::string_view kCancelCaption = "Cancel";

class TWizardSequence {
public:
    // The names of all pages in their order.
    explicit TWizardSequence(std::vector<std::string> pages);

    const std::vector<std::string>& Pages() const { return pages_; }
    const std::vector<std::string>& VisibleSheets() const { return visible_; }

    // Every page, in their order.
    void ShowAllSheets();
    // Keeps the visible pages that are named in keep, in their order.
    void KeepSheets(const std::vector<std::string>& keep);

    int CurrentPage() const { return current_; }
    // Ignored unless 0 <= page < the number of visible pages.
    void SetCurrentPage(int page);
    // The name of the page shown; empty when nothing is visible.
    std::string_view CurrentName() const;
    bool OnLastPage() const { return current_ + 1 == static_cast<int>(visible_.size()); }

    void NextPage();
    void PrevPage();

    // "Next >>": nothing once it is "Finish" or on the last page; otherwise one step on, and
    // it becomes "Finish" when that step reached the last page.
    void NextBtnClick();
    // "<< Back": one step back (not before the first page); the button is "Next >>" again.
    void PrevBtnClick();
    // True while "Next >>" reads "Finish" and pressing it closes the wizard with OK.
    bool Finishing() const { return finishing_; }
    std::string_view NextCaption() const { return finishing_ ? kFinishCaption : kNextCaption; }

private:
    std::vector<std::string> pages_;
    std::vector<std::string> visible_;
    int current_ = 0;
    bool finishing_ = false;
};

} // namespace quill
