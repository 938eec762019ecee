#include "core/model/attachment_objects.h"

#include "core/model/group_objects.h"
#include "core/model/outline.h"
#include "core/model/record_text.h"
#include "core/services.h"

namespace quill {

TDocObject::TDocObject(std::string_view title, std::string_view target, std::string_view comment,
                       std::int32_t id, std::string_view dataLine)
    : TCategoriesOnlyObject(kDocumentKind, title, target, comment, id, dataLine) {
    // Each document adds its own icon, even when another names the same file.
    if (!Target().empty()) {
        iconIndex_ = CurrentServices().icons->AddFileIcon(Target());
    }
}

void TDocObject::SetupActionMenu(ActionMenu& menu) const {
    menu.HideAll();
    menu.launch = true;
}

void TDocObject::Activate() {
    Launch();
}

void TDocObject::UpdateIcon() {
    if (Target().empty()) {
        return;
    }
    IIconProvider& icons = *CurrentServices().icons;
    if (iconIndex_ == kGenericFileImage) {
        iconIndex_ = icons.AddFileIcon(Target());
    } else {
        icons.ReplaceFileIcon(iconIndex_, Target());
    }
    NotifyChanged();
}

TReminderObject::TReminderObject(std::string_view title, std::string_view target,
                                 std::string_view comment, std::int32_t id,
                                 std::string_view dataLine)
    : TNRBObject(kReminderKind, title, target, comment, id), date_(false) {
    TReminderObject::ReadDataLine(dataLine);
}

int TReminderObject::GetImageIndex() const {
    return date_.IsDueOn(CurrentServices().clock->Today()) ? kDueReminderImage : kReminderKind;
}

void TReminderObject::ReadDataLine(std::string_view text) {
    DataLineReader r;
    if (!r.Open(text, DataLineTag(kReminderKind))) {
        return;
    }
    date_.FromText(r.At(0));
    SetCategories(r.CategoriesAt(1));
    UpdateDue();
}

bool TReminderObject::AppendDataLine(std::string& out) const {
    DataLineBuilder(out, DataLineTag(kReminderKind)).Field(date_.ToText()).Number(Categories());
    return true;
}

void TReminderObject::SetupActionMenu(ActionMenu& menu) const {
    menu.HideAll();
    menu.advanceDate = true;
}

void TReminderObject::UpdateDue() {
    SetDue(date_.IsDueOn(CurrentServices().clock->Today()));
}

void TReminderObject::RefreshViews() {
    TOutlineNode* holder = Node();
    if (!holder) {
        return;
    }
    INavigator& navigator = *CurrentServices().navigator;
    TOutline* outline = holder->Outline();
    navigator.SelectNode(outline ? outline->Root() : nullptr);
    navigator.SelectNode(holder);
}

void TReminderObject::Activate() {
    Edit();
    RefreshViews();
}

void TReminderObject::AdvanceDate() {
    date_.Advance();
    SetTarget(date_.Describe());
    UpdateDue();
    RefreshViews();
}

TToolObject::TToolObject(std::string_view title, std::string_view target, std::string_view comment,
                         std::int32_t id, std::string_view dataLine)
    : TNRBObject(kToolKind, title, target, comment, id) {
    TToolObject::ReadDataLine(dataLine);
    iconIndex_ = CurrentServices().icons->ToolIconIndex(program_);
}

void TToolObject::ReadDataLine(std::string_view text) {
    DataLineReader r;
    if (!r.Open(text, DataLineTag(kToolKind))) {
        return;
    }
    program_ = Cleaned(r.At(0));
    if (r.Has(1)) {
        parameters_ = Cleaned(r.At(1));
    }
    SetCategories(r.CategoriesAt(2));
}

bool TToolObject::AppendDataLine(std::string& out) const {
    DataLineBuilder(out, DataLineTag(kToolKind))
        .Field(program_)
        .Field(parameters_)
        .Number(Categories());
    return true;
}

void TToolObject::SetupActionMenu(ActionMenu& menu) const {
    menu.HideAll();
    menu.launch = true;
}

void TToolObject::Activate() {
    Launch();
}

void TDocObject::Launch() {
    CurrentServices().shell->OpenDocument(Target());
}

void TToolObject::Launch() {
    CurrentServices().shell->StartProgram(program_, ToolParameterText(parameters_, Target()),
                                          DirectoryPart(program_));
}

std::string ToolParameterText(std::string_view parameters, std::string_view target) {
    if (parameters.empty() && target.empty()) {
        return {};
    }
    std::string text(parameters);
    text += ' ';
    text += target;
    return text;
}

std::string DirectoryPart(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

} // namespace quill
