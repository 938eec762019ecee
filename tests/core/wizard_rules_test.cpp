// The wizards' decisions without their windows: page paths and the Next/Finish button, the
// import sources' pages, statuses and targets, the export types' pages, the close checks and
// the files a cancelled export takes back.

#include "core/exchange/import_report.h"
#include "core/exchange/record_types.h"
#include "core/exchange/vcard.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"
#include "core/wizards/export_rules.h"
#include "core/wizards/import_rules.h"
#include "core/wizards/wizard_sequence.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace quill {
namespace {

namespace fs = std::filesystem;

void Put(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> Names(std::initializer_list<std::string_view> names) {
    return {names.begin(), names.end()};
}

TEST(WizardSequence, NextTurnsIntoFinishOnTheLastPageAndBackTurnsItBack) {
    TWizardSequence wizard({"a", "b", "c", "d"});
    EXPECT_EQ(wizard.VisibleSheets(), Names({"a", "b", "c", "d"}));
    EXPECT_EQ(wizard.CurrentPage(), 0);
    wizard.KeepSheets(Names({"a", "c"}));
    EXPECT_EQ(wizard.VisibleSheets(), Names({"a", "c"}));
    EXPECT_FALSE(wizard.Finishing());
    EXPECT_EQ(wizard.NextCaption(), "Next >>");

    wizard.NextBtnClick();
    EXPECT_EQ(wizard.CurrentName(), "c");
    EXPECT_TRUE(wizard.Finishing());
    EXPECT_EQ(wizard.NextCaption(), "Finish");
    // Pressed again it closes the wizard; the sequence stays where it is.
    wizard.NextBtnClick();
    EXPECT_EQ(wizard.CurrentName(), "c");

    wizard.PrevBtnClick();
    EXPECT_EQ(wizard.CurrentName(), "a");
    EXPECT_FALSE(wizard.Finishing());
    wizard.PrevBtnClick(); // not before the first page
    EXPECT_EQ(wizard.CurrentPage(), 0);
}

TEST(WizardSequence, CurrentPageOutOfRangeIsIgnoredAndALongPathFinishesAtItsEnd) {
    TWizardSequence wizard({"a", "b", "c"});
    wizard.SetCurrentPage(3);
    EXPECT_EQ(wizard.CurrentPage(), 0);
    wizard.SetCurrentPage(-1);
    EXPECT_EQ(wizard.CurrentPage(), 0);
    wizard.NextBtnClick();
    EXPECT_FALSE(wizard.Finishing());
    EXPECT_EQ(wizard.CurrentName(), "b");
    wizard.NextBtnClick();
    EXPECT_TRUE(wizard.Finishing());
    EXPECT_EQ(wizard.CurrentName(), "c");
}

TEST(WizardSequence, ASinglePagePathNeverFinishes) {
    TWizardSequence wizard({"a", "b"});
    wizard.KeepSheets(Names({"a"}));
    wizard.NextBtnClick();
    EXPECT_FALSE(wizard.Finishing());
    EXPECT_EQ(wizard.CurrentName(), "a");
}

TEST(ImportRules, EverySourceShowsTheSourcePageAndItsOwnPages) {
    const std::vector<std::vector<std::string>> expected{
        Names({kSourcePage, kExchangeFilePage}),
        Names({kSourcePage, kFavoritesPage}),
        Names({kSourcePage, kBookmarksPage}),
        Names({kSourcePage, kAddressBookPage}),
        Names({kSourcePage, kEudoraPage}),
        Names({kSourcePage, kTextFieldsPage, kTextFilePage}),
        Names({kSourcePage, kVCardFilePage})};
    for (int source = 0; source < kImportSourceCount; ++source) {
        EXPECT_EQ(ImportSourcePages(static_cast<ImportSource>(source)), expected[source]) << source;
        // Kept from all pages in page order, as the wizard does it.
        TWizardSequence wizard(ImportWizardPages());
        wizard.KeepSheets(ImportSourcePages(static_cast<ImportSource>(source)));
        EXPECT_EQ(wizard.VisibleSheets(), expected[source]) << source;
    }
    EXPECT_EQ(ImportSourceName(ImportSource::ExchangeFile), "Quillmere File (*.QLD)");
    EXPECT_EQ(ImportSourceName(ImportSource::VCard), "vCard File (*.VCF)");
}

class ImportRulesTest : public ::testing::Test {
protected:
    test::FakeServices services;
    test::TempDir dir;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();
    TOutlineNode* target = CreateItem(kFolderKind, "Target", "", "", 1, "", root)->Node();

    static TOutlineNode* Child(TOutlineNode* parent, std::string_view title) {
        for (std::size_t i = 0; parent && i < parent->ChildCount(); ++i) {
            if (parent->ChildAt(i)->Item()->Title() == title) {
                return parent->ChildAt(i);
            }
        }
        return nullptr;
    }
};

TEST_F(ImportRulesTest, StatusTextsTellWhatTheDirectoryHolds) {
    EXPECT_EQ(BookmarksStatus(dir.path().string()), "None Found");
    EXPECT_EQ(AddressBookStatus(dir.path().string()), "None Found");
    EXPECT_EQ(EudoraStatus(dir.path().string()), "None Found");

    Put(dir.path() / "bookmarks.html", "<TITLE>Exported</TITLE>\n");
    EXPECT_EQ(BookmarksStatus(dir.path().string()), "Exported");
    // The name the older browser used wins.
    Put(dir.path() / "bookmark.htm", "<TITLE>Navigator</TITLE>\n");
    EXPECT_EQ(BookmarksStatus(dir.path().string()), "Navigator");
    Put(dir.path() / "address.htm", "<title>Addresses</title>\n");
    EXPECT_EQ(AddressBookStatus(dir.path().string()), "Addresses");
    Put(dir.path() / "nndbase.txt", "alias a a@b.c\n");
    EXPECT_EQ(EudoraStatus(dir.path().string()), "Found Eudora Address File in this directory");
}

TEST_F(ImportRulesTest, ExchangeFilesGoUnderTheRootAndVCardsUnderTheTarget) {
    Put(dir.path() / "in.qld", "{1 3 }Ann Lee~~~~~~1\r\n{Pers}~~Ann~~~~Lee~~~~~~~~~~~~0\r\n");
    Put(dir.path() / "in.vcf", "begin:vcard\r\nN:Doe;John\r\nFN:John Doe\r\nend:vcard\r\n");
    ImportRequest request;
    request.source = ImportSource::ExchangeFile;
    request.file = dir.File("in.qld");
    ASSERT_TRUE(RunImport(request, target));
    EXPECT_NE(Child(root, "Ann Lee"), nullptr);
    EXPECT_EQ(target->ChildCount(), 0u);

    struct AsPerson final : IVCardImportChoice {
        bool ImportAsOrganization(std::string_view, std::string_view) override { return false; }
    } choice;
    request.source = ImportSource::VCard;
    request.file = dir.File("in.vcf");
    request.vCardChoice = &choice;
    ASSERT_TRUE(RunImport(request, target));
    EXPECT_NE(Child(target, "John Doe"), nullptr);
}

TEST_F(ImportRulesTest, AMissingSourceImportsNothingWithoutAnError) {
    for (int source = 0; source < kImportSourceCount; ++source) {
        ImportRequest request;
        request.source = static_cast<ImportSource>(source);
        request.file = dir.File("missing.file");
        request.directory = dir.path().string();
        request.recordType = RecordTypeAt(0);
        request.fields = {"First Name"};
        if (request.source == ImportSource::Favorites) {
            continue; // an empty directory still gives its folder, as the walk finds nothing
        }
        EXPECT_TRUE(RunImport(request, target)) << source;
    }
    EXPECT_EQ(root->ChildCount(), 1u);
    EXPECT_EQ(target->ChildCount(), 0u);
}

TEST_F(ImportRulesTest, ExportedAndBrowserBookmarksLandInOneFolderUnderTheRoot) {
    Put(dir.path() / "bookmarks.html",
        "<TITLE>Bookmarks</TITLE>\n<DL><DT><H3>Sub</H3>\n"
        "<DT><A HREF=\"https://a.example/\" ADD_DATE=\"1\">A</A>\n"
        "<DT><a href=\"https://lower.example/\">lower case is not taken</a>\n");
    ImportRequest request;
    request.source = ImportSource::NetscapeBookmarks;
    request.directory = dir.path().string();
    ASSERT_TRUE(RunImport(request, target));
    TOutlineNode* folder = Child(root, "Bookmarks");
    ASSERT_NE(folder, nullptr);
    ASSERT_EQ(folder->ChildCount(), 1u);
    EXPECT_EQ(folder->ChildAt(0)->Item()->Target(), "https://a.example/");

    BrowserBookmarks browser{"Firefox (default)",
                             {{"One", "https://one/"}, {"Two", "https://two/"}}};
    request.browserBookmarks = &browser;
    ASSERT_TRUE(RunImport(request, target));
    TOutlineNode* live = Child(root, "Firefox (default)");
    ASSERT_NE(live, nullptr);
    ASSERT_EQ(live->ChildCount(), 2u);
    EXPECT_EQ(live->ChildAt(1)->Item()->Title(), "Two");
    EXPECT_EQ(live->ChildAt(1)->Item()->Kind(), kWebsiteKind);
    EXPECT_EQ(target->ChildCount(), 0u);
}

TEST(ImportRules, TheTextPagesNeedAFieldOrTheNamesLine) {
    EXPECT_FALSE(TextFieldsReady({}, false));
    EXPECT_TRUE(TextFieldsReady({}, true)); // the columns map by name
    EXPECT_TRUE(TextFieldsReady(Names({"(Ignore)", "Title"}), false));
    // Skipping every column imports nothing, with or without the names line.
    EXPECT_FALSE(TextFieldsReady(Names({"(Ignore)", "(Ignore)"}), false));
    EXPECT_FALSE(TextFieldsReady(Names({"(Ignore)", ""}), true));
    EXPECT_TRUE(ImportSourceReports(ImportSource::VCard));
    EXPECT_TRUE(ImportSourceReports(ImportSource::DelimitedText));
    EXPECT_FALSE(ImportSourceReports(ImportSource::ExchangeFile));
    EXPECT_FALSE(ImportSourceReports(ImportSource::Eudora));
}

TEST_F(ImportRulesTest, AHeaderedTextFileMapsByNameAndReportsWhatItLeftOut) {
    Put(dir.path() / "google.csv",
        "Name,Given Name,Family Name,Nickname,E-mail 1 - Type,E-mail 1 - Value,"
        "Phone 1 - Type,Phone 1 - Value\r\n"
        "Ann Lee,Ann,Lee,Annie,* Home,ann@example.org,Mobile,555-0100\r\n"
        "Bo Ek,Bo,Ek,,Work,bo@example.org,Work,555-0200\r\n");
    ImportRequest request;
    request.source = ImportSource::DelimitedText;
    request.file = dir.File("google.csv");
    request.recordType = RecordTypeOfKind(kPersonKind);
    // Without the names line and without fields the wizard could not have gone on.
    EXPECT_TRUE(RunImport(request, target));
    EXPECT_EQ(target->ChildCount(), 0u);

    request.firstLineHasNames = true;
    TImportReport report;
    ASSERT_TRUE(RunImport(request, target, &report));
    ASSERT_EQ(target->ChildCount(), 2u);
    TOutlineNode* ann = Child(target, "Ann Lee");
    ASSERT_NE(ann, nullptr);
    std::vector<std::string> targets;
    for (std::size_t i = 0; i < ann->Item()->ChildCount(); ++i) {
        targets.emplace_back(ann->Item()->ChildAt(i)->Target());
    }
    EXPECT_NE(std::find(targets.begin(), targets.end(), "555-0100"), targets.end());
    EXPECT_NE(std::find(targets.begin(), targets.end(), "ann@example.org"), targets.end());
    EXPECT_EQ(report.records, 2u);
    EXPECT_EQ(report.items[kPersonKind], 2u);
    EXPECT_EQ(report.items[kPhoneKind], 2u);
    EXPECT_EQ(report.notKept.at("Nickname"), 1u);
}

TEST_F(ImportRulesTest, IgnoredColumnsAreSkippedAndTheNamesLineIsNotARecord) {
    Put(dir.path() / "p.csv", "Id,First,Last\r\n7,Ann,Lee\r\n\r\n8,Bo,Ek\r\n");
    ImportRequest request;
    request.source = ImportSource::DelimitedText;
    request.file = dir.File("p.csv");
    request.recordType = RecordTypeOfKind(kPersonKind);
    request.fields = Names({"(Ignore)", "First Name", "Last Name"});
    request.firstLineHasNames = true;
    TImportReport report;
    ASSERT_TRUE(RunImport(request, target, &report));
    ASSERT_EQ(target->ChildCount(), 2u);
    // Title was not chosen: the persons keep "New" and are named by their targets.
    std::vector<std::string> names;
    for (std::size_t i = 0; i < target->ChildCount(); ++i) {
        names.emplace_back(target->ChildAt(i)->Item()->Target());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, Names({"Ann Lee", "Bo Ek"}));
    // Neither "Id" nor "First Last" became a person; the skipped column is reported by the
    // name the first line gives it.
    EXPECT_EQ(report.records, 2u);
    EXPECT_EQ(report.notKept.at("Id"), 2u);
}

TEST(ExportRules, EveryTypeShowsTheTypePageAndItsOwnPages) {
    EXPECT_EQ(ExportTypePages(ExportType::ExchangeFile), Names({kTypePage, kExportFilePage}));
    EXPECT_EQ(ExportTypePages(ExportType::Html),
              Names({kTypePage, kIndexPage, kGraphicsPage, kLinksPage, kHtmlFilePage}));
    EXPECT_EQ(ExportTypePages(ExportType::Csv), Names({kTypePage, kCsvFieldsPage, kCsvFilePage}));
    EXPECT_EQ(ExportTypePages(ExportType::VCard), Names({kTypePage, kVCardExportPage}));
    EXPECT_EQ(ExportTypeName(ExportType::Csv), "Comma-separated Values (.CSV)");
}

TEST(ExportRules, TheExtensionChecksRefuseWithTheirTitleAndMessage) {
    ExportRequest request;
    request.fileName = "NAME.QLD";
    EXPECT_TRUE(CheckExport(request));
    request.fileName = "NAME.txt";
    FileResult refused = CheckExport(request);
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.title, "Check Filename");
    EXPECT_EQ(refused.message, "The exported filename needs to have an extension of \".qld\"");
    request.type = ExportType::VCard;
    refused = CheckExport(request);
    EXPECT_EQ(refused.message, "The exported filename needs to have an extension of \".vcf\"");
    request.fileName = "a.VcF";
    EXPECT_TRUE(CheckExport(request));
    request.type = ExportType::Csv; // the extension is not tested
    request.fileName = "a.txt";
    EXPECT_TRUE(CheckExport(request));
}

TEST(ExportRules, ProposedNamesFollowTheStartTitle) {
    test::FakeServices services;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();
    TOutlineNode* person = CreateItem(kPersonKind, "Ann/Lee", "", "", 5, "", root)->Node();
    EXPECT_EQ(ProposedFileName(person, ".csv"), "Ann-Lee.csv");
    EXPECT_TRUE(VCardTypeAllowed(person));
    EXPECT_FALSE(VCardTypeAllowed(root));
    // A whole subtree may start anywhere; the page proposes it where no card of its own is.
    EXPECT_TRUE(VCardTypeAllowed(root, true));
    EXPECT_FALSE(VCardTypeAllowed(nullptr, true));
    EXPECT_FALSE(ProposedVCardSubtree(person));
    EXPECT_TRUE(ProposedVCardSubtree(root));
}

TEST(ExportRules, RunExportWritesTheChosenVCardVersionForOneItemOrTheSubtree) {
    test::FakeServices services;
    test::TempDir dir;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();
    TOutlineNode* folder = CreateItem(kFolderKind, "Friends", "", "", 2, "", root)->Node();
    TOutlineNode* ann =
        CreateItem(kPersonKind, "Ann Lee", "", "", 5, "{Pers}~~Ann~~~~Lee~~~~~~~~~~~~0", folder)
            ->Node();
    CreateItem(kOrganizationKind, "Acme", "", "", 6, "", folder);
    CreateItem(kPersonKind, "Secret", "", "", 7, "{Pers}~~Se~~~~Cret~~~~~~~~~~~~0", folder);
    auto read = [&](const std::string& name) {
        std::ifstream in(dir.File(name), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    };
    auto count = [](const std::string& text, std::string_view what) {
        std::size_t n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos;
             at = text.find(what, at + 1)) {
            ++n;
        }
        return n;
    };
    ExportRequest request;
    request.type = ExportType::VCard;
    request.directory = dir.path().string();
    request.fileName = "one.vcf";
    ASSERT_TRUE(RunExport(request, *ann));
    EXPECT_EQ(count(read("one.vcf"), "VERSION:2.1\r\n"), 1u);

    request.fileName = "all.vcf";
    request.vCard.version = VCardVersion::V40;
    request.vCard.subtree = true;
    const HiddenItemTest hidden = [](const TNRBObject& item) { return item.Title() == "Secret"; };
    ASSERT_TRUE(RunExport(request, *folder, hidden));
    const std::string all = read("all.vcf");
    EXPECT_EQ(count(all, "BEGIN:VCARD\r\n"), 2u) << all;
    EXPECT_EQ(count(all, "VERSION:4.0\r\n"), 2u) << all;
    EXPECT_NE(all.find("FN:Acme\r\n"), std::string::npos) << all;
    EXPECT_EQ(all.find("Secret"), std::string::npos) << all;

    // The one-item file of a folder is refused with the kind warning, nothing written.
    request.fileName = "folder.vcf";
    request.vCard.subtree = false;
    const FileResult refused = RunExport(request, *folder);
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.message, kVCardKindWarning);
    EXPECT_FALSE(fs::exists(dir.path() / "folder.vcf"));
}

