// Node storage. A rate file holds millions of nodes of one size, and most of
// them have short child lists of a few sizes, so both are carved from large
// slabs and recycled through free lists instead of going through the general
// allocator one by one: a tree is then built and torn down without a call to
// malloc or free for most of its parts. Builds with AddressSanitizer use the
// general allocator, so that every node and list stays checked.
#include "xml/XmlNode.h"
#include "xml/XmlNodeArray.h"

#include "xml/LargeBlock.h"

#include <cstddef>
#include <cstdlib>
#include <new>

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

#if QUILLMAR_NODE_POOL
namespace {

// Blocks of one size and alignment, from slabs of one large block each that
// are never given back. The alignment may exceed what malloc guarantees.
template <std::size_t kBlockSize, std::size_t kAlign> class CBlockPool {
public:
    CBlockPool() = default;
    CBlockPool(const CBlockPool&) = delete;
    CBlockPool& operator=(const CBlockPool&) = delete;

    void* Allocate() {
        if (m_pFree) {
            FreeBlock* block = m_pFree;
            m_pFree = block->pNext;
            return block;
        }
        if (m_nSlabUsed == kBlocksPerSlab || !m_pSlabs) {
            static_assert(sizeof(Slab) <= kLargeBlockAlignment);
            // A large block is aligned at least as malloc aligns.
            static_assert(alignof(Slab) <= alignof(std::max_align_t));
            void* raw = AllocateLargeBlock(kLargeBlockAlignment);
            if (!raw) {
                return nullptr;
            }
            auto* slab = new (raw) Slab;
            // The chain holds the blocks malloc gave, so that the slabs stay
            // reachable and are not taken for leaks.
            slab->pNext = m_pSlabs;
            m_pSlabs = raw;
            m_pCurrent = slab;
            m_nSlabUsed = 0;
        }
        return &m_pCurrent->blocks[m_nSlabUsed++];
    }

    void Release(void* block) {
        auto* freed = static_cast<FreeBlock*>(block);
        freed->pNext = m_pFree;
        m_pFree = freed;
    }

private:
    union alignas(kAlign) Block {
        unsigned char bytes[kBlockSize];
        void* pNext;
    };
    struct FreeBlock {
        FreeBlock* pNext;
    };
    // As many blocks as one large block holds after the chain link.
    static constexpr int kBlocksPerSlab =
        static_cast<int>((kLargeBlockAlignment - kAlign) / sizeof(Block));
    struct Slab {
        void* pNext;
        Block blocks[kBlocksPerSlab];
    };

    void* m_pSlabs = nullptr;
    Slab* m_pCurrent = nullptr;
    int m_nSlabUsed = 0;
    FreeBlock* m_pFree = nullptr;
};

// Nodes are packed one after the other, in the order the reader makes them.
using CNodePool = CBlockPool<sizeof(CXmlNode), alignof(CXmlNode)>;

// Child lists of up to kLargestPooledList entries, one pool for each of the
// capacities a list grows through (4, 8, 16, 32); longer lists are rare and
// use malloc.
constexpr int32_t kLargestPooledList = 32;
template <int32_t kCapacity>
using CListPool = CBlockPool<kCapacity * sizeof(CXmlNode*), alignof(CXmlNode*)>;

struct CPools {
    CNodePool nodes;
    CListPool<4> lists4;
    CListPool<8> lists8;
    CListPool<16> lists16;
    CListPool<32> lists32;
};

// The one set of pools of the process, owned here. Constant-initialised, so
// it exists before any code runs and is reached without a guard, and never
// torn down (it has nothing to tear down): nodes held by objects with static
// storage may outlive any other pool object, and the process returns the
// slabs when it ends. Nodes move from one tree to another (a merge moves
// plans from the incoming tree into the loaded one), so every tree shares
// these pools; like the documents, they are used from one thread.
CPools& Pools() {
    static constinit CPools pools;
    return pools;
}

} // namespace

void* CXmlNode::operator new(std::size_t) noexcept {
    return Pools().nodes.Allocate();
}

