// Calling the automation object by dispatch identifier, the conversion of a client's values,
// and the bus activation file that registers the program.

#include "core/automation/activation_file.h"
#include "core/automation/automation_host.h"
#include "core/automation/dispatch.h"
#include "core/automation/quil_app.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"
#include "core/util/atomic_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace quill {
namespace {

class TreeOnlyHost final : public IAutomationHost {
public:
    TOutline outline;
    TOutline& Outline() override { return outline; }
    bool ListIsActive() const override { return false; }
    std::vector<TNRBObject*> SelectedEntries() const override { return {}; }
    TOutlineNode* SelectedNode() const override { return outline.Root(); }
    void Locate(std::string_view) override {}
    void RefreshFolderTitles() override {}
    void PutTextOnClipboard(std::string_view) override {}
};

class DispatchTest : public ::testing::Test {
protected:
    test::FakeServices services;
    TreeOnlyHost host;
    TOutlineNode* root = host.outline.CreateRoot();
    TQuilApp app{host};

    std::optional<DispatchValue> Call(int id, int flags, std::vector<DispatchValue> args = {}) {
        return Invoke(app, id, flags, args);
    }
    // The message of the failure a call reports.
    std::string Failure(int id, int flags, std::vector<DispatchValue> args = {}) {
        try {
            Invoke(app, id, flags, args);
        } catch (const AutomationError& e) {
            return e.what();
        }
        return "no failure";
    }
};

TEST(DispatchTable, IdentifiersNamesAndTypesAreTheFixedOnes) {
    const auto& table = DispatchTable();
    ASSERT_EQ(table.size(), 19u);
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].id, static_cast<int>(i) + 1);
        EXPECT_EQ(FindDispatchMember(table[i].name), &table[i]);
    }
    const DispatchMember* insert = FindDispatchMember(1);
    ASSERT_NE(insert, nullptr);
    EXPECT_EQ(insert->name, "Insert");
    EXPECT_EQ(insert->arguments, "issss");
    const DispatchMember* field = FindDispatchMember("quilField");
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->id, 9);
    EXPECT_TRUE(field->put);
    EXPECT_EQ(field->arguments, "s");
    const DispatchMember* withId = FindDispatchMember(19);
    ASSERT_NE(withId, nullptr);
    EXPECT_EQ(withId->name, "ItemWithId");
    EXPECT_EQ(withId->result, "b");
    EXPECT_EQ(FindDispatchMember(0), nullptr);
    EXPECT_EQ(FindDispatchMember(20), nullptr);
    EXPECT_EQ(FindDispatchMember("quilid"), nullptr); // names are exact
}

TEST_F(DispatchTest, GetsAnswerWithTheMembersValueAndTypedAsTheTableSays) {
    EXPECT_EQ(Call(4, kDispatchPropertyGet), DispatchValue(std::int32_t{32892645}));
    EXPECT_EQ(Call(5, kDispatchPropertyGet), DispatchValue(std::int32_t{11}));
    // Clients commonly ask for method and get at once.
    EXPECT_EQ(Call(6, kDispatchMethod | kDispatchPropertyGet),
              DispatchValue(std::string("My Contacts")));
    EXPECT_EQ(Call(11, kDispatchPropertyGet, {std::int32_t{1}}), DispatchValue(false));
    EXPECT_EQ(Call(11, kDispatchPropertyGet, {std::int32_t{0}}), DispatchValue(true));
}

