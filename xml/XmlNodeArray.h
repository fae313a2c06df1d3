// CXmlNodeArray: the ordered child list of an element. Each child is found
// under a key: a copy of its name taken when it was added, trimmed of blanks
// and tabs and with A-Z lowered. The array does not own the nodes.
//
// The key lives in the child node itself (a node is in one child list at a
// time), and is stored only when it differs from what the node's current name
// gives, so a parsed tree carries no key copies at all.
#pragma once

#include "xml/XmlString.h"

#include <cstdint>

class CXmlNode;

class CXmlNodeArray {
public:
    CXmlNodeArray() = default;
    CXmlNodeArray(const CXmlNodeArray&) = delete;
    CXmlNodeArray& operator=(const CXmlNodeArray&) = delete;
    ~CXmlNodeArray();

    // Returns the new count. A null node is not added.
    int32_t Add(CXmlString name, CXmlNode* node);
    CXmlNode* GetAt(int32_t index, CXmlString* key = nullptr) const;
    int32_t GetCount() const { return m_nCount; }
    bool RemoveAt(int32_t index);
    void RemoveAll();

    // Appends node under the key its current name gives: the same as Add
    // with the node's own name, without building the key.
    int32_t AddUnderOwnName(CXmlNode* node);
    // Takes out every node for which remove returns true, keeping the order
    // of the others; returns how many were taken out.
    template <class Predicate> int32_t RemoveWhere(Predicate remove);
    // Index of node in the list, compared by identity, or -1.
    int32_t IndexOf(const CXmlNode* node) const;
    // Whether child index is found under the prepared (trimmed, lowered) key.
    bool KeyEquals(int32_t index, const char* preparedKey, int32_t keyLength) const;
    // Takes the children out of the list without touching them; used when a
    // subtree is torn down without recursion.
    CXmlNode** Release(int32_t& count);

private:
    bool Reserve(int32_t count);
    void ForgetKey(CXmlNode* node);

    CXmlNode** m_ppNodes = nullptr;
    int32_t m_nCount = 0;
    int32_t m_nCapacity = 0;
};

template <class Predicate> int32_t CXmlNodeArray::RemoveWhere(Predicate remove) {
    int32_t kept = 0;
    for (int32_t i = 0; i < m_nCount; ++i) {
        CXmlNode* node = m_ppNodes[i];
        if (remove(node)) {
            ForgetKey(node);
        } else {
            m_ppNodes[kept++] = node;
        }
    }
    const int32_t removed = m_nCount - kept;
    m_nCount = kept;
    return removed;
}
