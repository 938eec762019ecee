// The data file, exchange files and the clipboard file: how records nest, what a damaged or
// foreign file does, what subtrees write, and how saving protects what the user has.

#include "core/model/contact_holder_objects.h"
#include "core/model/group_objects.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "core/model/record_text.h"
#include "core/storage/data_file.h"
#include "core/util/atomic_file.h"
#include "core/util/text_encoding.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace quill {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kRootRecord = "{0 11 }My Contacts~~~~~~32892645";

// Lines joined with the given line end after each.
std::string Lines(std::initializer_list<std::string_view> lines, std::string_view end = "\r\n") {
    std::string text;
    for (std::string_view line : lines) {
        text.append(line);
        text.append(end);
    }
    return text;
}

void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Get(const std::string& path) {
    return ReadWholeFile(path).value_or("<missing>");
}

class DataFileTest : public ::testing::Test {
protected:
    test::FakeServices services;
    test::TempDir dir;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();

    TNRBObject* Make(int kind, std::string_view title, TOutlineNode* parent, std::int32_t id = 1,
                     std::string_view dataLine = "") {
        return CreateItem(kind, title, "", "", id, dataLine, parent);
    }
    TOutlineNode* Node(TOutlineNode* parent, std::size_t row) { return parent->ChildAt(row); }
    std::string_view Title(TOutlineNode* node) { return node ? node->Item()->Title() : "<none>"; }
};

TEST_F(DataFileTest, ChildItemsGoToTheLastTreeItemOneLevelUp) {
    // A person with its address, then a folder back at level 1.
    ASSERT_TRUE(
        ReadRecords(Lines({"{1 3 }Ann~~~~~~1", "{Pers}~~Ann~~~~~~~~~~~~~~~~0", "{2 5 }Home~~~~~~2",
                           "{Addr}1 Main St~~~~~~~~~~~~~~0", "{1 0 }Family~~~~~~3", "{Fold}0"}),
                    root, "a.qld"));
    ASSERT_EQ(root->ChildCount(), 2u);
    TNRBObject* ann = Node(root, 0)->Item();
    EXPECT_EQ(ann->Title(), "Ann");
    ASSERT_EQ(ann->ChildCount(), 1u);
    EXPECT_EQ(ann->ChildAt(0)->Title(), "Home");
    EXPECT_EQ(ann->ChildAt(0)->Node(), ann->Node());
    EXPECT_EQ(Title(Node(root, 1)), "Family");
    EXPECT_EQ(root->Item()->ChildCount(), 0u);

    // A folder holding a person with a phone, and a website beside the person.
    TOutline other;
    TOutlineNode* top = other.CreateRoot();
    ASSERT_TRUE(ReadRecords(
        Lines({"{1 0 }Work~~~~~~1", "{Fold}0", "{2 3 }Bob~~~~~~2", "{Pers}~~~~~~~~~~~~~~~~~~0",
               "{3 6 }Desk~~555~~~~3", "{Phon}12~~0", "{2 4 }Site~~http://x.org/~~~~4", "{Webs}0"}),
        top, "b.qld"));
    ASSERT_EQ(top->ChildCount(), 1u);
    TOutlineNode* work = Node(top, 0);
    ASSERT_EQ(work->ChildCount(), 2u);
    EXPECT_EQ(Title(Node(work, 0)), "Bob");
    EXPECT_EQ(Title(Node(work, 1)), "Site");
    ASSERT_EQ(Node(work, 0)->Item()->ChildCount(), 1u);
    EXPECT_EQ(Node(work, 0)->Item()->ChildAt(0)->Title(), "Desk");
    EXPECT_EQ(work->Item()->ChildCount(), 0u);
    EXPECT_EQ(Node(work, 1)->Item()->ChildCount(), 0u);
}

TEST_F(DataFileTest, ImportUnderADeepTargetStartsBelowIt) {
    TOutlineNode* folder = Make(kFolderKind, "Clients", root)->Node();
    TOutlineNode* person = Make(kPersonKind, "Ann", folder)->Node();
    ASSERT_EQ(person->Depth(), 2);
    ASSERT_TRUE(ReadRecords(Lines({"{1 1 }Acme~~~~~~5", "{Orgn}~~~~~~~~~~0", "{2 6 }Office~~~~~~6",
                                   "{Phon}~~0", "{1 0 }Next~~~~~~7", "{Fold}0"}),
                            person, "paste.qld"));
    ASSERT_EQ(person->ChildCount(), 2u);
    TOutlineNode* acme = Node(person, 0);
    EXPECT_EQ(Title(acme), "Acme");
    ASSERT_EQ(acme->Item()->ChildCount(), 1u);
    EXPECT_EQ(acme->Item()->ChildAt(0)->Title(), "Office");
    EXPECT_EQ(Title(Node(person, 1)), "Next");
    EXPECT_EQ(person->Item()->ChildCount(), 0u);
    EXPECT_EQ(folder->ChildCount(), 1u);
}

TEST_F(DataFileTest, LevelJumpNestsUnderTheLastItemAndThenClimbsTooFar) {
    ASSERT_TRUE(ReadRecords(Lines({"{1 0 }A~~~~~~1", "{Fold}0", "{3 0 }B~~~~~~2", "{Fold}0",
                                   "{2 0 }C~~~~~~3", "{Fold}0"}),
                            root, "jump.qld"));
    ASSERT_EQ(root->ChildCount(), 2u);
    TOutlineNode* a = Node(root, 0);
    EXPECT_EQ(Title(a), "A");
    ASSERT_EQ(a->ChildCount(), 1u);
    EXPECT_EQ(Title(Node(a, 0)), "B");
    // C would belong under A, but the jump left the level count one too deep.
    EXPECT_EQ(Title(Node(root, 1)), "C");
}

