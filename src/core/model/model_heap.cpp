#include "core/model/model_heap.h"

#include "core/util/memory_blocks.h"

#include <cstdint>
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

#else

namespace {

constexpr std::size_t kGrain = 8;
// Larger objects (long texts, long child lists) are rare: the ordinary heap takes them.
constexpr std::size_t kLargestClass = 512;
constexpr std::size_t kClassCount = kLargestClass / kGrain;

struct FreeObject {
    FreeObject* next;
};

// Plain data with no destructor: objects still alive when the process ends stay valid.
struct Heap {
    FreeObject* freeLists[kClassCount];
    char* next;
    char* end;
};
constinit Heap heap{};

std::size_t ClassOf(std::size_t bytes) {
    return (bytes + kGrain - 1) / kGrain - 1;
}

void* Carve(std::size_t bytes) {
    if (static_cast<std::size_t>(heap.end - heap.next) < bytes) {
        // The rest of the old block is left unused: less than one object of the largest class.
        void* block = AllocateMemoryBlock();
        if (!block) {
            throw std::bad_alloc();
        }
        heap.next = static_cast<char*>(block);
        heap.end = heap.next + kMemoryBlockSize;
    }
    void* p = heap.next;
    heap.next += bytes;
    return p;
}

} // namespace

void* ModelAllocate(std::size_t bytes) {
    if (bytes == 0) {
        bytes = 1;
    }
    if (bytes > kLargestClass) {
        return ::operator new(bytes);
    }
    const std::size_t cls = ClassOf(bytes);
    if (FreeObject* object = heap.freeLists[cls]) {
        heap.freeLists[cls] = object->next;
        return object;
    }
    return Carve((cls + 1) * kGrain);
}

void ModelFree(void* p, std::size_t bytes) noexcept {
    if (!p) {
        return;
    }
    if (bytes == 0) {
        bytes = 1;
    }
    if (bytes > kLargestClass) {
        ::operator delete(p);
        return;
    }
    const std::size_t cls = ClassOf(bytes);
    auto* object = static_cast<FreeObject*>(p);
    object->next = heap.freeLists[cls];
    heap.freeLists[cls] = object;
}

#endif

} // namespace quill
