#include "core/editing/reminder_form.h"

#include "core/model/attachment_objects.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

using namespace std::chrono;

class ReminderFormTest : public ::testing::Test {
protected:
    ReminderFormTest() {
        services_.clock.today = 1997y / March / 14d;
        root_ = outline_.CreateRoot();
        person_ = CreateItem(kPersonKind, "Ann", "", "", 1, "", root_)->Node();
    }

    TReminderObject& Reminder(std::string_view title, std::string_view comment,
                              std::string_view dataLine) {
        auto* item = CreateItem(kReminderKind, title, "old target", comment, 2, dataLine, person_);
        return dynamic_cast<TReminderObject&>(*item);
    }

    test::FakeServices services_;
    TOutline outline_;
    TOutlineNode* root_ = nullptr;
    TOutlineNode* person_ = nullptr;
};

TEST_F(ReminderFormTest, OpensWithThePresetTitleOrTheReminderOwnTexts) {
    TReminderObject& r = Reminder("Dentist", "bring the card", "{Remd}1997,3,20,0~~0");
    const ReminderForm fresh = ReminderFormFor(r, true);
    EXPECT_EQ(fresh.title, "New Reminder");
    EXPECT_EQ(fresh.comment, "");
    const ReminderForm existing = ReminderFormFor(r, false);
    EXPECT_EQ(existing.title, "Dentist");
    EXPECT_EQ(existing.comment, "bring the card");
}

TEST_F(ReminderFormTest, NewReminderOfTodayIsDueAtOnceWithItsHolders) {
    // Without a stored date the reminder starts on today's date, once.
    TReminderObject& r = Reminder("New Reminder", "", "");
    EXPECT_EQ(r.RecurringDate().TargetDate(), 1997y / March / 14d);
    EXPECT_EQ(r.RecurringDate().RecurMode(), kRecurNever);

    ASSERT_TRUE(AcceptReminderForm(r, {"Call Bob", "about the boat"}));
    EXPECT_EQ(r.Title(), "Call Bob");
    EXPECT_EQ(r.Target(), "3/14/1997");
    EXPECT_EQ(r.Comment(), "about the boat");
    EXPECT_TRUE(r.Due());
    EXPECT_EQ(person_->Item()->DueCount(), 1);
    EXPECT_EQ(CountDueBelow(person_), 1);
}

TEST_F(ReminderFormTest, TargetIsTheDescriptionOfTheRecurringDate) {
    TReminderObject& r = Reminder("Rent", "", "{Remd}1997,3,28,5~~0");
    ASSERT_TRUE(AcceptReminderForm(r, {"Rent", ""}));
    EXPECT_EQ(r.Target(), "3/28/1997 and every following 4th Fri of the month");
    EXPECT_EQ(r.Target(), r.RecurringDate().Describe());
    EXPECT_FALSE(r.Due());
}

TEST_F(ReminderFormTest, DueMarkFollowsTheDateAgainstToday) {
    // Read on the day it names: due, and its holder is marked.
    TReminderObject& r = Reminder("Taxes", "", "{Remd}1997,3,14,2~~0");
    ASSERT_TRUE(r.Due());
    ASSERT_EQ(person_->Item()->DueCount(), 1);

    // The dialog moved the date on (Set Date or Advance); OK clears the mark.
    r.RecurringDate().Advance();
    ASSERT_TRUE(AcceptReminderForm(r, {"Taxes", ""}));
    EXPECT_FALSE(r.Due());
    EXPECT_EQ(person_->Item()->DueCount(), 0);
    EXPECT_EQ(r.Target(), "3/14/1998 and every following March 14th");

    // A date in the past is due as well.
    ASSERT_TRUE(r.RecurringDate().SetDate(1997y / March / 1d));
    ASSERT_TRUE(AcceptReminderForm(r, {"Taxes", ""}));
    EXPECT_TRUE(r.Due());
    EXPECT_EQ(person_->Item()->DueCount(), 1);
}

TEST_F(ReminderFormTest, EmptyTitleWritesNothing) {
    TReminderObject& r = Reminder("Dentist", "old comment", "{Remd}1997,3,14,0~~0");
    ASSERT_TRUE(r.Due());
    // The date changed in the dialog, but the texts and the mark stay as they were.
    ASSERT_TRUE(r.RecurringDate().SetDate(1997y / April / 1d));
    EXPECT_FALSE(AcceptReminderForm(r, {"", "new comment"}));
    EXPECT_EQ(r.Title(), "Dentist");
    EXPECT_EQ(r.Target(), "old target");
    EXPECT_EQ(r.Comment(), "old comment");
    EXPECT_TRUE(r.Due());
    EXPECT_EQ(person_->Item()->DueCount(), 1);
}

TEST_F(ReminderFormTest, TextsAreCleanedForTheRecord) {
    TReminderObject& r = Reminder("x", "", "");
    ASSERT_TRUE(AcceptReminderForm(r, {"a~~b", "line\r\nbreak"}));
    EXPECT_EQ(r.Title().find("~~"), std::string_view::npos);
    EXPECT_EQ(r.Comment().find('\n'), std::string_view::npos);
}

} // namespace
} // namespace quill
