#include "core/editing/reminder_form.h"

#include "core/model/attachment_objects.h"

namespace quill {

ReminderForm ReminderFormFor(const TReminderObject& item, bool isNew) {
    if (isNew) {
        return {kNewReminderTitle, {}};
    }
    return {std::string(item.Title()), std::string(item.Comment())};
}

bool AcceptReminderForm(TReminderObject& item, const ReminderForm& form) {
    if (form.title.empty()) {
        return false;
    }
    item.SetTitle(form.title);
    // The list shows Target; it carries the whole description, as Advance Date writes it,
    // so the rule stays visible whichever way the date was last changed.
    item.SetTarget(item.RecurringDate().Describe());
    item.SetComment(form.comment);
    item.UpdateDue();
    return true;
}

} // namespace quill
