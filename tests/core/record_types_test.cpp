// Record types of delimited text and the field chooser both wizards share.

#include "core/exchange/record_types.h"
#include "core/model/item_kind.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quill {
namespace {

using Fields = std::vector<std::string>;

TEST(RecordTypeTest, TypesStandInListOrderWithTheirKinds) {
    const std::vector<std::pair<std::string_view, int>> expected{
        {"Person", kPersonKind},
        {"Organization", kOrganizationKind},
        {"Website Addresses", kWebsiteKind},
        {"Addresses", kAddressKind},
        {"Phone Numbers", kPhoneKind},
        {"E-mail Addresses", kEMailKind},
        {"FAX Numbers", kFaxKind}};
    ASSERT_EQ(RecordTypes().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(RecordTypeAt(i)->name, expected[i].first);
        EXPECT_EQ(RecordTypeAt(i)->kind, expected[i].second);
        EXPECT_EQ(RecordTypeOfKind(expected[i].second), RecordTypeAt(i));
    }
    EXPECT_EQ(RecordTypeAt(7), nullptr);
    EXPECT_EQ(RecordTypeOfKind(kFolderKind), nullptr);
}

TEST(RecordTypeTest, EveryOfferedFieldIsAKnownFieldOnce) {
    for (const TRecordType& type : RecordTypes()) {
        ASSERT_FALSE(type.fields.empty()) << type.name;
        EXPECT_EQ(type.fields.front(), "Title") << type.name;
        for (std::size_t i = 0; i < type.fields.size(); ++i) {
            const auto field = FindCSVField(type.fields[i]);
            ASSERT_TRUE(field) << type.fields[i];
            EXPECT_EQ(CSVFieldName(*field), type.fields[i]);
            for (std::size_t j = i + 1; j < type.fields.size(); ++j) {
                EXPECT_NE(type.fields[i], type.fields[j]) << type.name;
            }
        }
    }
    EXPECT_EQ(RecordTypeOfKind(kPersonKind)->fields.size(), 17u);
    EXPECT_EQ(RecordTypeOfKind(kOrganizationKind)->fields.size(), 13u);
    // Phones offer the extension before the comment.
    const auto phone = RecordTypeOfKind(kPhoneKind)->fields;
    EXPECT_EQ(Fields(phone.begin(), phone.end()),
              (Fields{"Title", "Phone Number", "Extension", "Comment"}));
    EXPECT_FALSE(FindCSVField("title")) << "names match exactly";
    EXPECT_FALSE(FindCSVField("E-mail Address"));
}

TEST(RecordTypeTest, MovedFieldsGoToTheTopInSourceOrder) {
    Fields available{"Title", "Salutation", "First Name"};
    Fields chosen;
    // Selected in the list from the bottom up or not, the order is the list's.
    MoveSelectedFields(available, {true, true, false}, chosen);
    EXPECT_EQ(chosen, (Fields{"Title", "Salutation"}));
    EXPECT_EQ(available, (Fields{"First Name"}));

    Fields from{"A", "B", "C", "D"};
    Fields to{"X", "Y"};
    MoveSelectedFields(from, {false, true, false, true}, to);
    EXPECT_EQ(to, (Fields{"B", "D", "X", "Y"}));
    EXPECT_EQ(from, (Fields{"A", "C"}));

    // Flags missing for the last entries leave them where they are.
    MoveSelectedFields(from, {true}, to);
    EXPECT_EQ(to, (Fields{"A", "B", "D", "X", "Y"}));
    EXPECT_EQ(from, (Fields{"C"}));
}

TEST(RecordTypeTest, ChooserFollowsTheWizardEvents) {
    TFieldChooser chooser;
    chooser.SetRecordType(*RecordTypeOfKind(kEMailKind));
    EXPECT_EQ(chooser.Available(), (Fields{"Title", "E-Mail Address", "Comment"}));
    EXPECT_FALSE(chooser.CanProceed());

    chooser.ChooseSelected({false, true, true});
    EXPECT_EQ(chooser.Chosen(), (Fields{"E-Mail Address", "Comment"}));
    EXPECT_TRUE(chooser.CanProceed());

    chooser.MoveChosen(1, 0);
    EXPECT_EQ(chooser.Chosen(), (Fields{"Comment", "E-Mail Address"}));
    chooser.MoveChosen(0, 5); // dropped on an empty area
    EXPECT_EQ(chooser.Chosen(), (Fields{"Comment", "E-Mail Address"}));

    chooser.UnchooseAt(1);
    EXPECT_EQ(chooser.Available(), (Fields{"E-Mail Address", "Title"}));
    EXPECT_EQ(chooser.Chosen(), (Fields{"Comment"}));
    chooser.UnchooseAt(3);
    EXPECT_EQ(chooser.Chosen(), (Fields{"Comment"}));
    chooser.UnchooseAt(0);
    EXPECT_FALSE(chooser.CanProceed());

    // A new record type discards the choice.
    chooser.ChooseSelected({true});
    chooser.SetRecordType(*RecordTypeOfKind(kFaxKind));
    EXPECT_TRUE(chooser.Chosen().empty());
    EXPECT_EQ(chooser.Available(), (Fields{"Title", "Fax Number", "Comment"}));
    EXPECT_EQ(chooser.RecordType(), RecordTypeOfKind(kFaxKind));
}

TEST(RecordTypeTest, TheIgnoredFieldIsChosenAsOftenAsWantedAndNeverLeavesTheList) {
    Fields from{"A", "(Ignore)"};
    Fields to;
    MoveSelectedFields(from, {true, true}, to, "(Ignore)");
    EXPECT_EQ(to, (Fields{"A", "(Ignore)"}));
    EXPECT_EQ(from, (Fields{"(Ignore)"}));

    TFieldChooser chooser;
    chooser.SetRepeatableField("(Ignore)");
    chooser.SetRecordType(*RecordTypeOfKind(kEMailKind));
    EXPECT_EQ(chooser.Available(), (Fields{"Title", "E-Mail Address", "Comment", "(Ignore)"}));
    chooser.ChooseSelected({false, false, false, true});
    chooser.ChooseSelected({false, false, false, true});
    EXPECT_EQ(chooser.Chosen(), (Fields{"(Ignore)", "(Ignore)"}));
    EXPECT_EQ(chooser.Available().back(), "(Ignore)");
    // Skipping columns alone imports nothing.
    EXPECT_FALSE(chooser.CanProceed());

    // Dropped onto the chosen list: in at the entry it lands on, or at the end.
    chooser.ChooseSelectedAt({false, true}, 1);
    EXPECT_EQ(chooser.Chosen(), (Fields{"(Ignore)", "E-Mail Address", "(Ignore)"}));
    EXPECT_TRUE(chooser.CanProceed());
    chooser.ChooseSelectedAt({true, false, true}, 99);
    EXPECT_EQ(chooser.Chosen(),
              (Fields{"(Ignore)", "E-Mail Address", "(Ignore)", "Title", "(Ignore)"}));
    EXPECT_EQ(chooser.Available(), (Fields{"Comment", "(Ignore)"}));

    // Given back, a skipped column only leaves the chosen list; a field returns to the top.
    chooser.UnchooseAt(4);
    chooser.UnchooseAt(0);
    EXPECT_EQ(chooser.Chosen(), (Fields{"E-Mail Address", "(Ignore)", "Title"}));
    EXPECT_EQ(chooser.Available(), (Fields{"Comment", "(Ignore)"}));
    chooser.UnchooseAt(2);
    EXPECT_EQ(chooser.Available(), (Fields{"Title", "Comment", "(Ignore)"}));

    // Without a repeatable field the list is the record type's alone.
    TFieldChooser plain;
    plain.SetRecordType(*RecordTypeOfKind(kEMailKind));
    EXPECT_EQ(plain.Available().size(), 3u);
}

} // namespace
} // namespace quill
