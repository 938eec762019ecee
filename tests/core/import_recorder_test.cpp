// What an import brought in, counted by kind, and a cancelled import taken back: the
// listener stops the readers part-way, and the recorder leaves the outline as it was.

#include "core/exchange/delimited_text.h"
#include "core/exchange/record_types.h"
#include "core/exchange/vcard.h"
#include "core/exchange/vcard_writer.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"
#include "core/storage/data_file.h"
#include "core/util/work_progress.h"
#include "core/wizards/import_recorder.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <fstream>

namespace quill {
namespace {

// Says "stop" at the report number stopAt (counted from 1); 0 never stops.
class StoppingListener final : public IWorkProgress {
public:
    explicit StoppingListener(int stopAt) : stopAt_(stopAt) {}
    bool Progress(std::uint64_t done, std::uint64_t total) override {
        ++reports;
        lastDone = done;
        lastTotal = total;
        return stopAt_ == 0 || reports < stopAt_;
    }
    int reports = 0;
    std::uint64_t lastDone = 0;
    std::uint64_t lastTotal = 0;

private:
    int stopAt_;
};

class ImportRecorderTest : public ::testing::Test {
protected:
    test::FakeServices services;
    test::TempDir dir;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();
    TOutlineNode* target = nullptr;

    void SetUp() override {
        // Out of order on purpose: an undo must not leave them sorted.
        target = Make(kFolderKind, "Target", root)->Node();
        Make(kPersonKind, "Zed", target);
        Make(kPersonKind, "Abe", target);
        Make(kPhoneKind, "Old phone", target);
    }
    TNRBObject* Make(int kind, std::string_view title, TOutlineNode* parent) {
        return CreateItem(kind, title, "", "", 1, "", parent);
    }
    std::string Write(const std::string& name, const std::string& text) {
        std::ofstream(dir.File(name), std::ios::binary) << text;
        return dir.File(name);
    }
    std::string PersonLines(int count) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            text += "Name" + std::to_string(i) + ",Family,555-" + std::to_string(i) + "\r\n";
        }
        return text;
    }
    const std::vector<std::string> personFields{"First Name", "Last Name", "Phone Number"};
};

TEST_F(ImportRecorderTest, CountsWhatCameInByKindIncludingContactPoints) {
    TImportRecorder recorder(outline);
    const std::string path = Write("p.csv", PersonLines(3) + ",,\r\n");
    ASSERT_TRUE(ImportDelimitedText(path, target, *RecordTypeAt(0), personFields, ','));
    recorder.Stop();
    const KindCounts counts = recorder.Counts();
    EXPECT_EQ(counts[kPersonKind], 3u);
    EXPECT_EQ(counts[kPhoneKind], 3u);
    EXPECT_EQ(counts[kFolderKind], 0u);
    EXPECT_EQ(recorder.Dropped(), 1u); // the person without a last name was refused
    EXPECT_EQ(DescribeCounts(counts), "3 persons and 3 phone numbers");
}

TEST_F(ImportRecorderTest, UndoLeavesTheOutlineExactlyAsBefore) {
    const std::string before = DataFileText(outline);
    TImportRecorder recorder(outline);
    ASSERT_TRUE(ImportDelimitedText(Write("p.csv", PersonLines(5)), target, *RecordTypeAt(0),
                                    personFields, ','));
    ASSERT_TRUE(ImportDelimitedText(Write("ph.csv", "Work,555\r\n"), target, *RecordTypeAt(4),
                                    {"Title", "Phone Number"}, ','));
    ASSERT_NE(DataFileText(outline), before);
    EXPECT_EQ(recorder.Counts()[kPhoneKind], 6u);
    recorder.Undo();
    EXPECT_EQ(DataFileText(outline), before);
    EXPECT_EQ(target->ChildAt(0)->Item()->Title(), "Zed");
    EXPECT_EQ(recorder.Counts()[kPersonKind], 0u);
}

TEST_F(ImportRecorderTest, AListenerStopsADelimitedImportAndUndoTakesBackThePart) {
    const std::string before = DataFileText(outline);
    // Bigger than one read piece, so the reader reports more than once.
    const std::string path = Write("big.csv", PersonLines(60000));
    TImportRecorder recorder(outline);
    StoppingListener listener(2);
    {
        WorkProgressScope scope(listener);
        ASSERT_TRUE(ImportDelimitedText(path, target, *RecordTypeAt(0), personFields, ','));
    }
    EXPECT_EQ(listener.reports, 2);
    EXPECT_GT(listener.lastTotal, 1u << 20);
    const std::size_t made = recorder.Counts()[kPersonKind];
    EXPECT_GT(made, 0u);
    EXPECT_LT(made, 60000u);
    EXPECT_FALSE(outline.Updating());
    recorder.Undo();
    EXPECT_EQ(DataFileText(outline), before);
}

class AsPerson final : public IVCardImportChoice {
public:
    bool ImportAsOrganization(std::string_view, std::string_view) override { return false; }
};

