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

// Import and export through the tool, format by format.
class QuilltoolExchangeTest : public QuilltoolTest {
protected:
    std::string data;
    void SetUp() override {
        data = dir.File("quil.dat");
        Put(data, kKnownFile);
    }
};

TEST_F(QuilltoolExchangeTest, ExchangeFileExportsASubtreeAndImportsItUnderATarget) {
    const std::string qld = dir.File("family.QLD");
    Outcome outcome = Run("export qld " + Quote(data) + " " + Quote(qld) + " --from Family");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    outcome = Run("export qld " + Quote(data) + " " + Quote(dir.File("family.txt")));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("Check Filename"), std::string::npos) << outcome.err;
    EXPECT_FALSE(fs::exists(dir.File("family.txt")));

    const std::string fresh = dir.File("fresh.dat");
    outcome = Run("import qld " + Quote(qld) + " " + Quote(fresh));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    outcome = Run("import qld " + Quote(qld) + " " + Quote(fresh) + " --target " +
                  Quote("My Contacts/Family/Ann"));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    auto stats = Stats(fresh);
    EXPECT_EQ(stats["folder"], 2);
    EXPECT_EQ(stats["person"], 2);
    EXPECT_EQ(stats["phone"], 2);
    EXPECT_EQ(stats["deepest-level"], 5) << "the second copy sits under the first person";

    outcome = Run("import qld " + Quote(qld) + " " + Quote(fresh) + " --target Nobody");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("Nobody"), std::string::npos);
}

TEST_F(QuilltoolExchangeTest, DelimitedTextRoundTripsPersonsWithTheirContactPoints) {
    std::string withPrimaries = kKnownFile;
    const std::string plain = "{Pers}~~Ann~~~~Lee~~~~~~~~~~~~0";
    withPrimaries.replace(withPrimaries.find(plain), plain.size(),
                          "{Pers}~~Ann~~~~Lee~~Home~~Mobile~~~~Mail~~~~0");
    Put(data, withPrimaries);
    const std::string csv = dir.File("people.csv");
    const std::string fields = Quote("Title,First Name,Last Name,Phone Number,E-Mail Address");
    Outcome outcome =
        Run("export csv " + Quote(data) + " " + Quote(csv) + " --type Person --fields " + fields);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::string text = ReadWholeFile(csv).value_or("");
    EXPECT_NE(text.find("\"Ann\",\"Ann\",\"Lee\",\"555\",\"ann@example.org\""), std::string::npos)
        << text;

    const std::string back = dir.File("back.dat");
    outcome =
        Run("import csv " + Quote(csv) + " " + Quote(back) + " --type person --fields " + fields);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    auto stats = Stats(back);
    EXPECT_EQ(stats["person"], 1);
    EXPECT_EQ(stats["email"], 1);
    EXPECT_EQ(stats["phone"], 1);

    // Tab-separated text, and the usage errors of the record choice.
    const std::string tsv = dir.File("phones.tsv");
    Put(tsv, "Home\t555-1234\r\nWork\t555-9876\r\n");
    outcome = Run("import tsv " + Quote(tsv) + " " + Quote(back) + " --type " +
                  Quote("Phone Numbers") + " --fields " + Quote("Title,Phone Number"));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(Stats(back)["phone"], 3) << "two from the file beside the person's own";
    EXPECT_EQ(Run("import csv " + Quote(csv) + " " + Quote(back)).status, 2);
    EXPECT_EQ(Run("import csv " + Quote(csv) + " " + Quote(back) + " --type Person --fields Bogus")
                  .status,
              2);
}

