#include "xml/XmlNode.h"

#include "xml/XmlKey.h"
#include "xml/XmlNodePool.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <new>
#include <vector>

namespace {

bool SameKey(const CXmlString& a, const CXmlString& b) {
    const XmlKeyRange ra = PreparedKeyRange(a.GetBuffer(), a.GetLength());
    const XmlKeyRange rb = PreparedKeyRange(b.GetBuffer(), b.GetLength());
    if (ra.nLength != rb.nLength) {
        return false;
    }
    for (int32_t i = 0; i < ra.nLength; ++i) {
        if (LowerAscii(ra.pBegin[i]) != LowerAscii(rb.pBegin[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

const CXmlString& CXmlNode::NoName() {
    static const CXmlString none;
    return none;
}

CXmlSharedName* CXmlNode::OwnSharedName() {
    if (m_pName && m_pName->nHolders == 1) {
        return m_pName;
    }
    auto* own = new (std::nothrow) CXmlSharedName;
    if (!own) {
        return nullptr;
    }
    if (m_pName) {
        own->strName.Assign(m_pName->strName);
        if (const char* key = m_pName->pKey) {
            const size_t size = std::strlen(key) + 1;
            own->pKey = static_cast<char*>(std::malloc(size));
            if (!own->pKey) {
                delete own;
                return nullptr;
            }
            std::memcpy(own->pKey, key, size);
        }
    }
    HoldName(own);
    return own;
}

CXmlString* CXmlNode::OwnName() {
    CXmlSharedName* own = OwnSharedName();
    return own ? &own->strName : nullptr;
}

void CXmlNode::SetStoredKey(char* key) {
    CXmlSharedName* own = OwnSharedName();
    if (!own) {
        std::free(key);
        return;
    }
    std::free(own->pKey);
    own->pKey = key;
}

void CXmlNode::SetKey(const CXmlKey& key) {
    DropStoredKey();
    // Without a key of its own the node is found under what its name gives.
    if (KeyMatches(key)) {
        return;
    }
    const int32_t length = key.GetLength();
    auto* stored = static_cast<char*>(std::malloc(static_cast<size_t>(length) + 1));
    if (stored) {
        std::memcpy(stored, key.GetBuffer(), static_cast<size_t>(length));
        stored[length] = '\0';
        SetStoredKey(stored);
    }
}

// Stores the key the current name gives, so that a new name leaves the key
// under which the parent finds this node as it was.
void CXmlNode::StoreKeyOfName() {
    if (StoredKey()) {
        return;
    }
    const CXmlKey key(NameRef());
    auto* stored = static_cast<char*>(std::malloc(static_cast<size_t>(key.GetLength()) + 1));
    if (stored) {
        std::memcpy(stored, key.GetBuffer(), static_cast<size_t>(key.GetLength()) + 1);
        SetStoredKey(stored);
    }
}

bool CXmlNode::StoredKeyMatches(const char* stored, const char* preparedKey, int32_t length) {
    return std::strlen(stored) == static_cast<size_t>(length) &&
           std::memcmp(stored, preparedKey, static_cast<size_t>(length)) == 0;
}

void CXmlNode::SetName(CXmlString name) {
    AssignName(name);
}

// A new name leaves the key under which the parent finds this node as it was.
void CXmlNode::AssignName(const CXmlString& name) {
    if (!StoredKey() && !SameKey(NameRef(), name)) {
        StoreKeyOfName();
    }
    if (&name == &NameRef()) {
        return;
    }
    if (CXmlString* own = OwnName()) {
        own->Assign(name);
    }
}

void CXmlNode::SetText(CXmlString text) {
    m_strText.Assign(text);
}

CXmlNode* CXmlNode::FindChild(CXmlString name, int32_t occurrence) const {
    return FindChild(CXmlKey(name), occurrence);
}

CXmlNode* CXmlNode::FindChild(const CXmlKey& key, int32_t occurrence) const {
    if (key.IsEmpty() || occurrence < 0) {
        return nullptr;
    }
    int32_t matches = 0;
    const int32_t count = m_children.GetCount();
    for (int32_t i = 0; i < count; ++i) {
        CXmlNode* child = m_children.At(i);
        if (child->KeyMatches(key)) {
            if (matches == occurrence) {
                return child;
            }
            ++matches;
        }
    }
    return nullptr;
}

CXmlString CXmlNode::GetChildKey(int32_t index) const {
    CXmlString key;
    m_children.GetAt(index, &key);
    return key;
}

void CXmlNode::FindFirstChildren(const CXmlKey* const* keys, CXmlNode** found,
                                 int32_t count) const {
    // A name written as the upper case form of a key, as the names of a rate
    // file are, is decided by its length and one compare: each length that
    // is short enough names the one key of that length. When two keys share
    // a length every name takes the full path below.
    constexpr int32_t kShortLength = 16;
    int8_t keyOfLength[kShortLength];
    std::fill(std::begin(keyOfLength), std::end(keyOfLength), int8_t{-1});
    bool byLength = count <= INT8_MAX;
    int32_t missing = 0;
    for (int32_t k = 0; k < count; ++k) {
        found[k] = nullptr;
        // An empty key finds nothing: it is never missed.
        if (keys[k]->IsEmpty()) {
            continue;
        }
        ++missing;
        const int32_t length = keys[k]->GetLength();
        if (length < kShortLength && byLength) {
            if (keyOfLength[length] >= 0) {
                byLength = false;
            } else if (keys[k]->GetUpperBuffer()) {
                keyOfLength[length] = static_cast<int8_t>(k);
            }
        }
    }
    const int32_t children = m_children.GetCount();
    for (int32_t i = 0; i < children && missing > 0; ++i) {
        CXmlNode* child = m_children.At(i);
        const CXmlString& childName = child->NameRef();
        const int32_t nameLength = childName.GetLength();
        if (byLength && !child->StoredKey() && nameLength < kShortLength) {
            const int32_t k = keyOfLength[nameLength];
            if (k >= 0 && SameBytes(childName.GetBuffer(), keys[k]->GetUpperBuffer(), nameLength)) {
                // No other key has this length: the child is found under
                // key k alone.
                if (!found[k]) {
                    found[k] = child;
                    --missing;
                }
                continue;
            }
        }
        missing -= child->FillKeysFoundUnder(keys, found, count);
    }
}

int32_t CXmlNode::FillKeysFoundUnder(const CXmlKey* const* keys, CXmlNode** found, int32_t count) {
    // What this node is found under, worked out once for all keys.
    const char* storedKey = StoredKey();
    const bool stored = storedKey != nullptr;
    const XmlKeyRange range =
        stored ? XmlKeyRange{storedKey, static_cast<int32_t>(std::strlen(storedKey))}
               : PreparedKeyRange(NameRef().GetBuffer(), NameRef().GetLength());
    int32_t filled = 0;
    for (int32_t k = 0; k < count; ++k) {
        const CXmlKey& key = *keys[k];
        if (key.GetLength() != range.nLength || found[k] || range.nLength == 0) {
            continue;
        }
        // A stored key is lowered already; a name, as written, may be the
        // key's upper case form.
        const bool matches = stored
                                 ? SameBytes(range.pBegin, key.GetBuffer(), range.nLength)
                                 : (key.GetUpperBuffer() &&
                                    SameBytes(range.pBegin, key.GetUpperBuffer(), range.nLength)) ||
                                       LoweredEquals(range, key.GetBuffer(), range.nLength);
        if (matches) {
            found[k] = this;
            ++filled;
        }
    }
    return filled;
}

void CXmlNode::CopyFromDetached(const CXmlNode* source, CXmlNodePool* pool) {
    // The detached node itself is a node of its own; its copies are made
    // where copies into this node are made.
    CXmlNode detached;
    detached.CopyTree(source, pool);
    AssignName(detached.NameRef());
    m_strText.Assign(detached.m_strText);
    const CXmlNodeArray::CStorage copies = detached.m_children.DetachStorage();
    for (int32_t i = 0; i < copies.nCount; ++i) {
        CXmlNode* copy = copies.ppNodes[i];
        copy->SetParentLink(this);
        const int32_t before = m_children.GetCount();
        if (m_children.AddUnderOwnName(copy, pool) <= before) {
            delete copy; // no room in the list: left out, as CopyFrom does
        }
    }
    CXmlNodeArray::FreeStorage(copies);
}

int32_t CXmlNode::GetChildCount(CXmlString name) const {
    const CXmlKey key(name);
    const int32_t count = m_children.GetCount();
    if (key.IsEmpty()) {
        return count;
    }
    int32_t matches = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (m_children.At(i)->KeyMatches(key)) {
            ++matches;
        }
    }
    return matches;
}

CXmlString CXmlNode::GetChildText(CXmlString name, int32_t occurrence) const {
    const CXmlNode* child = FindChild(name, occurrence);
    return child ? child->m_strText : CXmlString();
}

const CXmlString& CXmlNode::ChildTextRef(const CXmlKey& key, int32_t occurrence) const {
    static const CXmlString noText;
    const CXmlNode* child = FindChild(key, occurrence);
    return child ? child->m_strText : noText;
}

bool CXmlNode::AddChild(CXmlNode* node) {
    m_children.AddUnderOwnName(node, AllocationPool());
    return true;
}

CXmlNode* CXmlNode::AddChild(CXmlString name, CXmlString text) {
    CXmlNodePool* pool = AllocationPool();
    CXmlNode* node = Make(pool, this);
    if (!node) {
        return nullptr;
    }
    if (CXmlString* own = node->OwnName()) {
        own->Assign(name);
    }
    node->m_strText.Assign(text);
    m_children.AddUnderOwnName(node, pool);
    return node;
}

bool CXmlNode::RemoveChild(CXmlNode* node) {
    if (!node) {
        return false;
    }
    const int32_t index = m_children.IndexOf(node);
    if (index < 0) {
        return false;
    }
    m_children.RemoveAt(index);
    delete node;
    return true;
}

namespace {

// Whether a node is among the given ones, asked of each child of a list in
// turn. The nodes usually come in the list's order: the next one expected is
// tried first. Otherwise a few are compared one by one, and more are sorted
// once and searched; pointers of unrelated nodes are ordered by std::less,
// which gives them a total order.
class CNodeSet {
public:
    explicit CNodeSet(const std::vector<CXmlNode*>& nodes) : m_nodes(nodes) {
        if (nodes.size() > kFewNodes) {
            m_sorted.assign(nodes.begin(), nodes.end());
            std::sort(m_sorted.begin(), m_sorted.end(), std::less<const CXmlNode*>());
        }
    }
    bool Contains(const CXmlNode* node) {
        if (m_nNext < m_nodes.size() && m_nodes[m_nNext] == node) {
            ++m_nNext;
            return true;
        }
        if (m_nodes.size() <= kFewNodes) {
            return std::find(m_nodes.begin(), m_nodes.end(), node) != m_nodes.end();
        }
        return std::binary_search(m_sorted.begin(), m_sorted.end(), node,
                                  std::less<const CXmlNode*>());
    }

private:
    static constexpr size_t kFewNodes = 16;
    const std::vector<CXmlNode*>& m_nodes;
    std::vector<const CXmlNode*> m_sorted;
    size_t m_nNext = 0;
};

} // namespace

int32_t CXmlNode::RemoveChildren(const std::vector<CXmlNode*>& nodes) {
    if (nodes.empty()) {
        return 0;
    }
    CNodeSet doomed(nodes);
    // A node taken out is no longer in the list and can go at once.
    return m_children.RemoveWhere([&](CXmlNode* child) { return doomed.Contains(child); },
                                  [](CXmlNode* child) { delete child; });
}

int32_t CXmlNode::MoveChildrenFrom(CXmlNode& source, const std::vector<CXmlNode*>& nodes,
                                   const CXmlString& name) {
    if (nodes.empty() || &source == this) {
        return 0;
    }
    CNodeSet moving(nodes);
    const CXmlKey key(name);
    // The moved nodes stay in the blocks they have, which go back to their
    // own pool whenever they are destroyed.
    CXmlNodePool* pool = AllocationPool();
    return source.m_children.RemoveWhere([&](CXmlNode* child) { return moving.Contains(child); },
                                         [&](CXmlNode* child) {
                                             child->SetParentLink(this);
                                             m_children.Add(key, child, pool);
                                         });
}

// The copies come from this node's pool, so that a copy made from another
// document's tree belongs to this one.
void CXmlNode::CopyFrom(const CXmlNode* source) {
    if (!source) {
        return;
    }
    CXmlNodePool* pool = AllocationPool();
    // This node within the source's subtree, or the source itself, would
    // take part in its own copy and copy itself as it grows, without end:
    // the copy is then made detached first and taken over.
    for (const CXmlNode* node = this; node; node = node->ParentLink()) {
        if (node == source) {
            CopyFromDetached(source, pool);
            return;
        }
    }
    CopyTree(source, pool);
}

// Copies depth-first with a stack of its own, so that any depth can be
// copied. Each source's child count is taken when its copy begins: copying a
// node into itself or into one of its descendants then ends.
void CXmlNode::CopyTree(const CXmlNode* source, CXmlNodePool* pool) {
    struct Frame {
        CXmlNode* pTarget;
        const CXmlNode* pSource;
        int32_t nNext;
        int32_t nCount;
    };
    // The copied name is a new name of this node, as SetName gives it; the
    // copied children are added under their own names.
    // The copied children share the names of their sources; this node keeps
    // the key it is found under.
    AssignName(source->NameRef());
    m_strText.Assign(source->m_strText);
    try {
        std::vector<Frame> stack;
        stack.push_back({this, source, 0, source->GetChildCount()});
        while (!stack.empty()) {
            Frame& frame = stack.back();
            if (frame.nNext >= frame.nCount) {
                stack.pop_back();
                continue;
            }
            const CXmlNode* sourceChild = frame.pSource->GetChild(frame.nNext++);
            CXmlNode* copy = Make(pool, frame.pTarget);
            if (!copy || !sourceChild) {
                continue; // a child that cannot be allocated is left out
            }
            copy->HoldName(sourceChild->m_pName);
            copy->m_strText.Assign(sourceChild->m_strText);
            CXmlNodeArray& siblings = frame.pTarget->m_children;
            const int32_t before = siblings.GetCount();
            if (siblings.AddUnderOwnName(copy, pool) > before) {
                stack.push_back({copy, sourceChild, 0, sourceChild->GetChildCount()});
            } else {
                delete copy; // no room in the list: left out with its subtree
            }
        }
    } catch (const std::bad_alloc&) {
        // Out of memory for the walk itself: the copy ends where it stands.
    }
}
