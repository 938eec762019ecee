// What the program writes as vCard 3.0 and 4.0 is read by three readers that have nothing to
// do with it (Python's vobject, and ical.js and vcf under node): every card of a generated
// outline of 10^4 items is accepted by each, with the names, numbers, e-mail addresses and
// addresses the outline holds. A reader that is not installed skips its part, saying why.

#include "core/exchange/vcard.h"
#include "core/exchange/vcard_writer.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/item_kind.h"
#include "core/model/outline.h"
#include "core/storage/data_file.h"
#include "interop_support.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quill {
namespace {

namespace fs = std::filesystem;

std::string Esc(std::string_view value) {
    std::string out;
    for (char c : value) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string Joined(std::initializer_list<std::string_view> parts) {
    std::string out;
    bool first = true;
    for (std::string_view part : parts) {
        out += first ? "" : "\t";
        out += Esc(part);
        first = false;
    }
    return out;
}

// The number as the card carries it: with its extension after " x" in 3.0, as a tel: URI
// with ext= in 4.0.
std::string NumberText(const TNRBObject& point, VCardVersion version) {
    std::string number(point.Target());
    const auto* phone = dynamic_cast<const TPhoneObject*>(&point);
    if (!phone || phone->Extension().empty()) {
        return number;
    }
    if (version == VCardVersion::V30) {
        return number + " x" + std::string(phone->Extension());
    }
    for (char& c : number) {
        c = c == ' ' ? '-' : c;
    }
    return "tel:" + number + ";ext=" + std::string(phone->Extension());
}

// What a reader should report for the item: the lines read_vcards prints.
std::string ExpectedCard(const TNRBObject& item, VCardVersion version) {
    std::ostringstream out;
    out << "card\n";
    out << "fn " << Esc(item.Title()) << "\n";
    if (const auto* person = dynamic_cast<const TPersonObject*>(&item)) {
        out << "n "
            << Joined({person->LastName(), person->FirstName(), person->MiddleName(),
                       person->Salutation(), ""})
            << "\n";
    } else if (version == VCardVersion::V30) {
        out << "n " << Joined({"", "", "", "", ""}) << "\n";
    }
    for (std::size_t i = 0; i < item.ChildCount(); ++i) {
        const TNRBObject* point = item.ChildAt(i);
        if (point->Kind() == kPhoneKind || point->Kind() == kFaxKind) {
            out << "tel " << Esc(NumberText(*point, version)) << "\n";
        }
    }
    for (std::size_t i = 0; i < item.ChildCount(); ++i) {
        if (item.ChildAt(i)->Kind() == kEMailKind) {
            out << "email " << Esc(item.ChildAt(i)->Target()) << "\n";
        }
    }
    for (std::size_t i = 0; i < item.ChildCount(); ++i) {
        const auto* address = dynamic_cast<const TAddressObject*>(item.ChildAt(i));
        if (!address) {
            continue;
        }
        std::string street;
        std::size_t lines = std::min<std::size_t>(address->LineCount(), 3);
        while (lines > 0 && address->Line(lines - 1).empty()) {
            --lines;
        }
        for (std::size_t l = 0; l < lines; ++l) {
            street += (l ? "\n" : "") + std::string(address->Line(l));
        }
        out << "adr "
            << Joined({"", "", street, address->City(), address->State(), address->PostCode(),
                       address->Country()})
            << "\n";
    }
    return out.str();
}

// The first line where two outputs part, for a message that shows it.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
    std::istringstream a(expected);
    std::istringstream b(actual);
    std::string la;
    std::string lb;
    for (int line = 1;; ++line) {
        const bool ga = static_cast<bool>(std::getline(a, la));
        const bool gb = static_cast<bool>(std::getline(b, lb));
        if (!ga && !gb) {
            return "none";
        }
        if (!ga || !gb || la != lb) {
            return "line " + std::to_string(line) + ": expected \"" + (ga ? la : "(end)") +
                   "\", read \"" + (gb ? lb : "(end)") + "\"";
        }
    }
}

class VCardReadersTest : public ::testing::TestWithParam<VCardVersion> {
protected:
    static void SetUpTestSuite() {
        dir_ = new test::TempDir;
        data_ = dir_->File("generated.dat");
        const test::CommandOutcome made = test::RunCommand(
            test::ShellQuoted(QUILLTOOL_PATH) + " generate 10000 " + test::ShellQuoted(data_),
            dir_->path());
        ASSERT_EQ(made.status, 0) << made.err;
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }

