// CXmlPtrList: a doubly linked list of untyped pointers. The list owns its
// entry records, never the data they point to.
//
// Part of the engine's interface for code that wants such a list; the engine
// itself does not use it: a node's child list (CXmlNodeArray) is an array of
// node pointers with the keys kept in the nodes, and nothing else in the
// engine, the document or the front ends holds a CXmlPtrList.
#pragma once

#include <cstdint>

class CXmlPtrList {
public:
    CXmlPtrList();
    CXmlPtrList(const CXmlPtrList&) = delete;
    CXmlPtrList& operator=(const CXmlPtrList&) = delete;
    ~CXmlPtrList();

    int32_t GetCount() const { return m_nCount; }
    // Index not greater than 0 yields the first entry; null past the end.
    void* GetAt(int32_t index) const;
    void Add(void* data);
    // Inserts before entry index, or appends when there is no such entry.
    void InsertAt(int32_t index, void* data);
    void RemoveAt(int32_t index);
    void RemoveAll();

private:
    struct Entry {
        void* pData;
        Entry* pPrev;
        Entry* pNext;
    };
    Entry* EntryAt(int32_t index) const;

    int32_t m_nCount = 0;
    // The anchor's pNext is the first entry and its pPrev the last one, so
    // unlinking the first entry is the same step as unlinking any other.
    Entry m_anchor{nullptr, nullptr, nullptr};
};