TEST_F(DataFileTest, StoredRootIsDroppedAndItsTitleNotTaken) {
    const std::string path = dir.File("quil.dat");
    Put(path, Lines({"{Params}", "{0 11 }Renamed Root~~tgt~~cmt~~1", "{1 0 }Family~~~~~~5",
                     "{Fold}2", "{1 6 }Loose~~~~~~6", "{Phon}~~0"}));
    TDataFile file(path);
    ASSERT_TRUE(file.LoadDataFile(outline));
    EXPECT_EQ(outline.TopLevelCount(), 1u);
    EXPECT_EQ(root->Item()->Title(), "My Contacts");
    EXPECT_EQ(root->Text(), "My Contacts");
    EXPECT_EQ(root->Item()->Id(), kRootId);
    ASSERT_EQ(root->ChildCount(), 1u);
    EXPECT_EQ(Title(Node(root, 0)), "Family");
    EXPECT_EQ(Node(root, 0)->Item()->Categories(), 2);
    // A child item at level 1 belongs to the root.
    ASSERT_EQ(root->Item()->ChildCount(), 1u);
    EXPECT_EQ(root->Item()->ChildAt(0)->Title(), "Loose");

    // A renamed root is saved as renamed but comes back with its own name.
    root->Item()->SetTitle("Everyone");
    EXPECT_EQ(root->Text(), "Everyone");
    ASSERT_TRUE(file.SaveDataFile(outline));
    EXPECT_TRUE(Get(path).starts_with("{Params}\r\n{0 11 }Everyone~~~~~~32892645\r\n"));
    TOutline again;
    TDataFile reread(path);
    ASSERT_TRUE(reread.LoadDataFile(again));
    EXPECT_EQ(again.Root()->Item()->Title(), "My Contacts");
    EXPECT_EQ(again.Root()->ChildCount(), 1u);
}

TEST_F(DataFileTest, EmptyOrMissingFilesLoadAsTheRootAlone) {
    const std::string contents[] = {
        "",
        "{Params}",
        "{Params}\r\n",
        Lines({"{Params}", std::string(kRootRecord)}),
        // Whatever the first line holds, it is not read as a record.
        Lines({"{1 0 }First line~~~~~~1"}),
        "\xEF\xBB\xBF",
    };
    for (const std::string& content : contents) {
        SCOPED_TRACE(testing::PrintToString(content));
        const std::string path = dir.File("quil.dat");
        Put(path, content);
        TOutline fresh;
        TDataFile file(path);
        EXPECT_TRUE(file.LoadDataFile(fresh));
        ASSERT_NE(fresh.Root(), nullptr);
        EXPECT_EQ(fresh.NodeCount(), 1u);
        EXPECT_EQ(fresh.Root()->Item()->ChildCount(), 0u);
        EXPECT_FALSE(file.BackupPending());
    }
    TOutline fresh;
    TDataFile missing(dir.File("nothing-here.dat"));
    EXPECT_TRUE(missing.LoadDataFile(fresh));
    EXPECT_EQ(fresh.NodeCount(), 1u);
    // The next save creates it.
    ASSERT_TRUE(missing.SaveDataFile(fresh));
    EXPECT_EQ(Get(missing.Path()), Lines({"{Params}", std::string(kRootRecord)}));
}

TEST_F(DataFileTest, ExchangeFileWrittenFromTheRootAddsItsContentOnly) {
    TOutlineNode* family = Make(kFolderKind, "Family", root, 10)->Node();
    Make(kPersonKind, "Ann", family, 11);
    Make(kPhoneKind, "Hotline", root, 12, "{Phon}9~~3");
    const std::string path = dir.File("all.qld");
    ASSERT_TRUE(WriteSubtree(*root, path));
    EXPECT_TRUE(Get(path).starts_with("{1 11 }My Contacts~~~~~~32892645\r\n{2 6 }Hotline~~~~~~12"))
        << Get(path);

    TOutline other;
    TOutlineNode* otherRoot = other.CreateRoot();
    TOutlineNode* target = CreateItem(kFolderKind, "Target", "", "", 20, "", otherRoot)->Node();
    ASSERT_TRUE(ImportFile(target, path));
    EXPECT_EQ(other.TopLevelCount(), 1u);
    EXPECT_EQ(otherRoot->ChildCount(), 1u);
    ASSERT_EQ(target->ChildCount(), 1u);
    EXPECT_EQ(Title(Node(target, 0)), "Family");
    ASSERT_EQ(Node(target, 0)->ChildCount(), 1u);
    EXPECT_EQ(Title(Node(Node(target, 0), 0)), "Ann");
    // The root's own child items come along under the target; child items keep categories.
    ASSERT_EQ(target->Item()->ChildCount(), 1u);
    EXPECT_EQ(target->Item()->ChildAt(0)->Title(), "Hotline");
    EXPECT_EQ(target->Item()->ChildAt(0)->Categories(), 3);
    EXPECT_EQ(otherRoot->Item()->ChildCount(), 0u);
}