TEST_F(ImportRecorderTest, AListenerStopsAVCardImportPartWay) {
    std::string cards;
    for (int i = 0; i < 100; ++i) {
        cards += "begin:vcard\r\nN:Doe" + std::to_string(i) + ";J\r\nTEL:1\r\nend:vcard\r\n";
    }
    const std::string path = Write("c.vcf", cards);
    const std::string before = DataFileText(outline);
    AsPerson choice;
    {
        // 100 reports while reading, then 10 while making.
        TImportRecorder recorder(outline);
        StoppingListener listener(111);
        WorkProgressScope scope(listener);
        ASSERT_TRUE(ImportVCardFile(path, target, choice));
        EXPECT_EQ(recorder.Counts()[kPersonKind], 10u);
        EXPECT_EQ(listener.lastTotal, 200u);
        recorder.Undo();
        EXPECT_EQ(DataFileText(outline), before);
    }
    {
        // Stopped while reading: nothing is made.
        TImportRecorder recorder(outline);
        StoppingListener listener(50);
        WorkProgressScope scope(listener);
        ASSERT_TRUE(ImportVCardFile(path, target, choice));
        EXPECT_EQ(recorder.Counts()[kPersonKind], 0u);
        // The import still sorted the target; the undo puts the old order back.
        EXPECT_EQ(target->ChildAt(0)->Item()->Title(), "Abe");
        recorder.Undo();
    }
    EXPECT_EQ(DataFileText(outline), before);
}

TEST_F(ImportRecorderTest, ScopesNestAndWithoutOneWorkGoesOn) {
    EXPECT_TRUE(ReportWorkProgress(1, 2));
    StoppingListener outer(0);
    StoppingListener inner(1);
    {
        WorkProgressScope a(outer);
        {
            WorkProgressScope b(inner);
            EXPECT_FALSE(ReportWorkProgress(1, 2));
        }
        EXPECT_TRUE(ReportWorkProgress(3, 4));
    }
    EXPECT_EQ(outer.lastDone, 3u);
    EXPECT_TRUE(ReportWorkProgress(1, 2));
}

TEST_F(ImportRecorderTest, ACancelledCsvExportLeavesAnExistingFileWhole) {
    for (int i = 0; i < 3000; ++i) {
        Make(kFolderKind, "F" + std::to_string(i), target);
    }
    const std::string path = Write("out.csv", "old content");
    StoppingListener listener(1);
    WorkProgressScope scope(listener);
    EXPECT_FALSE(WriteCSVSubtree(*root, path, *RecordTypeAt(0), {"Title"}, true));
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), "old content");
}

TEST_F(ImportRecorderTest, ACancelledVCardSubtreeExportLeavesAnExistingFileWhole) {
    for (int i = 0; i < 3000; ++i) {
        Make(kPersonKind, "P" + std::to_string(i), target);
    }
    const std::string path = Write("out.vcf", "old content");
    VCardExportOptions options;
    options.version = VCardVersion::V40;
    options.subtree = true;
    {
        StoppingListener listener(2);
        WorkProgressScope scope(listener);
        EXPECT_FALSE(ExportVCardFile(*root, path, options));
        EXPECT_EQ(listener.reports, 2);
        EXPECT_EQ(listener.lastDone, 2048u);
    }
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), "old content");
    // Heard out to the end, it writes every card.
    StoppingListener patient(0);
    WorkProgressScope scope(patient);
    ASSERT_TRUE(ExportVCardFile(*root, path, options));
    EXPECT_EQ(patient.reports, 2);
}

TEST(ImportResultText, SaysWhatCameInAndWhatWasNotKept) {
    KindCounts counts{};
    EXPECT_EQ(ImportResultText(counts, 0), "Imported nothing.");
    counts[kPersonKind] = 1;
    counts[kFolderKind] = 2;
    counts[kEMailKind] = 4;
    EXPECT_EQ(ImportResultText(counts, 2),
              "Imported 2 folders, 1 person and 4 e-mail addresses.\n"
              "2 records were not kept: they held nothing the record type can use.");
}

TEST(ImportResultText, FromAReportCountsRefusedRecordsAndNamesWhatWasLeftBehind) {
    TImportReport report;
    report.records = 4;
    report.AddItem(kPersonKind);
    report.AddItem(kPersonKind);
    report.AddItem(kOrganizationKind); // filed under, not a record's own item
    report.AddItem(kPhoneKind);
    report.AddNotKept("X-SKYPE");
    report.AddNotKept("PHOTO", 2);
    EXPECT_EQ(ImportResultText(report, kPersonKind),
              "Imported 1 organization, 2 persons and 1 phone number.\n"
              "2 records were not kept: they held nothing the record type can use.\n"
              "Not kept from the file: PHOTO (2), X-SKYPE (1).");
    // Cards: every one made an item, whatever the counts say.
    EXPECT_EQ(ImportResultText(report, -1),
              "Imported 1 organization, 2 persons and 1 phone number.\n"
              "Not kept from the file: PHOTO (2), X-SKYPE (1).");

    // A long list stops after its first names and says how many more there were.
    TImportReport many;
    for (std::size_t i = 0; i < kMaxNotKeptNames + 3; ++i) {
        many.AddNotKept("X-" + std::string(1, static_cast<char>('A' + i)));
    }
    const std::string text = ImportResultText(many, -1);
    EXPECT_NE(text.find("X-L (1) and 3 more."), std::string::npos) << text;
    EXPECT_EQ(text.find("X-M"), std::string::npos) << text;
}

} // namespace
} // namespace quill
