#include "core/model/contact_point_objects.h"

#include "core/services.h"

#include "core/comm/browser_dde.h"
#include "core/comm/email.h"

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
        AppendLine(r.At(i));
    }
    CompactString* place[] = {&city_, &state_, &postCode_, &country_};
    for (std::size_t i = 0; i < 4; ++i) {
        if (r.Has(3 + i)) {
            *place[i] = Cleaned(r.At(3 + i));
        }
    }
    SetCategories(r.CategoriesAt(7));
}

bool TAddressObject::AppendDataLine(std::string& out) const {
    DataLineBuilder b(out, DataLineTag(kAddressKind));
    for (std::size_t i = 0; i < 3; ++i) {
        b.Field(Line(i));
    }
    b.Field(city_).Field(state_).Field(postCode_).Field(country_).Number(Categories());
    return true;
}

void TAddressObject::SetupActionMenu(ActionMenu& menu) const {
    menu.HideAll();
}

std::string TAddressObject::ClipboardText() const {
    std::string text;
    for (std::size_t i = 0, count = LineCount(); i < count; ++i) {
        if (!Line(i).empty()) {
            text.append(Line(i)).append("\r\n");
        }
    }
    text.append(city_).append(", ").append(state_).append(" ").append(postCode_).append("\r\n");
    text.append(country_).append("\r\n");
    return text;
}

void TAddressObject::SetLines(const std::vector<std::string>& lines) {
    for (CompactString& line : firstLines_) {
        line = CompactString();
    }
    moreLines_.reset();
    for (const std::string& line : lines) {
        AppendLine(line);
    }
    NotifyChanged();
}

void TAddressObject::PadLines() {
    while (LineCount() < 3) {
        AppendLine({});
    }
}

std::size_t TAddressObject::LineCount() const {
    if (moreLines_) {
        return 3 + moreLines_->size();
    }
    std::size_t count = 0;
    while (count < 3 && !firstLines_[count].IsNull()) {
        ++count;
    }
    return count;
}

void TAddressObject::AppendLine(std::string_view line) {
    if (const std::size_t count = LineCount(); count < 3) {
        firstLines_[count] = Cleaned(line);
    } else {
        if (!moreLines_) {
            moreLines_ = std::make_unique<std::vector<CompactString>>();
        }
        moreLines_->push_back(Cleaned(line));
    }
}

std::string_view TAddressObject::Line(std::size_t i) const {
    if (i < 3) {
        return firstLines_[i].view(); // a null place reads as an empty line
    }
    return moreLines_ && i - 3 < moreLines_->size() ? (*moreLines_)[i - 3].view()
                                                    : std::string_view{};
}

std::vector<std::string_view> TAddressObject::Lines() const {
    const std::size_t count = LineCount();
    std::vector<std::string_view> lines;
    lines.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        lines.push_back(Line(i));
    }
    return lines;
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

bool TPhoneObject::AppendDataLine(std::string& out) const {
    DataLineBuilder(out, DataLineTag(kPhoneKind)).Field(extension_).Number(Categories());
    return true;
}

void TPhoneObject::SetupActionMenu(ActionMenu& menu) const {
    menu.HideAll();
    menu.dial = true;
}

namespace {

// The program's name as the telephony service shows it to the user's dialer.
constexpr std::string_view kDialingApplication = "Net Rowan Leaf";

void Call(const TNRBObject& item) {
    CurrentServices().shell->MakeCall(item.Target(), kDialingApplication, item.Title(),
                                      item.Comment());
}

} // namespace

void TPhoneObject::Dial() {
    Call(*this);
}

void TFaxObject::Dial() {
    Call(*this);
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

void TEMailObject::SendMail(std::string_view text) {
    SendMailFrom(*this, text);
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

void TFaxObject::SendFax(std::string_view text) {
    SendFaxFrom(*this, text);
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

void TWebObject::Browse() {
    TBrowserDDE& browser = *CurrentServices().browser;
    browser.AutoLoad = true;
    browser.OpenURL(Target());
}

} // namespace quill
