// Small files written on a thread of their own: all of them, in full; the first failure
// stops the rest and is reported; abandoning leaves nothing written afterwards.

#include "core/util/atomic_file.h"
#include "core/util/background_files.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

namespace quill {
namespace {

namespace fs = std::filesystem;

std::size_t FileCount(const fs::path& dir) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
}

std::string Content(int i) {
    return "BEGIN:VCARD\r\nFN:Person " + std::to_string(i) + "\r\nEND:VCARD\r\n";
}

TEST(BackgroundFileWriterTest, EveryFileQueuedIsWrittenWhole) {
    test::TempDir dir;
    BackgroundFileWriter writer;
    for (int i = 0; i < 2000; ++i) {
        ASSERT_TRUE(writer.Write(dir.File("vc" + std::to_string(i) + ".vcf"), Content(i)));
    }
    // An existing file is replaced.
    ASSERT_TRUE(writer.Write(dir.File("vc7.vcf"), "replaced"));
    ASSERT_TRUE(writer.Finish()) << writer.Error();
    EXPECT_EQ(FileCount(dir.path()), 2000u);
    for (int i = 0; i < 2000; ++i) {
        if (i != 7) {
            ASSERT_EQ(ReadWholeFile(dir.File("vc" + std::to_string(i) + ".vcf")), Content(i));
        }
    }
    EXPECT_EQ(ReadWholeFile(dir.File("vc7.vcf")), "replaced");
    // The writer can be used again after finishing.
    ASSERT_TRUE(writer.Write(dir.File("again.vcf"), "again"));
    EXPECT_TRUE(writer.Finish());
    EXPECT_EQ(ReadWholeFile(dir.File("again.vcf")), "again");
}

TEST(BackgroundFileWriterTest, TheFirstFailureStopsTheRestAndSaysWhichFile) {
    test::TempDir dir;
    BackgroundFileWriter writer;
    ASSERT_TRUE(writer.Write(dir.File("first.vcf"), "1"));
    const std::string unwritable = dir.File("missing/second.vcf");
    bool accepted = writer.Write(unwritable, "2");
    // Later files are refused once the failure is known, and never written.
    for (int i = 0; accepted && i < 100000; ++i) {
        accepted = writer.Write(dir.File("later" + std::to_string(i) + ".vcf"), "x");
        if (i % 100 == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    EXPECT_FALSE(accepted);
    EXPECT_FALSE(writer.Finish());
    EXPECT_NE(writer.Error().find(unwritable), std::string::npos) << writer.Error();
    EXPECT_EQ(ReadWholeFile(dir.File("first.vcf")), "1");
    EXPECT_FALSE(writer.Write(dir.File("after.vcf"), "x"));
    EXPECT_FALSE(fs::exists(dir.File("after.vcf")));
}

TEST(BackgroundFileWriterTest, AbandoningWritesNothingAfterwards) {
    test::TempDir dir;
    {
        BackgroundFileWriter writer;
        for (int i = 0; i < 200; ++i) {
            ASSERT_TRUE(writer.Write(dir.File("vc" + std::to_string(i) + ".vcf"), Content(i)));
        }
        writer.Abandon();
        const std::size_t written = FileCount(dir.path());
        EXPECT_LE(written, 200u);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(FileCount(dir.path()), written);
        // Every file that was written is whole: the one in flight was finished.
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            const std::string name = entry.path().filename().string();
            const int i = std::stoi(name.substr(2));
            EXPECT_EQ(ReadWholeFile(entry.path().string()), Content(i)) << name;
        }
    }
    // A writer left without Finish abandons as well.
    test::TempDir other;
    {
        BackgroundFileWriter writer;
        ASSERT_TRUE(writer.Write(other.File("one.vcf"), "1"));
    }
    const std::size_t left = FileCount(other.path());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(FileCount(other.path()), left);
}

TEST(BackgroundFileWriterTest, ScopesNest) {
    EXPECT_EQ(CurrentBackgroundFileWriter(), nullptr);
    BackgroundFileWriter outer, inner;
    {
        const BackgroundFileScope a(outer);
        EXPECT_EQ(CurrentBackgroundFileWriter(), &outer);
        {
            const BackgroundFileScope b(inner);
            EXPECT_EQ(CurrentBackgroundFileWriter(), &inner);
        }
        EXPECT_EQ(CurrentBackgroundFileWriter(), &outer);
        // Another thread has none of this thread's.
        const BackgroundFileWriter* seen = &outer;
        std::thread([&] { seen = CurrentBackgroundFileWriter(); }).join();
        EXPECT_EQ(seen, nullptr);
    }
    EXPECT_EQ(CurrentBackgroundFileWriter(), nullptr);
}

} // namespace
} // namespace quill
