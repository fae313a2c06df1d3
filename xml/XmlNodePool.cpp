// The node pools of the documents' trees (see XmlNodePool.h), the way nodes
// and child lists are made and given back, and the teardown of a subtree.
#include "xml/XmlNodePool.h"

#include "xml/LargeBlock.h"
#include "xml/XmlNode.h"
#include "xml/XmlNodeArray.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

// The few steps every node and list of a teardown goes through are kept in
// the loop that runs them.
#if defined(__GNUC__)
#define QUILLMAR_HOT_INLINE __attribute__((always_inline)) inline
#define QUILLMAR_HOT_LAMBDA __attribute__((always_inline))
#else
#define QUILLMAR_HOT_INLINE inline
#define QUILLMAR_HOT_LAMBDA
#endif

// A slab's header. Its blocks follow at kHeaderSize, so that nodes sit on
// cache lines of their own.
struct CXmlNodePool::Slab {
    FreeBlock** ppFree; // the free list of the slab's class in its pool
    CXmlNodePool* pOwner;
    Slab* pNext;
    int32_t nLive; // blocks handed out and not given back
    int32_t nClass;
};

struct CXmlNodePool::FreeBlock {
    FreeBlock* pNext;
};

namespace {

constexpr std::size_t kSlabSize = kLargeBlockAlignment;
constexpr std::size_t kHeaderSize = 64;
// Block sizes of the classes: nodes, then lists of 4, 8, 16 and 32 entries.
constexpr std::size_t kBlockSizes[] = {sizeof(CXmlNode), 4 * sizeof(CXmlNode*),
                                       8 * sizeof(CXmlNode*), 16 * sizeof(CXmlNode*),
                                       32 * sizeof(CXmlNode*)};

constexpr int32_t BlocksPerSlab(int sizeClass) {
    return static_cast<int32_t>((kSlabSize - kHeaderSize) / kBlockSizes[sizeClass]);
}

constexpr int ListClass(int32_t capacity) {
    switch (capacity) {
    case 4:
        return 1;
    case 8:
        return 2;
    case 16:
        return 3;
    default:
        return 4;
    }
}

} // namespace

static_assert(sizeof(kBlockSizes) / sizeof(kBlockSizes[0]) == 5);
static_assert((kSlabSize & (kSlabSize - 1)) == 0, "slabs are found by rounding down");
static_assert(alignof(CXmlNode) <= kHeaderSize && alignof(CXmlNode*) <= kHeaderSize);
static_assert(kHeaderSize % alignof(CXmlNode) == 0 && sizeof(CXmlNode) % alignof(CXmlNode) == 0);

CXmlNodePool* CXmlNodePool::Create() noexcept {
#if QUILLMAR_NODE_POOL
    return new (std::nothrow) CXmlNodePool;
#else
    return nullptr;
#endif
}

// Slabs are aligned to their size: a block's slab starts where its address
// rounded down to that size does, as many bytes before it as its address
// exceeds a multiple of the size.
inline CXmlNodePool::Slab* CXmlNodePool::SlabOf(const void* block) noexcept {
    const auto offset = reinterpret_cast<std::uintptr_t>(block) & (kSlabSize - 1);
    const auto* bytes = static_cast<const unsigned char*>(block);
    return reinterpret_cast<Slab*>(const_cast<unsigned char*>(bytes - offset));
}

CXmlNodePool* CXmlNodePool::OfBlock(const void* block) noexcept {
    return SlabOf(block)->pOwner;
}

inline void* CXmlNodePool::Allocate(int sizeClass) noexcept {
    SizeClass& blocks = m_classes[sizeClass];
    if (FreeBlock* block = blocks.pFree) {
        blocks.pFree = block->pNext;
        ++SlabOf(block)->nLive;
        return block;
    }
    if (!blocks.pCurrent || blocks.nUsed == BlocksPerSlab(sizeClass)) {
        if (!AddSlab(sizeClass)) {
            return nullptr;
        }
    }
    Slab* slab = blocks.pCurrent;
    ++slab->nLive;
    return reinterpret_cast<unsigned char*>(slab) + kHeaderSize +
           static_cast<std::size_t>(blocks.nUsed++) * kBlockSizes[sizeClass];
}

