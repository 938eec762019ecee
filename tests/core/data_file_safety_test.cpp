// What keeps the user's outline safe around the data file: reverting to exactly what the file
// holds, a foreign file kept rather than overwritten, another program's write noticed,
// private and exclusive copies, and the temporary files that killed saves leave behind.

#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"
#include "core/storage/data_file.h"
#include "core/storage/recovery_files.h"
#include "core/util/atomic_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace quill {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Get(const std::string& path) {
    return ReadWholeFile(path).value_or("<missing>");
}

class DataFileSafetyTest : public ::testing::Test {
protected:
    test::FakeServices services;
    test::TempDir dir;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();

    TNRBObject* Make(int kind, std::string_view title, TOutlineNode* parent, std::int32_t id = 1,
                     std::string_view dataLine = "") {
        return CreateItem(kind, title, "", "", id, dataLine, parent);
    }
};

TEST_F(DataFileSafetyTest, ReloadGivesExactlyWhatTheFileHolds) {
    // Items held by the root itself and a second top-level node are what a plain "delete the
    // root's child nodes" would keep and then read a second time.
    Make(kFolderKind, "Family", root, 10, "{Fold}0");
    Make(kPhoneKind, "Main", root, 11, "{Phon}555-0100~~~~0");
    Make(kReminderKind, "Tax day", root, 12, "{Remd}1997,4,15,2~~0");
    const std::string path = dir.File("quil.dat");
    Put(path, "{Params}\r\n{0 11 }My Contacts~~~~~~32892645\r\n"
              "{1 6 }Main~~~~~~11\r\n{Phon}555-0100~~~~0\r\n"
              "{1 9 }Tax day~~~~~~12\r\n{Remd}1997,4,15,2~~0\r\n"
              "{1 0 }Family~~~~~~10\r\n{Fold}0\r\n"
              "{0 0 }Beside the root~~~~~~13\r\n{Fold}0\r\n");
    TDataFile file(path);
    TOutline loaded;
    ASSERT_TRUE(file.LoadDataFile(loaded));
    const std::string once = DataFileText(loaded);
    ASSERT_EQ(loaded.TopLevelCount(), 2u);

    for (int round = 0; round < 3; ++round) {
        // The user edits, then reverts, then saves: the file must not grow.
        Make(kFolderKind, "Scratch", loaded.Root(), 99, "{Fold}0");
        loaded.Root()->Item()->SetTitle("Renamed root");
        ASSERT_TRUE(file.ReloadDataFile(loaded));
        EXPECT_EQ(DataFileText(loaded), once) << "round " << round;
        ASSERT_TRUE(file.SaveDataFile(loaded));
        EXPECT_EQ(Get(path), once) << "round " << round;
    }
    ASSERT_NE(loaded.Root(), nullptr);
    EXPECT_EQ(loaded.Root()->Item()->Title(), "My Contacts");
    EXPECT_EQ(loaded.Root()->Item()->ChildCount(), 2u);
}

TEST_F(DataFileSafetyTest, ReloadFromAnotherFileKeepsTheDataFileUntouched) {
    const std::string path = dir.File("quil.dat");
    const std::string copy = dir.File("quil.dat.autosave");
    Put(path, "{Params}\r\n{0 11 }My Contacts~~~~~~32892645\r\n{1 0 }Old~~~~~~1\r\n{Fold}0\r\n");
    Put(copy, "{Params}\r\n{0 11 }My Contacts~~~~~~32892645\r\n{1 0 }New~~~~~~2\r\n{Fold}0\r\n");
    TDataFile file(path);
    ASSERT_TRUE(file.LoadDataFile(outline));
    ASSERT_TRUE(file.ReloadDataFile(outline, copy));
    ASSERT_EQ(outline.Root()->ChildCount(), 1u);
    EXPECT_EQ(outline.Root()->ChildAt(0)->Text(), "New");
    // Reading the copy is no write of the data file by someone else.
    EXPECT_FALSE(file.ChangedOnDisk());
    // A damaged copy never schedules a backup of the data file.
    Put(copy, "{Params}\r\n{1 x }Bad~~~~~~2\r\n");
    EXPECT_FALSE(file.ReloadDataFile(outline, copy));
    EXPECT_FALSE(file.BackupPending());
}

