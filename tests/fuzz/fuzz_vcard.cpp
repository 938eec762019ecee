// The vCard reader: whatever the bytes, reading them as a card file and each card into a
// person and an organization never fails in memory; what the cards write reads back as the
// same number of cards and properties; and an item read from what another item wrote writes
// the very same card again.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/exchange/vcard.h"
#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/outline.h"

namespace {

// Larger inputs find nothing new and only slow the run down.
constexpr std::size_t kMaxInput = std::size_t{64} << 10;
constexpr std::size_t kMaxCards = 64;

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

std::string CardText(const quill::TCard& card) {
    std::string text;
    quill::AppendCardText(card, text);
    return text;
}

// Reads the card into a new item of the kind in a fresh outline and returns what it writes.
std::string ReadAndWrite(const quill::TCard& card, int kind) {
    quill::TOutline outline;
    quill::TNRBObject* item = quill::CreateItem(kind, {}, {}, {}, 0, {}, outline.CreateRoot());
    item->ReadVCard(card);
    return CardText(quill::ItemVCard(*item));
}

quill::TCard OnlyCard(const std::string& text) {
    quill::TVCardFile file;
    file.LoadText(text);
    Check(file.CardCount() == 1);
    return file.CardAt(0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxInput) {
        return 0;
    }
    quill::SeedItemIds(1);
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    quill::TVCardFile file;
    file.LoadText(input);

    quill::TVCardFile reread;
    reread.LoadText(file.Text());
    Check(reread.CardCount() == file.CardCount());
    for (std::size_t i = 0; i < file.CardCount(); ++i) {
        Check(reread.CardAt(i).Count() == file.CardAt(i).Count());
    }

    for (std::size_t i = 0; i < file.CardCount() && i < kMaxCards; ++i) {
        const quill::TCard& card = file.CardAt(i);
        (void)quill::CardDisplayName(card);
        for (int kind : {quill::kPersonKind, quill::kOrganizationKind}) {
            // Titles come from the types a card carries, so the first rewrite may still
            // move a PREF between two points of one kind; from then on it stays.
            const std::string first = ReadAndWrite(card, kind);
            const std::string second = ReadAndWrite(OnlyCard(first), kind);
            Check(ReadAndWrite(OnlyCard(second), kind) == second);
        }
    }
    return 0;
}
