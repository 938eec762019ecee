#pragma once
// The reminder editor's texts and what OK writes into the reminder. The dialog's "Set
// Date..." and "Advance" act on the reminder's recurring date directly and are not part of
// this: they stay even when the editor is cancelled.

#include <string>

namespace quill {

class TReminderObject;

inline constexpr const char* kNewReminderTitle = "New Reminder";

struct ReminderForm {
    std::string title;
    std::string comment;
};

// What the editor opens with: a new reminder is offered the title "New Reminder" and an
// empty comment, an existing one its own title and comment.
ReminderForm ReminderFormFor(const TReminderObject& item, bool isNew);

// OK: with a non-empty title, the title, the date's description as Target and the
// comment are written and the due mark follows today's date against the reminder's date;
// true. With an empty title nothing is written; false.
bool AcceptReminderForm(TReminderObject& item, const ReminderForm& form);

} // namespace quill