bool CXmlNodePool::AddSlab(int sizeClass) noexcept {
    static_assert(sizeof(Slab) <= kHeaderSize);
    void* raw = AllocateAlignedLargeBlock();
    if (!raw) {
        return false;
    }
    SizeClass& blocks = m_classes[sizeClass];
    auto* slab = new (raw) Slab{&blocks.pFree, this, blocks.pSlabs, 0, sizeClass};
    blocks.pSlabs = slab;
    blocks.pCurrent = slab;
    blocks.nUsed = 0;
    ++m_nSlabs;
    return true;
}

// A block goes back to the free list of its slab's class and is counted
// off its slab. An abandoned pool hands out nothing more, so what its free
// lists hold from then on is never read again: the blocks are pushed all the
// same, which spares the test, and each slab goes back to the system as its
// last block comes back.
QUILLMAR_HOT_INLINE void CXmlNodePool::Release(void* block) noexcept {
    Slab* slab = SlabOf(block);
    FreeBlock** head = slab->ppFree;
    *head = new (block) FreeBlock{*head};
    if (--slab->nLive == 0) {
        slab->pOwner->SlabEmptied(slab);
    }
}

void CXmlNodePool::SlabEmptied(Slab* slab) noexcept {
    // A pool that is still owned keeps the slab for the blocks it holds.
    if (!m_bAbandoned) {
        return;
    }
    FreeAlignedLargeBlock(slab);
    if (--m_nSlabs == 0) {
        delete this;
    }
}

void CXmlNodePool::Abandon() noexcept {
    m_bAbandoned = true;
    for (SizeClass& blocks : m_classes) {
        Slab* slab = blocks.pSlabs;
        // The free lists may hold blocks of the slabs freed here.
        blocks = SizeClass{};
        while (slab) {
            Slab* next = slab->pNext;
            if (slab->nLive == 0) {
                FreeAlignedLargeBlock(slab);
                --m_nSlabs;
            }
            slab = next;
        }
    }
    // The slabs left hold nodes that live on in other trees: the last of
    // them to go takes the pool with it.
    if (m_nSlabs == 0) {
        delete this;
    }
}

int64_t CXmlNodePool::GetLiveBlockCount() const noexcept {
    int64_t live = 0;
    for (const SizeClass& blocks : m_classes) {
        for (const Slab* slab = blocks.pSlabs; slab; slab = slab->pNext) {
            live += slab->nLive;
        }
    }
    return live;
}

void* CXmlNodePool::AllocateNode() noexcept {
    return m_bAbandoned ? nullptr : Allocate(0);
}

void* CXmlNodePool::AllocateList(int32_t capacity) noexcept {
    return IsPooledCapacity(capacity) && !m_bAbandoned ? Allocate(ListClass(capacity)) : nullptr;
}

CXmlNode* CXmlNode::Make(CXmlNodePool* pool, CXmlNode* parent) noexcept {
    if (!pool) {
        return new CXmlNode(parent);
    }
    void* block = pool->AllocateNode();
    return block ? ::new (block) CXmlNode(parent, PooledTag{}) : nullptr;
}

void* CXmlNode::operator new(std::size_t size) noexcept {
    return std::malloc(size);
}

void CXmlNode::operator delete(void* block) noexcept {
    std::free(block);
}

void CXmlNode::operator delete(CXmlNode* node, std::destroying_delete_t) noexcept {
    if (!node) {
        return;
    }
    // The marker is read before the destructor runs, while the node is alive.
    const bool pooled = node->IsPooled();
    node->~CXmlNode();
    if (pooled) {
        CXmlNodePool::Release(node);
    } else {
        std::free(node);
    }
}

CXmlNodePool* CXmlNode::GetPool() const noexcept {
    return IsPooled() ? CXmlNodePool::OfBlock(this) : nullptr;
}

CXmlNodePool* CXmlNode::AllocationPool() const noexcept {
    if (!IsPooled()) {
        return nullptr;
    }
    CXmlNodePool* pool = CXmlNodePool::OfBlock(this);
    return pool->IsAbandoned() ? nullptr : pool;
}

