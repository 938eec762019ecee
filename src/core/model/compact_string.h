#pragma once
// A 16-byte immutable-in-place text value for item fields. A large outline holds millions
// of short texts; std::string's 32 bytes per field would double the outline's memory. Up to
// 15 bytes live inline; longer texts live in one exact-size heap block.

#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>

namespace quill {

class CompactString {
public:
    CompactString() noexcept { SetInlineSize(0); }
    CompactString(std::string_view text) { Assign(text); } // NOLINT: implicit by design
    CompactString(const char* text) : CompactString(std::string_view(text)) {}
    CompactString(const std::string& text) : CompactString(std::string_view(text)) {}
    CompactString(const CompactString& other) { Assign(other.view()); }
    CompactString(CompactString&& other) noexcept {
        std::memcpy(bytes_, other.bytes_, sizeof bytes_);
        other.SetInlineSize(0);
    }
    CompactString& operator=(const CompactString& other) {
        if (this != &other) {
            CompactString copy(other);
            Swap(copy);
        }
        return *this;
    }
    CompactString& operator=(CompactString&& other) noexcept {
        if (this != &other) {
            Release();
            std::memcpy(bytes_, other.bytes_, sizeof bytes_);
            other.SetInlineSize(0);
        }
        return *this;
    }
    CompactString& operator=(std::string_view text) {
        CompactString copy(text);
        Swap(copy);
        return *this;
    }
    ~CompactString() { Release(); }

    std::string_view view() const noexcept { return {data(), size()}; }
    operator std::string_view() const noexcept { return view(); } // NOLINT
    std::string str() const { return std::string(view()); }
    const char* data() const noexcept {
        return IsHeap() ? HeapPointer() : reinterpret_cast<const char*>(bytes_);
    }
    std::size_t size() const noexcept {
        if (IsHeap()) {
            std::uint32_t n;
            std::memcpy(&n, bytes_ + 8, sizeof n);
            return n;
        }
        return kInlineCapacity - bytes_[kTagByte];
    }
    bool empty() const noexcept { return size() == 0; }

    friend bool operator==(const CompactString& a, std::string_view b) noexcept {
        return a.view() == b;
    }
    friend std::ostream& operator<<(std::ostream& out, const CompactString& s) {
        return out << s.view();
    }

    void Swap(CompactString& other) noexcept {
        unsigned char tmp[sizeof bytes_];
        std::memcpy(tmp, bytes_, sizeof bytes_);
        std::memcpy(bytes_, other.bytes_, sizeof bytes_);
        std::memcpy(other.bytes_, tmp, sizeof bytes_);
    }

private:
    static constexpr std::size_t kInlineCapacity = 15;
    static constexpr std::size_t kTagByte = 15;
    static constexpr unsigned char kHeapTag = 0x80;

    bool IsHeap() const noexcept { return bytes_[kTagByte] == kHeapTag; }
    const char* HeapPointer() const noexcept {
        const char* p;
        std::memcpy(&p, bytes_, sizeof p);
        return p;
    }
    // The tag holds the unused inline capacity, so a full inline text ends in a zero byte.
    void SetInlineSize(std::size_t n) noexcept {
        bytes_[kTagByte] = static_cast<unsigned char>(kInlineCapacity - n);
    }
    void Assign(std::string_view text) {
        if (text.size() <= kInlineCapacity) {
            std::memset(bytes_, 0, sizeof bytes_);
            if (!text.empty()) {
                std::memcpy(bytes_, text.data(), text.size());
            }
            SetInlineSize(text.size());
            return;
        }
        char* p = new char[text.size()];
        std::memcpy(p, text.data(), text.size());
        const auto n = static_cast<std::uint32_t>(text.size());
        std::memcpy(bytes_, &p, sizeof p);
        std::memcpy(bytes_ + 8, &n, sizeof n);
        bytes_[kTagByte] = kHeapTag;
    }
    void Release() noexcept {
        if (IsHeap()) {
            delete[] HeapPointer();
        }
    }

    alignas(8) unsigned char bytes_[16];
};

static_assert(sizeof(CompactString) == 16);

} // namespace quill
