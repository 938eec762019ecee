// Mail and faxes through the messaging service: the limits, logon, name resolution, the
// three mail methods, several selected recipients, attachments and the fax error.

#include "comm_fakes.h"
#include "core/comm/address_book.h"
#include "core/comm/browser_dde.h"
#include "core/comm/email.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "core/storage/profile_file.h"
#include "test_support.h"

#include <fstream>

#include <gtest/gtest.h>

namespace quill {
namespace {

using Lines = std::vector<std::string>;

std::vector<std::string> Numbered(const std::string& stem, std::size_t count) {
    std::vector<std::string> list;
    for (std::size_t i = 0; i < count; ++i) {
        list.push_back(stem + std::to_string(i) + "@example.org");
    }
    return list;
}

std::vector<std::string> Names(const MapiMessage& message) {
    std::vector<std::string> names;
    for (const MapiRecipDesc& r : message.recips) {
        names.push_back(std::to_string(r.recipClass) + " " + r.name + " <" + r.address + ">");
    }
    return names;
}

TEST(TEmail, AcceptsFiveHundredTwelveRecipientsAndRefusesOneMore) {
    test::FakeMapi mapi;
    {
        TEmail mail(mapi);
        mail.Recipient = Numbered("to", 500);
        mail.CC = Numbered("cc", 10);
        mail.Bcc = Numbered("bcc", 2);
        EXPECT_EQ(mail.Send(), SUCCESS_SUCCESS);
        ASSERT_EQ(mapi.sent.size(), 1u);
        EXPECT_EQ(mapi.sent[0].recips.size(), 512u);
        EXPECT_EQ(mapi.sent[0].recips[511].recipClass, MAPI_BCC);
    }
    TEmail mail(mapi);
    mail.Recipient = Numbered("to", 500);
    mail.CC = Numbered("cc", 10);
    mail.Bcc = Numbered("bcc", 3);
    EXPECT_EQ(mail.Send(), MAPI_E_TOO_MANY_RECIPIENTS);
    EXPECT_EQ(mapi.sent.size(), 1u);
    EXPECT_EQ(mapi.log.back(), "logoff 42"); // nothing asked of the service for the refusal
    EXPECT_EQ(mapi.buffersOut, 0);
}

TEST(TEmail, AcceptsThirtyTwoAttachmentsAndRefusesOneMore) {
    test::TempDir dir;
    std::vector<std::string> files;
    for (int i = 0; i < 33; ++i) {
        files.push_back(dir.File("file" + std::to_string(i) + ".txt"));
        std::ofstream(files.back()) << "x";
    }
    test::FakeMapi mapi;
    TEmail mail(mapi);
    mail.Recipient = {"ann@example.org"};
    mail.Attachment.assign(files.begin(), files.begin() + 32);
    EXPECT_EQ(mail.Send(), SUCCESS_SUCCESS);
    ASSERT_EQ(mapi.sent.size(), 1u);
    ASSERT_EQ(mapi.sent[0].files.size(), 32u);
    EXPECT_EQ(mapi.sent[0].files[31].pathName, files[31]);
    EXPECT_EQ(mapi.sent[0].files[0].position, 0xFFFFFFFFu);
    mail.Attachment = files;
    EXPECT_EQ(mail.Send(), MAPI_E_TOO_MANY_FILES);
    EXPECT_EQ(mapi.sent.size(), 1u);
}

TEST(TEmail, AMissingAttachmentEndsTheSendWithoutAMessage) {
    test::TempDir dir;
    const std::string present = dir.File("present.txt");
    std::ofstream(present) << "x";
    test::FakeMapi mapi;
    TEmail mail(mapi);
    mail.Recipient = {"ann@example.org"};
    mail.Attachment = {present, dir.File("gone.txt")};
    EXPECT_EQ(mail.Send(), MAPI_E_ATTACHMENT_NOT_FOUND);
    EXPECT_TRUE(mapi.sent.empty());
    EXPECT_EQ(mapi.log.back(), "logoff 42");
    EXPECT_EQ(mapi.buffersOut, 0);
    EXPECT_EQ(mail.Session(), 0u);
}

TEST(TEmail, LogsOnWithTheDefaultProfileThenAsksTheUserAndClosesWhatItOpened) {
    test::FakeMapi mapi;
    mapi.defaultProfile = "Home Mail";
    mapi.firstLogon = MAPI_E_LOGIN_FAILURE;
    TEmail mail(mapi);
    mail.UseDefProfile = true;
    mail.Recipient = {"ann@example.org"};
    mail.Subject = "Hello";
    mail.Acknowledge = true;
    EXPECT_EQ(mail.Send(), SUCCESS_SUCCESS);
    EXPECT_EQ(mail.Profile, "Home Mail");
    EXPECT_EQ(mapi.log, (Lines{"logon Home Mail||0", "logon <none>|<none>|1",
                               "resolve ann@example.org|0|42", "send 42|8", "logoff 42"}));
    ASSERT_EQ(mapi.sent.size(), 1u);
    EXPECT_EQ(mapi.sent[0].subject, "Hello");
    EXPECT_EQ(mapi.sent[0].noteText, "");
    EXPECT_EQ(mapi.sent[0].flags, MAPI_RECEIPT_REQUESTED);
    EXPECT_EQ(mail.Session(), 0u);
}

TEST(TEmail, AFailedLogonReturnsLoginFailureWhateverTheServiceSaid) {
    test::FakeMapi mapi;
    mapi.firstLogon = MAPI_E_FAILURE;
    mapi.uiLogon = MAPI_USER_ABORT;
    TEmail mail(mapi);
    mail.Recipient = {"ann@example.org"};
    EXPECT_EQ(mail.Send(), MAPI_E_LOGIN_FAILURE);
    EXPECT_TRUE(mapi.sent.empty());
    EXPECT_EQ(mapi.log.size(), 2u); // two logons, no logoff of a session never opened
}

TEST(TEmail, ASessionOpenedBeforeStaysOpenUntilTheMailGoes) {
    test::FakeMapi mapi;
    {
        TEmail mail(mapi);
        ASSERT_EQ(mail.Logon(), SUCCESS_SUCCESS);
        mail.Recipient = {"ann@example.org"};
        EXPECT_EQ(mail.Send(), SUCCESS_SUCCESS);
        EXPECT_EQ(mail.Session(), 42u);
        EXPECT_EQ(mail.Logon(), SUCCESS_SUCCESS); // already open: no second logon
        EXPECT_EQ(mapi.log.size(), 3u);
    }
    EXPECT_EQ(mapi.log.back(), "logoff 42");
}

TEST(TEmail, AnAmbiguousNameIsPickedInTheDialogAndTheChosenNameIsSent) {
    test::FakeMapi mapi;
    mapi.book["Ann"] = {"ann@home.example", "ann@work.example"};
    mapi.book["Bob"] = {"bob@example.org"};
    mapi.pick = 1;
    TEmail mail(mapi);
    mail.Recipient = {"Ann", "", "Bob"};
    mail.CC = {"cc@example.org"};
    EXPECT_EQ(mail.Send(), SUCCESS_SUCCESS);
    EXPECT_EQ(mapi.log,
              (Lines{"logon ||0", "resolve Ann|0|42", "resolve Ann|8|42", "resolve Bob|0|42",
                     "resolve cc@example.org|0|42", "send 42|8", "logoff 42"}));
    ASSERT_EQ(mapi.sent.size(), 1u);
    EXPECT_EQ(Names(mapi.sent[0]),
              (Lines{"1 Ann (ann@work.example) <ann@work.example>", "1 Bob <bob@example.org>",
                     "2 cc@example.org <cc@example.org>"}));
    // The lists hold the display names now; the empty entry was passed over.
    EXPECT_EQ(mail.Recipient, (Lines{"Ann (ann@work.example)", "", "Bob"}));
    EXPECT_EQ(mapi.buffersOut, 0);
}

TEST(TEmail, AnUnknownNameEndsTheSendWithItsCode) {
    test::FakeMapi mapi;
    TEmail mail(mapi);
    mail.Recipient = {"ann@example.org", "Nobody"};
    EXPECT_EQ(mail.Send(), MAPI_E_UNKNOWN_RECIPIENT);
    EXPECT_TRUE(mapi.sent.empty());
    EXPECT_EQ(mapi.log.back(), "logoff 42");
    EXPECT_EQ(mapi.buffersOut, 0);
}

TEST(ShortString, KeepsAtMost255CharactersWhole) {
    EXPECT_EQ(ShortString(std::string(255, 'a')), std::string(255, 'a'));
    EXPECT_EQ(ShortString(std::string(300, 'a')), std::string(255, 'a'));
    std::string umlauts;
    for (int i = 0; i < 300; ++i) {
        umlauts += "\xC3\xBC"; // ü
    }
    EXPECT_EQ(ShortString(umlauts), umlauts.substr(0, 510));
}

// SendMail and SendFax of the items, with the settings file and the main window faked.
class MailItemsTest : public ::testing::Test {
protected:
    test::TempDir dir;
    test::FakeServices base;
    test::FakeMapi mapi;
    test::FakeBrowserLink link;
    TBrowserDDE browser{link};
    test::FakeMailHost host;
    ScopedServices scope{Services{.clock = &base.clock,
                                  .locale = &EnglishLocaleNames(),
                                  .navigator = &base.navigator,
                                  .shell = &base.shell,
                                  .mapi = &mapi,
                                  .browser = &browser,
                                  .mailHost = &host}};
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();

