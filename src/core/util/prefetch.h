#pragma once
// A hint to the processor that memory is about to be read, for walks over objects that lie
// scattered (nodes sorted after they were made): the wait for one overlaps the work on another.

namespace quill {

inline void PrefetchForReading(const void* p) noexcept {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(p, 0, 3);
#else
    (void)p;
#endif
}

inline void PrefetchForWriting(const void* p) noexcept {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(p, 1, 3);
#else
    (void)p;
#endif
}

} // namespace quill
