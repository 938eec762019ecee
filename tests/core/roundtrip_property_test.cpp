// Property: any outline the factory and the setters can build, whatever texts they are handed,
// is saved, loaded and saved again without a byte changing, and loads as the same outline.
// The same holds for a subtree written to an exchange file and imported, where only the tree
// items' categories are written as 0. Seeds are fixed so that a failure can be replayed.

#include "core/model/attachment_objects.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/contact_point_objects.h"
#include "core/model/group_objects.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "core/model/record_text.h"
#include "core/storage/data_file.h"
#include "core/util/atomic_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <random>
#include <string>
#include <vector>

namespace quill {
namespace {

class RandomOutline {
public:
    explicit RandomOutline(std::uint32_t seed) : random_(seed) {}

    // Fills the outline under its root, checking on the way that every text was cleaned.
    void Build(TOutline& outline) {
        std::vector<TOutlineNode*> tree{outline.Root()};
        const int count = Chance(0.1) ? Uniform(300, 600) : Uniform(1, 120);
        for (int i = 0; i < count && !::testing::Test::HasFatalFailure(); ++i) {
            TOutlineNode* parent =
                tree[static_cast<std::size_t>(Uniform(0, static_cast<int>(tree.size()) - 1))];
            const int kind = PickKind();
            const std::string title = Text();
            const std::string target = Text();
            const std::string comment = Text();
            const std::string dataLine = DataLine(kind);
            TNRBObject* item = CreateItem(kind, title, target, comment, Id(), dataLine, parent);
            ASSERT_NE(item, nullptr) << "kind " << kind;
            EXPECT_EQ(item->Kind(), kind);
            EXPECT_EQ(item->Title(), CleanField(title));
            EXPECT_EQ(item->Target(), CleanField(target));
            EXPECT_EQ(item->Comment(), CleanField(comment));
            if (auto* unknown = dynamic_cast<TUnknownKindObject*>(item)) {
                const bool breaks = dataLine.find_first_of("\r\n") != std::string::npos;
                EXPECT_EQ(unknown->DataLine(), breaks ? CleanField(dataLine) : dataLine);
            }
            if (Chance(0.3)) {
                ChangeThroughSetters(*item);
            }
            if (IsTreeKind(kind)) {
                tree.push_back(item->Node());
            }
        }
    }

    int Uniform(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }

private:
    int PickKind() {
        const int roll = Uniform(0, 99);
        if (roll < 35) {
            return Uniform(kFolderKind, kWebsiteKind);
        }
        if (roll < 88) {
            const int kind = Uniform(kAddressKind, kToolKind);
            return kind == kRootKind ? kToolKind : kind;
        }
        return Uniform(13, 255);
    }

    std::int32_t Id() {
        switch (Uniform(0, 7)) {
        case 0:
            return 0; // drawn by the factory
        case 1:
            return INT32_MIN;
        case 2:
            return INT32_MAX;
        case 3:
            return -Uniform(1, 1000);
        default:
            return static_cast<std::int32_t>(random_());
        }
    }

    std::int32_t Categories() {
        switch (Uniform(0, 4)) {
        case 0:
            return 0;
        case 1:
            return INT32_MIN; // category 32 alone
        case 2:
            return -1;
        default:
            return static_cast<std::int32_t>(random_());
        }
    }

    // Texts of every awkward sort: separators and tilde runs, line breaks, braces and digits
    // that look like a header, non-ASCII in several scripts, empty and long.
    std::string Text() {
        static constexpr std::array<std::string_view, 24> kPieces{
            "a",  "Ann",     "Lee",  " ", "~",       "~~",     "~~~", "\r\n",
            "\r", "\n",      "{",    "}", "{1 3 }",  "0",      "-5",  "é",
            "Ω",  "Дмитрий", "美咲", "😀", "e\u0301", "\u00a0", "\t",  ","};
        switch (Uniform(0, 9)) {
        case 0:
            return {};
        case 1: {
            std::string s;
            const int length = Uniform(200, 3000);
            while (static_cast<int>(s.size()) < length) {
                s.append(kPieces[static_cast<std::size_t>(
                    Uniform(0, static_cast<int>(kPieces.size()) - 1))]);
            }
            return s;
        }
        default: {
            std::string s;
            const int pieces = Uniform(1, 8);
            for (int i = 0; i < pieces; ++i) {
                s.append(kPieces[static_cast<std::size_t>(
                    Uniform(0, static_cast<int>(kPieces.size()) - 1))]);
            }
            return s;
        }
        }
    }

