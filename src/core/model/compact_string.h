#pragma once
// An 8-byte text value for item fields and node captions. A large outline holds millions of
// texts, most of them short or repeated ("Primary Address", a country, a city): up to 7
// bytes live inline; longer texts live in a shared, counted block of the model heap, and a
// text equal to one made recently shares that one's block (the outline's single thread owns
// the counts). std::string's 32 bytes a field would double the outline's memory.

#include <bit>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>

namespace quill {

class CompactString {
public:
    CompactString() noexcept = default;
    CompactString(std::string_view text) { Assign(text); } // NOLINT: implicit by design
    CompactString(const char* text) : CompactString(std::string_view(text)) {}
    CompactString(const std::string& text) : CompactString(std::string_view(text)) {}
    CompactString(const CompactString& other) : word_(other.word_) { Retain(); }
    CompactString(CompactString&& other) noexcept : word_(other.word_) { other.word_ = 0; }
    CompactString& operator=(const CompactString& other) {
        CompactString copy(other);
        Swap(copy);
        return *this;
    }
    CompactString& operator=(CompactString&& other) noexcept {
        CompactString moved(static_cast<CompactString&&>(other));
        Swap(moved);
        return *this;
    }
    CompactString& operator=(std::string_view text) {
        CompactString copy(text);
        Swap(copy);
        return *this;
    }
    ~CompactString() { Release(); }

    std::string_view view() const noexcept {
        if (IsInline()) {
            return {reinterpret_cast<const char*>(&word_) + 1, InlineSize()};
        }
        if (word_ == 0) {
            return {};
        }
        return AsBlock()->View();
    }
    operator std::string_view() const noexcept { return view(); } // NOLINT
    std::string str() const { return std::string(view()); }
    const char* data() const noexcept { return view().data(); }
    std::size_t size() const noexcept { return view().size(); }
    bool empty() const noexcept { return word_ == 0 || (IsInline() && InlineSize() == 0); }
    // True for a text never given a value (or moved from); an empty text given is not null.
    // A holder of a few optional texts can tell how many it was given without a count.
    bool IsNull() const noexcept { return word_ == 0; }
    // Where the bytes live, for a prefetch: the shared block, or the text itself when inline.
    const void* Storage() const noexcept {
        return IsInline() || word_ == 0 ? static_cast<const void*>(this) : AsBlock();
    }

    friend bool operator==(const CompactString& a, std::string_view b) noexcept {
        return a.view() == b;
    }
    friend std::ostream& operator<<(std::ostream& out, const CompactString& s) {
        return out << s.view();
    }

    void Swap(CompactString& other) noexcept {
        const std::uint64_t word = word_;
        word_ = other.word_;
        other.word_ = word;
    }

    // Texts longer than this live in a block.
    static constexpr std::size_t kInlineCapacity = 7;

private:
    // A shared text: the count of its holders, its size and its bytes, in four bytes of
    // header. A size of kLongSize or more is kept in four bytes in front of the text; a count
    // that reaches kImmortal stays there, and the block is never freed (only texts shared
    // that often, a few labels, end so).
    struct Block {
        static constexpr std::uint16_t kLongSize = 0xFFFF;
        static constexpr std::uint16_t kImmortal = 0xFFFF;
        std::uint16_t holders;
        std::uint16_t shortSize;
        char bytes[4];
        std::string_view View() const noexcept {
            if (shortSize != kLongSize) {
                return {bytes, shortSize};
            }
            std::uint32_t size;
            std::memcpy(&size, bytes, sizeof size);
            return {bytes + sizeof size, size};
        }
    };
    static_assert(std::endian::native == std::endian::little && sizeof(void*) == 8,
                  "the inline form keeps its tag in the low byte of a pointer's room");

    // Inline: the low bit is set, bits 1 to 3 hold the size, the bytes follow the tag byte.
    // Otherwise the word is a (4-aligned) block pointer, or 0 for the empty text.
    bool IsInline() const noexcept { return (word_ & 1u) != 0; }
    std::size_t InlineSize() const noexcept { return (word_ >> 1) & 7u; }
    Block* AsBlock() const noexcept { return reinterpret_cast<Block*>(word_); }
    void Assign(std::string_view text);
    void Retain() {
        if (word_ != 0 && !IsInline() && AsBlock()->holders != Block::kImmortal &&
            ++AsBlock()->holders == Block::kImmortal) {
            KeepForever(AsBlock());
        }
    }
    void Release() noexcept {
        if (word_ == 0 || IsInline()) {
            return;
        }
        Block* block = AsBlock();
        if (block->holders != Block::kImmortal && --block->holders == 0) {
            FreeBlock(block);
        }
    }
    static std::size_t BlockBytes(std::size_t textSize) noexcept;
    static void FreeBlock(Block* block) noexcept;
    static void KeepForever(Block* block);

    std::uint64_t word_ = 0;
};

static_assert(sizeof(CompactString) == 8);

} // namespace quill
