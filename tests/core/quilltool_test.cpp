// The command-line tool from outside: its exit codes, what it prints, and the files it writes.

#include "core/util/atomic_file.h"
#include "core/util/text_encoding.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace quill {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class QuilltoolTest : public ::testing::Test {
protected:
    test::TempDir dir;

    // Runs the tool with the arguments (already quoted where needed).
    Outcome Run(const std::string& arguments) {
        const std::string out = dir.File("stdout.txt");
        const std::string err = dir.File("stderr.txt");
        const std::string command =
            Quote(QUILLTOOL_PATH) + " " + arguments + " >" + Quote(out) + " 2>" + Quote(err);
        const int raw = std::system(command.c_str());
        Outcome outcome;
#ifdef _WIN32
        outcome.status = raw;
#else
        outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
        outcome.out = ReadWholeFile(out).value_or("");
        outcome.err = ReadWholeFile(err).value_or("");
        return outcome;
    }

    // The "name: value" lines of stats.
    std::map<std::string, long> Stats(const std::string& path) {
        const Outcome outcome = Run("stats " + Quote(path));
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        std::map<std::string, long> values;
        std::istringstream lines(outcome.out);
        std::string line;
        while (std::getline(lines, line)) {
            const std::size_t colon = line.find(": ");
            if (colon != std::string::npos) {
                values[line.substr(0, colon)] = std::stol(line.substr(colon + 2));
            }
        }
        return values;
    }
};

const std::string kKnownFile = "{Params}\r\n"
                               "{0 11 }My Contacts~~~~~~32892645\r\n"
                               "{1 40 }Odd~~~~~~2\r\n"
                               "{Xx}\r\n"
                               "{1 12 }Editor~~~~~~3\r\n"
                               "{Tool}gedit~~~~0\r\n"
                               "{1 0 }Family~~~~~~4\r\n"
                               "{Fold}0\r\n"
                               "{2 3 }Ann~~~~~~5\r\n"
                               "{Pers}~~Ann~~~~Lee~~~~~~~~~~~~0\r\n"
                               "{3 5 }Home~~~~~~6\r\n"
                               "{Addr}1 Main St~~~~~~~~~~~~~~0\r\n"
                               "{3 6 }Mobile~~555~~~~7\r\n"
                               "{Phon}~~0\r\n"
                               "{3 7 }Mail~~ann@example.org~~~~8\r\n"
                               "{Mail}0\r\n"
                               "{1 4 }Site~~http://example.org/~~~~9\r\n"
                               "{Webs}0\r\n";

// Damaged at its fifth line.
const std::string kDamagedFile = "{Params}\r\n"
                                 "{0 11 }My Contacts~~~~~~32892645\r\n"
                                 "{1 0 }Family~~~~~~4\r\n"
                                 "{Fold}0\r\n"
                                 "{1 x }Broken~~~~~~5\r\n"
                                 "{Fold}0\r\n";

TEST_F(QuilltoolTest, WrongUsageExitsTwo) {
    const std::string out = Quote(dir.File("out.dat"));
    const std::vector<std::string> wrong = {"",
                                            "bogus",
                                            "stats",
                                            "stats a b",
                                            "resave a",
                                            "resave a b c",
                                            "generate",
                                            "generate 10",
                                            "generate abc " + out,
                                            "generate -5 " + out,
                                            "generate 10 " + out + " --seed",
                                            "generate 10 " + out + " --seed x",
                                            "generate 10 " + out + " extra",
                                            "--seed 8 generate 10 " + out};
    for (const std::string& arguments : wrong) {
        SCOPED_TRACE(arguments);
        const Outcome outcome = Run(arguments);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_NE(outcome.err.find("usage: quilltool"), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.out, "");
        EXPECT_FALSE(fs::exists(dir.File("out.dat")));
    }
    const Outcome help = Run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: quilltool"), std::string::npos);
}

TEST_F(QuilltoolTest, StatsCountsNodesItemsAndKinds) {
    const std::string path = dir.File("known.dat");
    Put(path, kKnownFile);
    const Outcome outcome = Run("stats " + Quote(path));
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "nodes: 4\n"
                           "items: 9\n"
                           "folder: 1\n"
                           "organization: 0\n"
                           "team: 0\n"
                           "person: 1\n"
                           "website: 1\n"
                           "address: 1\n"
                           "phone: 1\n"
                           "email: 1\n"
                           "fax: 0\n"
                           "reminder: 0\n"
                           "document: 0\n"
                           "root: 1\n"
                           "tool: 1\n"
                           "unknown: 1\n"
                           "deepest-level: 3\n");
    EXPECT_EQ(outcome.err, "");
}