TEST_F(DataFileTest, ImportTakesOnlyExchangeAndClipboardFiles) {
    const std::string text = Lines({"{1 0 }Imported~~~~~~1", "{Fold}0"});
    const struct {
        const char* name;
        bool imported;
    } cases[] = {
        {"backup.QLD", true},    {"backup.qld", true},       {"b.Qld", true},
        {"clipdata.dat", true},  {"backup.txt", false},      {"backup.qld.txt", false},
        {"CLIPDATA.DAT", false}, {"my clipdata.dat", false}, {"qld", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File(c.name);
        Put(path, text);
        TOutline fresh;
        TOutlineNode* top = fresh.CreateRoot();
        EXPECT_TRUE(ImportFile(top, path));
        EXPECT_EQ(top->ChildCount(), c.imported ? 1u : 0u);
    }
    // A file that cannot be opened adds nothing and is no error.
    EXPECT_TRUE(ImportFile(root, dir.File("absent.qld")));
    EXPECT_EQ(root->ChildCount(), 0u);

    // The clipboard file takes what a copy of a subtree wrote.
    TOutlineNode* folder = Make(kFolderKind, "Copied", root, 3, "{Fold}4")->Node();
    Make(kEMailKind, "Mail", folder, 4, "{Mail}6");
    const std::string clip = dir.File("clipdata.dat");
    ASSERT_TRUE(WriteSubtree(*folder, clip));
    ASSERT_TRUE(ImportFile(folder, clip));
    ASSERT_EQ(folder->ChildCount(), 1u);
    EXPECT_EQ(Title(Node(folder, 0)), "Copied");
    ASSERT_EQ(Node(folder, 0)->Item()->ChildCount(), 1u);
    EXPECT_EQ(Node(folder, 0)->Item()->ChildAt(0)->Categories(), 6);
}

TEST_F(DataFileTest, NonNumericLevelOrKindStopsWithTheFileAndLine) {
    for (const char* bad : {"{1 x }B~~~~~~2", "{x 1 }B~~~~~~2", "{1 two }B~~~~~~2", "{}",
                            "{1 0}B~~~~~~2", "{99999999999 0 }B~~~~~~2"}) {
        SCOPED_TRACE(bad);
        TOutline fresh;
        TOutlineNode* top = fresh.CreateRoot();
        const FileResult result = ReadRecords(
            Lines({"{1 0 }A~~~~~~1", "{Fold}0", "", bad, "{Fold}0", "{1 0 }C~~~~~~3", "{Fold}0"}),
            top, "exchange.qld");
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.line, 4);
        EXPECT_NE(result.message.find("exchange.qld"), std::string::npos) << result.message;
        EXPECT_NE(result.message.find("line 4"), std::string::npos) << result.message;
        // What came before stays; nothing after is read.
        ASSERT_EQ(top->ChildCount(), 1u);
        EXPECT_EQ(Title(Node(top, 0)), "A");
    }

    // In the data file lines count from its first line, and the note names the backup.
    const std::string path = dir.File("quil.dat");
    Put(path, Lines({"{Params}", std::string(kRootRecord), "{1 0 }A~~~~~~1", "{Fold}0",
                     "{1 ? }B~~~~~~2", "{Fold}0"}));
    TDataFile file(path);
    const FileResult result = file.LoadDataFile(outline);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.line, 5);
    EXPECT_NE(result.message.find(path + ", line 5"), std::string::npos) << result.message;
    EXPECT_TRUE(file.BackupPending());
    EXPECT_NE(file.BackupNote().find(path + ".bak"), std::string::npos) << file.BackupNote();
    EXPECT_EQ(root->ChildCount(), 1u);

    // An import names its file too.
    const std::string bad = dir.File("broken.qld");
    Put(bad, Lines({"{1 0 }X~~~~~~1", "{Fold}0", "{a b }Y~~~~~~2"}));
    const FileResult imported = ImportFile(root, bad);
    EXPECT_FALSE(imported.ok);
    EXPECT_EQ(imported.line, 3);
    EXPECT_NE(imported.message.find("broken.qld"), std::string::npos) << imported.message;
    EXPECT_EQ(root->ChildCount(), 2u);
}

TEST_F(DataFileTest, HeaderWithSeparatorsInAFieldBreaksTheNextLine) {
    for (const char* header : {"{1 3 }Ann~~Lee~~~~~~77", "{1 3 }Ann~~~~77"}) {
        SCOPED_TRACE(header);
        TOutline fresh;
        TOutlineNode* top = fresh.CreateRoot();
        // The header is skipped; its data line is then met as a header and is no number.
        const FileResult result =
            ReadRecords(Lines({"{1 0 }A~~~~~~1", "{Fold}0", header,
                               "{Pers}~~Ann~~~~Lee~~~~~~~~~~~~0", "{1 0 }C~~~~~~3", "{Fold}0"}),
                        top, "x.qld");
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.line, 4);
        ASSERT_EQ(top->ChildCount(), 1u);
        EXPECT_EQ(Title(Node(top, 0)), "A");
    }
}

TEST_F(DataFileTest, LinesThatAreNoHeaderAreSkipped) {
    ASSERT_TRUE(ReadRecords(Lines({"junk before", "", "  {1 0 }Indented~~~~~~1",
                                   "{1 0 ]NotClosed~~~~~~2", "{1 0 }OneField", "{5 0",
                                   "{1 0 }A~~~~~~3", "{Fold}0", "}{", "{1 0 }B~~~~~~4", "{Fold}1"}),
                            root, "skip.qld"));
    ASSERT_EQ(root->ChildCount(), 2u);
    EXPECT_EQ(Title(Node(root, 0)), "A");
    EXPECT_EQ(Title(Node(root, 1)), "B");
    EXPECT_EQ(Node(root, 1)->Item()->Categories(), 1);
}