TEST_F(DispatchTest, MethodsAndPutsHaveNoValueAndChangeTheOutline) {
    EXPECT_EQ(Call(1, kDispatchMethod,
                   {std::int32_t{kFolderKind}, std::string("Clients"), std::string(""),
                    std::string("c"), std::string("")}),
              std::nullopt);
    ASSERT_EQ(root->ChildCount(), 1u);
    EXPECT_EQ(root->ChildAt(0)->Text(), "Clients");

    ASSERT_EQ(Call(11, kDispatchPropertyGet, {std::int32_t{1}}), DispatchValue(true));
    EXPECT_EQ(Call(6, kDispatchPropertyPut, {std::string("Customers")}), std::nullopt);
    EXPECT_EQ(root->ChildAt(0)->Text(), "Customers");
    // An indexed put: the index first, the new value last.
    EXPECT_EQ(Call(9, kDispatchPropertyPut, {std::string("Title"), std::string("x")}),
              std::nullopt);
    EXPECT_EQ(Call(8, kDispatchPropertyPut | kDispatchPropertyGet, {std::string("note")}),
              std::nullopt);
    EXPECT_EQ(root->ChildAt(0)->Item()->Comment(), "note");
}

TEST_F(DispatchTest, WrongCallsAreReportedWithTheRuntimesMessages) {
    EXPECT_EQ(Failure(20, kDispatchMethod),
              "Unknown name. (no member has the dispatch identifier 20)");
    EXPECT_EQ(Failure(0, kDispatchPropertyGet),
              "Unknown name. (no member has the dispatch identifier 0)");
    // A read-only property cannot be put, a method cannot be read, a property is no method.
    EXPECT_EQ(Failure(4, kDispatchPropertyPut, {std::int32_t{1}}), "Member not found. (quilID)");
    EXPECT_EQ(Failure(1, kDispatchPropertyGet), "Member not found. (Insert)");
    EXPECT_EQ(Failure(10, kDispatchMethod), "Member not found. (ItemCount)");
    EXPECT_EQ(Failure(6, 0), "Member not found. (quilTitle)");
    EXPECT_EQ(Failure(11, kDispatchPropertyGet), "Invalid number of parameters. (Items)");
    EXPECT_EQ(Failure(1, kDispatchMethod, {std::int32_t{0}}),
              "Invalid number of parameters. (Insert)");
    EXPECT_EQ(Failure(6, kDispatchPropertyPut), "Invalid number of parameters. (quilTitle)");
    // A value that does not convert is named by its member and position.
    EXPECT_EQ(Failure(11, kDispatchPropertyGet, {std::string("two")}),
              "Type mismatch. (Items, argument 1)");
    EXPECT_EQ(Failure(11, kDispatchPropertyGet, {std::int64_t{1} << 40}),
              "Overflow. (Items, argument 1)");
    EXPECT_EQ(Failure(1, kDispatchMethod,
                      {std::string("folder"), std::string("x"), std::string(), std::string(),
                       std::string()}),
              "Type mismatch. (Insert, argument 1)");
    // A member's own failure comes through too: the root kind cannot be inserted.
    EXPECT_NE(Failure(1, kDispatchMethod,
                      {std::int32_t{kRootKind}, std::string("x"), std::string(), std::string(),
                       std::string()})
                  .find("cannot be inserted"),
              std::string::npos);
}

TEST(DispatchConversion, NumbersTextsAndBooleansConvertAsAClientExpects) {
    EXPECT_EQ(DispatchToInteger(std::int64_t{-5}), -5);
    EXPECT_EQ(DispatchToInteger(std::string(" 42 ")), 42);
    EXPECT_EQ(DispatchToInteger(std::string("-7")), -7);
    EXPECT_EQ(DispatchToInteger(true), -1);
    EXPECT_EQ(DispatchToInteger(false), 0);
    EXPECT_EQ(DispatchToInteger(2.5), 2); // halves round to even
    EXPECT_EQ(DispatchToInteger(3.5), 4);
    EXPECT_THROW(DispatchToInteger(std::string("")), AutomationError);
    EXPECT_THROW(DispatchToInteger(std::string("4x")), AutomationError);
    EXPECT_THROW(DispatchToInteger(std::string("99999999999")), AutomationError);
    EXPECT_THROW(DispatchToInteger(1e300), AutomationError);
    EXPECT_EQ(DispatchToText(std::int32_t{12}), "12");
    EXPECT_EQ(DispatchToText(std::int64_t{-3}), "-3");
    EXPECT_EQ(DispatchToText(true), "True");
    EXPECT_EQ(DispatchToText(std::string("as is")), "as is");
}

