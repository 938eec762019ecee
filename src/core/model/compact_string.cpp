#include "core/model/compact_string.h"

#include "core/model/model_heap.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <vector>

namespace quill {
namespace {

// Texts made recently, by a hash of their bytes: a text met again (the labels every person
// carries, the countries, the cities) shares the block instead of taking one of its own. The
// entries do not hold their blocks; a block being freed takes itself out. Beside each entry
// a fingerprint of the text, so that most texts that differ are told apart without reading
// the block.
constexpr unsigned kRecentBits = 14;
constexpr std::size_t kRecentCount = std::size_t{1} << kRecentBits;

// A slot's block and fingerprint side by side: one cache line read per lookup.
struct RecentSlot {
    std::uint64_t block;
    std::uint32_t fingerprint;
};
constinit RecentSlot recent[kRecentCount]{};

std::uint64_t Load8(const char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Texts here are longer than 7 bytes, so the first and the last 8 bytes can be read.
std::uint64_t TextHash(std::string_view text) {
    const std::uint64_t head = Load8(text.data());
    const std::uint64_t tail = Load8(text.data() + text.size() - 8);
    std::uint64_t h = (head * 0x9E3779B97F4A7C15ull) ^ (tail * 0xC2B2AE3D27D4EB4Full) ^
                      (text.size() * 0x165667B19E3779F9ull);
    h ^= h >> 29;
    return h * 0xBF58476D1CE4E5B9ull;
}

std::size_t SlotOf(std::uint64_t hash) {
    return static_cast<std::size_t>(hash >> (64 - kRecentBits));
}

std::uint32_t FingerprintOf(std::uint64_t hash) {
    return static_cast<std::uint32_t>(hash);
}

} // namespace

void CompactString::Assign(std::string_view text) {
    if (text.size() <= kInlineCapacity) {
        // Made in a register: the field is often new memory, which need not be read first.
        std::uint64_t word = 0;
        if (!text.empty()) {
            std::memcpy(reinterpret_cast<char*>(&word) + 1, text.data(), text.size());
        }
        word_ = word | 1u | (text.size() << 1);
        return;
    }
    if (text.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error("text too long for an item field");
    }
    const std::uint64_t hash = TextHash(text);
    const std::size_t slot = SlotOf(hash);
    const std::uint32_t fingerprint = FingerprintOf(hash);
    if (recent[slot].fingerprint == fingerprint && recent[slot].block != 0 &&
        reinterpret_cast<const Block*>(recent[slot].block)->View() == text) {
        word_ = recent[slot].block;
        Retain();
        return;
    }
    auto* block = static_cast<Block*>(ModelAllocateText(BlockBytes(text.size())));
    block->holders = 1;
    char* bytes = block->bytes;
    if (text.size() < Block::kLongSize) {
        block->shortSize = static_cast<std::uint16_t>(text.size());
    } else {
        block->shortSize = Block::kLongSize;
        const auto size = static_cast<std::uint32_t>(text.size());
        std::memcpy(bytes, &size, sizeof size);
        bytes += sizeof size;
    }
    std::memcpy(bytes, text.data(), text.size());
    word_ = reinterpret_cast<std::uint64_t>(block);
    recent[slot].block = word_;
    recent[slot].fingerprint = fingerprint;
}

std::size_t CompactString::BlockBytes(std::size_t textSize) noexcept {
    const std::size_t header = offsetof(Block, bytes);
    return textSize < Block::kLongSize ? header + textSize : header + 4 + textSize;
}

void CompactString::KeepForever(Block* block) {
    // Listed, so that a leak checker still finds it when no text holds it any more.
    static auto* const kept = new std::vector<const Block*>;
    kept->push_back(block);
}

void CompactString::FreeBlock(Block* block) noexcept {
    const std::string_view text = block->View();
    const std::size_t slot = SlotOf(TextHash(text));
    if (recent[slot].block == reinterpret_cast<std::uint64_t>(block)) {
        recent[slot].block = 0;
    }
    ModelFreeText(block, BlockBytes(text.size()));
}

} // namespace quill