void CXmlNodeArray::FreeList(CXmlNode** list, uint32_t capacityWord) noexcept {
    if (capacityWord & kPooledListBit) {
        CXmlNodePool::Release(list);
    } else {
        std::free(list);
    }
}

// Gives the blocks of a teardown back in runs of blocks of one slab: a run
// is chained apart, joins its free list and is counted off its slab once,
// when it ends, instead of once per block. A tree is torn down in the order
// memory holds it, so most runs are long. A slab's count stays above the
// truth while a run of it is open, so no slab goes before its run has ended.
class CXmlNodePool::CReleaseRun {
public:
    CReleaseRun() = default;
    CReleaseRun(const CReleaseRun&) = delete;
    CReleaseRun& operator=(const CReleaseRun&) = delete;
    ~CReleaseRun() { End(); }

    QUILLMAR_HOT_INLINE void Release(void* block) noexcept {
        Slab* slab = SlabOf(block);
        if (slab != m_pSlab) {
            End();
            m_pSlab = slab;
            m_pLast = static_cast<FreeBlock*>(block);
        }
        m_pFirst = new (block) FreeBlock{m_pFirst};
        ++m_nBlocks;
    }

    void End() noexcept {
        if (!m_pSlab) {
            return;
        }
        Slab* slab = m_pSlab;
        FreeBlock** head = slab->ppFree;
        m_pLast->pNext = *head;
        *head = m_pFirst;
        m_pSlab = nullptr;
        m_pFirst = nullptr;
        const int32_t blocks = m_nBlocks;
        m_nBlocks = 0;
        if ((slab->nLive -= blocks) == 0) {
            slab->pOwner->SlabEmptied(slab);
        }
    }

private:
    Slab* m_pSlab = nullptr;
    FreeBlock* m_pFirst = nullptr; // the run's chain, newest first
    FreeBlock* m_pLast = nullptr;  // its oldest block, which joins the free list
    int32_t m_nBlocks = 0;
};

// Tears the subtree down without recursion: the nodes waiting to be destroyed
// are chained through their parent links, which nothing reads any more. Each
// node's children are taken out before it is deleted, so that its own
// destructor finds none. Taking a node's children reaches all of them at
// once, so that memory delivers them together.
void CXmlNode::DestroyChildren() noexcept {
    // Nodes and lists lie in slabs of their own: each has its runs.
    CXmlNodePool::CReleaseRun nodeRun;
    CXmlNodePool::CReleaseRun listRun;
    // What delete does; the marker is read before the destructor runs.
    const auto destroy = [&nodeRun](CXmlNode* node) QUILLMAR_HOT_LAMBDA {
        const bool pooled = node->IsPooled();
        node->~CXmlNode();
        if (pooled) {
            nodeRun.Release(node);
        } else {
            std::free(node);
        }
    };
    const auto freeStorage = [&listRun](const CXmlNodeArray::CStorage& taken) QUILLMAR_HOT_LAMBDA {
        if (taken.uCapacity & CXmlNodeArray::kPooledListBit) {
            listRun.Release(taken.ppNodes);
        } else {
            std::free(taken.ppNodes);
        }
    };
    // One loop with one place for each step, so that the runs stay in
    // registers.
    CXmlNode* pending = nullptr;
    CXmlNode* node = this;
    do {
        const CXmlNodeArray::CStorage list = node->m_children.DetachStorage();
        // Most nodes have no children: they go at once, in the order memory
        // holds them, and the others are gathered at the front of the list.
        int32_t parents = 0;
        for (int32_t i = 0; i < list.nCount; ++i) {
            CXmlNode* child = list.ppNodes[i];
            if (!child->m_children.HasStorage()) {
                destroy(child);
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
                destroy(grandchildren.ppNodes[j]);
            }
            freeStorage(grandchildren);
            destroy(child);
        }
        // Chained from the last, so that the first comes out first.
        for (int32_t i = parents - 1; i >= 0; --i) {
            list.ppNodes[i]->SetParentLink(pending);
            pending = list.ppNodes[i];
        }
        freeStorage(list);
        if (node != this) {
            destroy(node);
        }
        node = pending;
        if (node) {
            pending = node->ParentLink();
        }
    } while (node);
}