TEST_F(DataFileTest, HeaderNumbersAreReadAsStored) {
    SeedItemIds(5);
    ASSERT_TRUE(ReadRecords(Lines({
                                "{1 256 }Wrapped~~~~~~12x", "{Fold}4", // kind modulo 256
                                "{2 3 }Deep~~~~~~-7", "{Pers}~~~~~~~~~~~~~~~~~~1",
                                "{ +1   0 }Spaced~~~~~~5", "{Fold}0", "{1 0 }NoId~~~~~~", "{Fold}0",
                                "{1 6 }Last~~~~~~9", // the file ends before its data line
                            }),
                            root, "n.qld"));
    ASSERT_EQ(root->ChildCount(), 3u);
    TOutlineNode* wrapped = Node(root, 0);
    EXPECT_EQ(wrapped->Item()->Kind(), kFolderKind);
    EXPECT_EQ(wrapped->Item()->Id(), 12);
    EXPECT_EQ(wrapped->Item()->Categories(), 4);
    ASSERT_EQ(wrapped->ChildCount(), 1u);
    EXPECT_EQ(Node(wrapped, 0)->Item()->Id(), -7);
    EXPECT_EQ(Node(wrapped, 0)->Item()->Categories(), 1);
    EXPECT_EQ(Title(Node(root, 1)), "Spaced");
    EXPECT_NE(Node(root, 2)->Item()->Id(), 0); // a fresh id is drawn
    ASSERT_EQ(root->Item()->ChildCount(), 1u);
    EXPECT_EQ(root->Item()->ChildAt(0)->Title(), "Last");
    EXPECT_EQ(root->Item()->ChildAt(0)->Categories(), 0);

    // Without the trailing line end the last data line still counts.
    TOutline other;
    TOutlineNode* top = other.CreateRoot();
    ASSERT_TRUE(ReadRecords("{1 0 }F~~~~~~1\r\n{Fold}8", top, "end.qld"));
    ASSERT_EQ(top->ChildCount(), 1u);
    EXPECT_EQ(Node(top, 0)->Item()->Categories(), 8);
}

TEST_F(DataFileTest, NestingDeeperThanSixteenBitLevelsReadsBackAsWritten) {
    // Deeper than a 16-bit level reaches: level 32768 once came back as a top-level record.
    constexpr int kDepth = 40000;
    TOutlineNode* node = root;
    for (int i = 1; i <= kDepth; ++i) {
        node = Make(kFolderKind, "F" + std::to_string(i), node, i)->Node();
    }
    Make(kPhoneKind, "Deepest phone", node, 7);
    const std::string path = dir.File("deep.dat");
    ASSERT_TRUE(TDataFile(path).SaveDataFile(outline));
    const std::string written = Get(path);
    ASSERT_NE(written.find("\r\n{40000 0 }F40000~~"), std::string::npos);
    ASSERT_NE(written.find("\r\n{40001 6 }Deepest phone~~"), std::string::npos);

    TOutline loaded;
    ASSERT_TRUE(TDataFile(path).LoadDataFile(loaded));
    TOutlineNode* deepest = loaded.Root();
    int depth = 0;
    while (deepest->ChildCount() == 1) {
        deepest = deepest->ChildAt(0);
        ++depth;
    }
    EXPECT_EQ(depth, kDepth);
    EXPECT_EQ(deepest->Text(), "F40000");
    ASSERT_EQ(deepest->Item()->ChildCount(), 1u);
    EXPECT_EQ(deepest->Item()->ChildAt(0)->Title(), "Deepest phone");
    EXPECT_EQ(DataFileText(loaded), written);
}

TEST_F(DataFileTest, DueMarksOfRecordsReadAreCountedAsIfSetOneByOne) {
    // The fake clock says 2026-12-07: the first reminder is due, the second is not.
    const std::string due = "{Remd}2026,12,7,0~~0";
    const std::string later = "{Remd}2026,12,8,0~~0";
    // An outline with a due reminder already in it, built item by item.
    TOutlineNode* work = Make(kFolderKind, "Work", root)->Node();
    Make(kReminderKind, "Old", work, 2, due);
    // Records of a chain of folders, reminders at some levels, read under Work; the same
    // made item by item under a twin folder gives the counts to expect.
    std::string records;
    TOutlineNode* twin = Make(kFolderKind, "Twin", root)->Node();
    Make(kReminderKind, "Old", twin, 2, due);
    TOutlineNode* chain = twin;
    for (int level = 1; level <= 300; ++level) {
        records += Lines({"{" + std::to_string(level) + " 0 }F~~~~~~1", "{Fold}0"});
        chain = Make(kFolderKind, "F", chain)->Node();
        if (level % 7 == 0 || level % 11 == 0) {
            const std::string& data = level % 7 == 0 ? due : later;
            records += Lines({"{" + std::to_string(level + 1) + " 9 }R~~~~~~3", data});
            Make(kReminderKind, "R", chain, 3, data);
        }
    }
    ASSERT_TRUE(ReadRecords(records, work, "chain.qld"));
    std::vector<TOutlineNode*> read, made;
    ForEachInSubtree(work, [&](TOutlineNode* n) { read.push_back(n); });
    ForEachInSubtree(twin, [&](TOutlineNode* n) { made.push_back(n); });
    ASSERT_EQ(read.size(), made.size());
    EXPECT_EQ(work->Item()->DueCount(), 1 + 300 / 7);
    for (std::size_t i = 0; i < read.size(); ++i) {
        ASSERT_EQ(read[i]->Item()->DueCount(), made[i]->Item()->DueCount()) << "node " << i;
        ASSERT_EQ(read[i]->StateIndex(), made[i]->StateIndex()) << "node " << i;
    }
    EXPECT_EQ(root->Item()->DueCount(), 0) << "the top keeps no count";

    // Marks set after the reading are counted as ever.
    Make(kReminderKind, "New", read.back(), 4, due);
    EXPECT_EQ(work->Item()->DueCount(), 2 + 300 / 7);
}

