#pragma once
// An ordered list that owns its elements, in one pointer's room. Every item and every node
// has one, and most are empty or short: std::vector's three pointers would cost an outline
// of a million items 16 MB for nothing.

#include "core/model/model_heap.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace quill {

template <typename T> class OwnedList {
public:
    OwnedList() noexcept = default;
    OwnedList(const OwnedList&) = delete;
    OwnedList& operator=(const OwnedList&) = delete;
    OwnedList(OwnedList&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
    ~OwnedList() { clear(); }

    std::size_t size() const noexcept { return block_ ? block_->size : 0; }
    bool empty() const noexcept { return size() == 0; }
    T* operator[](std::size_t i) const noexcept { return block_->items[i]; }
    T* back() const noexcept { return block_->items[block_->size - 1]; }
    T* front() const noexcept { return block_->items[0]; }
    T* const* begin() const noexcept { return block_ ? block_->items : nullptr; }
    T* const* end() const noexcept { return block_ ? block_->items + block_->size : nullptr; }
    T** begin() noexcept { return block_ ? block_->items : nullptr; }
    T** end() noexcept { return block_ ? block_->items + block_->size : nullptr; }

    T* push_back(std::unique_ptr<T> item) { return insert(size(), std::move(item)); }

    T* insert(std::size_t at, std::unique_ptr<T> item) {
        Reserve(size() + 1);
        T** items = block_->items;
        std::memmove(items + at + 1, items + at, (block_->size - at) * sizeof(T*));
        items[at] = item.release();
        ++block_->size;
        return items[at];
    }

    // Takes the element out without destroying it.
    std::unique_ptr<T> take(std::size_t at) {
        T** items = block_->items;
        std::unique_ptr<T> owned(items[at]);
        std::memmove(items + at, items + at + 1, (block_->size - at - 1) * sizeof(T*));
        --block_->size;
        return owned;
    }

    // Moves count elements from at on to the end of other, in their order.
    void moveTo(std::size_t at, std::size_t count, OwnedList& other) {
        if (count == 0) {
            return;
        }
        other.Reserve(other.size() + count);
        T** items = block_->items;
        std::memcpy(other.block_->items + other.block_->size, items + at, count * sizeof(T*));
        other.block_->size += static_cast<std::uint32_t>(count);
        std::memmove(items + at, items + at + count, (block_->size - at - count) * sizeof(T*));
        block_->size -= static_cast<std::uint32_t>(count);
    }

    // Destroys the elements from the last to the first, each after it left the list.
    void clear() noexcept {
        while (!empty()) {
            take(size() - 1).reset();
        }
        if (block_) {
            ModelFree(block_, BytesFor(block_->capacity));
        }
        block_ = nullptr;
    }

private:
    struct Block {
        std::uint32_t size;
        std::uint32_t capacity;
        T* items[1];
    };
    static std::size_t BytesFor(std::size_t capacity) {
        return offsetof(Block, items) + capacity * sizeof(T*);
    }
    void Reserve(std::size_t wanted) {
        const std::size_t capacity = block_ ? block_->capacity : 0;
        if (wanted <= capacity) {
            return;
        }
        // Small lists grow by one pointer at a time (most items hold a handful of children),
        // larger ones double.
        const std::size_t grown =
            std::max<std::size_t>(wanted, capacity < 8 ? capacity + 1 : capacity * 2);
        auto* block = static_cast<Block*>(ModelAllocate(BytesFor(grown)));
        block->size = 0;
        if (block_) {
            block->size = block_->size;
            std::memcpy(block->items, block_->items, block_->size * sizeof(T*));
            ModelFree(block_, BytesFor(capacity));
        }
        block->capacity = static_cast<std::uint32_t>(grown);
        block_ = block;
    }

    Block* block_ = nullptr;
};

} // namespace quill
