#include "xml/XmlNodeArray.h"

#include "xml/XmlKey.h"
#include "xml/XmlNode.h"
#include "xml/XmlNodePool.h"

#include <cstdlib>
#include <cstring>

bool CXmlNodeArray::Reserve(int32_t count, CXmlNodePool* pool) {
    const int32_t current = GetCapacity();
    if (count <= current) {
        return true;
    }
    int64_t capacity = current ? current : 4;
    while (capacity < count) {
        capacity *= 2;
    }
    if (capacity > INT32_MAX) {
        capacity = INT32_MAX;
    }
    const auto newCapacity = static_cast<int32_t>(capacity);
    const bool fromPool = pool && CXmlNodePool::IsPooledCapacity(newCapacity);
    const size_t bytes = static_cast<size_t>(newCapacity) * sizeof(CXmlNode*);
    if (m_ppNodes && !HasPooledStorage() && !fromPool) {
        // Storage of the general allocator that stays there grows in place.
        void* block = std::realloc(m_ppNodes, bytes);
        if (!block) {
            return false;
        }
        m_ppNodes = static_cast<CXmlNode**>(block);
    } else {
        void* block = fromPool ? pool->AllocateList(newCapacity) : std::malloc(bytes);
        if (!block) {
            return false;
        }
        auto* list = static_cast<CXmlNode**>(block);
        if (m_ppNodes) {
            std::memcpy(list, m_ppNodes, static_cast<size_t>(m_nCount) * sizeof(CXmlNode*));
            FreeList(m_ppNodes, m_uCapacity);
        }
        m_ppNodes = list;
    }
    m_uCapacity = static_cast<uint32_t>(newCapacity) | (fromPool ? kPooledListBit : 0u);
    return true;
}

int32_t CXmlNodeArray::Add(CXmlString name, CXmlNode* node, CXmlNodePool* pool) {
    if (!node) {
        return m_nCount;
    }
    return Add(CXmlKey(name), node, pool);
}

int32_t CXmlNodeArray::Add(const CXmlKey& key, CXmlNode* node, CXmlNodePool* pool) {
    if (!node || m_nCount == INT32_MAX || !Reserve(m_nCount + 1, pool)) {
        return m_nCount;
    }
    node->SetKey(key);
    m_ppNodes[m_nCount++] = node;
    return m_nCount;
}

int32_t CXmlNodeArray::AddUnderOwnName(CXmlNode* node, CXmlNodePool* pool) {
    if (!node || m_nCount == INT32_MAX || !Reserve(m_nCount + 1, pool)) {
        return m_nCount;
    }
    node->DropStoredKey();
    m_ppNodes[m_nCount++] = node;
    return m_nCount;
}

CXmlNode* CXmlNodeArray::GetAt(int32_t index, CXmlString* key) const {
    if (index < 0 || index >= m_nCount) {
        return nullptr;
    }
    CXmlNode* node = m_ppNodes[index];
    if (key) {
        if (const char* stored = node->StoredKey()) {
            key->Assign(stored);
        } else {
            const XmlKeyRange range =
                PreparedKeyRange(node->NameRef().GetBuffer(), node->NameRef().GetLength());
            key->Clear();
            key->Append(range.pBegin, range.nLength);
            key->MakeLower();
        }
    }
    return node;
}

void CXmlNodeArray::ForgetKey(CXmlNode* node) {
    node->DropStoredKey();
}

bool CXmlNodeArray::RemoveAt(int32_t index) {
    if (index < 0 || index >= m_nCount) {
        return false;
    }
    CXmlNode* node = m_ppNodes[index];
    node->DropStoredKey();
    std::memmove(m_ppNodes + index, m_ppNodes + index + 1,
                 static_cast<size_t>(m_nCount - index - 1) * sizeof(CXmlNode*));
    --m_nCount;
    return true;
}

void CXmlNodeArray::RemoveAll() {
    for (int32_t i = 0; i < m_nCount; ++i) {
        m_ppNodes[i]->DropStoredKey();
    }
    m_nCount = 0;
}

int32_t CXmlNodeArray::IndexOf(const CXmlNode* node) const {
    for (int32_t i = 0; i < m_nCount; ++i) {
        if (m_ppNodes[i] == node) {
            return i;
        }
    }
    return -1;
}

CXmlNode** CXmlNodeArray::Release(int32_t& count) {
    CXmlNode** nodes = m_ppNodes;
    count = m_nCount;
    if (nodes && HasPooledStorage()) {
        // A pooled block cannot go to std::free: the caller gets a copy.
        nodes = static_cast<CXmlNode**>(
            std::malloc(static_cast<size_t>(GetCapacity()) * sizeof(CXmlNode*)));
        if (!nodes) {
            count = 0;
            return nullptr;
        }
        std::memcpy(nodes, m_ppNodes, static_cast<size_t>(m_nCount) * sizeof(CXmlNode*));
        FreeList(m_ppNodes, m_uCapacity);
    }
    m_ppNodes = nullptr;
    m_nCount = 0;
    m_uCapacity = 0;
    return nodes;
}