    std::string Fields(int count) {
        std::string s;
        for (int i = 0; i < count; ++i) {
            if (i > 0) {
                s.append(kFieldSeparator);
            }
            s.append(Chance(0.7) ? Text() : std::string());
        }
        return s;
    }

    std::string DateText() {
        if (Chance(0.1)) {
            return Text();
        }
        return std::to_string(Uniform(0, 65535)) + "," + std::to_string(Uniform(0, 13)) + "," +
               std::to_string(Uniform(0, 40)) + "," + std::to_string(Uniform(-2, 7));
    }

    // A data line for the kind: mostly complete, sometimes short, with a foreign tag, or none.
    std::string DataLine(int kind) {
        const int roll = Uniform(0, 9);
        if (roll == 0) {
            return {};
        }
        if (kind >= 13 || kind == kRootKind) {
            return Chance(0.5) ? std::string(DataLineTag(Uniform(0, 10))) + Fields(Uniform(0, 4))
                               : Text();
        }
        const std::string_view tag = roll == 1 ? DataLineTag((kind + 1) % 11) : DataLineTag(kind);
        std::string fields;
        switch (kind) {
        case kOrganizationKind:
            fields = Fields(5);
            break;
        case kPersonKind:
            fields = Fields(9);
            break;
        case kAddressKind:
            fields = Fields(7);
            break;
        case kPhoneKind:
            fields = Fields(1);
            break;
        case kReminderKind:
            fields = DateText();
            break;
        case kToolKind:
            fields = Fields(2);
            break;
        default:
            break;
        }
        std::string line(tag);
        line.append(fields);
        if (roll != 2) { // roll 2 leaves the categories out
            if (!fields.empty() || kind == kPhoneKind || kind == kToolKind ||
                kind == kAddressKind || kind == kPersonKind || kind == kOrganizationKind ||
                kind == kReminderKind) {
                line.append(kFieldSeparator);
            }
            line.append(std::to_string(Categories()));
        }
        return line;
    }

