#include "core/model/contact_point_objects.h"

#include "core/model/group_objects.h"
#include "core/model/record_text.h"

namespace quill {

TAddressObject::TAddressObject(std::string_view title, std::string_view target,
                               std::string_view comment, std::int32_t id, std::string_view dataLine)
    : TNRBObject(kAddressKind, title, target, comment, id) {
    TAddressObject::ReadDataLine(dataLine);
}

void TAddressObject::ReadDataLine(std::string_view text) {
    DataLineReader r;
    if (!r.Open(text, DataLineTag(kAddressKind))) {
        return;
    }
    // The stored lines are appended to what the address holds.
    for (std::size_t i = 0; i < 3 && r.Has(i); ++i) {
        lines_.push_back(Cleaned(r.At(i)));
    }
    CompactString* place[] = {&city_, &state_, &postCode_, &country_};
    for (std::size_t i = 0; i < 4; ++i) {
        if (r.Has(3 + i)) {
            *place[i] = Cleaned(r.At(3 + i));
        }
    }
    SetCategories(r.CategoriesAt(7));
}

std::string TAddressObject::RecordText(int level) const {
    std::string out = HeaderLine(level);
    out.append(kLineEnd);
    DataLineBuilder b(out, DataLineTag(kAddressKind));
    for (std::size_t i = 0; i < 3; ++i) {
        b.Field(i < lines_.size() ? lines_[i].view() : std::string_view{});
    }
    b.Field(city_).Field(state_).Field(postCode_).Field(country_).Number(Categories());
    return out;
}

void TAddressObject::SetupActionMenu(ActionMenu& menu) const {
    menu.HideAll();
}

std::string TAddressObject::ClipboardText() const {
    std::string text;
    for (const CompactString& line : lines_) {
        if (!line.empty()) {
            text.append(line).append("\r\n");
        }
    }
    text.append(city_).append(", ").append(state_).append(" ").append(postCode_).append("\r\n");
    text.append(country_).append("\r\n");
    return text;
}

void TAddressObject::SetLines(const std::vector<std::string>& lines) {
    lines_.clear();
    lines_.reserve(lines.size());
    for (const std::string& line : lines) {
        lines_.push_back(Cleaned(line));
    }
    NotifyChanged();
}

void TAddressObject::PadLines() {
    while (lines_.size() < 3) {
        lines_.emplace_back();
    }
}

TPhoneObject::TPhoneObject(std::string_view title, std::string_view target,
                           std::string_view comment, std::int32_t id, std::string_view dataLine)
    : TNRBObject(kPhoneKind, title, target, comment, id) {
    TPhoneObject::ReadDataLine(dataLine);
}

void TPhoneObject::ReadDataLine(std::string_view text) {
    DataLineReader r;
    if (!r.Open(text, DataLineTag(kPhoneKind))) {
        return;
    }
    extension_ = Cleaned(r.At(0));
    SetCategories(r.CategoriesAt(1));
}

std::string TPhoneObject::RecordText(int level) const {
    std::string out = HeaderLine(level);
    out.append(kLineEnd);
    DataLineBuilder(out, DataLineTag(kPhoneKind)).Field(extension_).Number(Categories());
    return out;
}

void TPhoneObject::SetupActionMenu(ActionMenu& menu) const {
    menu.HideAll();
    menu.dial = true;
}

void TPhoneObject::Activate() {
    Dial();
}

TEMailObject::TEMailObject(std::string_view title, std::string_view target,
                           std::string_view comment, std::int32_t id, std::string_view dataLine)
    : TCategoriesOnlyObject(kEMailKind, title, target, comment, id, dataLine) {}

void TEMailObject::SetupActionMenu(ActionMenu& menu) const {
    menu.HideAll();
    menu.sendMail = true;
}

void TEMailObject::Activate() {
    SendMail("");
}

TFaxObject::TFaxObject(std::string_view title, std::string_view target, std::string_view comment,
                       std::int32_t id, std::string_view dataLine)
    : TCategoriesOnlyObject(kFaxKind, title, target, comment, id, dataLine) {}

void TFaxObject::SetupActionMenu(ActionMenu& menu) const {
    menu.HideAll();
    menu.sendFax = true;
    menu.dial = true;
}

void TFaxObject::Activate() {
    SendFax("");
}

TWebObject::TWebObject(std::string_view title, std::string_view target, std::string_view comment,
                       std::int32_t id, std::string_view dataLine)
    : TCategoriesOnlyObject(kWebsiteKind, title, target, comment, id, dataLine) {}

void TWebObject::SetupActionMenu(ActionMenu& menu) const {
    menu.HideAll();
    menu.open = true;
    menu.browse = true;
}

void TWebObject::Activate() {
    Browse();
}

} // namespace quill