    void SetUp() override { host.settingsFile = dir.File("nrb.ini"); }
    void SetMode(int mode) {
        ASSERT_TRUE(WriteProfileInt(host.settingsFile, "Settings", "INetMail", mode));
    }
    TNRBObject* Mail(TNRBObject* holder, std::string_view title, std::string_view address) {
        return CreateItem(kEMailKind, title, address, "", 0, "", holder->Node());
    }
    TPersonObject* Person(std::string_view name, std::string_view address) {
        auto* person =
            static_cast<TPersonObject*>(CreateItem(kPersonKind, name, name, "", 0, "", root));
        Mail(person, "Home", address);
        person->SetPrimaryEMail("Home");
        return person;
    }
};

TEST_F(MailItemsTest, ModeOneSendsAnInternetAddressAsAMailtoLink) {
    SetMode(1);
    TNRBObject* ann = Person("Ann", "ann@example.org");
    host.listActive = true;
    host.selected = {ann};
    ann->SendMail("");
    EXPECT_EQ(base.shell.calls, Lines{"open mailto:ann@example.org"});
    EXPECT_TRUE(mapi.log.empty());
}

TEST_F(MailItemsTest, ModeOneWithoutAnAtGoesThroughTheMessagingService) {
    SetMode(1);
    mapi.book["Ann Lee"] = {"ann@example.org"};
    TNRBObject* holder = Person("Ann", "ann@example.org");
    TNRBObject* alias = Mail(holder, "Alias", "Ann Lee");
    alias->Activate(); // from the outline pane: no rows
    EXPECT_TRUE(base.shell.calls.empty());
    ASSERT_EQ(mapi.sent.size(), 1u);
    EXPECT_EQ(Names(mapi.sent[0]), Lines{"1 Ann Lee <ann@example.org>"});
    // The same from one selected row of the list.
    host.listActive = true;
    host.selected = {alias};
    alias->SendMail("");
    EXPECT_TRUE(base.shell.calls.empty());
    ASSERT_EQ(mapi.sent.size(), 2u);
    EXPECT_EQ(Names(mapi.sent[1]), Lines{"1 Ann Lee <ann@example.org>"});
}

TEST_F(MailItemsTest, ModeThreeOpensTheMailtoLinkInTheBrowser) {
    SetMode(3);
    link.running = {"IExplore"};
    browser.AutoLoad = false;
    Person("Ann", "ann@example.org")->SendMail("");
    EXPECT_TRUE(browser.AutoLoad);
    EXPECT_EQ(link.Lines("request mailto"), Lines{"request mailto:ann@example.org,,0xFFFFFFFF"});
    EXPECT_TRUE(mapi.log.empty());
}

TEST_F(MailItemsTest, ThreeSelectedPersonsInModeTwoMakeOneMessageWithoutAQuestion) {
    SetMode(2);
    TNRBObject* ann = Person("Ann", "ann@example.org");
    TNRBObject* bob = Person("Bob", "bob@example.org");
    TNRBObject* cy = Person("Cy", "\"cy\"@example.org");
    host.listActive = true;
    host.selected = {ann, bob, cy};
    ann->SendMail("");
    EXPECT_TRUE(host.asked.empty());
    ASSERT_EQ(mapi.sent.size(), 1u);
    EXPECT_EQ(Names(mapi.sent[0]),
              (Lines{"1 ann@example.org <ann@example.org>", "1 bob@example.org <bob@example.org>",
                     "1 \"cy\"@example.org <\"cy\"@example.org>"}));
}

TEST_F(MailItemsTest, ThreeSelectedPersonsInModeOneAskFirstAndNoSendsNothing) {
    SetMode(1);
    TNRBObject* ann = Person("Ann", "ann@example.org");
    TNRBObject* bob = Person("Bob", "bob@example.org");
    TNRBObject* cy = Person("Cy", "cy@example.org");
    host.listActive = true;
    host.selected = {ann, bob, cy};
    ann->SendMail("");
    EXPECT_EQ(host.asked, Lines{std::string(kMultipleRecipientsQuestion)});
    EXPECT_TRUE(mapi.log.empty());
    EXPECT_TRUE(base.shell.calls.empty());

    host.answerYes = true;
    ann->SendMail("");
    ASSERT_EQ(mapi.sent.size(), 1u);
    EXPECT_EQ(mapi.sent[0].recips.size(), 3u);
    EXPECT_TRUE(base.shell.calls.empty()); // no mailto link for several
}

TEST_F(MailItemsTest, WithoutTheSettingSeveralRecipientsAskAndOneGoesThroughTheService) {
    // No key: mode 0, the messaging service with a question for several.
    TNRBObject* ann = Person("Ann", "ann@example.org");
    TNRBObject* bob = Person("Bob", "bob@example.org");
    ann->SendMail("");
    EXPECT_TRUE(base.shell.calls.empty());
    EXPECT_EQ(mapi.sent.size(), 1u);
    host.listActive = true;
    host.selected = {ann, bob};
    ann->SendMail("");
    EXPECT_EQ(host.asked.size(), 1u);
    EXPECT_EQ(mapi.sent.size(), 1u);
}

TEST_F(MailItemsTest, RowsWithoutAnAddressCountButAreNotSent) {
    SetMode(2);
    TNRBObject* ann = Person("Ann", "ann@example.org");
    TNRBObject* nobody = CreateItem(kPersonKind, "Nobody", "", "", 0, "", root);
    host.listActive = true;
    host.selected = {nobody, ann};
    ann->SendMail("");
    ASSERT_EQ(mapi.sent.size(), 1u);
    EXPECT_EQ(Names(mapi.sent[0]), Lines{"1 ann@example.org <ann@example.org>"});
}

TEST_F(MailItemsTest, ADocumentGoesThroughTheServiceInEveryModeAndNotAtAllWhenItIsGone) {
    SetMode(1);
    const std::string offer = dir.File("offer.txt");
    std::ofstream(offer) << "offer";
    TPersonObject* ann = Person("Ann", "ann@example.org");
    TNRBObject* document = CreateItem(kDocumentKind, "Offer", offer, "", 0, "", root);
    host.listActive = true;
    host.selected = {document}; // the dragged document is the selected row
    // A link cannot carry the document: even in mode 1 it goes through the service.
    ann->SendMail(offer);
    EXPECT_TRUE(base.shell.calls.empty());
    ASSERT_EQ(mapi.sent.size(), 1u);
    SetMode(3);
    ann->SendMail(offer);
    EXPECT_TRUE(link.log.empty());
    EXPECT_EQ(mapi.sent.size(), 2u);
    mapi.sent.clear();
    SetMode(2);
    ann->SendMail(offer);
    ASSERT_EQ(mapi.sent.size(), 1u);
    ASSERT_EQ(mapi.sent[0].files.size(), 1u);
    EXPECT_EQ(mapi.sent[0].files[0].pathName, offer);
    EXPECT_EQ(Names(mapi.sent[0]), Lines{"1 ann@example.org <ann@example.org>"});
    EXPECT_EQ(SendMailFrom(*ann->PrimaryContact(kEMailKind), dir.File("gone.txt")),
              MAPI_E_ATTACHMENT_NOT_FOUND);
    EXPECT_EQ(mapi.sent.size(), 1u);
}

TEST_F(MailItemsTest, AFaxGoesToItsNumberWithoutAMissingFileAndAFailureIsShown) {
    TNRBObject* ann = CreateItem(kPersonKind, "Ann", "", "", 0, "", root);
    TNRBObject* fax = CreateItem(kFaxKind, "Office", "555-0100", "", 0, "", ann->Node());
    static_cast<TPersonObject*>(ann)->SendFax("");
    EXPECT_TRUE(mapi.log.empty()); // no primary fax: nothing
    static_cast<TPersonObject*>(ann)->SetPrimaryFax("Office");
    ann->SendFax(dir.File("gone.pdf"));
    ASSERT_EQ(mapi.sent.size(), 1u);
    EXPECT_EQ(mapi.log, Lines{"send 0|11"});
    EXPECT_EQ(Names(mapi.sent[0]), Lines{"1 Office <FAX:555-0100>"});
    EXPECT_TRUE(mapi.sent[0].files.empty());
    EXPECT_TRUE(host.errors.empty());

    const std::string offer = dir.File("offer.pdf");
    std::ofstream(offer) << "%PDF";
    mapi.sendResult = MAPI_E_NOT_SUPPORTED;
    fax->Activate();
    fax->SendFax(offer);
    ASSERT_EQ(mapi.sent.size(), 3u);
    ASSERT_EQ(mapi.sent[2].files.size(), 1u);
    EXPECT_EQ(mapi.sent[2].files[0].pathName, offer);
    EXPECT_EQ(host.errors, (Lines{std::string(kFaxError), std::string(kFaxError)}));
}

TEST(AddressBook, FindsEMailItemsAndPersonsByTitleWithTheirAddress) {
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();
    auto* ann =
        static_cast<TPersonObject*>(CreateItem(kPersonKind, "Ann Lee", "", "", 0, "", root));
    TNRBObject* folder = CreateItem(kFolderKind, "Work", "", "", 0, "", root);
    CreateItem(kEMailKind, "ann lee", "ann@work.example", "", 0, "", folder->Node());
    CreateItem(kEMailKind, "Home", "ann@home.example", "", 0, "", ann->Node());
    CreateItem(kPersonKind, "Ann Lee", "", "", 0, "", root); // no address: left out
    EXPECT_EQ(FindMailRecipients(outline, "ANN LEE").size(), 1u);
    ann->SetPrimaryEMail("Home");
    const std::vector<MailCandidate> found = FindMailRecipients(outline, "Ann Lee");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].address, "ann@home.example");
    EXPECT_EQ(found[0].item, ann);
    EXPECT_EQ(found[1].name, "ann lee");
    EXPECT_EQ(found[1].address, "ann@work.example");
    EXPECT_TRUE(FindMailRecipients(outline, "Bob").empty());
    EXPECT_TRUE(FindMailRecipients(outline, "").empty());
}

TEST(AddressBook, WritesTheNameBesideTheAddressQuotedWhenItMustBe) {
    EXPECT_EQ(ComposerAddress("Ann Lee", "ann@example.org"), "Ann Lee <ann@example.org>");
    EXPECT_EQ(ComposerAddress("ann@example.org", "ann@example.org"), "ann@example.org");
    EXPECT_EQ(ComposerAddress("", "ann@example.org"), "ann@example.org");
    EXPECT_EQ(ComposerAddress("Lee, Ann", "a@x.example"), "\"Lee, Ann\" <a@x.example>");
    EXPECT_EQ(ComposerAddress("A \"B\" C.", "a@x.example"), "\"A \\\"B\\\" C.\" <a@x.example>");
}

} // namespace
} // namespace quill
