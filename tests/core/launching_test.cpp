// The outward actions that need no conversation: dialing phones and faxes, launching
// documents and tool items, and the parameter rule shared with the tools list.

#include "core/model/attachment_objects.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/outline.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

using Calls = std::vector<std::string>;

class LaunchingTest : public ::testing::Test {
protected:
    test::FakeServices services;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();

    TNRBObject* Make(int kind, std::string_view title, std::string_view target,
                     std::string_view data = "", TOutlineNode* parent = nullptr) {
        return CreateItem(kind, title, target, "note", 0, data, parent ? parent : root);
    }
};

TEST(ToolParameterText, JoinsWithABlankWhenEitherPartIsThere) {
    EXPECT_EQ(ToolParameterText("", ""), "");
    EXPECT_EQ(ToolParameterText("-n", ""), "-n "); // an empty target leaves the blank
    EXPECT_EQ(ToolParameterText("", "ann@example.com"), " ann@example.com");
    EXPECT_EQ(ToolParameterText("-n", "x"), "-n x");
    EXPECT_EQ(DirectoryPart("/usr/bin/editor"), "/usr/bin/");
    EXPECT_EQ(DirectoryPart("editor"), "");
}

TEST_F(LaunchingTest, PhonesAndFaxesDialTheirNumberAsStored) {
    Make(kPhoneKind, "Home", "(555)123-4567")->Dial();
    Make(kFaxKind, "Office", "555-9999")->Dial();
    EXPECT_EQ(services.shell.calls, (Calls{"call (555)123-4567|Net Rowan Leaf|Home|note",
                                           "call 555-9999|Net Rowan Leaf|Office|note"}));
}

TEST_F(LaunchingTest, APersonDialsItsPrimaryPhoneAndNeverItsFax) {
    TNRBObject* ann = Make(kPersonKind, "Ann", "");
    Make(kFaxKind, "Home", "555-0000", "", ann->Node());
    auto* person = static_cast<TPersonObject*>(ann);
    person->SetPrimaryPhone("Home");
    person->Dial();
    EXPECT_TRUE(services.shell.calls.empty());
    Make(kPhoneKind, "Home", "555-1111", "", ann->Node());
    person->Dial();
    EXPECT_EQ(services.shell.calls, Calls{"call 555-1111|Net Rowan Leaf|Home|note"});
}

TEST_F(LaunchingTest, DocumentsOpenAndToolItemsStartWithTheirParameters) {
    Make(kDocumentKind, "Offer", "/home/ann/offer.odt")->Launch();
    Make(kToolKind, "New Editor", "ann@example.com", "{Tool}/usr/bin/editor~~-n")->Launch();
    Make(kToolKind, "Bare", "", "{Tool}/usr/bin/editor~~")->Launch();
    EXPECT_EQ(services.shell.calls, (Calls{"open /home/ann/offer.odt",
                                           "start /usr/bin/editor|-n ann@example.com|/usr/bin/",
                                           "start /usr/bin/editor||/usr/bin/"}));
}

TEST_F(LaunchingTest, ActivatingAPhoneDialsAndADocumentLaunches) {
    Make(kPhoneKind, "Home", "1")->Activate();
    Make(kDocumentKind, "Doc", "/tmp/a")->Activate();
    EXPECT_EQ(services.shell.calls, (Calls{"call 1|Net Rowan Leaf|Home|note", "open /tmp/a"}));
}

} // namespace
} // namespace quill
