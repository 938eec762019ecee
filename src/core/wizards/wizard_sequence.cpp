#include "core/wizards/wizard_sequence.h"

#include <algorithm>

namespace quill {

TWizardSequence::TWizardSequence(std::vector<std::string> pages) : pages_(std::move(pages)) {
    ShowAllSheets();
    SetCurrentPage(0);
}

void TWizardSequence::ShowAllSheets() {
    visible_ = pages_;
}

void TWizardSequence::KeepSheets(const std::vector<std::string>& keep) {
    std::erase_if(visible_, [&keep](const std::string& page) {
        return std::find(keep.begin(), keep.end(), page) == keep.end();
    });
    // The position stays a position of the path.
    current_ = std::clamp(current_, 0, std::max(0, static_cast<int>(visible_.size()) - 1));
}

void TWizardSequence::SetCurrentPage(int page) {
    if (page >= 0 && page < static_cast<int>(visible_.size())) {
        current_ = page;
    }
}

std::string_view TWizardSequence::CurrentName() const {
    if (current_ < 0 || current_ >= static_cast<int>(visible_.size())) {
        return {};
    }
    return visible_[static_cast<std::size_t>(current_)];
}

void TWizardSequence::NextPage() {
    if (!OnLastPage() && !visible_.empty()) {
        SetCurrentPage(current_ + 1);
    }
}

void TWizardSequence::PrevPage() {
    if (current_ > 0) {
        SetCurrentPage(current_ - 1);
    }
}

void TWizardSequence::NextBtnClick() {
    if (finishing_ || OnLastPage() || visible_.empty()) {
        return;
    }
    NextPage();
    finishing_ = OnLastPage();
}

void TWizardSequence::PrevBtnClick() {
    if (current_ > 0) {
        PrevPage();
        finishing_ = false;
    }
}

} // namespace quill
