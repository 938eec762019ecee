// The outline's memory: the compact text value, the model heap, the owned lists and the
// shared primary titles.

#include "core/model/compact_string.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/item_factory.h"
#include "core/model/model_heap.h"
#include "core/model/owned_list.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace quill {
namespace {

TEST(CompactStringTest, KeepsEveryLengthAndByteAcrossTheInlineLimit) {
    for (std::size_t n = 0; n <= 40; ++n) {
        std::string text;
        for (std::size_t i = 0; i < n; ++i) {
            text.push_back(static_cast<char>(i % 3 == 1 ? '\0' : 'a' + static_cast<char>(i)));
        }
        const CompactString s(text);
        EXPECT_EQ(s.size(), n);
        EXPECT_EQ(s.view(), text) << "length " << n;
        EXPECT_EQ(s.empty(), n == 0);
        const CompactString copy = s;
        EXPECT_EQ(copy.view(), text) << "copy of length " << n;
    }
    EXPECT_TRUE(CompactString().empty());
    EXPECT_EQ(CompactString().view(), CompactString("").view());
}

TEST(CompactStringTest, CopiesShareTheirTextAndOutliveTheOriginal) {
    const std::string text = "a text well past the inline room";
    auto original = std::make_unique<CompactString>(text);
    CompactString copy = *original;
    CompactString assigned;
    assigned = copy;
    EXPECT_EQ(copy.data(), original->data()); // shared, not copied
    original.reset();
    EXPECT_EQ(copy.view(), text);
    EXPECT_EQ(assigned.view(), text);
    const CompactString& same = copy;
    copy = same; // assignment to itself keeps the text
    EXPECT_EQ(copy.view(), text);

    CompactString moved = std::move(copy);
    EXPECT_EQ(moved.view(), text);
    EXPECT_TRUE(copy.empty()); // NOLINT: a moved-from text is empty
    moved = std::string_view("short");
    EXPECT_EQ(moved.view(), "short");
    EXPECT_EQ(assigned.view(), text);
}

TEST(CompactStringTest, EqualTextsMadeOneAfterTheOtherShareOneBlock) {
    const CompactString a(std::string("Primary Address"));
    const CompactString b(std::string("Primary Address"));
    EXPECT_EQ(a.data(), b.data());
    const CompactString c(std::string("Primary Addresz"));
    EXPECT_NE(c.data(), a.data());
    EXPECT_EQ(c.view(), "Primary Addresz");
}

TEST(CompactStringTest, ATextMadeAfterItsTwinWasFreedGetsABlockOfItsOwn) {
    std::string text = "gone and made again, twice over";
    { const CompactString first(text); }
    // The freed block may be reused for anything; the new text must not find it as its twin.
    const CompactString filler(std::string("another text that takes the freed block"));
    const CompactString again(text);
    EXPECT_EQ(again.view(), text);
    EXPECT_EQ(filler.view(), "another text that takes the freed block");
}

void ExpectPiecesKeepTheirBytes(void* (*allocate)(std::size_t),
                                void (*release)(void*, std::size_t) noexcept,
                                std::size_t alignment) {
    struct Piece {
        void* p;
        std::size_t size;
        unsigned char fill;
    };
    std::vector<Piece> pieces;
    for (std::size_t round = 0; round < 3; ++round) {
        for (std::size_t size = 1; size <= 700; size += size < 16 ? 1 : 7) {
            const auto fill = static_cast<unsigned char>(size + round);
            void* p = allocate(size);
            ASSERT_NE(p, nullptr);
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % alignment, 0u);
            std::memset(p, fill, size);
            pieces.push_back({p, size, fill});
        }
        // Every other piece goes back, so the next round reuses freed room.
        for (std::size_t i = 0; i < pieces.size(); i += 2) {
            release(pieces[i].p, pieces[i].size);
        }
        std::vector<Piece> kept;
        for (std::size_t i = 1; i < pieces.size(); i += 2) {
            kept.push_back(pieces[i]);
        }
        pieces = kept;
        for (const Piece& piece : pieces) {
            const auto* bytes = static_cast<const unsigned char*>(piece.p);
            for (std::size_t i = 0; i < piece.size; ++i) {
                ASSERT_EQ(bytes[i], piece.fill) << "piece of " << piece.size << " bytes";
            }
        }
    }
    for (const Piece& piece : pieces) {
        release(piece.p, piece.size);
    }
}

TEST(ModelHeapTest, ObjectsOfEverySizeKeepTheirBytesWhileOthersComeAndGo) {
    ExpectPiecesKeepTheirBytes(ModelAllocate, ModelFree, 8);
}

