#include "core/model/nrb_object.h"
#include "core/util/prefetch.h"

#include "core/model/locate.h"

#include "core/exchange/html_escape.h"
#include "core/model/outline.h"
#include "core/model/record_text.h"
#include "core/services.h"
#include "core/util/ascii.h"
#include "core/util/text_encoding.h"

#include <algorithm>
#include <array>

namespace quill {

CompactString Cleaned(std::string_view text) {
    return IsCleanField(text) ? CompactString(text) : CompactString(CleanField(text));
}

TNRBObject::TNRBObject(int kind, std::string_view title, std::string_view target,
                       std::string_view comment, std::int32_t id)
    : id_(id), kind_(static_cast<std::uint8_t>(kind)), title_(Cleaned(title)),
      target_(Cleaned(target)), comment_(Cleaned(comment)) {}

TNRBObject::~TNRBObject() {
    SetDue(false);
    // Children go in reverse, so that no child outlives a sibling it was added after.
    children_.clear();
}

void TNRBObject::SetCategories(std::int32_t categories) {
    if (categories_ != categories) {
        categories_ = categories;
        NotifyChanged();
    }
}

bool TNRBObject::InCategory(int category) const {
    if (category < 1 || category > 32) {
        return false;
    }
    return (static_cast<std::uint32_t>(categories_) >> (category - 1)) & 1u;
}

void TNRBObject::SetTitle(std::string_view title) {
    const CompactString clean = Cleaned(title);
    const bool captionFollows = node_ && node_->Text() == title_.view();
    title_ = clean;
    if (captionFollows) {
        TOutline::SetNodeText(node_, clean);
        // Sorted with the new title in place, so the renamed node lands where it belongs.
        if (TOutlineNode* parent = node_->Parent()) {
            TOutline::SortChildren(parent);
        }
    }
    NotifyChanged();
}

void TNRBObject::SetTarget(std::string_view target) {
    target_ = Cleaned(target);
    NotifyChanged();
}

void TNRBObject::SetComment(std::string_view comment) {
    comment_ = Cleaned(comment);
    NotifyChanged();
}

void TNRBObject::SetNode(TOutlineNode* node) {
    if (due_) {
        TOutline::ShiftDueMarks(node_, -1);
        TOutline::ShiftDueMarks(node, +1);
    }
    node_ = node;
}

void TNRBObject::SetDue(bool due) {
    if (due == due_) {
        return;
    }
    TOutline::ShiftDueMarks(node_, due ? +1 : -1);
    due_ = due;
}

void TNRBObject::AdjustDueCount(int delta) {
    dueCount_ += delta;
}

TNRBObject* TNRBObject::ChildAt(std::size_t position) const {
    return position < children_.size() ? children_[position] : nullptr;
}

int TNRBObject::ChildIndex(const TNRBObject* child) const {
    for (std::size_t i = 0; i < children_.size(); ++i) {
        if (children_[i] == child) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

namespace {

// The holder's node, when this item's Children are what a view of that node lists.
TOutline* ListingOutline(const TNRBObject* item) {
    TOutlineNode* node = item->Node();
    return (node && node->Item() == item) ? node->Outline() : nullptr;
}

} // namespace

TNRBObject* TNRBObject::AddChild(std::unique_ptr<TNRBObject> child) {
    TOutline* outline = ListingOutline(this);
    const int row = static_cast<int>(children_.size());
    if (outline) {
        outline->Notify([&](IOutlineObserver& o) { o.ItemsAboutToBeAdded(node_, row, row); });
    }
    TNRBObject* added = children_.push_back(std::move(child));
    if (outline) {
        outline->Notify([&](IOutlineObserver& o) { o.ItemsAdded(node_, row, row); });
    }
    return added;
}

std::unique_ptr<TNRBObject> TNRBObject::UnlinkChild(TNRBObject* child) {
    const int row = ChildIndex(child);
    if (row < 0) {
        return nullptr;
    }
    TOutline* outline = ListingOutline(this);
    if (outline) {
        outline->Notify([&](IOutlineObserver& o) { o.ItemsAboutToBeRemoved(node_, row, row); });
    }
    std::unique_ptr<TNRBObject> owned = children_.take(static_cast<std::size_t>(row));
    if (outline) {
        outline->Notify([&](IOutlineObserver& o) { o.ItemsRemoved(node_, row, row); });
    }
    return owned;
}

void TNRBObject::RemoveChild(TNRBObject* child) {
    // Destroyed after it left the list: its due mark comes off its holder's chain then.
    std::unique_ptr<TNRBObject> owned = UnlinkChild(child);
}

TNRBObject* TNRBObject::FindChild(std::string_view title, int kind) const {
    if (title.empty()) {
        return nullptr;
    }
    for (TNRBObject* child : children_) {
        if (child->Kind() == kind && child->Title() == title) {
            return child;
        }
    }
    // Child nodes hold tree items only: a contact point or an attachment is never among them,
    // and an organization's thousands of persons need not be looked through for its phone.
    if (node_ && IsTreeKind(kind)) {
        for (std::size_t i = 0; i < node_->ChildCount(); ++i) {
            TNRBObject* item = node_->ChildAt(i)->Item();
            if (item && item->Kind() == kind && item->Title() == title) {
                return item;
            }
        }
    }
    return nullptr;
}

TNRBObject* TNRBObject::FindChildByWord(std::string_view lowerText) const {
    std::string lowered;
    for (TNRBObject* child : children_) {
        if (MatchesAtWordStartOf(child->Title(), lowerText, lowered)) {
            return child;
        }
    }
    return nullptr;
}

void TNRBObject::ListChildTitles(int kind, std::vector<std::string>& list) const {
    for (const TNRBObject* child : children_) {
        if (child->Kind() == kind) {
            list.emplace_back(child->Title());
        }
    }
    if (kind == kWebsiteKind && node_ && node_->Item() == this) {
        for (std::size_t i = 0; i < node_->ChildCount(); ++i) {
            const TNRBObject* item = node_->ChildAt(i)->Item();
            if (item && item->Kind() == kWebsiteKind) {
                list.emplace_back(item->Title());
            }
        }
    }
}

void TNRBObject::AppendRecord(std::string& out, int level) const {
    AppendHeaderLine(out, level, kind_, title_, target_, comment_, id_);
    const std::size_t lineBreak = out.size();
    out.append(kLineEnd);
    if (!AppendDataLine(out)) {
        out.resize(lineBreak);
    }
}

void TNRBObject::PrefetchRecord() const {
    PrefetchForReading(title_.Storage());
    PrefetchForReading(target_.Storage());
    PrefetchForReading(comment_.Storage());
}

bool TNRBObject::AppendDataLine(std::string&) const {
    return false;
}

void TNRBObject::NotifyChanged() {
    if (!node_) {
        return;
    }
    if (TOutline* outline = node_->Outline()) {
        outline->Notify([this](IOutlineObserver& o) { o.ItemChanged(this); });
    }
}

// The virtual operations' base behaviour.

int TNRBObject::GetImageIndex() const {
    return kind_;
}

void TNRBObject::ReadDataLine(std::string_view) {}

std::string TNRBObject::RecordText(int level) const {
    std::string out;
    AppendRecord(out, level);
    return out;
}

void TNRBObject::SetupActionMenu(ActionMenu& menu) const {
    menu.HideAll();
    menu.open = true;
}

int TNRBObject::GetSelectedIndex() const {
    return kind_ == kFolderKind ? kOpenFolderImage : kind_;
}

bool TNRBObject::EditNew(TOutlineNode* node) {
    CurrentServices().navigator->BeginEditCaption(node);
    return true;
}

bool TNRBObject::ReadCSVRecord(const std::vector<std::string>&, const std::vector<std::string>&) {
    return false;
}

std::string TNRBObject::CSVFieldText(std::string_view) const {
    return {};
}

void TNRBObject::ReadVCard(const TCard&) {}

void TNRBObject::Activate() {
    CurrentServices().navigator->SelectNode(node_);
}

void TNRBObject::Edit() {}
void TNRBObject::SendMail(std::string_view) {}
void TNRBObject::SendFax(std::string_view) {}
void TNRBObject::Dial() {}
void TNRBObject::Browse() {}
void TNRBObject::AdvanceDate() {}
void TNRBObject::Launch() {}
// Phones, faxes, reminders, tools and every kind without a form of its own: the title in
// bold, then the target and the comment.
void TNRBObject::WriteHTMLBody(std::ostream& out, bool) const {
    WriteHtml(out, "<em><strong>", HtmlText{Title()}, "</strong></em> ", HtmlText{Target()});
    if (!Comment().empty()) {
        WriteHtml(out, " - ", HtmlText{Comment()});
    }
    WriteHtml(out, "<br>", kHtmlLineEnd);
}
void TNRBObject::WriteHTMLIndexEntry(std::ostream&, std::string_view) const {}
bool TNRBObject::ShowsInHTMLIndex() const {
    return true;
}
FileResult TNRBObject::SaveVCardFile(const std::string&) const {
    return {};
}
std::string TNRBObject::VCardLine() const {
    return {};
}

void TNRBObject::CopyToClipboard() const {
    std::string record = RecordText(1);
    record.push_back('\0');
    CurrentServices().clipboard->StoreRecord(record, ClipboardText());
}

std::string TNRBObject::ClipboardText() const {
    return std::string(target_);
}

bool ItemSortsBefore(const TNRBObject& a, const TNRBObject& b) {
    const bool aFolder = a.Kind() == kFolderKind;
    const bool bFolder = b.Kind() == kFolderKind;
    if (aFolder != bFolder) {
        return aFolder;
    }
    return CompareIgnoreAsciiCase(a.Title(), b.Title()) < 0;
}

bool IsURL(std::string_view text) {
    // "https:" joins the classic schemes: secure sites are what users have today.
    static constexpr std::array<std::string_view, 8> kSchemes{
        "http:", "https:", "wais:", "news:", "ftp:", "mailto:", "gopher:", "telnet:"};
    if (text.size() <= 7) {
        return false;
    }
    return std::any_of(kSchemes.begin(), kSchemes.end(), [&](std::string_view scheme) {
        return StartsWithIgnoreAsciiCase(text, scheme);
    });
}

bool IsInternetAddress(std::string_view text) {
    return text.find('@') != std::string_view::npos;
}

} // namespace quill