void CXmlNode::operator delete(void* block) noexcept {
    if (block) {
        Pools().nodes.Release(block);
    }
}

bool CXmlNodeArray::IsPooledCapacity(int32_t capacity) {
    return capacity == 4 || capacity == 8 || capacity == 16 || capacity == kLargestPooledList;
}

CXmlNode** CXmlNodeArray::AllocateList(int32_t capacity) {
    CPools& pools = Pools();
    void* block = nullptr;
    switch (capacity) {
    case 4:
        block = pools.lists4.Allocate();
        break;
    case 8:
        block = pools.lists8.Allocate();
        break;
    case 16:
        block = pools.lists16.Allocate();
        break;
    case kLargestPooledList:
        block = pools.lists32.Allocate();
        break;
    default:
        block = std::malloc(static_cast<std::size_t>(capacity) * sizeof(CXmlNode*));
        break;
    }
    return static_cast<CXmlNode**>(block);
}

void CXmlNodeArray::FreeList(CXmlNode** list, int32_t capacity) {
    CPools& pools = Pools();
    switch (capacity) {
    case 4:
        pools.lists4.Release(list);
        break;
    case 8:
        pools.lists8.Release(list);
        break;
    case 16:
        pools.lists16.Release(list);
        break;
    case kLargestPooledList:
        pools.lists32.Release(list);
        break;
    default:
        std::free(list);
        break;
    }
}

#else

void* CXmlNode::operator new(std::size_t size) noexcept {
    return std::malloc(size);
}

void CXmlNode::operator delete(void* block) noexcept {
    std::free(block);
}

bool CXmlNodeArray::IsPooledCapacity(int32_t /*capacity*/) {
    return false;
}

CXmlNode** CXmlNodeArray::AllocateList(int32_t capacity) {
    return static_cast<CXmlNode**>(
        std::malloc(static_cast<std::size_t>(capacity) * sizeof(CXmlNode*)));
}

void CXmlNodeArray::FreeList(CXmlNode** list, int32_t /*capacity*/) {
    std::free(list);
}

#endif

// Tears the subtree down without recursion: the nodes waiting to be destroyed
// are chained through their parent links, which nothing reads any more. Each
// node's children are taken out before it is deleted, so that its own
// destructor finds none. Taking a node's children reaches all of them at
// once, so that memory delivers them together.
void CXmlNode::DestroyChildren() noexcept {
    CXmlNode* pending = nullptr;
    const auto takeChildren = [&pending](CXmlNode* node) {
        const CXmlNodeArray::CStorage list = node->m_children.DetachStorage();
        // Most nodes have no children: they go at once, in the order memory
        // holds them, and the others are gathered at the front of the list.
        int32_t parents = 0;
        for (int32_t i = 0; i < list.nCount; ++i) {
            CXmlNode* child = list.ppNodes[i];
            if (!child->m_children.HasStorage()) {
                delete child;
                continue;
            }
            // A node whose children have none of their own, as most inner
            // nodes of a file, goes at once with them.
            const CXmlNodeArray::CStorage grandchildren = child->m_children.DetachStorage();
            bool leaves = true;
            for (int32_t j = 0; j < grandchildren.nCount && leaves; ++j) {
                leaves = !grandchildren.ppNodes[j]->m_children.HasStorage();
            }
            if (!leaves) {
                child->m_children.AttachStorage(grandchildren);
                list.ppNodes[parents++] = child;
                continue;
            }
            for (int32_t j = 0; j < grandchildren.nCount; ++j) {
                delete grandchildren.ppNodes[j];
            }
            CXmlNodeArray::FreeStorage(grandchildren);
            delete child;
        }
        // Chained from the last, so that the first comes out first.
        for (int32_t i = parents - 1; i >= 0; --i) {
            list.ppNodes[i]->m_pParent = pending;
            pending = list.ppNodes[i];
        }
        CXmlNodeArray::FreeStorage(list);
    };
    takeChildren(this);
    while (pending) {
        CXmlNode* node = pending;
        pending = node->m_pParent;
        takeChildren(node);
        delete node;
    }
}
