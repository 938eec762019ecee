// The exchange-file generators behind "quilltool generate --format vcard|csv": files that
// are well formed, repeatable, and read by the program's own importers.

#include "core/util/atomic_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace quill {
namespace {

class ExchangeGeneratorTest : public ::testing::Test {
protected:
    test::TempDir dir;

    int Run(const std::string& arguments) {
        const std::string command = std::string("'") + QUILLTOOL_PATH + "' " + arguments + " >'" +
                                    dir.File("out.txt") + "' 2>&1";
        const int raw = std::system(command.c_str());
#ifdef _WIN32
        return raw;
#else
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    }
    std::string Generate(const std::string& format, int count, int seed) {
        const std::string path =
            dir.File(format + std::to_string(count) + "-" + std::to_string(seed));
        EXPECT_EQ(Run("generate " + std::to_string(count) + " '" + path + "' --seed " +
                      std::to_string(seed) + " --format " + format),
                  0);
        return ReadWholeFile(path).value_or("");
    }
    // The value of "name: value" in the stats of a data file.
    long Stat(const std::string& dataFile, const std::string& name) {
        EXPECT_EQ(Run("stats '" + dataFile + "'"), 0);
        std::istringstream lines(ReadWholeFile(dir.File("out.txt")).value_or(""));
        std::string line;
        while (std::getline(lines, line)) {
            if (line.starts_with(name + ": ")) {
                return std::stol(line.substr(name.size() + 2));
            }
        }
        return -1;
    }
};

std::vector<std::string> PhysicalLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "text after the last line end";
    return lines;
}

// Splits one CSV line, quotes removed and doubled quotes made single; false when a quote is
// left open.
bool SplitCsv(const std::string& line, std::vector<std::string>& values) {
    values.assign(1, {});
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            values.back().push_back('"');
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            values.emplace_back();
        } else {
            values.back().push_back(c);
        }
    }
    return !quoted;
}

TEST_F(ExchangeGeneratorTest, VCardsAreFoldedRepeatableAndReadByTheImporter) {
    const std::string cards = Generate("vcard", 300, 7);
    EXPECT_EQ(cards, Generate("vcard", 300, 7));
    EXPECT_NE(cards, Generate("vcard", 300, 8));
    int begins = 0;
    int folded = 0;
    for (const std::string& line : PhysicalLines(cards)) {
        EXPECT_LE(line.size(), 75u) << line;
        begins += line == "BEGIN:VCARD";
        folded += line.starts_with(" ");
        // A fold never splits a UTF-8 sequence.
        EXPECT_FALSE(!line.empty() && (static_cast<unsigned char>(line[0]) & 0xC0) == 0x80);
    }
    EXPECT_EQ(begins, 300);
    EXPECT_GT(folded, 0) << "long notes are folded";
    EXPECT_NE(cards.find("\\;"), std::string::npos) << "escaped semicolons";
    EXPECT_NE(cards.find("\\,"), std::string::npos) << "escaped commas";

    const std::string data = dir.File("cards.dat");
    const std::string source = dir.File("vcard300-7");
    ASSERT_EQ(Run("import vcard '" + source + "' '" + data + "'"), 0);
    EXPECT_EQ(Stat(data, "person"), 300);
}

TEST_F(ExchangeGeneratorTest, CsvLinesHoldEveryPersonFieldAndReadBack) {
    const std::string text = Generate("csv", 400, 3);
    EXPECT_EQ(text, Generate("csv", 400, 3));
    const std::vector<std::string> lines = PhysicalLines(text);
    ASSERT_EQ(lines.size(), 401u);
    std::vector<std::string> header;
    ASSERT_TRUE(SplitCsv(lines[0], header));
    ASSERT_EQ(header.size(), 17u);
    EXPECT_EQ(header.front(), "Title");
    EXPECT_EQ(header.back(), "Comment");
    bool sawQuotedComma = false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::vector<std::string> values;
        ASSERT_TRUE(SplitCsv(lines[i], values)) << lines[i];
        ASSERT_EQ(values.size(), header.size()) << lines[i];
        EXPECT_FALSE(values[0].empty()) << "every person has a title";
        for (const std::string& value : values) {
            sawQuotedComma = sawQuotedComma || value.find(',') != std::string::npos;
        }
    }
    EXPECT_TRUE(sawQuotedComma);

    std::string fields;
    for (const std::string& name : header) {
        fields += (fields.empty() ? "" : ",") + name;
    }
    const std::string data = dir.File("persons.dat");
    ASSERT_EQ(Run("import csv '" + dir.File("csv400-3") + "' '" + data + "' --type Person " +
                  "--fields '" + fields + "'"),
              0);
    EXPECT_EQ(Stat(data, "person"), 400);
}

} // namespace
} // namespace quill
