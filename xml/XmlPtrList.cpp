#include "xml/XmlPtrList.h"

CXmlPtrList::CXmlPtrList() = default;

CXmlPtrList::~CXmlPtrList() {
    RemoveAll();
}

CXmlPtrList::Entry* CXmlPtrList::EntryAt(int32_t index) const {
    if (index >= m_nCount) {
        return nullptr;
    }
    Entry* entry = m_anchor.pNext;
    for (int32_t i = 0; i < index; ++i) {
        entry = entry->pNext;
    }
    return entry;
}

void* CXmlPtrList::GetAt(int32_t index) const {
    Entry* entry = EntryAt(index);
    return entry ? entry->pData : nullptr;
}

void CXmlPtrList::Add(void* data) {
    InsertAt(m_nCount, data);
}

void CXmlPtrList::InsertAt(int32_t index, void* data) {
    Entry* next = index < 0 ? m_anchor.pNext : EntryAt(index);
    Entry* prev = next ? next->pPrev : (m_nCount ? m_anchor.pPrev : &m_anchor);
    auto* entry = new Entry{data, prev, next};
    prev->pNext = entry;
    if (next) {
        next->pPrev = entry;
    } else {
        m_anchor.pPrev = entry;
    }
    ++m_nCount;
}

void CXmlPtrList::RemoveAt(int32_t index) {
    if (index < 0 && m_nCount > 0) {
        index = 0;
    }
    Entry* entry = EntryAt(index);
    if (!entry) {
        return;
    }
    entry->pPrev->pNext = entry->pNext;
    if (entry->pNext) {
        entry->pNext->pPrev = entry->pPrev;
    } else {
        m_anchor.pPrev = entry->pPrev == &m_anchor ? nullptr : entry->pPrev;
    }
    delete entry;
    --m_nCount;
}

void CXmlPtrList::RemoveAll() {
    while (m_nCount > 0) {
        RemoveAt(0);
    }
}