TEST_F(DataFileTest, ClimbingFromAHugeLevelJumpStopsAboveTheTop) {
    // A jump to a huge level and back costs the tree's depth, not the size of the jump: a
    // file of such pairs would otherwise take hours. The record after the jump still nests
    // under the last item, and the climb back leaves the outline as a jump always does.
    std::string text;
    for (int i = 0; i < 2000; ++i) {
        text += Lines({"{1 0 }A~~~~~~1", "{Fold}0", "{2000000000 0 }B~~~~~~2", "{Fold}0"});
    }
    text += Lines({"{1 0 }Last~~~~~~3", "{Fold}0"});
    ASSERT_TRUE(ReadRecords(text, root, "jumps.qld"));
    ASSERT_GE(root->ChildCount(), 1u);
    TOutlineNode* first = Node(root, 0);
    EXPECT_EQ(Title(first), "A");
    ASSERT_EQ(first->ChildCount(), 1u);
    EXPECT_EQ(Title(Node(first, 0)), "B");
}

TEST_F(DataFileTest, HeadersAndDataLinesOfMillionsOfSeparatorsAreReadInOnePass) {
    // Bounded work per line: a data line's extra fields are ignored; a header with too many
    // fields is skipped, and its data line, met as a header, stops the reading as ever.
    std::string separators;
    for (int i = 0; i < 1'000'000; ++i) {
        separators += "~~";
    }
    const FileResult result =
        ReadRecords(Lines({"{1 3 }Ann~~~~~~2", "{Pers}Dr.~~Ann" + separators + "5",
                           "{1 0 }Many" + separators + "~~1", "{Fold}0"}),
                    root, "wide.qld");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.line, 4);
    ASSERT_EQ(root->ChildCount(), 1u);
    const auto* ann = dynamic_cast<const TPersonObject*>(Node(root, 0)->Item());
    ASSERT_NE(ann, nullptr);
    EXPECT_EQ(ann->Salutation(), "Dr.");
    EXPECT_EQ(ann->FirstName(), "Ann");
    EXPECT_EQ(ann->LastName(), "");
    EXPECT_EQ(ann->Categories(), 0);
}

TEST_F(DataFileTest, ALineOverTheLimitStopsTheLoadNamingFileAndLine) {
    const std::string path = dir.File("huge.dat");
    {
        std::ofstream out(path, std::ios::binary);
        out << Lines({"{Params}", std::string(kRootRecord), "{1 0 }Before~~~~~~1", "{Fold}0"});
        out << "{1 0 }";
        const std::string chunk(1 << 20, 'x');
        for (int i = 0; i < 65; ++i) {
            out << chunk;
        }
        out << "~~~~~~2\r\n{Fold}0\r\n";
    }
    TDataFile file(path);
    const FileResult result = file.LoadDataFile(outline);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.line, 5);
    EXPECT_NE(result.message.find("huge.dat"), std::string::npos) << result.message;
    EXPECT_NE(result.message.find("Line 5"), std::string::npos) << result.message;
    ASSERT_EQ(root->ChildCount(), 1u);
    EXPECT_EQ(Title(Node(root, 0)), "Before");
    EXPECT_TRUE(file.BackupPending());
}

TEST_F(DataFileTest, AnyLineEndEndsALine) {
    const std::initializer_list<std::string_view> records = {
        "{1 9 }R~~~~~~4",  "{Remd}2001,2,3,0~~5", "{1 0 }F~~~~~~1",
        "{Fold}2",         "{2 3 }P~~~~~~2",      "{Pers}~~Ann~~~~Lee~~~~~~~~~~~~3",
        "{3 6 }Ph~~~~~~3", "{Phon}1~~4"};
    const std::string expected = Lines({"{Params}", kRootRecord}) + Lines(records);
    for (const char* end : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(end)));
        TOutline fresh;
        ASSERT_TRUE(ReadRecords(Lines(records, end), fresh.CreateRoot(), "ends.qld"));
        EXPECT_EQ(DataFileText(fresh), expected);
    }
    // Mixed in one file.
    TOutline fresh;
    ASSERT_TRUE(ReadRecords("{1 9 }R~~~~~~4\n{Remd}2001,2,3,0~~5\r{1 0 }F~~~~~~1\r\n{Fold}2\n"
                            "{2 3 }P~~~~~~2\r{Pers}~~Ann~~~~Lee~~~~~~~~~~~~3\r\n{3 6 }Ph~~~~~~3\n"
                            "{Phon}1~~4",
                            fresh.CreateRoot(), "mixed.qld"));
    EXPECT_EQ(DataFileText(fresh), expected);
}

