#include "core/model/model_heap.h"

#include "core/util/memory_blocks.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define QUILL_ORDINARY_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
#define QUILL_ORDINARY_HEAP 1
#endif
#endif

namespace quill {

#ifdef QUILL_ORDINARY_HEAP

void* ModelAllocate(std::size_t bytes) {
    return ::operator new(bytes);
}

void ModelFree(void* p, std::size_t) noexcept {
    ::operator delete(p);
}

void* ModelAllocateText(std::size_t bytes) {
    return ::operator new(bytes);
}

void ModelFreeText(void* p, std::size_t) noexcept {
    ::operator delete(p);
}

#else

namespace {

// Larger objects (long texts, long child lists) are rare: the ordinary heap takes them.
constexpr std::size_t kLargestClass = 512;
// How much of a block is backed with memory at a time, ahead of the objects cut from it.
constexpr std::size_t kPrepareStep = std::size_t{128} << 10;

// Objects of one alignment, cut by size class from blocks. The free lists are threaded
// through the freed objects themselves (copied in and out: a text is only 4-aligned).
template <std::size_t Grain> struct SizeClassHeap {
    static constexpr std::size_t kClassCount = kLargestClass / Grain;
    static_assert(Grain >= 4 && Grain * 2 >= sizeof(void*), "a freed object holds a pointer");

    void* freeLists[kClassCount];
    char* next;
    char* end;
    char* prepared; // memory below this is backed already

    static std::size_t ClassOf(std::size_t bytes) { return (bytes + Grain - 1) / Grain - 1; }

    void* Carve(std::size_t bytes) {
        if (static_cast<std::size_t>(end - next) < bytes) {
            // The rest of the old block is left unused: less than one object of the largest
            // class.
            void* block = AllocateMemoryBlock();
            if (!block) {
                throw std::bad_alloc();
            }
            next = static_cast<char*>(block);
            end = next + kMemoryBlockSize;
            prepared = next;
        }
        void* p = next;
        next += bytes;
        if (next > prepared) {
            const std::size_t step = std::min<std::size_t>(kPrepareStep, end - prepared);
            PrepareMemory(prepared, step);
            prepared += step;
        }
        return p;
    }

    void* Allocate(std::size_t bytes) {
        if (bytes > kLargestClass) {
            return ::operator new(bytes);
        }
        // The smallest class must hold a free list's link.
        const std::size_t cls = ClassOf(std::max(bytes, sizeof(void*)));
        if (void* object = freeLists[cls]) {
            std::memcpy(&freeLists[cls], object, sizeof(void*));
            return object;
        }
        return Carve((cls + 1) * Grain);
    }

    void Free(void* p, std::size_t bytes) noexcept {
        if (!p) {
            return;
        }
        if (bytes > kLargestClass) {
            ::operator delete(p);
            return;
        }
        const std::size_t cls = ClassOf(std::max(bytes, sizeof(void*)));
        std::memcpy(p, &freeLists[cls], sizeof(void*));
        freeLists[cls] = p;
    }
};

// Plain data with no destructor: objects still alive when the process ends stay valid.
constinit SizeClassHeap<8> objects{};
// Texts need only 4-byte alignment; their own classes waste less of each block they take.
constinit SizeClassHeap<4> texts{};

} // namespace

void* ModelAllocate(std::size_t bytes) {
    return objects.Allocate(bytes == 0 ? 1 : bytes);
}

void ModelFree(void* p, std::size_t bytes) noexcept {
    objects.Free(p, bytes == 0 ? 1 : bytes);
}

void* ModelAllocateText(std::size_t bytes) {
    return texts.Allocate(bytes == 0 ? 1 : bytes);
}

void ModelFreeText(void* p, std::size_t bytes) noexcept {
    texts.Free(p, bytes == 0 ? 1 : bytes);
}

#endif

} // namespace quill
