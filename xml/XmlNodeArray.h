// CXmlNodeArray: the ordered child list of an element. Each child is found
// under a key: a copy of its name taken when it was added, trimmed of blanks
// and tabs and with A-Z lowered. The array does not own the nodes.
//
// The key lives with the child node's name (a node is in one child list at a
// time), and is stored only when it differs from what the node's current name
// gives, so a parsed tree carries no key copies at all.
//
// Short lists, which most elements have, live in blocks of a few fixed sizes
// that are recycled like the nodes themselves (see XmlNodePool.cpp).
#pragma once

#include "xml/XmlString.h"

#include <cstdint>

class CXmlKey;
class CXmlNode;

class CXmlNodeArray {
public:
    CXmlNodeArray() = default;
    CXmlNodeArray(const CXmlNodeArray&) = delete;
    CXmlNodeArray& operator=(const CXmlNodeArray&) = delete;
    ~CXmlNodeArray() {
        if (m_ppNodes) {
            FreeList(m_ppNodes, m_nCapacity);
        }
    }

    // Returns the new count. A null node is not added.
    int32_t Add(CXmlString name, CXmlNode* node);
    // The same under a key that is already prepared.
    int32_t Add(const CXmlKey& key, CXmlNode* node);
    CXmlNode* GetAt(int32_t index, CXmlString* key = nullptr) const;
    // The node at an index known to be valid, for loops over the list.
    CXmlNode* At(int32_t index) const { return m_ppNodes[index]; }
    int32_t GetCount() const { return m_nCount; }
    // Whether the list holds a block of storage, even an empty one.
    bool HasStorage() const { return m_ppNodes != nullptr; }
    bool RemoveAt(int32_t index);
    void RemoveAll();

    // Appends node under the key its current name gives: the same as Add
    // with the node's own name, without building the key.
    int32_t AddUnderOwnName(CXmlNode* node);
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
        int32_t nCapacity = 0;
    };
    CStorage DetachStorage() {
        const CStorage taken{m_ppNodes, m_nCount, m_nCapacity};
        m_ppNodes = nullptr;
        m_nCount = 0;
        m_nCapacity = 0;
        return taken;
    }
    // Attaches detached storage to the empty list.
    void AttachStorage(const CStorage& taken) {
        m_ppNodes = taken.ppNodes;
        m_nCount = taken.nCount;
        m_nCapacity = taken.nCapacity;
    }
    static void FreeStorage(const CStorage& taken) {
        if (taken.ppNodes) {
            FreeList(taken.ppNodes, taken.nCapacity);
        }
    }

private:
    bool Reserve(int32_t count);
    void ForgetKey(CXmlNode* node);

    // The storage of a list of capacity entries. Defined with the node pool.
    static CXmlNode** AllocateList(int32_t capacity);
    static void FreeList(CXmlNode** list, int32_t capacity);
    // Whether lists of this capacity come from the pool rather than from
    // malloc, and so cannot be resized in place by realloc.
    static bool IsPooledCapacity(int32_t capacity);

    CXmlNode** m_ppNodes = nullptr;
    int32_t m_nCount = 0;
    int32_t m_nCapacity = 0;
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