TEST_F(DataFileSafetyTest, AForeignFileIsAnErrorAndKeptBeforeTheNextSave) {
    const std::string path = dir.File("quil.dat");
    const std::string foreign = "Name,Phone\r\nAnn Lee,555-0100\r\n";
    Put(path, foreign);
    TDataFile file(path);
    const FileResult loaded = file.LoadDataFile(outline);
    EXPECT_FALSE(loaded.ok);
    EXPECT_NE(loaded.message.find(path), std::string::npos) << loaded.message;
    EXPECT_TRUE(file.BackupPending());
    EXPECT_NE(file.BackupNote().find(path + ".bak"), std::string::npos) << file.BackupNote();
    ASSERT_TRUE(file.SaveDataFile(outline));
    EXPECT_EQ(Get(path + ".bak"), foreign);
}

TEST_F(DataFileSafetyTest, OwnFilesWithoutItemsAreNoError) {
    const std::string path = dir.File("quil.dat");
    for (const std::string& text : {std::string(), std::string("{Params}\r\n"),
                                    std::string("{Params}\r\n{0 11 }My Contacts~~~~~~32892645\r\n"),
                                    // A header is ours even where the first line was lost.
                                    std::string("garbage\r\n{1 0 }F~~~~~~1\r\n{Fold}0\r\n")}) {
        Put(path, text);
        TOutline fresh;
        TDataFile file(path);
        EXPECT_TRUE(file.LoadDataFile(fresh)) << text;
        EXPECT_FALSE(file.BackupPending()) << text;
    }
}

TEST_F(DataFileSafetyTest, AWriteByAnotherProgramIsNoticedUntilTheNextSave) {
    const std::string path = dir.File("quil.dat");
    TDataFile file(path);
    ASSERT_TRUE(file.LoadDataFile(outline)); // missing: no error, nothing changed
    EXPECT_FALSE(file.ChangedOnDisk());
    Put(path, "{Params}\r\n");
    EXPECT_TRUE(file.ChangedOnDisk()); // created by someone else
    ASSERT_TRUE(file.SaveDataFile(outline));
    EXPECT_FALSE(file.ChangedOnDisk());

    // Same size, later time: another save of the same length.
    const std::string ours = Get(path);
    std::string theirs = ours;
    theirs[theirs.size() - 3] = 'x';
    std::this_thread::sleep_for(20ms);
    Put(path, theirs);
    fs::last_write_time(path, fs::last_write_time(path) + 2s);
    EXPECT_TRUE(file.ChangedOnDisk());
    ASSERT_TRUE(file.LoadDataFile(outline));
    EXPECT_FALSE(file.ChangedOnDisk());
    fs::remove(path);
    EXPECT_TRUE(file.ChangedOnDisk());
}

