#include "xml/LargeBlock.h"

#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>

namespace {

// A block of size bytes (a multiple of the huge page size) aligned to a huge
// page and marked for huge pages; null when there is no memory.
void* AllocateHugePageBlock(std::size_t size) {
    void* block = std::aligned_alloc(kLargeBlockAlignment, size);
#if defined(MADV_HUGEPAGE)
    if (block) {
        // Only advice: without huge pages the block is used as it is.
        (void)madvise(block, size, MADV_HUGEPAGE);
    }
#endif
    return block;
}

} // namespace
#endif

void* AllocateLargeBlock(std::size_t size) {
#if defined(__linux__)
    if (size < kLargeBlockAlignment) {
        return std::malloc(size);
    }
    const std::size_t rounded =
        (size + kLargeBlockAlignment - 1) / kLargeBlockAlignment * kLargeBlockAlignment;
    if (rounded < size) {
        return nullptr; // the size is too large to round up
    }
    return AllocateHugePageBlock(rounded);
#else
    // Elsewhere (the Windows C runtime has no aligned_alloc that free
    // accepts) a large block is an ordinary one.
    return std::malloc(size);
#endif
}

void* AllocateAlignedLargeBlock() noexcept {
#if defined(__linux__)
    return AllocateHugePageBlock(kLargeBlockAlignment);
#else
    // The aligned form of operator new works wherever the C runtime has no
    // aligned_alloc (on Windows it maps to _aligned_malloc).
    return ::operator new (kLargeBlockAlignment, std::align_val_t{kLargeBlockAlignment},
                           std::nothrow);
#endif
}

void FreeAlignedLargeBlock(void* block) noexcept {
#if defined(__linux__)
    std::free(block);
#else
    ::operator delete (block, std::align_val_t{kLargeBlockAlignment});
#endif
}