TEST_F(QuilltoolTest, BadInputExitsOneAndSaysWhere) {
    const std::string bad = dir.File("damaged.dat");
    Put(bad, kDamagedFile);
    const Outcome stats = Run("stats " + Quote(bad));
    EXPECT_EQ(stats.status, 1);
    EXPECT_NE(stats.err.find(bad), std::string::npos) << stats.err;
    EXPECT_NE(stats.err.find("line 5"), std::string::npos) << stats.err;
    EXPECT_EQ(stats.out, "");
    // Reading it never writes a backup; only a save would.
    EXPECT_FALSE(fs::exists(bad + ".bak"));

    const Outcome missing = Run("stats " + Quote(dir.File("absent.dat")));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("absent.dat"), std::string::npos) << missing.err;

    const Outcome unwritable = Run("generate 10 " + Quote(dir.File("no/such/dir/out.dat")));
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err, "");
}

TEST_F(QuilltoolTest, ResaveReproducesAGeneratedFileByteForByte) {
    const std::string generated = dir.File("generated.dat");
    ASSERT_EQ(Run("generate 2000 " + Quote(generated) + " --seed 7").status, 0);
    const std::string resaved = dir.File("resaved.dat");
    const Outcome outcome = Run("resave " + Quote(generated) + " " + Quote(resaved));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const auto original = ReadWholeFile(generated);
    const auto copy = ReadWholeFile(resaved);
    ASSERT_TRUE(original && copy);
    EXPECT_GT(original->size(), 2000u * 20u);
    EXPECT_TRUE(*original == *copy) << "resave changed the file";

    // The same seed gives the same file, another seed another one.
    const std::string same = dir.File("same.dat");
    const std::string other = dir.File("other.dat");
    ASSERT_EQ(Run("generate 2000 " + Quote(same) + " --seed 7").status, 0);
    ASSERT_EQ(Run("generate --seed 8 2000 " + Quote(other)).status, 0);
    EXPECT_TRUE(ReadWholeFile(same) == original);
    EXPECT_FALSE(ReadWholeFile(other) == original);
}

TEST_F(QuilltoolTest, ResaveOfADamagedFileWritesNothing) {
    const std::string bad = dir.File("damaged.dat");
    Put(bad, kDamagedFile);
    const std::string out = dir.File("out.dat");
    const Outcome outcome = Run("resave " + Quote(bad) + " " + Quote(out));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("line 5"), std::string::npos) << outcome.err;
    EXPECT_FALSE(fs::exists(out));

    // An existing output stays as it was.
    Put(out, "previous");
    EXPECT_EQ(Run("resave " + Quote(bad) + " " + Quote(out)).status, 1);
    EXPECT_EQ(ReadWholeFile(out), "previous");
    EXPECT_EQ(ReadWholeFile(bad), kDamagedFile);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 4)
        << "only the two files and the captured output";
}

TEST_F(QuilltoolTest, GeneratedFileHoldsEveryKindInRecordForm) {
    const std::string path = dir.File("generated.dat");
    ASSERT_EQ(Run("generate 2000 " + Quote(path) + " --seed 3").status, 0);
    const std::map<std::string, long> stats = Stats(path);
    for (const char* kind : {"folder", "organization", "team", "person", "website", "address",
                             "phone", "email", "fax", "reminder", "document", "tool"}) {
        EXPECT_GT(stats.count(kind) ? stats.at(kind) : 0, 0) << kind;
    }
    EXPECT_EQ(stats.at("root"), 1);
    EXPECT_GE(stats.at("items"), 2000);
    EXPECT_LE(stats.at("items"), 2001);

    // UTF-8 throughout, every line ended by CR LF, and every record a header and data line.
    const std::string text = ReadWholeFile(path).value_or("");
    EXPECT_TRUE(IsValidUtf8(text));
    ASSERT_TRUE(text.starts_with("{Params}\r\n{0 11 }My Contacts~~~~~~32892645\r\n"));
    std::size_t lines = 0;
    std::size_t headers = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        ASSERT_NE(end, std::string::npos) << "last line not ended";
        const std::string line = text.substr(start, end - start);
        ASSERT_EQ(line.find_first_of("\r\n"), std::string::npos) << "line " << lines + 1;
        ++lines;
        if (lines > 2 && lines % 2 == 1) {
            EXPECT_EQ(line.front(), '{') << "line " << lines;
            EXPECT_NE(line.find(" }"), std::string::npos) << "line " << lines;
            ++headers;
        }
        start = end + 2;
    }
    EXPECT_EQ(headers + 1, static_cast<std::size_t>(stats.at("items")));
}

} // namespace
} // namespace quill
