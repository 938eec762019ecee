#pragma once
// The memory of the outline: items, nodes, their child lists and their texts. They are
// many, small and of a few sizes, so they are cut from large blocks by size class
// instead of one heap block each: no per-block header, few page faults, and freeing is a
// push onto the class's free list. Memory freed is reused by later objects of its size; the
// blocks stay with the process.
//
// The outline belongs to the one user-interface thread; so does this heap (no locks).
// Builds with a sanitizer use the ordinary heap, so that it can watch every object.

#include <cstddef>

namespace quill {

void* ModelAllocate(std::size_t bytes);
// bytes as given to ModelAllocate.
void ModelFree(void* p, std::size_t bytes) noexcept;
// The same for texts, which need only 4-byte alignment.
void* ModelAllocateText(std::size_t bytes);
void ModelFreeText(void* p, std::size_t bytes) noexcept;

// For classes whose objects live in the model heap.
#define QUILL_MODEL_HEAP_OBJECT                                                                    \
    static void* operator new(std::size_t bytes) {                                                 \
        return ::quill::ModelAllocate(bytes);                                                      \
    }                                                                                              \
    static void operator delete(void* p, std::size_t bytes) noexcept {                             \
        ::quill::ModelFree(p, bytes);                                                              \
    }

} // namespace quill