TEST_F(DataFileTest, ByteOrderMarkIsIgnored) {
    const std::string exchange = dir.File("bom.qld");
    Put(exchange, "\xEF\xBB\xBF" + Lines({"{1 0 }Z\xC3\xBC"
                                          "rich~~~~~~1",
                                          "{Fold}2"}));
    ASSERT_TRUE(ImportFile(root, exchange));
    ASSERT_EQ(root->ChildCount(), 1u);
    EXPECT_EQ(Title(Node(root, 0)), "Zürich");
    EXPECT_EQ(Node(root, 0)->Item()->Categories(), 2);

    const std::string data = dir.File("quil.dat");
    Put(data, "\xEF\xBB\xBF" + Lines({"{Params}", std::string(kRootRecord),
                                      "{1 0 }Caf\xC3\xA9~~~~~~1", "{Fold}0"}));
    TOutline fresh;
    TDataFile file(data);
    ASSERT_TRUE(file.LoadDataFile(fresh));
    ASSERT_EQ(fresh.Root()->ChildCount(), 1u);
    EXPECT_EQ(Title(fresh.Root()->ChildAt(0)), "Café");
}

TEST_F(DataFileTest, WindowsFilesAreReadAsWindows1252LineByLine) {
    const std::string path = dir.File("quil.dat");
    Put(path,
        Lines({"{Params}", std::string(kRootRecord), "{1 3 }Ren\xE9 M\xFCller~~caf\xE9~~\x80 5~~10",
               "{Pers}~~Ren\xE9~~~~M\xFCller~~~~~~~~~~~~0",
               // A line added later in UTF-8 stays as it is.
               "{1 0 }Zo\xC3\xAB~~~~~~11", "{Fold}0"}));
    TDataFile file(path);
    ASSERT_TRUE(file.LoadDataFile(outline));
    ASSERT_EQ(root->ChildCount(), 2u);
    auto* person = dynamic_cast<TPersonObject*>(Node(root, 0)->Item());
    ASSERT_NE(person, nullptr);
    EXPECT_EQ(person->Title(), "René Müller");
    EXPECT_EQ(person->Target(), "café");
    EXPECT_EQ(person->Comment(), "€ 5");
    EXPECT_EQ(person->FirstName(), "René");
    EXPECT_EQ(person->LastName(), "Müller");
    EXPECT_EQ(Title(Node(root, 1)), "Zoë");

    // Saved back in UTF-8.
    ASSERT_TRUE(file.SaveDataFile(outline));
    const std::string saved = Get(path);
    EXPECT_TRUE(IsValidUtf8(saved));
    EXPECT_NE(saved.find("{1 3 }René Müller~~café~~€ 5~~10\r\n"), std::string::npos);
}

// Files are read in pieces of a mebibyte; a line, a CR LF pair or a Windows-1252 line that
// straddles two pieces reads as it would in one.
TEST_F(DataFileTest, LinesAcrossReadPiecesReadWhole) {
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    const std::string header = "{1 0 }";
    const std::string tail = "~~~~~~1";
    for (const char* end : {"\r\n", "\r"}) {
        for (bool windows : {false, true}) {
            for (int shift = -2; shift <= 2; ++shift) {
                SCOPED_TRACE(testing::Message()
                             << "shift " << shift << (windows ? " cp1252" : "") << " end "
                             << testing::PrintToString(std::string(end)));
                // The header's line end lands at the end of the first piece, give or take.
                const std::size_t length = kPiece - 1 - header.size() - tail.size() + shift;
                std::string title(length, 'x');
                std::string expectedTitle = title;
                if (windows) {
                    title.replace(length - 4, 1, "\xE9");
                    expectedTitle.replace(length - 4, 1, "é");
                }
                const std::string bytes = header + title + tail + end + "{Fold}5" + end +
                                          "{1 0 }Second~~~~~~2" + end + "{Fold}3" + end;
                const std::string path = dir.File("big.qld");
                Put(path, bytes);
                TOutline fresh;
                TOutlineNode* top = fresh.CreateRoot();
                ASSERT_TRUE(ImportFile(top, path));
                ASSERT_EQ(top->ChildCount(), 2u);
                EXPECT_TRUE(Node(top, 0)->Item()->Title() == expectedTitle);
                EXPECT_EQ(Node(top, 0)->Item()->Categories(), 5);
                EXPECT_EQ(Title(Node(top, 1)), "Second");
                EXPECT_EQ(Node(top, 1)->Item()->Categories(), 3);
            }
        }
    }
}

