// What a copied person or organization gives other programs: text lines and a vCard.

#include "core/exchange/contact_summary.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/outline.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cctype>

namespace quill {
namespace {

TEST(ContactSummary, NameAndPrimaryAddressPhoneAndMail) {
    test::FakeServices services;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();
    auto* ann = static_cast<TContactHolderObject*>(
        CreateItem(kPersonKind, "Ann Lee", "", "", 1, "{Pers}Ms.~~Ann~~~~Lee~~~~~~~~~~~~-1", root));
    ASSERT_NE(ann, nullptr);
    TOutlineNode* node = ann->Node();
    CreateItem(kAddressKind, "Home", "", "", 2, "{Addr}1 Main St~~Flat 2~~~~Leeds~~~~LS1~~UK~~0",
               node);
    CreateItem(kPhoneKind, "Old", "555-0199", "", 3, "{Phon}~~~~0", node);
    CreateItem(kPhoneKind, "Mobile", "555-0100", "", 4, "{Phon}~~~~0", node);
    CreateItem(kEMailKind, "Work", "ann@example.org", "", 5, "{Mail}0", node);
    // No primary yet: only the name.
    EXPECT_EQ(ContactSummaryText(*ann), "Ann Lee\n");
    ann->SetPrimaryAddress("Home");
    ann->SetPrimaryPhone("Mobile");
    ann->SetPrimaryEMail("Work");
    const std::string text = ContactSummaryText(*ann);
    EXPECT_EQ(text.find('\r'), std::string::npos) << text;
    EXPECT_TRUE(text.starts_with("Ann Lee\n1 Main St\nFlat 2\n")) << text;
    EXPECT_NE(text.find("Phone: 555-0100\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("555-0199"), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with("E-mail: ann@example.org\n")) << text;

    std::string card = ContactVCardText(*ann);
    for (char& c : card) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    EXPECT_TRUE(card.starts_with("begin:vcard")) << card;
    EXPECT_NE(card.find("lee;ann"), std::string::npos) << card;
    EXPECT_NE(card.find("ann@example.org"), std::string::npos) << card;

    // Other kinds give nothing: a folder copied stays the program's own.
    TNRBObject* folder = CreateItem(kFolderKind, "Family", "", "", 6, "{Fold}0", root);
    EXPECT_EQ(ContactSummaryText(*folder), "");
    EXPECT_EQ(ContactVCardText(*folder), "");
}

} // namespace
} // namespace quill
