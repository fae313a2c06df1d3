#include "xml/LargeBlock.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
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
    void* block = std::aligned_alloc(kLargeBlockAlignment, rounded);
#if defined(MADV_HUGEPAGE)
    if (block) {
        // Only advice: without huge pages the block is used as it is.
        (void)madvise(block, rounded, MADV_HUGEPAGE);
    }
#endif
    return block;
#else
    // Elsewhere (the Windows C runtime has no aligned_alloc that free
    // accepts) a large block is an ordinary one.
    return std::malloc(size);
#endif
}