TEST(ModelHeapTest, TextsOfEverySizeKeepTheirBytesWhileOthersComeAndGo) {
    // Texts are cut at 4-byte steps; a freed one, even of one byte, holds the free list's link.
    ExpectPiecesKeepTheirBytes(ModelAllocateText, ModelFreeText, 4);
}

struct Counted {
    explicit Counted(int v, std::vector<int>* gone) : value(v), log(gone) {}
    ~Counted() { log->push_back(value); }
    int value;
    std::vector<int>* log;
};

TEST(OwnedListTest, GrowsKeepsOrderAndDestroysLastFirst) {
    std::vector<int> gone;
    {
        OwnedList<Counted> list;
        for (int i = 0; i < 100; ++i) {
            list.push_back(std::make_unique<Counted>(i, &gone));
        }
        list.insert(0, std::make_unique<Counted>(-1, &gone));
        ASSERT_EQ(list.size(), 101u);
        for (std::size_t i = 0; i < list.size(); ++i) {
            ASSERT_EQ(list[i]->value, static_cast<int>(i) - 1);
        }
        std::unique_ptr<Counted> taken = list.take(50);
        EXPECT_EQ(taken->value, 49);
        EXPECT_EQ(list[50]->value, 50);
        EXPECT_TRUE(gone.empty());
    }
    ASSERT_EQ(gone.size(), 101u);
    EXPECT_EQ(gone.front(), 49); // the taken one, when its owner went
    EXPECT_EQ(gone[1], 99);      // then the list, from its last element
    EXPECT_EQ(gone.back(), -1);
}

} // namespace
} // namespace quill

namespace quill {
namespace {

TEST(SharedPrimaryTitlesTest, HoldersNamingTheSameTitlesStayIndependent) {
    test::FakeServices services;
    const std::string_view line =
        "{Pers}Mr.~~Bo~~~~Lee~~Primary Address~~Primary Phone~~~~Mail~~~~0";
    auto a = ConstructItem(kPersonKind, "A", "", "", 1, line);
    auto b = ConstructItem(kPersonKind, "B", "", "", 2, line);
    auto* first = dynamic_cast<TPersonObject*>(a.get());
    auto* second = dynamic_cast<TPersonObject*>(b.get());
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->PrimaryPhone(), "Primary Phone");

    first->SetPrimaryPhone("Mobile");
    EXPECT_EQ(first->PrimaryPhone(), "Mobile");
    EXPECT_EQ(first->PrimaryAddress(), "Primary Address");
    EXPECT_EQ(second->PrimaryPhone(), "Primary Phone") << "a change stays with its holder";

    // A data line read again keeps the fields it lacks, for this holder alone.
    second->ReadDataLine("{Pers}Ms.~~Bea~~~~Lee~~Home");
    EXPECT_EQ(second->PrimaryAddress(), "Home");
    EXPECT_EQ(second->PrimaryEMail(), "Mail");
    EXPECT_EQ(first->PrimaryAddress(), "Primary Address");

    a.reset();
    EXPECT_EQ(second->PrimaryEMail(), "Mail");
    second->SetPrimaryAddress("");
    second->SetPrimaryPhone("");
    second->SetPrimaryEMail("");
    EXPECT_TRUE(second->PrimaryAddress().empty() && second->PrimaryEMail().empty());

    // A fresh holder with the first one's old titles gets them whole.
    auto c = ConstructItem(kPersonKind, "C", "", "", 3, line);
    const auto* third = dynamic_cast<TPersonObject*>(c.get());
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->PrimaryAddress(), "Primary Address");
    EXPECT_EQ(third->PrimaryPhone(), "Primary Phone");
    EXPECT_EQ(third->PrimaryEMail(), "Mail");
    EXPECT_EQ(c->RecordText(1).substr(c->RecordText(1).find("\r\n") + 2), line);
}

} // namespace
} // namespace quill

namespace quill {
namespace {

TEST(CompactStringTest, LongTextsAndTextsSharedVeryOftenKeepTheirBytes) {
    std::string huge(70'000, 'x');
    huge[0] = 'a';
    huge.back() = 'z';
    {
        const CompactString a(huge);
        const CompactString b = a;
        EXPECT_EQ(a.size(), huge.size());
        EXPECT_EQ(b.view(), huge);
    }
    const std::string label = "a label shared by very many items";
    std::vector<CompactString> many(70'000, CompactString(label));
    EXPECT_EQ(many.front().view(), label);
    EXPECT_EQ(many.back().data(), many.front().data());
    many.clear();
    const CompactString again(label);
    EXPECT_EQ(again.view(), label);
    std::vector<CompactString> more(10, again);
    more.clear();
    EXPECT_EQ(again.view(), label);
}

} // namespace
} // namespace quill
