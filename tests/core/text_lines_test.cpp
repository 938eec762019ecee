// Reading text files line by line: line ends and encodings across the pieces a large file is
// read in, stopping part-way, and the bound on one line's length.

#include "core/util/text_encoding.h"
#include "core/util/text_lines.h"
#include "core/util/utf16_text.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace quill {
namespace {

using namespace std::string_literals;
using namespace std::string_view_literals;

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

// The UTF-16 bytes of text (code points up to U+10FFFF) in either byte order.
std::string Utf16Bytes(std::u32string_view text, bool little) {
    std::string bytes;
    auto put = [&](char32_t unit) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += little ? low : high;
        bytes += little ? high : low;
    };
    for (const char32_t c : text) {
        if (c >= 0x10000) {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            put(c);
        }
    }
    return bytes;
}

TEST(Utf16DecoderTest, TextCutAtAnyByteDecodesAsWhole) {
    const std::string bytes = Utf16Bytes(U"a\u00e9\u20ac\U0001F600z\U00010000", true) +
                              "\x00\xD8"s // a high surrogate without its pair
                              + Utf16Bytes(U"b", true) + "\x00\xDC"s +
                              "\x41"; // a lone low one, an odd byte
    const std::string whole = Utf16WithMarkToUtf8("\xFF\xFE" + bytes).value();
    EXPECT_EQ(whole, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z\xF0\x90\x80\x80"
                     "\xEF\xBF\xBD"
                     "b\xEF\xBF\xBD");
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        Utf16Decoder decoder(true);
        std::string out;
        decoder.Decode(std::string_view(bytes).substr(0, cut), out);
        decoder.Decode(std::string_view(bytes).substr(cut), out);
        decoder.Finish(out);
        EXPECT_EQ(out, whole) << "cut at byte " << cut;
    }
    // A high surrogate at the very end is replaced, not lost.
    Utf16Decoder decoder(false);
    std::string out;
    decoder.Decode("\x00\x41\xD8\x3D"sv, out);
    decoder.Finish(out);
    EXPECT_EQ(out, "A\xEF\xBF\xBD");
    EXPECT_FALSE(Utf16WithMarkToUtf8("plain").has_value());
}

TEST(TextLinesTest, AFileInUtf16ComesOutAsUtf8LinesInEitherByteOrder) {
    // Large enough to be read ahead in pieces of 128 KiB, with a surrogate pair cut by the
    // end of the first piece.
    std::u32string text;
    std::size_t units = 1; // UTF-16 units written, the byte order mark's included
    std::vector<std::string> expected;
    auto add = [&](std::u32string_view line, std::string utf8) {
        text += line;
        for (const char32_t c : line) {
            units += c >= 0x10000 ? 2 : 1;
        }
        expected.push_back(std::move(utf8));
    };
    for (int i = 0; units < 6 * kPiece / 2; ++i) {
        const std::string number = std::to_string(i);
        if (units < 65536 && units + 40 >= 65536) {
            // The high surrogate ends the first piece, its pair starts the second.
            const std::u32string pad(65536 - 1 - units, U'x');
            add(pad + U"\U0001F600\n", std::string(pad.size(), 'x') + "\xF0\x9F\x98\x80");
            continue;
        }
        const std::u32string ascii(number.begin(), number.end());
        add(U"line " + ascii + U" gr\u00fc\u00dfe \U0001F600" + (i % 2 ? U"\r\n" : U"\n"),
            "line " + number + " gr\xC3\xBC\xC3\x9F" + "e \xF0\x9F\x98\x80");
    }
    add(U"last", "last");
    test::TempDir dir;
    for (const bool little : {true, false}) {
        const std::string path = dir.File(little ? "le.txt" : "be.txt");
        std::ofstream(path, std::ios::binary)
            << (little ? "\xFF\xFE" : "\xFE\xFF") << Utf16Bytes(text, little);
        TextLinesOutcome outcome;
        const std::vector<std::string> lines = ReadAll(path, SIZE_MAX, &outcome);
        EXPECT_EQ(outcome.status, TextLinesStatus::Read);
        EXPECT_EQ(lines, expected) << (little ? "little endian" : "big endian");
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
