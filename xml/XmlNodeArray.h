// CXmlNodeArray: the ordered child list of an element. Each child is found
// under a key: a copy of its name taken when it was added, trimmed of blanks
// and tabs and with A-Z lowered. The array does not own the nodes.
//
// The key lives with the child node's name (a node is in one child list at a
// time), and is stored only when it differs from what the node's current name
// gives, so a parsed tree carries no key copies at all.
//
// Short lists, which most elements have, live in blocks of a few fixed sizes
// that are recycled like the nodes themselves (see XmlNodePool.h): a list
// grows from the pool its caller names, which is its owner node's, and
// otherwise from the general allocator. The list itself remembers which it
// is, so that it is always given back to where it came from.
#pragma once

#include "xml/XmlString.h"

#include <cstdint>

class CXmlKey;
class CXmlNode;
class CXmlNodePool;

class CXmlNodeArray {
public:
    CXmlNodeArray() = default;
    CXmlNodeArray(const CXmlNodeArray&) = delete;
    CXmlNodeArray& operator=(const CXmlNodeArray&) = delete;
    ~CXmlNodeArray() {
        if (m_ppNodes) {
            FreeList(m_ppNodes, m_uCapacity);
        }
    }

    // Returns the new count. A null node is not added. A list that has to
    // grow takes its new block from pool (null: the general allocator).
    int32_t Add(CXmlString name, CXmlNode* node, CXmlNodePool* pool = nullptr);
    // The same under a key that is already prepared.
    int32_t Add(const CXmlKey& key, CXmlNode* node, CXmlNodePool* pool = nullptr);
    CXmlNode* GetAt(int32_t index, CXmlString* key = nullptr) const;
    // The node at an index known to be valid, for loops over the list.
    CXmlNode* At(int32_t index) const { return m_ppNodes[index]; }
    int32_t GetCount() const { return m_nCount; }
    // Whether the list holds a block of storage, even an empty one.
    bool HasStorage() const { return m_ppNodes != nullptr; }
    // Whether the storage is a block of a pool's slab.
    bool HasPooledStorage() const { return (m_uCapacity & kPooledListBit) != 0; }
    // The entries the storage holds.
    int32_t GetCapacity() const { return static_cast<int32_t>(m_uCapacity & ~kPooledListBit); }
    bool RemoveAt(int32_t index);
    void RemoveAll();

    // Appends node under the key its current name gives: the same as Add
    // with the node's own name, without building the key.
    int32_t AddUnderOwnName(CXmlNode* node, CXmlNodePool* pool = nullptr);
    // Takes out every node for which remove returns true, keeping the order
    // of the others, and hands each node taken out to removed, in list order,
    // once it is out of the list; returns how many were taken out.
    template <class Predicate, class Removed>
    int32_t RemoveWhere(Predicate remove, Removed removed);
    // Index of node in the list, compared by identity, or -1.
    int32_t IndexOf(const CXmlNode* node) const;
    // Takes the children out of the list without touching them; the caller
    // frees the block returned with std::free.
    CXmlNode** Release(int32_t& count);
    // The list's storage detached from it, the list left empty; freed with
    // FreeStorage or attached again. Used when a subtree is torn down without
    // recursion.
    struct CStorage {
        CXmlNode** ppNodes = nullptr;
        int32_t nCount = 0;
        uint32_t uCapacity = 0; // with the marker of a pooled block
    };
    CStorage DetachStorage() {
        const CStorage taken{m_ppNodes, m_nCount, m_uCapacity};
        m_ppNodes = nullptr;
        m_nCount = 0;
        m_uCapacity = 0;
        return taken;
    }
    // Attaches detached storage to the empty list.
    void AttachStorage(const CStorage& taken) {
        m_ppNodes = taken.ppNodes;
        m_nCount = taken.nCount;
        m_uCapacity = taken.uCapacity;
    }
    static void FreeStorage(const CStorage& taken) {
        if (taken.ppNodes) {
            FreeList(taken.ppNodes, taken.uCapacity);
        }
    }

private:
    // The top bit of the capacity word marks storage from a pool's slab; a
    // capacity never exceeds INT32_MAX, so it is free.
    static constexpr uint32_t kPooledListBit = 0x80000000u;

    bool Reserve(int32_t count, CXmlNodePool* pool);
    void ForgetKey(CXmlNode* node);

    // Gives the storage back to the pool or to the general allocator, as
    // the capacity word's marker tells.
    static void FreeList(CXmlNode** list, uint32_t capacityWord) noexcept;
    // The teardown of a subtree frees storage as FreeList does.
    friend class CXmlNode;

    CXmlNode** m_ppNodes = nullptr;
    int32_t m_nCount = 0;
    uint32_t m_uCapacity = 0;
};

template <class Predicate, class Removed>
int32_t CXmlNodeArray::RemoveWhere(Predicate remove, Removed removed) {
    int32_t kept = 0;
    for (int32_t i = 0; i < m_nCount; ++i) {
        CXmlNode* node = m_ppNodes[i];
        if (remove(node)) {
            ForgetKey(node);
            removed(node);
        } else {
            m_ppNodes[kept++] = node;
        }
    }
    const int32_t taken = m_nCount - kept;
    m_nCount = kept;
    return taken;
}
