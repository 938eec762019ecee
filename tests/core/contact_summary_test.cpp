// What a copied person or organization gives other programs: text lines and a vCard.

#include "core/exchange/contact_summary.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/outline.h"
#include "test_support.h"

#include <gtest/gtest.h>

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

    // The card is a standard 3.0 one that address books take when it is pasted.
    const std::string card = ContactVCardText(*ann, {"Friends"});
    EXPECT_TRUE(card.starts_with("BEGIN:VCARD\r\nVERSION:3.0\r\n")) << card;
    EXPECT_TRUE(card.ends_with("\r\nEND:VCARD\r\n")) << card;
    EXPECT_NE(card.find("\r\nFN:Ann Lee\r\n"), std::string::npos) << card;
    EXPECT_NE(card.find("\r\nN:Lee;Ann;;Ms.;\r\n"), std::string::npos) << card;
    // Both address lines in the street, escaped as 3.0 wants them; types and the primary.
    EXPECT_NE(card.find(".ADR;TYPE=home,pref:;;1 Main St\\nFlat 2;Leeds;;LS1;UK\r\n"),
              std::string::npos)
        << card;
    EXPECT_NE(card.find(".TEL;TYPE=cell,pref:555-0100\r\n"), std::string::npos) << card;
    EXPECT_NE(card.find(".EMAIL;TYPE=work,pref:ann@example.org\r\n"), std::string::npos) << card;
    EXPECT_NE(card.find("\r\nCATEGORIES:Friends,"), std::string::npos) << card;
    // Not the program's own exchange form.
    EXPECT_EQ(card.find("begin:vcard"), std::string::npos) << card;
    EXPECT_EQ(card.find("VERSION:2.1"), std::string::npos) << card;

    // Other kinds give nothing: a folder copied stays the program's own.
    TNRBObject* folder = CreateItem(kFolderKind, "Family", "", "", 6, "{Fold}0", root);
    EXPECT_EQ(ContactSummaryText(*folder), "");
    EXPECT_EQ(ContactVCardText(*folder), "");
}

} // namespace
} // namespace quill