// A disk that fills up or fails, at each step of a save: whatever the user's rights, the save
// is reported as failed with the file and the reason, and the file keeps what it held.
TEST_F(DataFileSafetyTest, ASaveThatTheDiskFailsKeepsTheOldFile) {
    const std::string path = dir.File("quil.dat");
    Make(kFolderKind, "Saved", root, 10, "{Fold}0");
    TDataFile file(path);
    ASSERT_TRUE(file.SaveDataFile(outline));
    const std::string old = Get(path);
    // Larger than the writer's buffer, so that part of it reaches the disk before the end.
    for (int i = 0; i < 30000; ++i) {
        Make(kPersonKind, "Person " + std::to_string(i), root, 100 + i,
             "{Pers}~~~~~~~~~~~~~~~~~~0");
    }
    struct Case {
        ScopedFileFault::Step step;
        int error;
        std::size_t bytesBefore;
    };
    for (const Case& c :
         {Case{ScopedFileFault::Step::Create, EROFS, 0},
          Case{ScopedFileFault::Step::Write, ENOSPC, 0},
          Case{ScopedFileFault::Step::Write, ENOSPC, 1500000}, // part-way
          Case{ScopedFileFault::Step::Sync, EIO, 0}, Case{ScopedFileFault::Step::Close, EIO, 0},
          Case{ScopedFileFault::Step::Rename, EIO, 0}}) {
        ScopedFileFault fault(c.step, c.error, "quil.dat", c.bytesBefore);
        const FileResult saved = file.SaveDataFile(outline);
        const std::string what = std::strerror(c.error);
        EXPECT_FALSE(saved.ok) << what;
        EXPECT_EQ(fault.Failures(), 1) << what;
        EXPECT_NE(saved.message.find(path), std::string::npos) << saved.message;
        EXPECT_NE(saved.message.find(what), std::string::npos) << saved.message;
        EXPECT_EQ(Get(path), old) << what;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1)
            << "no temporary file is left: " << what;
        EXPECT_FALSE(file.ChangedOnDisk()) << what;
    }
    ASSERT_TRUE(file.SaveDataFile(outline));
    EXPECT_EQ(Get(path), DataFileText(outline));
}

TEST_F(DataFileSafetyTest, ADamagedFileIsKeptEvenWhenItsBackupFailsAtFirst) {
    const std::string path = dir.File("quil.dat");
    const std::string damaged =
        "{Params}\r\n{0 11 }My Contacts~~~~~~32892645\r\n{1 x }Bad~~~~~~2\r\n{Fold}0\r\n";
    Put(path, damaged);
    TDataFile file(path);
    EXPECT_FALSE(file.LoadDataFile(outline));
    ASSERT_TRUE(file.BackupPending());
    Make(kFolderKind, "New", outline.Root(), 5, "{Fold}0");
    {
        ScopedFileFault fault(ScopedFileFault::Step::Write, ENOSPC, "quil.dat.bak");
        const FileResult saved = file.SaveDataFile(outline);
        EXPECT_FALSE(saved.ok);
        EXPECT_EQ(fault.Failures(), 1);
        EXPECT_NE(saved.message.find("could not be kept"), std::string::npos) << saved.message;
        // The original is not replaced before it is kept.
        EXPECT_EQ(Get(path), damaged);
        EXPECT_FALSE(fs::exists(path + ".bak"));
        EXPECT_TRUE(file.BackupPending());
    }
    {
        // Kept, but the data file itself cannot be written: the backup stays done.
        ScopedFileFault fault(ScopedFileFault::Step::Sync, EIO, "quil.dat");
        EXPECT_FALSE(file.SaveDataFile(outline).ok);
        EXPECT_EQ(Get(path + ".bak"), damaged);
        EXPECT_EQ(Get(path), damaged);
    }
    ASSERT_TRUE(file.SaveDataFile(outline));
    EXPECT_EQ(Get(path + ".bak"), damaged);
    EXPECT_EQ(Get(path), DataFileText(outline));
}

TEST_F(DataFileSafetyTest, ExchangeAndClipboardFilesFailWhole) {
    TNRBObject* family = Make(kFolderKind, "Family", root, 10, "{Fold}0");
    Make(kPersonKind, "Ann", family->Node(), 11, "{Pers}~~~~~~~~~~~~~~~~~~0");
    const std::string exchange = dir.File("family.qld");
    Put(exchange, "old exchange");
    for (const std::string name : {"family.qld", "clipdata.dat"}) {
        ScopedFileFault fault(ScopedFileFault::Step::Write, ENOSPC, name);
        const FileResult written = WriteSubtree(*family->Node(), dir.File(name));
        EXPECT_FALSE(written.ok) << name;
        EXPECT_EQ(fault.Failures(), 1) << name;
        EXPECT_NE(written.message.find("No space left on device"), std::string::npos)
            << written.message;
    }
    EXPECT_EQ(Get(exchange), "old exchange");
    EXPECT_FALSE(fs::exists(dir.File("clipdata.dat")));
    // The copy written when the data file cannot take the outline fails the same way.
    ScopedFileFault fault(ScopedFileFault::Step::Sync, EIO);
    EXPECT_FALSE(WriteDataFileCopy(outline, dir.File("elsewhere.dat")).ok);
    EXPECT_FALSE(fs::exists(dir.File("elsewhere.dat")));
}

