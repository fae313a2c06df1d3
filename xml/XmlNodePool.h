// CXmlNodePool: the arena of one document's tree. A rate file holds millions
// of nodes of one size, and most of them have short child lists of a few
// sizes (4, 8, 16 or 32 entries), so both are carved from slabs and recycled
// through free lists instead of going through the general allocator one by
// one: a tree is built and torn down without a call to malloc or free for
// most of its parts.
//
// Each slab is one large block aligned to its own size (kLargeBlockAlignment)
// and starts with a header naming the pool that owns it and counting its live
// blocks, so any block finds its slab, and so its pool, by rounding its
// address down. A block is always given back to the pool it came from, even
// when its node has moved to the tree of another document (a merge moves
// plans from the incoming tree into the loaded one).
//
// The document owns its pool through a CXmlNodePoolOwner. When the document
// goes, the pool is abandoned: its free lists are dropped, every slab without
// live blocks goes back to the system at once, and the slabs still holding
// nodes that moved elsewhere go as their last block is given back; the pool
// itself goes with its last slab. An abandoned pool hands out no more blocks:
// nodes and lists made under a node of such a pool come from the general
// allocator.
//
// A pool is used from one thread, as its document is. Documents no longer
// share any pool, so two documents may live on two threads; only what their
// nodes share on purpose (the names a copy holds with its source) ties them.
//
// Builds with AddressSanitizer make no pools (Create gives null), so that
// every node and list comes from the general allocator and stays checked.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SANITIZE_ADDRESS__)
#define QUILLMAR_NODE_POOL 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLMAR_NODE_POOL 0
#endif
#endif
#ifndef QUILLMAR_NODE_POOL
#define QUILLMAR_NODE_POOL 1
#endif

// Whether documents make node pools in this build.
inline constexpr bool kXmlNodePoolsEnabled = QUILLMAR_NODE_POOL != 0;

class CXmlNodePool {
public:
    // A new pool, or null when memory runs out or the build makes no pools.
    static CXmlNodePool* Create() noexcept;
    CXmlNodePool(const CXmlNodePool&) = delete;
    CXmlNodePool& operator=(const CXmlNodePool&) = delete;

    // The owner lets the pool go; see above. The pool may be gone on return.
    void Abandon() noexcept;
    bool IsAbandoned() const noexcept { return m_bAbandoned; }

    // The pool that owns a block this or any other pool handed out.
    static CXmlNodePool* OfBlock(const void* block) noexcept;

    // A block for a node, or null when memory runs out or the pool is
    // abandoned; the node's delete gives it back.
    void* AllocateNode() noexcept;

    // Whether child lists of this capacity come from pools.
    static bool IsPooledCapacity(int32_t capacity) noexcept {
        return capacity == 4 || capacity == 8 || capacity == 16 || capacity == kLargestPooledList;
    }
    // A block for a list of a pooled capacity, or null; the list gives it
    // back when it frees its storage.
    void* AllocateList(int32_t capacity) noexcept;

    // Observers: the slabs the pool holds, and the blocks handed out from
    // them and not given back (over the slabs still listed, so before the
    // pool is abandoned).
    int32_t GetSlabCount() const noexcept { return m_nSlabs; }
    int64_t GetLiveBlockCount() const noexcept;

private:
    static constexpr int32_t kLargestPooledList = 32;
    // Nodes, then lists of 4, 8, 16 and 32 entries.
    static constexpr int kClassCount = 5;

    struct Slab;
    struct FreeBlock;
    struct SizeClass {
        FreeBlock* pFree = nullptr;
        Slab* pSlabs = nullptr; // every slab of the class, newest first
        Slab* pCurrent = nullptr;
        int32_t nUsed = 0; // blocks of the current slab handed out once
    };

    CXmlNodePool() = default;
    ~CXmlNodePool() = default;

    // Defined and used where the pools are implemented only.
    static inline Slab* SlabOf(const void* block) noexcept;
    inline void* Allocate(int sizeClass) noexcept;

    friend class CXmlNode;
    friend class CXmlNodeArray;
    // Gives a block back to its slab's pool. Defined and used where the
    // pools are implemented only, as is CReleaseRun, which the teardown of a
    // subtree gives its blocks back through.
    static inline void Release(void* block) noexcept;
    class CReleaseRun;
    bool AddSlab(int sizeClass) noexcept;
    void SlabEmptied(Slab* slab) noexcept;

    SizeClass m_classes[kClassCount];
    int32_t m_nSlabs = 0;
    bool m_bAbandoned = false;
};

// The owner's hold on a pool: makes it and abandons it when it goes. Holds
// no pool (null) when none could be made; its nodes then come from the
// general allocator.
class CXmlNodePoolOwner {
public:
    CXmlNodePoolOwner() noexcept : m_pPool(CXmlNodePool::Create()) {}
    CXmlNodePoolOwner(const CXmlNodePoolOwner&) = delete;
    CXmlNodePoolOwner& operator=(const CXmlNodePoolOwner&) = delete;
    ~CXmlNodePoolOwner() {
        if (m_pPool) {
            m_pPool->Abandon();
        }
    }

    CXmlNodePool* Get() const noexcept { return m_pPool; }

private:
    CXmlNodePool* m_pPool;
};
