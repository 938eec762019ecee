#include "core/util/atomic_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace quill {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ =
            fs::temp_directory_path() / ("quill-atomic-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir_, ec);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    void Put(const std::string& name, const std::string& content) const {
        std::ofstream(Path(name), std::ios::binary) << content;
    }
    std::size_t EntryCount() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
    }

    fs::path dir_;
};

TEST_F(AtomicFileTest, CommitReplacesTheFile) {
    Put("quil.dat", "old content");
    AtomicFileWriter writer;
    ASSERT_TRUE(writer.Open(Path("quil.dat")));
    EXPECT_TRUE(writer.Write("new "));
    EXPECT_TRUE(writer.Write("content"));
    ASSERT_TRUE(writer.Commit()) << writer.Error();
    EXPECT_EQ(ReadWholeFile(Path("quil.dat")), "new content");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(AtomicFileTest, WithoutCommitTheOldFileStaysWhole) {
    Put("quil.dat", "old content");
    {
        AtomicFileWriter writer;
        ASSERT_TRUE(writer.Open(Path("quil.dat")));
        ASSERT_TRUE(writer.Write(std::string(3 << 20, 'x'))); // reaches the disk before Commit
        EXPECT_TRUE(fs::exists(writer.TempPath()));
        EXPECT_EQ(fs::path(writer.TempPath()).parent_path(), dir_);
        EXPECT_EQ(ReadWholeFile(Path("quil.dat")), "old content");
    }
    EXPECT_EQ(ReadWholeFile(Path("quil.dat")), "old content");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(AtomicFileTest, ManyWritesOfMixedSizesArriveInOrder) {
    std::string expected;
    AtomicFileWriter writer;
    ASSERT_TRUE(writer.Open(Path("big")));
    std::mt19937 random(7);
    for (int i = 0; i < 200; ++i) {
        // Mostly small pieces, now and then one larger than the buffer.
        const std::size_t size = i % 50 == 49 ? (3u << 20) : random() % 40000;
        const std::string piece(size, static_cast<char>('a' + i % 26));
        expected += piece;
        ASSERT_TRUE(writer.Write(piece));
    }
    ASSERT_TRUE(writer.Commit()) << writer.Error();
    EXPECT_EQ(ReadWholeFile(Path("big")), expected);
}

TEST_F(AtomicFileTest, PiecesHandedOverArriveInOrderAmongBufferedOnes) {
    std::string expected;
    AtomicFileWriter writer;
    ASSERT_TRUE(writer.Open(Path("quil.dat")));
    std::string piece;
    for (int i = 0; i < 300; ++i) {
        const std::string small = "line " + std::to_string(i) + "\r\n";
        expected += small;
        ASSERT_TRUE(writer.Write(small));
        if (i % 3 == 0) {
            piece.assign(100000 + i, static_cast<char>('a' + i % 26));
            expected += piece;
            const std::size_t capacity = piece.capacity();
            ASSERT_TRUE(writer.WriteHandingOver(piece));
            // An emptied buffer comes back, ready for the next piece.
            EXPECT_TRUE(piece.empty());
            EXPECT_GE(piece.capacity(), capacity);
        }
    }
    ASSERT_TRUE(writer.Commit()) << writer.Error();
    EXPECT_EQ(ReadWholeFile(Path("quil.dat")), expected);
    EXPECT_EQ(EntryCount(), 1u);
}

// Two buffers handed over in turn, one making larger pieces than the other: the buffers that
// come back must stay near the pieces' size, not double each other at every turn.
TEST_F(AtomicFileTest, BuffersHandedOverInTurnStayTheirSize) {
    AtomicFileWriter writer;
    ASSERT_TRUE(writer.Open(Path("out.csv")));
    std::string buffers[2];
    std::size_t written = 0;
    for (std::size_t i = 0; i < 40; ++i) {
        std::string& piece = buffers[i % 2];
        piece.append((i % 2 == 0 ? 70'000 : 100'000) + i, 'x');
        written += piece.size();
        ASSERT_TRUE(writer.WriteHandingOver(piece));
        EXPECT_LE(piece.capacity(), std::size_t{1} << 18) << "at piece " << i;
    }
    ASSERT_TRUE(writer.Commit()) << writer.Error();
    EXPECT_EQ(ReadWholeFile(Path("out.csv")).value_or("").size(), written);
}

TEST_F(AtomicFileTest, AFailedWriteOfAPieceHandedOverFailsTheSave) {
    Put("quil.dat", "old content");
    // The disk fills in the third piece, written while the caller goes on.
    ScopedFileFault fault(ScopedFileFault::Step::Write, ENOSPC, "quil.dat", 250000);
    {
        AtomicFileWriter writer;
        ASSERT_TRUE(writer.Open(Path("quil.dat")));
        bool ok = true;
        int accepted = 0;
        for (int i = 0; ok && i < 10; ++i) {
            std::string piece(100000, 'x');
            ok = writer.WriteHandingOver(piece);
            accepted += ok ? 1 : 0;
        }
        EXPECT_LE(accepted, 4); // reported at the latest by the call after the next
        EXPECT_FALSE(writer.Write("more"));
        EXPECT_FALSE(writer.Commit());
        EXPECT_NE(writer.Error().find("No space left on device"), std::string::npos)
            << writer.Error();
    }
    EXPECT_EQ(fault.Failures(), 1);
    EXPECT_EQ(ReadWholeFile(Path("quil.dat")), "old content");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(AtomicFileTest, AWriterLeftWithAPieceInFlightLeavesTheOldFile) {
    Put("quil.dat", "old content");
    {
        AtomicFileWriter writer;
        ASSERT_TRUE(writer.Open(Path("quil.dat")));
        std::string piece(1u << 20, 'y');
        ASSERT_TRUE(writer.WriteHandingOver(piece));
    }
    EXPECT_EQ(ReadWholeFile(Path("quil.dat")), "old content");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(AtomicFileTest, MissingDirectoryFailsWithAReadableError) {
    const std::string target = Path("no-such-dir/quil.dat");
    AtomicFileWriter writer;
    EXPECT_FALSE(writer.Open(target));
    EXPECT_FALSE(writer.Write("x"));
    EXPECT_FALSE(writer.Commit());
    EXPECT_NE(writer.Error().find(target), std::string::npos) << writer.Error();
    EXPECT_NE(writer.Error().find("No such file"), std::string::npos) << writer.Error();
    EXPECT_FALSE(fs::exists(dir_ / "no-such-dir"));
}

#ifndef _WIN32
TEST_F(AtomicFileTest, ReadOnlyDirectoryFailsAndKeepsTheFile) {
    Put("quil.dat", "old");
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(dir_.c_str(), W_OK) == 0) {
        GTEST_SKIP() << "running with rights that ignore directory permissions";
    }
    AtomicFileWriter writer;
    EXPECT_FALSE(writer.Open(Path("quil.dat")));
    EXPECT_NE(writer.Error().find("Permission denied"), std::string::npos) << writer.Error();
    EXPECT_EQ(ReadWholeFile(Path("quil.dat")), "old");
}

TEST_F(AtomicFileTest, KeepsPermissionBitsAndSymbolicLinks) {
    Put("real.ini", "old");
    fs::permissions(Path("real.ini"),
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real.ini", Path("link.ini"));
    AtomicFileWriter writer;
    ASSERT_TRUE(writer.Open(Path("link.ini")));
    ASSERT_TRUE(writer.Write("new"));
    ASSERT_TRUE(writer.Commit()) << writer.Error();
    EXPECT_TRUE(fs::is_symlink(Path("link.ini")));
    EXPECT_EQ(ReadWholeFile(Path("real.ini")), "new");
    EXPECT_EQ(fs::status(Path("real.ini")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}
#endif

// The failure paths of a save, made to fail on demand so that they run whatever the user's
// rights: each failing step is reported with the file's name and the system's reason, and the
// old file stays whole with no temporary file left beside it.
struct StepFailure {
    const char* name;
    ScopedFileFault::Step step;
    int error;
    const char* verb;
    friend void PrintTo(const StepFailure& failure, std::ostream* out) { *out << failure.name; }
};

class AtomicFileFaultTest : public AtomicFileTest,
                            public ::testing::WithParamInterface<StepFailure> {};

TEST_P(AtomicFileFaultTest, AFailingStepKeepsTheOldFileWhole) {
    const StepFailure& failure = GetParam();
    Put("quil.dat", "old content");
    const std::string big(3 << 20, 'n'); // more than the buffer: written before Commit too
    ScopedFileFault fault(failure.step, failure.error);
    {
        AtomicFileWriter writer;
        const bool ok = writer.Open(Path("quil.dat")) && writer.Write("new ") &&
                        writer.Write(big) && writer.Commit();
        EXPECT_FALSE(ok);
        EXPECT_EQ(fault.Failures(), 1);
        const std::string expected = std::string(failure.verb) + " \"" + Path("quil.dat") +
                                     "\": " + std::strerror(failure.error);
        EXPECT_EQ(writer.Error(), expected);
        // Later calls fail too, and keep the first failure's report.
        EXPECT_FALSE(writer.Write("more"));
        EXPECT_FALSE(writer.Commit());
        EXPECT_EQ(writer.Error(), expected);
        EXPECT_EQ(ReadWholeFile(Path("quil.dat")), "old content");
    }
    EXPECT_EQ(ReadWholeFile(Path("quil.dat")), "old content");
    EXPECT_EQ(EntryCount(), 1u) << "the temporary file is removed";
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, AtomicFileFaultTest,
    ::testing::Values(
        StepFailure{"ReadOnlyDisk", ScopedFileFault::Step::Create, EROFS, "Cannot save"},
        StepFailure{"Write", ScopedFileFault::Step::Write, EIO, "Cannot write"},
        StepFailure{"FullDisk", ScopedFileFault::Step::Write, ENOSPC, "Cannot write"},
        StepFailure{"Sync", ScopedFileFault::Step::Sync, EIO, "Cannot write"},
        StepFailure{"SyncOnFullDisk", ScopedFileFault::Step::Sync, ENOSPC, "Cannot write"},
        StepFailure{"Close", ScopedFileFault::Step::Close, EIO, "Cannot write"},
        StepFailure{"Rename", ScopedFileFault::Step::Rename, EXDEV, "Cannot replace"}),
    [](const ::testing::TestParamInfo<StepFailure>& info) { return std::string(info.param.name); });

TEST_F(AtomicFileTest, ADiskThatFillsPartWayFailsTheSave) {
    Put("quil.dat", "old content");
    std::string content;
    for (int i = 0; content.size() < (5u << 20); ++i) {
        content += "{1 3 }Person " + std::to_string(i) + "~~~~~~" + std::to_string(i) + "\r\n";
    }
    // Room for a little over one buffer: the second write is cut short, the next fails.
    ScopedFileFault fault(ScopedFileFault::Step::Write, ENOSPC, "quil.dat", (1u << 20) + 4096);
    {
        AtomicFileWriter writer;
        ASSERT_TRUE(writer.Open(Path("quil.dat")));
        bool ok = true;
        for (std::size_t at = 0; ok && at < content.size(); at += 65536) {
            ok = writer.Write(std::string_view(content).substr(at, 65536));
        }
        ok = ok && writer.Commit();
        EXPECT_FALSE(ok);
        EXPECT_EQ(fault.Failures(), 1);
        EXPECT_NE(writer.Error().find("No space left on device"), std::string::npos)
            << writer.Error();
    }
    EXPECT_EQ(ReadWholeFile(Path("quil.dat")), "old content");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(AtomicFileTest, AFaultHitsOnlyTheFileItNames) {
    ScopedFileFault fault(ScopedFileFault::Step::Sync, EIO, "quil.dat");
    AtomicFileWriter other;
    ASSERT_TRUE(other.Open(Path("nrb.ini")));
    ASSERT_TRUE(other.Write("[WinState]\r\n"));
    EXPECT_TRUE(other.Commit()) << other.Error();
    EXPECT_EQ(fault.Failures(), 0);
    AtomicFileWriter data;
    ASSERT_TRUE(data.Open(Path("quil.dat")));
    EXPECT_FALSE(data.Commit());
    EXPECT_EQ(fault.Failures(), 1);
}

TEST_F(AtomicFileTest, OnlyDurableFilesWaitForTheDisk) {
    ScopedFileFault fault(ScopedFileFault::Step::Sync, EIO);
    AtomicFileWriter copy;
    copy.SetDurable(false);
    ASSERT_TRUE(copy.Open(Path("page.html")));
    ASSERT_TRUE(copy.Write("<html>"));
    EXPECT_TRUE(copy.Commit()) << copy.Error();
    EXPECT_EQ(fault.Failures(), 0);
    EXPECT_EQ(ReadWholeFile(Path("page.html")), "<html>");
}

TEST_F(AtomicFileTest, AnExclusiveCopyThatCannotBeLinkedLeavesNothing) {
    ScopedFileFault fault(ScopedFileFault::Step::Rename, EXDEV);
    AtomicFileWriter writer;
    writer.SetExclusive(true);
    ASSERT_TRUE(writer.Open(Path("quil.dat.recovered-19970312-101500")));
    ASSERT_TRUE(writer.Write("copy"));
    EXPECT_FALSE(writer.Commit());
    EXPECT_EQ(writer.Error().rfind("Cannot create", 0), 0u) << writer.Error();
    EXPECT_EQ(EntryCount(), 0u);
}

TEST_F(AtomicFileTest, CopyAndRead) {
    std::string binary;
    for (int i = 0; i < 3000000; ++i) {
        binary += static_cast<char>(i * 7);
    }
    Put("quil.dat", binary);
    std::string error;
    ASSERT_TRUE(CopyFileBytes(Path("quil.dat"), Path("quil.dat.bak"), &error)) << error;
    EXPECT_EQ(ReadWholeFile(Path("quil.dat.bak")), binary);

    EXPECT_FALSE(CopyFileBytes(Path("missing"), Path("copy"), &error));
    EXPECT_NE(error.find(Path("missing")), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(Path("copy")));

    {
        // A copy that fails part-way leaves no partial file behind.
        ScopedFileFault full(ScopedFileFault::Step::Write, ENOSPC, "copy", 1000);
        EXPECT_FALSE(CopyFileBytes(Path("quil.dat"), Path("copy"), &error));
        EXPECT_NE(error.find("No space left on device"), std::string::npos) << error;
        EXPECT_FALSE(fs::exists(Path("copy")));
    }

    EXPECT_EQ(ReadWholeFile(Path("missing")), std::nullopt);
    EXPECT_EQ(ReadWholeFile(dir_.string()), std::nullopt); // a directory has no content
    Put("empty", "");
    EXPECT_EQ(ReadWholeFile(Path("empty")), "");
}

// Copies of the outline (published vCard files) are written in place when they are new; an
// existing file or link is still replaced whole, and a failure never leaves part of a file.
TEST_F(AtomicFileTest, CopyFilesAreWrittenInPlaceWhenNewAndReplacedWholeOtherwise) {
    std::string error;
    ASSERT_TRUE(SaveCopyFile(Path("vc1.vcf"), "begin:vcard\r\n", &error)) << error;
    EXPECT_EQ(ReadWholeFile(Path("vc1.vcf")), "begin:vcard\r\n");
    EXPECT_EQ(EntryCount(), 1u);

    ASSERT_TRUE(SaveCopyFile(Path("vc1.vcf"), "shorter", &error)) << error;
    EXPECT_EQ(ReadWholeFile(Path("vc1.vcf")), "shorter");
#ifndef _WIN32
    Put("real.vcf", "old");
    fs::create_symlink("real.vcf", Path("link.vcf"));
    ASSERT_TRUE(SaveCopyFile(Path("link.vcf"), "new", &error)) << error;
    EXPECT_TRUE(fs::is_symlink(Path("link.vcf")));
    EXPECT_EQ(ReadWholeFile(Path("real.vcf")), "new");
#endif
    EXPECT_EQ(SaveCopyFile(Path("missing/vc2.vcf"), "x", &error), false);
    EXPECT_EQ(error.rfind("Cannot save \"" + Path("missing/vc2.vcf") + "\"", 0), 0u) << error;

    for (const ScopedFileFault::Step step :
         {ScopedFileFault::Step::Write, ScopedFileFault::Step::Close}) {
        ScopedFileFault full(step, ENOSPC, "vc3.vcf", 3);
        EXPECT_FALSE(SaveCopyFile(Path("vc3.vcf"), "begin:vcard", &error));
        EXPECT_EQ(full.Failures(), 1);
        EXPECT_EQ(error, "Cannot write \"" + Path("vc3.vcf") + "\": " + std::strerror(ENOSPC));
        EXPECT_FALSE(fs::exists(Path("vc3.vcf"))) << "nothing half written stays";
    }
    {
        ScopedFileFault full(ScopedFileFault::Step::Write, ENOSPC, "vc1.vcf");
        EXPECT_FALSE(SaveCopyFile(Path("vc1.vcf"), "longer content", &error));
        EXPECT_EQ(ReadWholeFile(Path("vc1.vcf")), "shorter") << "an old file stays whole";
    }
}

} // namespace
} // namespace quill