#ifndef _WIN32
TEST_F(DataFileSafetyTest, CopiesCanBePrivateAndExclusive) {
    Make(kFolderKind, "Family", root, 10, "{Fold}0");
    const std::string path = dir.File("quil.dat.recovered-19970312-101500");
    const mode_t oldMask = ::umask(0022);
    const FileResult first = WriteDataFileCopy(outline, path, {true, true});
    ::umask(oldMask);
    ASSERT_TRUE(first) << first.message;
    EXPECT_EQ(Get(path), DataFileText(outline));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // A second copy of the same name never replaces the first, and leaves no temp file.
    Make(kFolderKind, "Later", root, 11, "{Fold}0");
    const FileResult second = WriteDataFileCopy(outline, path, {true, true});
    EXPECT_FALSE(second.ok);
    EXPECT_EQ(Get(path).find("Later"), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

    // An ordinary copy takes the mode of the file it replaces.
    const std::string plain = dir.File("elsewhere.dat");
    Put(plain, "x");
    fs::permissions(plain, fs::perms(0640), fs::perm_options::replace);
    ASSERT_TRUE(WriteDataFileCopy(outline, plain));
    ASSERT_EQ(::stat(plain.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_NE(Get(plain).find("Later"), std::string::npos);
}
#endif

TEST(TempFileSweep, RemovesOnlyOldTempFilesOfTheGivenBases) {
    test::TempDir dir;
    const auto make = [&](const std::string& name, std::chrono::seconds age) {
        Put(dir.File(name), "x");
        fs::last_write_time(dir.File(name), fs::file_time_type::clock::now() - age);
    };
    make("quil.dat.tmp-Ab3xY9", 3600s);  // a killed save of the data file
    make("nrb.ini.tmp-000000", 11min);   // of the settings
    make("quil.dat.tmp-Qw12er", 30s);    // a save in progress in another process
    make("quil.dat.tmp-short", 3600s);   // not our pattern: five letters
    make("quil.dat.tmp-Ab3xY9z", 3600s); // seven
    make("quil.dat.tmp-Ab_xY9", 3600s);  // not a letter or digit
    make("other.dat.tmp-Ab3xY9", 3600s); // not one of our files
    make("quil.dat", 3600s);
    fs::create_directory(dir.File("quil.dat.tmp-DIRECT"));
    fs::last_write_time(dir.File("quil.dat.tmp-DIRECT"), fs::file_time_type::clock::now() - 1h);

    const std::vector<std::string> removed =
        SweepStaleTempFiles(dir.path().string(), {"quil.dat", "nrb.ini"}, 10min);
    EXPECT_EQ(removed.size(), 2u);
    EXPECT_FALSE(fs::exists(dir.File("quil.dat.tmp-Ab3xY9")));
    EXPECT_FALSE(fs::exists(dir.File("nrb.ini.tmp-000000")));
    for (const char* kept :
         {"quil.dat.tmp-Qw12er", "quil.dat.tmp-short", "quil.dat.tmp-Ab3xY9z",
          "quil.dat.tmp-Ab_xY9", "other.dat.tmp-Ab3xY9", "quil.dat", "quil.dat.tmp-DIRECT"}) {
        EXPECT_TRUE(fs::exists(dir.File(kept))) << kept;
    }
    EXPECT_TRUE(SweepStaleTempFiles(dir.File("missing"), {"quil.dat"}, 10min).empty());
}

TEST(TempFileSweep, TheWritersOwnTempNameMatches) {
    test::TempDir dir;
    AtomicFileWriter writer;
    ASSERT_TRUE(writer.Open(dir.File("quil.dat")));
    const std::string temp = fs::path(writer.TempPath()).filename().string();
    EXPECT_TRUE(IsTempFileOf(temp, "quil.dat")) << temp;
    EXPECT_FALSE(IsTempFileOf(temp, "quil.da"));
    // Fresh, so a sweep at the next start of another instance leaves it alone.
    EXPECT_TRUE(SweepStaleTempFiles(dir.path().string(), {"quil.dat"}, 10min).empty());
}

TEST(RecoveryFiles, NamesAndTheirRecognition) {
    EXPECT_EQ(AutosavePath("/home/ann/quil.dat"), "/home/ann/quil.dat.autosave");
    EXPECT_EQ(RecoveryFileName("quil.dat", "19970312-101500"),
              "quil.dat.recovered-19970312-101500");
    EXPECT_EQ(RecoveryFileName("quil.dat", "19970312-101500", 3),
              "quil.dat.recovered-19970312-101500-3");
    EXPECT_TRUE(IsRecoveryFileOf("quil.dat.recovered-19970312-101500", "quil.dat"));
    EXPECT_TRUE(IsRecoveryFileOf("quil.dat.recovered-19970312-101500-12", "quil.dat"));
    for (const char* other :
         {"quil.dat.recovered-", "quil.dat.recovered-1997031-101500",
          "quil.dat.recovered-19970312_101500", "quil.dat.recovered-19970312-101500-",
          "quil.dat.recovered-19970312-101500.tmp-Ab3xY9", "quil.dat.autosave",
          "other.dat.recovered-19970312-101500"}) {
        EXPECT_FALSE(IsRecoveryFileOf(other, "quil.dat")) << other;
    }
    // The recovery file's own temporary name is swept like the others.
    const std::vector<std::string> bases = OwnSavedFileNames("quil.dat");
    const auto swept = [&](std::string_view name) {
        return std::any_of(bases.begin(), bases.end(),
                           [&](const std::string& base) { return IsTempFileOf(name, base); });
    };
    EXPECT_TRUE(swept("quil.dat.recovered-19970312-101500.tmp-Ab3xY9"));
    EXPECT_TRUE(swept("quil.dat.autosave.tmp-Ab3xY9"));
    EXPECT_TRUE(swept("nrb.ini.tmp-Ab3xY9"));
    EXPECT_FALSE(swept("quil.dat.recovered-19970312-101500"));
    EXPECT_FALSE(swept("notes.txt.tmp-Ab3xY9"));
}

TEST(RecoveryFiles, OnlyCopiesNewerThanTheDataFileAreOffered) {
    test::TempDir dir;
    test::TempDir fallback;
    const auto make = [](const std::string& path, std::chrono::seconds age) {
        Put(path, "{Params}\r\n");
        fs::last_write_time(path, fs::file_time_type::clock::now() - age);
    };
    const std::string data = dir.File("quil.dat");
    make(data, 100s);
    make(dir.File("quil.dat.recovered-19970312-101500"), 200s); // older: saved since
    make(dir.File("quil.dat.recovered-19970312-101600"), 50s);
    make(fallback.File("quil.dat.recovered-19970312-101700"), 10s); // the newest
    make(dir.File("quil.dat.recovered-garbage"), 10s);
    make(dir.File("quil.dat.autosave"), 20s);

    const std::vector<std::string> found =
        NewerRecoveryFiles({dir.path().string(), fallback.path().string()}, data);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0], fallback.File("quil.dat.recovered-19970312-101700"));
    EXPECT_EQ(found[1], dir.File("quil.dat.recovered-19970312-101600"));
    EXPECT_TRUE(NewerThanDataFile(dir.File("quil.dat.autosave"), data));
    EXPECT_FALSE(NewerThanDataFile(dir.File("quil.dat.recovered-19970312-101500"), data));
    EXPECT_FALSE(NewerThanDataFile(dir.File("missing"), data));
    // Without a data file every copy holds more than it.
    fs::remove(data);
    EXPECT_EQ(NewerRecoveryFiles({dir.path().string()}, data).size(), 2u);
    EXPECT_TRUE(NewerThanDataFile(dir.File("quil.dat.autosave"), data));
}

} // namespace
} // namespace quill
