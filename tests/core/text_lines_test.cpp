// Reading text files line by line: line ends and encodings across the pieces a large file is
// read in, stopping part-way, and the bound on one line's length.

#include "core/util/text_encoding.h"
#include "core/util/text_lines.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace quill {
namespace {

// A multiple of the sizes the reader reads a file in, so that its pieces end here.
constexpr std::size_t kPiece = std::size_t{256} << 10;

std::vector<std::string> ReadAll(const std::string& path, std::size_t stopAfter = SIZE_MAX,
                                 TextLinesOutcome* outcome = nullptr) {
    std::vector<std::string> lines;
    const TextLinesOutcome result = ForEachTextLine(path, [&](std::string_view line) {
        lines.emplace_back(line);
        return lines.size() < stopAfter;
    });
    if (outcome != nullptr) {
        *outcome = result;
    }
    return lines;
}

// A file of several pieces with every kind of line end, including a CR LF pair and a lone
// CR split by a piece boundary, blank lines, and lines in Windows-1252 among UTF-8 ones.
struct MixedFile {
    std::string bytes;
    std::vector<std::string> lines; // as they must come out

    void Add(const std::string& line, const char* end) {
        bytes += line;
        bytes += end;
        lines.push_back(IsValidUtf8(line) ? line : Windows1252ToUtf8(line));
    }
    // Adds lines, and returns a filler for the next one, such that a line of the filler
    // and tail more bytes ends at offset.
    std::string FillTo(std::size_t offset, std::size_t tail) {
        while (bytes.size() + 202 + tail + 3 < offset) {
            Add(std::string(200, 'p'), "\r\n");
        }
        return std::string(offset - bytes.size() - tail, 'q');
    }
};

TEST(TextLinesTest, ALargeFileComesOutLineForLineAcrossItsPieces) {
    MixedFile file;
    file.bytes = "\xEF\xBB\xBF"; // a byte-order mark is not part of the first line
    std::mt19937 random(11);
    const char* const ends[] = {"\r\n", "\n", "\r"};
    for (int round = 1; round <= 24; ++round) {
        while (file.bytes.size() + 600 < round * kPiece) {
            // Never empty: after a lone CR, an empty line's LF would make a CR LF pair.
            std::string line(1 + random() % 120, 'a');
            for (char& c : line) {
                c = static_cast<char>('a' + random() % 26);
            }
            if (random() % 50 == 0) {
                line += "Caf\xE9"; // not UTF-8: read as Windows-1252
            } else if (random() % 50 == 0) {
                line += "Caf\xC3\xA9";
            }
            file.Add(line, ends[random() % 3]);
        }
        switch (round % 3) {
        case 0: // CR LF torn apart by the boundary
            file.Add(file.FillTo(round * kPiece - 1, 1) + "x", "\r\n");
            break;
        case 1: // a lone CR as the last byte of a piece, then an empty line
            file.Add(file.FillTo(round * kPiece - 1, 1) + "y", "\r");
            file.Add("", "\r");
            break;
        default: // a line running over the boundary
            file.Add(std::string(900, 'l'), "\n");
        }
    }
    file.Add("last line without an end", "");

    test::TempDir dir;
    const std::string path = dir.File("mixed.txt");
    std::ofstream(path, std::ios::binary) << file.bytes;
    TextLinesOutcome outcome;
    const std::vector<std::string> lines = ReadAll(path, SIZE_MAX, &outcome);
    EXPECT_EQ(outcome.status, TextLinesStatus::Read);
    ASSERT_EQ(lines.size(), file.lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ASSERT_EQ(lines[i], file.lines[i]) << "line " << i + 1;
    }
}

TEST(TextLinesTest, StoppingPartWayThroughALargeFileEndsTheReading) {
    test::TempDir dir;
    const std::string path = dir.File("numbers.txt");
    {
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < 400000; ++i) {
            out << "line " << i << "\r\n";
        }
    }
    for (const std::size_t stopAfter : {std::size_t{1}, std::size_t{54321}, std::size_t{399999}}) {
        TextLinesOutcome outcome;
        const std::vector<std::string> lines = ReadAll(path, stopAfter, &outcome);
        EXPECT_EQ(outcome.status, TextLinesStatus::Stopped);
        ASSERT_EQ(lines.size(), stopAfter);
        EXPECT_EQ(lines.back(), "line " + std::to_string(stopAfter - 1));
    }
    TextLinesOutcome outcome;
    EXPECT_EQ(ReadAll(path, SIZE_MAX, &outcome).size(), 400000u);
    EXPECT_EQ(outcome.status, TextLinesStatus::Read);
}

TEST(TextLinesTest, ALineOverTheBoundStopsTheReadingAtItsNumber) {
    test::TempDir dir;
    const std::string path = dir.File("lines.txt");
    std::ofstream(path, std::ios::binary) << "short\r\nexactly10!\nelevenbytes\r\nnever read\r\n";
    std::vector<std::string> seen;
    const TextLinesOutcome outcome = ForEachTextLine(
        path,
        [&](std::string_view line) {
            seen.emplace_back(line);
            return true;
        },
        10);
    EXPECT_EQ(outcome.status, TextLinesStatus::ReadError);
    EXPECT_EQ(outcome.error, EFBIG);
    EXPECT_EQ(outcome.line, 3);
    EXPECT_EQ(seen, (std::vector<std::string>{"short", "exactly10!"}));
    const std::string message = TextLinesFailure(path, outcome);
    EXPECT_NE(message.find("Line 3"), std::string::npos) << message;
    EXPECT_NE(message.find(path), std::string::npos) << message;

    // A last line without a line end is bounded the same way.
    std::ofstream(path, std::ios::binary) << "ok\r\n" << std::string(11, 'x');
    seen.clear();
    const TextLinesOutcome last = ForEachTextLine(
        path,
        [&](std::string_view line) {
            seen.emplace_back(line);
            return true;
        },
        10);
    EXPECT_EQ(last.status, TextLinesStatus::ReadError);
    EXPECT_EQ(last.line, 2);
    EXPECT_EQ(seen, std::vector<std::string>{"ok"});
}

} // namespace
} // namespace quill