    void ChangeThroughSetters(TNRBObject& item) {
        const std::string title = Text();
        item.SetTitle(title);
        EXPECT_EQ(item.Title(), CleanField(title));
        if (item.Node() && item.Node()->Item() == &item) {
            EXPECT_EQ(item.Node()->Text(), CleanField(title));
        }
        const std::string comment = Text();
        item.SetComment(comment);
        EXPECT_EQ(item.Comment(), CleanField(comment));
        // An unknown kind's record is the line it was read with; it has no categories to keep.
        if (item.Kind() < kKindCount) {
            item.SetCategories(Categories());
        }
        if (auto* holder = dynamic_cast<TContactHolderObject*>(&item)) {
            const std::string a = Text(), p = Text(), f = Text(), e = Text(), w = Text();
            holder->SetPrimaryAddress(a);
            holder->SetPrimaryPhone(p);
            holder->SetPrimaryFax(f);
            holder->SetPrimaryEMail(e);
            holder->SetPrimaryWebsite(w);
            EXPECT_EQ(holder->PrimaryAddress(), CleanField(a));
            EXPECT_EQ(holder->PrimaryPhone(), CleanField(p));
            EXPECT_EQ(holder->PrimaryFax(), CleanField(f));
            EXPECT_EQ(holder->PrimaryEMail(), CleanField(e));
            EXPECT_EQ(holder->PrimaryWebsite(), CleanField(w));
        }
        if (auto* person = dynamic_cast<TPersonObject*>(&item)) {
            const std::string s = Text(), f = Text(), m = Text(), l = Text();
            person->SetSalutation(s);
            person->SetFirstName(f);
            person->SetMiddleName(m);
            person->SetLastName(l);
            EXPECT_EQ(person->Salutation(), CleanField(s));
            EXPECT_EQ(person->FirstName(), CleanField(f));
            EXPECT_EQ(person->MiddleName(), CleanField(m));
            EXPECT_EQ(person->LastName(), CleanField(l));
        } else if (auto* address = dynamic_cast<TAddressObject*>(&item)) {
            std::vector<std::string> lines(static_cast<std::size_t>(Uniform(0, 5)));
            for (std::string& line : lines) {
                line = Text();
            }
            address->SetLines(lines);
            ASSERT_EQ(address->Lines().size(), lines.size());
            for (std::size_t i = 0; i < lines.size(); ++i) {
                EXPECT_EQ(address->Line(i), CleanField(lines[i]));
            }
            const std::string c = Text(), s = Text(), p = Text(), n = Text();
            address->SetCity(c);
            address->SetState(s);
            address->SetPostCode(p);
            address->SetCountry(n);
            EXPECT_EQ(address->City(), CleanField(c));
            EXPECT_EQ(address->State(), CleanField(s));
            EXPECT_EQ(address->PostCode(), CleanField(p));
            EXPECT_EQ(address->Country(), CleanField(n));
        } else if (auto* phone = dynamic_cast<TPhoneObject*>(&item)) {
            const std::string x = Text();
            phone->SetExtension(x);
            EXPECT_EQ(phone->Extension(), CleanField(x));
        } else if (auto* tool = dynamic_cast<TToolObject*>(&item)) {
            const std::string p = Text(), q = Text();
            tool->SetProgram(p);
            tool->SetParameters(q);
            EXPECT_EQ(tool->Program(), CleanField(p));
            EXPECT_EQ(tool->Parameters(), CleanField(q));
        }
    }

