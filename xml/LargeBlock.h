// Large blocks of memory that the engine fills at once: the file text and the
// slabs of nodes and child lists. Where the system offers huge pages for
// memory that asks for them (Linux), such blocks are aligned to and marked
// for them, so that filling 100 MB takes a few dozen page faults instead of
// tens of thousands; elsewhere they come from std::malloc. Either way a block
// is aligned as malloc aligns, is freed with std::free and may be resized by
// std::realloc.
#pragma once

#include <cstddef>

// The size of a huge page where the engine asks for them, and of a slab.
constexpr std::size_t kLargeBlockAlignment = std::size_t{2} << 20;

// A block of at least size bytes, or null; blocks below the huge page size
// come from std::malloc as they are.
void* AllocateLargeBlock(std::size_t size);

// A block of kLargeBlockAlignment bytes aligned to its own size, so that any
// address inside it finds its start by rounding down (a slab of the node
// pools); null when memory runs out. Marked for huge pages where
// AllocateLargeBlock marks its blocks. Freed with FreeAlignedLargeBlock only.
void* AllocateAlignedLargeBlock() noexcept;
void FreeAlignedLargeBlock(void* block) noexcept;
