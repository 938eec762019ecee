#pragma once
// Large blocks of memory straight from the operating system, aligned to the huge-page size,
// so that a system which backs memory with huge pages can do so for the outline. They are
// not advised for huge pages: that made the kernel compact memory in the middle of a load,
// which on the machine this was measured on stalled a load of a million items by up to a
// second and a half, and made the median slower too. The second of the core's few
// operating-system calls, beside the file sync.

#include <cstddef>

namespace quill {

// The size of every block, a multiple of the huge-page size.
inline constexpr std::size_t kMemoryBlockSize = std::size_t{2} << 20;

// A zero-filled block of kMemoryBlockSize bytes, aligned to it; none when the system has no
// memory left. Blocks are never given back: their owner reuses them for the process's life.
void* AllocateMemoryBlock();

// Backs [start, start + bytes) of a block with memory now, in one call, rather than one page
// fault at a time as it is first touched. Only a speed-up: without it the pages come anyway.
void PrepareMemory(void* start, std::size_t bytes);

} // namespace quill