TEST_F(QuilltoolExchangeTest, DelimitedTextByHeaderSkippedColumnsAndPathsToAnyNode) {
    // A spreadsheet's file: the names line maps the columns; it is no person itself.
    const std::string csv = dir.File("google.csv");
    Put(csv, "First Name,Last Name,Labels,Phone 1 - Label,Phone 1 - Value,E-mail 1 - Value\r\n"
             "Cy,Kim,* myContacts,Mobile,555 1,cy@example.org\r\n"
             "Di,Fox,,Work Fax,555 2,\r\n");
    const std::string back = dir.File("back.dat");
    Outcome outcome =
        Run("import csv " + Quote(csv) + " " + Quote(back) + " --type Person --header");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "Read 2 records.\nCreated: 2 persons, 1 phone, 1 e-mail address, "
                           "1 fax.\nNot kept: Labels (1).\n");
    // An empty field name skips its column.
    const std::string plain = dir.File("plain.csv");
    Put(plain, "x,Eve,Ray\r\n");
    outcome = Run("import csv " + Quote(plain) + " " + Quote(back) + " --type Person --fields " +
                  Quote(",First Name,Last Name") + " --target " + Quote("#1"));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(Stats(back)["person"], 3);
    EXPECT_EQ(Run("import csv " + Quote(plain) + " " + Quote(back) + " --type Person --fields " +
                  Quote(",,"))
                  .status,
              2)
        << "nothing but skipped columns";

    // Paths: two siblings of one caption, one with an empty caption, one with a "/".
    Put(data, "{Params}\r\n{0 11 }My Contacts~~~~~~32892645\r\n"
              "{1 3 }Ann~~~~~~5\r\n{Pers}~~Ann~~~~One~~~~~~~~~~~~0\r\n"
              "{1 3 }Ann~~~~~~6\r\n{Pers}~~Ann~~~~Two~~~~~~~~~~~~0\r\n"
              "{1 3 }~~~~~~7\r\n{Pers}~~Nil~~~~Blank~~~~~~~~~~~~0\r\n"
              "{1 3 }A/B~~~~~~8\r\n{Pers}~~Al~~~~Slash~~~~~~~~~~~~0\r\n");
    const std::string vcf = dir.File("one.vcf");
    for (const auto& [path, name] : std::vector<std::pair<std::string, std::string>>{
             {"#2", "N:Two;Ann"}, {"My Contacts/#3", "N:Blank;Nil"}, {"A\\/B", "N:Slash;Al"}}) {
        outcome = Run("export vcard " + Quote(data) + " " + Quote(vcf) + " --from " + Quote(path));
        ASSERT_EQ(outcome.status, 0) << path << ": " << outcome.err;
        EXPECT_NE(ReadWholeFile(vcf).value_or("").find(name), std::string::npos) << path;
    }
}

TEST_F(QuilltoolExchangeTest, VCardExportsOnePersonOrASubtreeAndImportsCardsAsAnswered) {
    const std::string vcf = dir.File("ann.vcf");
    Outcome outcome =
        Run("export vcard " + Quote(data) + " " + Quote(vcf) + " --from " + Quote("Family/Ann"));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::string card = ReadWholeFile(vcf).value_or("");
    EXPECT_TRUE(card.starts_with("begin:vcard\r\nVERSION:2.1\r\n"
                                 "PRODID:-//Quillmere//Quillmere//EN\r\nN:Lee;Ann"))
        << card;
    EXPECT_NE(card.find("EMAIL;INTERNET:ann@example.org"), std::string::npos) << card;

    // Any other node: every person and organization below it, in the version asked for.
    const std::string family = dir.File("family.vcf");
    outcome =
        Run("export vcard " + Quote(data) + " " + Quote(family) + " --from Family --version 4.0");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::string cards = ReadWholeFile(family).value_or("");
    EXPECT_TRUE(cards.starts_with("BEGIN:VCARD\r\nVERSION:4.0\r\n")) << cards;
    EXPECT_NE(cards.find("\r\nFN:Ann\r\nN:Lee;Ann;;;\r\n"), std::string::npos) << cards;
    EXPECT_EQ(Run("export vcard " + Quote(data) + " " + Quote(family) + " --version 5").status, 2);
    const std::string folder = dir.File("folder.dat");
    Put(folder, "{Params}\r\n{0 11 }My Contacts~~~~~~32892645\r\n{1 0 }Empty~~~~~~4\r\n"
                "{Fold}0\r\n");
    outcome = Run("export vcard " + Quote(folder) + " " + Quote(dir.File("e.vcf")) +
                  " --from Empty --version 3.0");
    EXPECT_EQ(outcome.status, 1) << "an empty folder holds no card";
    EXPECT_NE(outcome.err.find("no person or organization"), std::string::npos) << outcome.err;

    const std::string org = dir.File("org.vcf");
    Put(org, "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Doe;Jane\r\nFN:Jane Doe\r\nORG:Acme\r\n"
             "TEL;TYPE=WORK:555\r\nX-SKYPE:jane\r\nEND:VCARD\r\n");
    const std::string asPerson = dir.File("p.dat");
    const std::string asOrg = dir.File("o.dat");
    outcome = Run("import vcard " + Quote(org) + " " + Quote(asPerson));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "Read 1 card.\nCreated: 1 organization, 1 person, 1 phone.\n"
                           "Not kept: X-SKYPE (1).\n")
        << "the person is filed under a new organization Acme";
    ASSERT_EQ(
        Run("import vcard " + Quote(org) + " " + Quote(asOrg) + " --org-cards organization").status,
        0);
    EXPECT_EQ(Stats(asPerson)["person"], 1);
    EXPECT_EQ(Stats(asOrg)["organization"], 1);
    EXPECT_EQ(Stats(asOrg)["phone"], 1);
    EXPECT_EQ(Run("import vcard " + Quote(org) + " " + Quote(asOrg) + " --org-cards maybe").status,
              2);

    // A file without a card is an error, and the data file is left as it was.
    const std::string empty = dir.File("empty.vcf");
    Put(empty, "no cards\r\n");
    const std::string before = ReadWholeFile(asOrg).value_or("");
    outcome = Run("import vcard " + Quote(empty) + " " + Quote(asOrg));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("holds no vCard"), std::string::npos) << outcome.err;
    EXPECT_EQ(ReadWholeFile(asOrg).value_or(""), before);
}

