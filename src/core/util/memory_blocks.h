#pragma once
// Large blocks of memory straight from the operating system, aligned to and advised for huge
// pages: an outline of a million items then costs a few hundred page faults instead of tens
// of thousands, and the TLB holds it. The second of the core's few operating-system calls,
// beside the file sync.

#include <cstddef>

namespace quill {

// The size of every block, a multiple of the huge-page size.
inline constexpr std::size_t kMemoryBlockSize = std::size_t{2} << 20;

// A zero-filled block of kMemoryBlockSize bytes, aligned to it; none when the system has no
// memory left. Blocks are never given back: their owner reuses them for the process's life.
void* AllocateMemoryBlock();

} // namespace quill
