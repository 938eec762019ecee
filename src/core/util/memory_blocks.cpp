#include "core/util/memory_blocks.h"

#include <cstdint>
#include <cstdlib>

#ifndef _WIN32
#include <sys/mman.h>
#endif

namespace quill {

#ifdef _WIN32

void* AllocateMemoryBlock() {
    return _aligned_malloc(kMemoryBlockSize, kMemoryBlockSize);
}

void PrepareMemory(void*, std::size_t) {}

#else

void* AllocateMemoryBlock() {
    // Mapped one block larger than needed, so an aligned block can be cut out of it.
    const std::size_t mapped = 2 * kMemoryBlockSize;
    void* raw = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) {
        return nullptr;
    }
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kMemoryBlockSize - 1) & ~(kMemoryBlockSize - 1);
    if (aligned > start) {
        ::munmap(raw, aligned - start);
    }
    const std::uintptr_t end = start + mapped;
    if (end > aligned + kMemoryBlockSize) {
        ::munmap(reinterpret_cast<void*>(aligned + kMemoryBlockSize),
                 end - (aligned + kMemoryBlockSize));
    }
    return reinterpret_cast<void*>(aligned);
}

void PrepareMemory(void* start, std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
    // Older kernels refuse the advice; the pages are then faulted in as they are touched.
    ::madvise(start, bytes, MADV_POPULATE_WRITE);
#else
    (void)start, (void)bytes;
#endif
}

#endif

} // namespace quill
