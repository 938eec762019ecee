#include "core/model/edit_mask.h"

#include <algorithm>
#include <array>

namespace quill {
namespace {

constexpr std::array<PhoneFormat, 11> kPhoneFormats{{
    {"USA", "!\\(999\\)000-0000;0;_"},
    {"Free Format", ""},
    {"Denmark", "\\+45 00 00 00 00;0;_"},
    {"France", "!16\\-00\\-00\\-00\\-00;0;_"},
    {"Germany", "!\\(999 99\\) 99999;0;_"},
    {"Italy", "!\\(9999\\) 0000 0000;0;_"},
    {"Netherlands", "!\\00099\\-0000999;0;_"},
    {"Norway", "00 09 99 99;0;_"},
    {"Spain", "!\\(999\\)0000000;0;_"},
    {"Sweden", "00 09 99 99;0;_"},
    {"United Kingdom", "!\\00009 0000099;0;_"},
}};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::span<const PhoneFormat> PhoneFormats() {
    return kPhoneFormats;
}

TEditMask::TEditMask(std::string_view text) {
    // The two trailing fields, when present, follow the last unescaped separators.
    std::vector<std::size_t> separators;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;
        } else if (text[i] == ';') {
            separators.push_back(i);
        }
    }
    std::string_view mask = text;
    if (separators.size() >= 2) {
        const std::size_t first = separators[separators.size() - 2];
        const std::size_t second = separators.back();
        const std::string_view save = text.substr(first + 1, second - first - 1);
        const std::string_view blank = text.substr(second + 1);
        savesLiterals_ = save != "0";
        if (!blank.empty()) {
            blank_ = blank.front();
        }
        mask = text.substr(0, first);
    } else if (separators.size() == 1) {
        savesLiterals_ = text.substr(separators[0] + 1) != "0";
        mask = text.substr(0, separators[0]);
    }
    if (!mask.empty() && mask.front() == '!') {
        leadingBlanks_ = true;
        mask.remove_prefix(1);
    }
    for (std::size_t i = 0; i < mask.size(); ++i) {
        const char c = mask[i];
        if (c == '\\' && i + 1 < mask.size()) {
            positions_.push_back({Slot::Literal, mask[++i]});
        } else if (c == '0') {
            positions_.push_back({Slot::RequiredDigit, '\0'});
        } else if (c == '9') {
            positions_.push_back({Slot::OptionalDigit, '\0'});
        } else {
            positions_.push_back({Slot::Literal, c});
        }
    }
}

bool TEditMask::Accepts(std::size_t position, char c) const {
    if (position >= positions_.size()) {
        return false;
    }
    const Position& p = positions_[position];
    return p.slot == Slot::Literal ? c == p.literal : IsDigit(c);
}

std::string TEditMask::EmptyText() const {
    std::string text;
    text.reserve(positions_.size());
    for (const Position& p : positions_) {
        text.push_back(p.slot == Slot::Literal ? p.literal : blank_);
    }
    return text;
}

std::string TEditMask::Apply(std::string_view typed) const {
    if (!HasMask()) {
        return std::string(typed);
    }
    Editing editing{EmptyText(), 0};
    for (const char c : typed) {
        Type(editing, c);
    }
    return editing.text;
}

bool TEditMask::Type(Editing& editing, char c) const {
    if (editing.text.size() != positions_.size()) {
        return false; // not a text of this mask
    }
    auto nextDigit = [this](std::size_t at) {
        while (at < positions_.size() && positions_[at].slot == Slot::Literal) {
            ++at;
        }
        return at;
    };
    std::size_t at = std::min(editing.cursor, nextDigit(FilledEnd(editing.text)));
    if (at < positions_.size() && positions_[at].slot == Slot::Literal &&
        positions_[at].literal == c) {
        editing.cursor = at + 1; // typed over the literal that stands here
        return true;
    }
    at = nextDigit(at);
    if (at >= positions_.size() || !IsDigit(c)) {
        return false;
    }
    editing.text[at] = c;
    editing.cursor = at + 1;
    return true;
}

void TEditMask::Erase(Editing& editing, std::size_t from, std::size_t to) const {
    to = std::min({to, editing.text.size(), positions_.size()});
    for (std::size_t i = from; i < to; ++i) {
        if (positions_[i].slot != Slot::Literal) {
            editing.text[i] = blank_;
        }
    }
    editing.cursor = std::min(from, editing.text.size());
}

void TEditMask::EraseBefore(Editing& editing) const {
    std::size_t at = std::min({editing.cursor, editing.text.size(), positions_.size()});
    while (at > 0 && positions_[at - 1].slot == Slot::Literal) {
        --at;
    }
    if (at > 0) {
        Erase(editing, at - 1, at);
    }
}

void TEditMask::EraseAfter(Editing& editing) const {
    const std::size_t cursor = editing.cursor;
    std::size_t at = cursor;
    while (at < positions_.size() && positions_[at].slot == Slot::Literal) {
        ++at;
    }
    Erase(editing, at, at + 1);
    editing.cursor = cursor;
}

std::size_t TEditMask::FilledEnd(std::string_view displayed) const {
    std::size_t end = 0;
    for (std::size_t i = 0; i < displayed.size() && i < positions_.size(); ++i) {
        if (positions_[i].slot != Slot::Literal && displayed[i] != blank_) {
            end = i + 1;
        }
    }
    return end;
}

std::string TEditMask::Value(std::string_view displayed) const {
    if (!HasMask()) {
        return std::string(displayed);
    }
    std::string value;
    for (std::size_t i = 0; i < displayed.size(); ++i) {
        const char c = displayed[i];
        const bool literal = i < positions_.size() && positions_[i].slot == Slot::Literal &&
                             positions_[i].literal == c;
        if (c == blank_ && !literal) {
            continue;
        }
        if (literal && !savesLiterals_) {
            continue;
        }
        value.push_back(c);
    }
    return value;
}

std::string TEditMask::Filled(std::string_view displayed) const {
    if (!HasMask()) {
        return std::string(displayed);
    }
    std::string kept;
    std::size_t end = 0; // the length of kept up to its last filled position
    for (std::size_t i = 0; i < displayed.size(); ++i) {
        const char c = displayed[i];
        const bool literal = i < positions_.size() && positions_[i].slot == Slot::Literal &&
                             positions_[i].literal == c;
        if (literal) {
            kept.push_back(c);
        } else if (c != blank_) {
            kept.push_back(c);
            end = kept.size();
        }
    }
    kept.resize(end);
    return kept;
}

} // namespace quill
