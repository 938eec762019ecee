// Reading text files line by line: the bound on one line's length.

#include "core/util/text_lines.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <string>
#include <vector>

namespace quill {
namespace {

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