    std::mt19937 random_;
};

bool IsDueToday(const TReminderObject& reminder) {
    return reminder.RecurringDate().IsDueOn(CurrentServices().clock->Today());
}

// Due reminders at or below the node, by their dates.
int DueByDate(const TOutlineNode& node) {
    int count = 0;
    for (std::size_t i = 0; i < node.Item()->ChildCount(); ++i) {
        auto* reminder = dynamic_cast<const TReminderObject*>(node.Item()->ChildAt(i));
        count += reminder && IsDueToday(*reminder) ? 1 : 0;
    }
    for (std::size_t i = 0; i < node.ChildCount(); ++i) {
        count += DueByDate(*node.ChildAt(i));
    }
    return count;
}

std::string_view LineAt(const TAddressObject& address, std::size_t i) {
    return i < address.Lines().size() ? address.Line(i) : std::string_view{};
}

// The loaded item against the original; tree items' categories are 0 where the file was
// written from the tree.
void ExpectSameItem(const TNRBObject& want, const TNRBObject& got, bool zeroTreeCategories) {
    SCOPED_TRACE(testing::Message() << "item kind " << int(want.Kind()) << " titled "
                                    << testing::PrintToString(std::string(want.Title())));
    ASSERT_EQ(got.Kind(), want.Kind());
    EXPECT_EQ(got.Title(), want.Title());
    EXPECT_EQ(got.Target(), want.Target());
    EXPECT_EQ(got.Comment(), want.Comment());
    if (want.Id() != 0) { // an id of 0 is drawn afresh when read
        EXPECT_EQ(got.Id(), want.Id());
    }
    const bool zeroed = zeroTreeCategories && IsTreeKind(want.Kind());
    EXPECT_EQ(got.Categories(), zeroed ? 0 : want.Categories());

    if (auto* w = dynamic_cast<const TContactHolderObject*>(&want)) {
        auto* g = dynamic_cast<const TContactHolderObject*>(&got);
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(g->PrimaryAddress(), w->PrimaryAddress());
        EXPECT_EQ(g->PrimaryPhone(), w->PrimaryPhone());
        EXPECT_EQ(g->PrimaryFax(), w->PrimaryFax());
        EXPECT_EQ(g->PrimaryEMail(), w->PrimaryEMail());
        EXPECT_EQ(g->PrimaryWebsite(), w->PrimaryWebsite());
    }
    if (auto* w = dynamic_cast<const TPersonObject*>(&want)) {
        auto* g = dynamic_cast<const TPersonObject*>(&got);
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(g->Salutation(), w->Salutation());
        EXPECT_EQ(g->FirstName(), w->FirstName());
        EXPECT_EQ(g->MiddleName(), w->MiddleName());
        EXPECT_EQ(g->LastName(), w->LastName());
    } else if (auto* w = dynamic_cast<const TAddressObject*>(&want)) {
        auto* g = dynamic_cast<const TAddressObject*>(&got);
        ASSERT_NE(g, nullptr);
        // Only the first three lines are kept, and three are always read.
        EXPECT_EQ(g->Lines().size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(LineAt(*g, i), LineAt(*w, i)) << "line " << i;
        }
        EXPECT_EQ(g->City(), w->City());
        EXPECT_EQ(g->State(), w->State());
        EXPECT_EQ(g->PostCode(), w->PostCode());
        EXPECT_EQ(g->Country(), w->Country());
    } else if (auto* w = dynamic_cast<const TPhoneObject*>(&want)) {
        auto* g = dynamic_cast<const TPhoneObject*>(&got);
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(g->Extension(), w->Extension());
    } else if (auto* w = dynamic_cast<const TReminderObject*>(&want)) {
        auto* g = dynamic_cast<const TReminderObject*>(&got);
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(g->RecurringDate().ToText(), w->RecurringDate().ToText());
        // Due is worked out again when read, also for one that was never read before.
        EXPECT_EQ(g->Due(), IsDueToday(*w));
    } else if (auto* w = dynamic_cast<const TToolObject*>(&want)) {
        auto* g = dynamic_cast<const TToolObject*>(&got);
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(g->Program(), w->Program());
        EXPECT_EQ(g->Parameters(), w->Parameters());
    } else if (auto* w = dynamic_cast<const TUnknownKindObject*>(&want)) {
        auto* g = dynamic_cast<const TUnknownKindObject*>(&got);
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(g->DataLine(), w->DataLine());
    }

    ASSERT_EQ(got.ChildCount(), want.ChildCount());
    for (std::size_t i = 0; i < want.ChildCount() && !::testing::Test::HasFailure(); ++i) {
        ExpectSameItem(*want.ChildAt(i), *got.ChildAt(i), zeroTreeCategories);
        EXPECT_EQ(got.ChildAt(i)->Node(), got.Node());
    }
}

void ExpectSameContents(const TOutlineNode& want, const TOutlineNode& got, bool zeroTree);

void ExpectSameNode(const TOutlineNode& want, const TOutlineNode& got, bool zeroTree) {
    // A caption is read from its item's title. (Renaming a child item that shares its
    // holder's caption renames the caption alone, which no record keeps.)
    EXPECT_EQ(got.Text(), want.Item()->Title());
    SCOPED_TRACE(testing::Message() << "node at depth " << want.Depth() << ", row " << want.Row());
    ExpectSameItem(*want.Item(), *got.Item(), zeroTree);
    EXPECT_EQ(got.Item()->Node(), &got);
    // The root is never marked; every other node counts the due reminders below it.
    const int due = got.Parent() ? DueByDate(want) : 0;
    EXPECT_EQ(got.Item()->DueCount(), due);
    EXPECT_EQ(got.StateIndex(), due > 0 ? kDueStateImage : kNoStateImage);
    EXPECT_EQ(got.ImageIndex(), want.ImageIndex());
    EXPECT_EQ(got.SelectedIndex(), want.SelectedIndex());
    ExpectSameContents(want, got, zeroTree);
}

void ExpectSameContents(const TOutlineNode& want, const TOutlineNode& got, bool zeroTree) {
    ASSERT_EQ(got.ChildCount(), want.ChildCount()) << "under " << want.Text();
    for (std::size_t i = 0; i < want.ChildCount() && !::testing::Test::HasFailure(); ++i) {
        ExpectSameNode(*want.ChildAt(i), *got.ChildAt(i), zeroTree);
    }
}

class RoundTripProperty : public ::testing::TestWithParam<std::uint32_t> {
protected:
    test::FakeServices services;
    test::TempDir dir;
};

TEST_P(RoundTripProperty, SaveLoadSaveChangesNothing) {
    const std::uint32_t seed = GetParam();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    SeedItemIds(seed);
    RandomOutline random(seed);
    TOutline original;
    original.CreateRoot();
    random.Build(original);
    ASSERT_FALSE(HasFailure());

    const std::string first = dir.File("first.dat");
    ASSERT_TRUE(TDataFile(first).SaveDataFile(original));
    TOutline loaded;
    TDataFile firstFile(first);
    const FileResult load = firstFile.LoadDataFile(loaded);
    ASSERT_TRUE(load.ok) << load.message;
    const std::string second = dir.File("second.dat");
    ASSERT_TRUE(TDataFile(second).SaveDataFile(loaded));

    const std::optional<std::string> firstBytes = ReadWholeFile(first);
    const std::optional<std::string> secondBytes = ReadWholeFile(second);
    ASSERT_TRUE(firstBytes && secondBytes);
    EXPECT_TRUE(*firstBytes == *secondBytes) << "the second save differs from the first";
    EXPECT_EQ(loaded.TopLevelCount(), 1u);
    EXPECT_EQ(loaded.NodeCount(), original.NodeCount());
    ExpectSameNode(*original.Root(), *loaded.Root(), false);
}

TEST_P(RoundTripProperty, ExchangeFileImportsTheSameSubtree) {
    const std::uint32_t seed = GetParam();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    SeedItemIds(seed);
    RandomOutline random(seed);
    TOutline original;
    original.CreateRoot();
    random.Build(original);
    ASSERT_FALSE(HasFailure());

    // A random node of the tree, the root among them.
    std::vector<TOutlineNode*> nodes;
    original.ForEachNode([&](TOutlineNode* node) { nodes.push_back(node); });
    TOutlineNode* top =
        nodes[static_cast<std::size_t>(random.Uniform(0, static_cast<int>(nodes.size()) - 1))];

    const std::string path = dir.File("part.qld");
    ASSERT_TRUE(WriteSubtree(*top, path));
    TOutline imported;
    TOutlineNode* target = imported.CreateRoot();
    const FileResult result = ImportFile(target, path);
    ASSERT_TRUE(result.ok) << result.message;

    const TOutlineNode* copy = target;
    if (top->Item()->Kind() == kRootKind) {
        // The root's record adds nothing; its content lands under the target.
        ExpectSameItem(*top->Item(), *target->Item(), true);
        ExpectSameContents(*top, *target, true);
    } else {
        ASSERT_EQ(target->ChildCount(), 1u);
        EXPECT_EQ(target->Item()->ChildCount(), 0u);
        copy = target->ChildAt(0);
        ExpectSameNode(*top, *copy, true);
    }
    const std::string again = dir.File("again.qld");
    ASSERT_TRUE(WriteSubtree(*copy, again));
    EXPECT_TRUE(ReadWholeFile(path) == ReadWholeFile(again)) << "the exchange file changed";
}

INSTANTIATE_TEST_SUITE_P(Seeds, RoundTripProperty, ::testing::Range(1u, 51u));

} // namespace
} // namespace quill