TEST_F(DispatchTest, ArgumentsOfOtherTypesAreConvertedBeforeTheCall) {
    CreateItem(kPersonKind, "Ann", "", "", 77, "", root);
    EXPECT_EQ(Call(11, kDispatchPropertyGet, {std::string("1")}), DispatchValue(true));
    EXPECT_EQ(Call(6, kDispatchPropertyGet), DispatchValue(std::string("Ann")));
    EXPECT_EQ(Call(19, kDispatchPropertyGet, {std::int64_t{77}}), DispatchValue(true));
    // A number handed in for a text is its decimal form.
    Call(6, kDispatchPropertyPut, {std::int32_t{2024}});
    EXPECT_EQ(root->ChildAt(0)->Text(), "2024");
}

TEST(ActivationFile, NamesTheProgramWithTheAutomationSwitch) {
    EXPECT_EQ(ActivationFileText("/usr/bin/quillmere", ""),
              "[D-BUS Service]\nName=Quil.Application\nExec=/usr/bin/quillmere -AUTOMATION\n");
    EXPECT_EQ(ActivationFileText("/opt/q/quillmere", "/home/ann/contacts"),
              "[D-BUS Service]\nName=Quil.Application\n"
              "Exec=/usr/bin/env QUILLMERE_HOME=/home/ann/contacts /opt/q/quillmere -AUTOMATION\n");
}

TEST(ActivationFile, QuotesWordsThatTheBusWouldSplitOrInterpret) {
    EXPECT_EQ(ActivationWord("/a/b-c_d.e"), "/a/b-c_d.e");
    EXPECT_EQ(ActivationWord("/my files/q"), "'/my files/q'");
    EXPECT_EQ(ActivationWord("/it's"), "'/it'\\''s'");
    EXPECT_EQ(ActivationWord("$HOME\\x\"y"), "'$HOME\\x\"y'");
    EXPECT_EQ(ActivationWord(""), "''");
    EXPECT_EQ(ActivationFileText("/p q/quillmere", "/d e"),
              "[D-BUS Service]\nName=Quil.Application\n"
              "Exec=/usr/bin/env 'QUILLMERE_HOME=/d e' '/p q/quillmere' -AUTOMATION\n");
    // The file holds one line per key: a path with a line break cannot be registered.
    EXPECT_EQ(ActivationFileText("/a\nb", ""), "");
    EXPECT_EQ(ActivationFileText("/a", "/b\r"), "");
}

TEST(ActivationFile, IsWrittenIntoItsDirectoryAndRemovedAgain) {
    test::TempDir dir;
    const std::string services = ActivationDirectory(dir.path().string());
    EXPECT_EQ(services, (dir.path() / "dbus-1" / "services").string());
    std::string error;
    ASSERT_TRUE(WriteActivationFile(services, "first", &error)) << error;
    ASSERT_TRUE(WriteActivationFile(services, "second", &error)) << error;
    const std::string file =
        (std::filesystem::path(services) / "Quil.Application.service").string();
    EXPECT_EQ(ReadWholeFile(file), std::optional<std::string>("second"));
    ASSERT_TRUE(RemoveActivationFile(services, &error)) << error;
    EXPECT_FALSE(std::filesystem::exists(file));
    // Removing what is not there is no failure.
    EXPECT_TRUE(RemoveActivationFile(services, &error));
}

TEST(ActivationFile, AFailedWriteSaysWhy) {
    test::TempDir dir;
    const std::string blocker = dir.File("blocker");
    ASSERT_TRUE(WriteActivationFile(dir.path().string(), "x", nullptr));
    // A file where the directory should be.
    { std::ofstream(blocker) << "file"; }
    std::string error;
    EXPECT_FALSE(WriteActivationFile(blocker + "/services", "x", &error));
    EXPECT_NE(error.find("blocker"), std::string::npos);
}

} // namespace
} // namespace quill