TEST_F(DataFileTest, SubtreeLevelsAreRelativeAndTreeCategoriesZero) {
    TOutlineNode* top = Make(kFolderKind, "Top", root, 10, "{Fold}5")->Node();
    TOutlineNode* inner = Make(kFolderKind, "Inner", top, 11, "{Fold}9")->Node();
    TOutlineNode* person =
        Make(kPersonKind, "P", inner, 12, "{Pers}Ms.~~Ann~~~~Lee~~~~~~~~~~~~6")->Node();
    Make(kPhoneKind, "Ph", person, 13, "{Phon}7~~7");
    Make(kWebsiteKind, "W", person, 14, "{Webs}8");
    Make(kTeamKind, "T", top, 15, "{Team}-2147483648");
    Make(kOrganizationKind, "O", top, 16, "{Orgn}a~~b~~c~~d~~e~~3");

    const std::string expected = Lines({
        "{1 0 }Top~~~~~~10",
        "{Fold}0",
        "{2 0 }Inner~~~~~~11",
        "{Fold}0",
        "{3 3 }P~~~~~~12",
        "{Pers}Ms.~~Ann~~~~Lee~~~~~~~~~~~~0",
        "{4 6 }Ph~~~~~~13",
        "{Phon}7~~7",
        "{4 4 }W~~~~~~14",
        "{Webs}0",
        "{2 2 }T~~~~~~15",
        "{Team}0",
        "{2 1 }O~~~~~~16",
        "{Orgn}a~~b~~c~~d~~e~~0",
    });
    const std::string path = dir.File("top.qld");
    ASSERT_TRUE(WriteSubtree(*top, path));
    EXPECT_EQ(Get(path), expected);
    // Only the text was zeroed.
    EXPECT_EQ(top->Item()->Categories(), 5);
    EXPECT_EQ(Node(top, 1)->Item()->Categories(), INT32_MIN);

    // The same records with the categories kept, for copies from the list.
    std::string kept;
    AppendSubtreeRecords(*top, kept, {}, false);
    EXPECT_NE(kept.find("{1 0 }Top~~~~~~10\r\n{Fold}5\r\n"), std::string::npos) << kept;
    EXPECT_NE(kept.find("{2 2 }T~~~~~~15\r\n{Team}-2147483648\r\n"), std::string::npos) << kept;

    // Read back, the subtree has its shape again.
    TOutline other;
    TOutlineNode* otherRoot = other.CreateRoot();
    ASSERT_TRUE(ImportFile(otherRoot, path));
    ASSERT_EQ(otherRoot->ChildCount(), 1u);
    std::string reread;
    AppendSubtreeRecords(*otherRoot->ChildAt(0), reread, {}, false);
    EXPECT_EQ(reread, expected);
}

TEST_F(DataFileTest, HiddenItemsAreLeftOutButNotTheirDescendants) {
    TOutlineNode* top = Make(kFolderKind, "Top", root, 10)->Node();
    TOutlineNode* person = Make(kPersonKind, "P", top, 11)->Node();
    Make(kPhoneKind, "Ph", person, 12, "{Phon}~~1");
    Make(kWebsiteKind, "W", person, 13);
    TOutlineNode* team = Make(kTeamKind, "T", top, 14)->Node();
    Make(kFaxKind, "Fx", team, 15, "{Faxs}1");
    const HiddenItemTest hidden = [](const TNRBObject& item) {
        return item.Title() == "Top" || item.Title() == "P";
    };
    const std::string path = dir.File("filtered.qld");
    ASSERT_TRUE(WriteSubtree(*top, path, hidden));
    // A hidden item takes its own child items with it; its child nodes keep their levels.
    EXPECT_EQ(Get(path), Lines({"{3 4 }W~~~~~~13", "{Webs}0", "{2 2 }T~~~~~~14", "{Team}0",
                                "{3 8 }Fx~~~~~~15", "{Faxs}1"}));
}

TEST_F(DataFileTest, SavedOutlineLoadsAsItWasSaved) {
    TOutlineNode* family = Make(kFolderKind, "Family", root, 10, "{Fold}5")->Node();
    TOutlineNode* ann =
        Make(kPersonKind, "Ann", family, 11, "{Pers}Ms.~~Ann~~~~Lee~~Home~~~~~~~~~~-1")->Node();
    Make(kAddressKind, "Home", ann, 12, "{Addr}1 Main St~~~~~~Town~~~~~~UK~~2");
    Make(kReminderKind, "Birthday", ann, 13, "{Remd}1990,6,1,2~~0");
    Make(kToolKind, "Editor", ann, 14, "{Tool}gedit~~-n~~0");
    Make(kDocumentKind, "Notes", ann, 15, "{Docs}0");
    Make(kWebsiteKind, "Site", family, 16, "{Webs}1");
    Make(kEMailKind, "Mail", root, 17, "{Mail}2");

    const std::string path = dir.File("quil.dat");
    TDataFile file(path);
    ASSERT_TRUE(file.SaveDataFile(outline));
    const std::string saved = Get(path);
    EXPECT_TRUE(saved.starts_with("{Params}\r\n{0 11 }My Contacts~~~~~~32892645\r\n"));
    EXPECT_EQ(saved, DataFileText(outline));
    // The data file keeps the tree items' categories.
    EXPECT_NE(saved.find("{1 0 }Family~~~~~~10\r\n{Fold}5\r\n"), std::string::npos);

    TOutline loaded;
    TDataFile reread(path);
    ASSERT_TRUE(reread.LoadDataFile(loaded));
    EXPECT_EQ(DataFileText(loaded), saved);
    EXPECT_EQ(loaded.NodeCount(), outline.NodeCount());
    // The reminder is due again under its person and folder.
    ASSERT_EQ(loaded.Root()->ChildCount(), 1u);
    TOutlineNode* loadedFolder = loaded.Root()->ChildAt(0);
    ASSERT_EQ(loadedFolder->ChildCount(), 2u);
    EXPECT_EQ(loadedFolder->ChildAt(0)->Text(), "Ann");
    EXPECT_EQ(loadedFolder->ChildAt(0)->Item()->DueCount(), 1);
    EXPECT_EQ(loadedFolder->Item()->DueCount(), 1);
    // Nothing but the file itself is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

#ifndef _WIN32
TEST_F(DataFileTest, FailedSaveLeavesTheOldFileWhole) {
    const std::string sub = dir.File("locked");
    fs::create_directories(sub);
    const std::string path = sub + "/quil.dat";
    const std::string old =
        Lines({"{Params}", std::string(kRootRecord), "{1 0 }Old~~~~~~1", "{Fold}0"});
    Put(path, old);
    Make(kFolderKind, "New", root, 2);

    fs::permissions(sub, fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::replace);
    struct Restore {
        std::string dir;
        ~Restore() {
            std::error_code ec;
            fs::permissions(dir, fs::perms::owner_all, fs::perm_options::replace, ec);
        }
    } restore{sub};
    if (::access(sub.c_str(), W_OK) == 0) {
        GTEST_SKIP() << "running with rights that ignore directory permissions";
    }
    TDataFile file(path);
    const FileResult result = file.SaveDataFile(outline);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.message.empty());
    EXPECT_EQ(Get(path), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(sub), fs::directory_iterator()), 1);

    const FileResult subtree = WriteSubtree(*root, sub + "/out.qld");
    EXPECT_FALSE(subtree.ok);
    EXPECT_FALSE(fs::exists(sub + "/out.qld"));
}
#endif

