// Node storage. A rate file holds millions of nodes of one size, so they are
// carved from large slabs and recycled through a free list instead of going
// through the general allocator one by one. Builds with AddressSanitizer use
// the general allocator, so that every node stays checked.
#include "xml/XmlNode.h"

#include <cstdlib>

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

class CNodePool {
public:
    CNodePool() = default;
    CNodePool(const CNodePool&) = delete;
    CNodePool& operator=(const CNodePool&) = delete;

    void* Allocate() {
        if (m_pFree) {
            FreeBlock* block = m_pFree;
            m_pFree = block->pNext;
            return block;
        }
        if (m_nSlabUsed == kBlocksPerSlab || !m_pSlabs) {
            auto* slab = static_cast<Slab*>(std::malloc(sizeof(Slab)));
            if (!slab) {
                return nullptr;
            }
            slab->pNext = m_pSlabs;
            m_pSlabs = slab;
            m_nSlabUsed = 0;
        }
        return &m_pSlabs->blocks[m_nSlabUsed++];
    }

    void Release(void* block) {
        auto* freed = static_cast<FreeBlock*>(block);
        freed->pNext = m_pFree;
        m_pFree = freed;
    }

private:
    static constexpr int kBlocksPerSlab = 4096;
    union alignas(alignof(CXmlNode)) Block {
        unsigned char bytes[sizeof(CXmlNode)];
        void* pNext;
    };
    struct FreeBlock {
        FreeBlock* pNext;
    };
    struct Slab {
        Slab* pNext;
        Block blocks[kBlocksPerSlab];
    };

    Slab* m_pSlabs = nullptr;
    int m_nSlabUsed = 0;
    FreeBlock* m_pFree = nullptr;
};

// Never destroyed: nodes held by objects with static storage may outlive any
// pool object, and the process returns the slabs when it ends.
CNodePool& Pool() {
    static CNodePool* pool = new CNodePool;
    return *pool;
}

} // namespace

void* CXmlNode::operator new(std::size_t) noexcept {
    return Pool().Allocate();
}

void CXmlNode::operator delete(void* block) noexcept {
    if (block) {
        Pool().Release(block);
    }
}

#else

void* CXmlNode::operator new(std::size_t size) noexcept {
    return std::malloc(size);
}

void CXmlNode::operator delete(void* block) noexcept {
    std::free(block);
}

#endif