TEST_F(QuilltoolExchangeTest, HtmlPublishingWritesAnEscapedSite) {
    Put(data, "{Params}\r\n{0 11 }My Contacts~~~~~~32892645\r\n"
              "{1 3 }<script>alert(1)</script>~~~~~~5\r\n{Pers}~~A~~~~B~~~~~~~~~~~~0\r\n");
    const std::string site = dir.File("site");
    Outcome outcome = Run("export html " + Quote(data) + " " + Quote(site) +
                          " --main index.htm --background marble --no-vcard-links");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    for (const char* name : {"index.htm", "quilindex.htm", "quilmain.htm", "quilmain.qld",
                             "person.gif", "marble.gif"}) {
        EXPECT_TRUE(fs::exists(fs::path(site) / name)) << name;
    }
    const std::string contents =
        ReadWholeFile((fs::path(site) / "quilmain.htm").string()).value_or("");
    EXPECT_NE(contents.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_EQ(contents.find("<script>"), std::string::npos);
    EXPECT_FALSE(fs::exists(fs::path(site) / "vc5.vcf"));
    EXPECT_EQ(Run("export html " + Quote(data) + " " + Quote(site) + " --text-color Mauve").status,
              2);
}

TEST_F(QuilltoolExchangeTest, DirectorySourcesImportShortcutsBookmarksAndNicknames) {
    const fs::path favorites = dir.path() / "Favorites";
    fs::create_directories(favorites / "News");
    Put((favorites / "News" / "Daily.url").string(),
        "[InternetShortcut]\r\nURL=https://news.example/\r\n");
    const fs::path eudora = dir.path() / "Eudora";
    fs::create_directories(eudora);
    Put((eudora / "nndbase.txt").string(), "alias ann \"Ann Lee\" <ann@example.com>\r\n");
    const fs::path netscape = dir.path() / "Netscape";
    fs::create_directories(netscape);
    Put((netscape / "bookmark.htm").string(),
        "<TITLE>Bookmarks</TITLE>\r\n<DT><A HREF=\"http://a.org/\">Alpha</A>\r\n");

    const std::string fresh = dir.File("fresh.dat");
    ASSERT_EQ(Run("import favorites " + Quote(favorites.string()) + " " + Quote(fresh)).status, 0);
    ASSERT_EQ(Run("import eudora " + Quote(eudora.string()) + " " + Quote(fresh)).status, 0);
    ASSERT_EQ(Run("import bookmarks " + Quote(netscape.string()) + " " + Quote(fresh)).status, 0);
    auto stats = Stats(fresh);
    EXPECT_EQ(stats["website"], 2);
    EXPECT_GE(stats["email"], 1);
    EXPECT_EQ(Run("import favorites " + Quote(data) + " " + Quote(fresh)).status, 1)
        << "a file where a directory belongs";
    EXPECT_EQ(Run("import eudora " + Quote(dir.File("missing")) + " " + Quote(fresh)).status, 1);
}

} // namespace
} // namespace quill