TEST_F(DataFileTest, DamagedFileIsKeptAsBackupAtTheNextSave) {
    const std::string path = dir.File("quil.dat");
    const std::string damaged =
        Lines({"{Params}", std::string(kRootRecord), "{1 0 }Kept~~~~~~1", "{Fold}0",
               "{1 x }Bad~~~~~~2", "{Fold}0", "{1 0 }Lost~~~~~~3", "{Fold}0"});
    Put(path, damaged);
    TDataFile file(path);
    EXPECT_EQ(file.BackupPath(), path + ".bak");
    EXPECT_FALSE(file.LoadDataFile(outline));
    EXPECT_TRUE(file.BackupPending());
    EXPECT_FALSE(fs::exists(file.BackupPath())); // nothing is written before a save
    ASSERT_EQ(root->ChildCount(), 1u);

    ASSERT_TRUE(file.SaveDataFile(outline));
    EXPECT_FALSE(file.BackupPending());
    EXPECT_EQ(Get(file.BackupPath()), damaged);
    EXPECT_EQ(Get(path), DataFileText(outline));

    // The next save replaces the data file but leaves the backup of the original alone.
    Make(kFolderKind, "Added", root, 4);
    ASSERT_TRUE(file.SaveDataFile(outline));
    EXPECT_EQ(Get(file.BackupPath()), damaged);
    EXPECT_NE(Get(path).find("Added"), std::string::npos);

    // A file that loaded whole gets no backup.
    const std::string good = dir.File("good.dat");
    Put(good, Lines({"{Params}", std::string(kRootRecord)}));
    TOutline fresh;
    TDataFile goodFile(good);
    ASSERT_TRUE(goodFile.LoadDataFile(fresh));
    ASSERT_TRUE(goodFile.SaveDataFile(fresh));
    EXPECT_FALSE(fs::exists(goodFile.BackupPath()));
}

TEST_F(DataFileTest, UnknownKindsKeepTheirDataLine) {
    const std::string records = Lines({
        "{Params}",
        std::string(kRootRecord),
        "{1 20 }Mystery~~t~~c~~9",
        "{Xyzw}a~~b~~~c",
        "{1 0 }F~~~~~~5",
        "{Fold}3",
        "{2 255 }Odd~~~~~~6",
        "",
        "{2 3 }P~~~~~~7",
        "{Pers}~~~~~~~~~~~~~~~~~~0",
        "{3 13 }Looks like a header~~~~~~8",
        "{1 0 }NotAFolder~~~~~~9",
    });
    const std::string path = dir.File("quil.dat");
    Put(path, records);
    TDataFile file(path);
    ASSERT_TRUE(file.LoadDataFile(outline));
    ASSERT_EQ(root->Item()->ChildCount(), 1u);
    auto* mystery = dynamic_cast<TUnknownKindObject*>(root->Item()->ChildAt(0));
    ASSERT_NE(mystery, nullptr);
    EXPECT_EQ(mystery->Kind(), 20);
    EXPECT_EQ(mystery->Target(), "t");
    EXPECT_EQ(mystery->DataLine(), "{Xyzw}a~~b~~~c");
    ASSERT_EQ(root->ChildCount(), 1u);
    TOutlineNode* f = Node(root, 0);
    EXPECT_EQ(f->Item()->Categories(), 3);
    ASSERT_EQ(f->Item()->ChildCount(), 1u);
    EXPECT_EQ(f->Item()->ChildAt(0)->Kind(), 255);
    ASSERT_EQ(f->ChildCount(), 1u);
    // A header behind an unknown record is its data line, as it was read.
    ASSERT_EQ(Node(f, 0)->Item()->ChildCount(), 1u);
    EXPECT_EQ(static_cast<TUnknownKindObject*>(Node(f, 0)->Item()->ChildAt(0))->DataLine(),
              "{1 0 }NotAFolder~~~~~~9");

    // Saved and loaded twice, nothing moves and nothing is swallowed.
    ASSERT_TRUE(file.SaveDataFile(outline));
    EXPECT_EQ(Get(path), records);
    TOutline again;
    TDataFile reread(path);
    ASSERT_TRUE(reread.LoadDataFile(again));
    EXPECT_EQ(DataFileText(again), records);
}

} // namespace
} // namespace quill