TEST(ExportRules, ACancelledSiteRemovesOnlyTheFilesItCreated) {
    test::FakeServices services;
    test::TempDir dir;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();
    CreateItem(kPersonKind, "Ann Lee", "", "", 77, "", root);
    CreateItem(kPersonKind, "Bo Roe", "", "", 77, "", root); // its card is "vc77-2.vcf"
    ExportRequest request;
    request.type = ExportType::Html;
    request.directory = dir.path().string();
    request.fileName = "site.htm";
    const std::vector<std::string> files = ExportOutputFiles(request, *root);
    EXPECT_NE(std::find(files.begin(), files.end(), dir.File("vc77.vcf")), files.end());
    EXPECT_NE(std::find(files.begin(), files.end(), dir.File("vc77-2.vcf")), files.end());
    EXPECT_NE(std::find(files.begin(), files.end(), dir.File("quilindex.htm")), files.end());

    Put(dir.path() / "quilindex.htm", "mine");
    Put(dir.path() / "other.txt", "not the site's");
    const std::vector<std::string> before = ExistingFiles(files);
    ASSERT_TRUE(RunExport(request, *root));
    EXPECT_TRUE(fs::exists(dir.path() / "vc77.vcf"));
    EXPECT_TRUE(fs::exists(dir.path() / "vc77-2.vcf"));
    // site.htm, quilmain.htm, .qld and both cards
    EXPECT_EQ(RemoveCreatedFiles(files, before), 5u);
    EXPECT_TRUE(fs::exists(dir.path() / "quilindex.htm"));
    EXPECT_TRUE(fs::exists(dir.path() / "other.txt"));
    EXPECT_FALSE(fs::exists(dir.path() / "site.htm"));
    EXPECT_FALSE(fs::exists(dir.path() / "vc77.vcf"));
    EXPECT_FALSE(fs::exists(dir.path() / "vc77-2.vcf"));
}

TEST(ExportRules, RunExportWritesTheChosenCsvFields) {
    test::FakeServices services;
    test::TempDir dir;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();
    CreateItem(kPersonKind, "Ann Lee", "", "", 5, "{Pers}~~Ann~~~~Lee~~~~~~~~~~~~0", root);
    ExportRequest request;
    request.type = ExportType::Csv;
    request.directory = dir.path().string();
    request.fileName = "p.txt";
    request.recordType = RecordTypeAt(0);
    request.fields = {"Title", "Last Name"};
    request.includeNames = false;
    ASSERT_TRUE(RunExport(request, *root));
    std::ifstream in(dir.File("p.txt"), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(text, "\"Ann Lee\",\"Lee\"\r\n");
}

} // namespace
} // namespace quill