    // Exports the generated outline in the version; the expected reading of every card.
    std::string Export(const std::string& file) {
        const test::CommandOutcome exported = test::RunCommand(
            test::ShellQuoted(QUILLTOOL_PATH) + " export vcard " + test::ShellQuoted(data_) + " " +
                test::ShellQuoted(file) + " --version " + std::string(VCardVersionName(GetParam())),
            dir_->path());
        EXPECT_EQ(exported.status, 0) << exported.err;
        TOutline outline;
        TDataFile dataFile(data_);
        EXPECT_TRUE(dataFile.LoadDataFile(outline).ok);
        std::string expected;
        std::size_t cards = 0;
        ForEachInSubtree(outline.Root(), [&](const TOutlineNode* node) {
            if (node->Item() && CanExportVCard(*node->Item())) {
                expected += ExpectedCard(*node->Item(), GetParam());
                ++cards;
            }
        });
        EXPECT_GT(cards, 1000u) << "the generated outline holds many persons";
        return expected;
    }

    void ExpectRead(const std::string& reader, const std::string& commandLine,
                    const std::string& expected) {
        const test::CommandOutcome read = test::RunCommand(commandLine, dir_->path());
        ASSERT_EQ(read.status, 0) << reader << " refused the file: " << read.err;
        EXPECT_TRUE(read.out == expected)
            << reader << " read otherwise, first at " << FirstDifference(expected, read.out);
    }

    test::FakeServices services;
    static test::TempDir* dir_;
    static std::string data_;
};

test::TempDir* VCardReadersTest::dir_ = nullptr;
std::string VCardReadersTest::data_;

TEST_P(VCardReadersTest, EveryCardIsReadWithItsNamesNumbersMailAndAddresses) {
    std::string whyNoPython;
    std::string whyNoNode;
    const std::optional<std::string> python = test::VobjectPython(whyNoPython);
    const std::optional<std::string> node = test::NodeWithReaders(whyNoNode);
    if (!python && !node) {
        GTEST_SKIP() << whyNoPython << "; " << whyNoNode;
    }
    const std::string file =
        dir_->File("cards-" + std::string(VCardVersionName(GetParam())) + ".vcf");
    const std::string expected = Export(file);
    const std::string scripts = test::InteropDirectory().string();
    if (python) {
        ExpectRead("vobject",
                   *python + " " + test::ShellQuoted(scripts + "/read_vcards.py") + " " +
                       test::ShellQuoted(file),
                   expected);
    }
    if (node) {
        for (const std::string reader : {"icaljs", "vcf"}) {
            ExpectRead(reader,
                       *node + " " + test::ShellQuoted(scripts + "/read_vcards.mjs") + " " +
                           reader + " " + test::ShellQuoted(file),
                       expected);
        }
    }
    if (!python) {
        GTEST_SKIP() << "vobject not run: " << whyNoPython;
    }
    if (!node) {
        GTEST_SKIP() << "ical.js and vcf not run: " << whyNoNode;
    }
}

INSTANTIATE_TEST_SUITE_P(Versions, VCardReadersTest,
                         ::testing::Values(VCardVersion::V30, VCardVersion::V40),
                         [](const auto& info) {
                             return info.param == VCardVersion::V30 ? std::string("V30")
                                                                    : std::string("V40");
                         });

} // namespace
} // namespace quill
