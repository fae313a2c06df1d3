#include "xml/XmlNode.h"

#include "xml/XmlKey.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <unordered_set>
#include <vector>

namespace {

// The key a name gives, lowered, in a string of its own.
CXmlString PreparedKey(const CXmlString& name) {
    const XmlKeyRange range = PreparedKeyRange(name.GetBuffer(), name.GetLength());
    CXmlString key;
    key.Append(range.pBegin, range.nLength);
    key.MakeLower();
    return key;
}

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

CXmlNode::CXmlNode(CXmlNode* parent) noexcept : m_pParent(parent) {}

CXmlNode::~CXmlNode() {
    DestroyChildren();
    std::free(m_pKey);
}

// Tears the subtree down without recursion: the nodes waiting to be destroyed
// are chained through their parent links, which nothing reads any more.
void CXmlNode::DestroyChildren() noexcept {
    CXmlNode* pending = nullptr;
    int32_t count = 0;
    CXmlNode** children = m_children.Release(count);
    for (int32_t i = 0; i < count; ++i) {
        children[i]->m_pParent = pending;
        pending = children[i];
    }
    std::free(children);
    while (pending) {
        CXmlNode* node = pending;
        pending = node->m_pParent;
        children = node->m_children.Release(count);
        for (int32_t i = 0; i < count; ++i) {
            children[i]->m_pParent = pending;
            pending = children[i];
        }
        std::free(children);
        delete node;
    }
}

void CXmlNode::SetKey(const char* preparedKey, int32_t length) {
    std::free(m_pKey);
    m_pKey = nullptr;
    const XmlKeyRange own = PreparedKeyRange(m_strName.GetBuffer(), m_strName.GetLength());
    if (LoweredEquals(own, preparedKey, length)) {
        return;
    }
    m_pKey = static_cast<char*>(std::malloc(static_cast<size_t>(length) + 1));
    if (m_pKey) {
        std::memcpy(m_pKey, preparedKey, static_cast<size_t>(length));
        m_pKey[length] = '\0';
    }
}

// Stores the key the current name gives, so that a new name leaves the key
// under which the parent finds this node as it was.
void CXmlNode::FreezeKey() {
    if (m_pKey) {
        return;
    }
    const CXmlString key = PreparedKey(m_strName);
    m_pKey = static_cast<char*>(std::malloc(static_cast<size_t>(key.GetLength()) + 1));
    if (m_pKey) {
        std::memcpy(m_pKey, key.GetBuffer(), static_cast<size_t>(key.GetLength()) + 1);
    }
}

bool CXmlNode::KeyMatches(const char* preparedKey, int32_t length) const {
    if (m_pKey) {
        return std::strlen(m_pKey) == static_cast<size_t>(length) &&
               std::memcmp(m_pKey, preparedKey, static_cast<size_t>(length)) == 0;
    }
    return LoweredEquals(PreparedKeyRange(m_strName.GetBuffer(), m_strName.GetLength()),
                         preparedKey, length);
}

void CXmlNode::SetName(CXmlString name) {
    if (!m_pKey && !SameKey(m_strName, name)) {
        FreezeKey();
    }
    m_strName.Assign(name);
}

void CXmlNode::SetText(CXmlString text) {
    m_strText.Assign(text);
}

CXmlNode* CXmlNode::FindChild(CXmlString name, int32_t occurrence) const {
    const CXmlString key = PreparedKey(name);
    if (key.IsEmpty() || occurrence < 0) {
        return nullptr;
    }
    int32_t matches = 0;
    const int32_t count = m_children.GetCount();
    for (int32_t i = 0; i < count; ++i) {
        if (m_children.KeyEquals(i, key.GetBuffer(), key.GetLength())) {
            if (matches == occurrence) {
                return m_children.GetAt(i);
            }
            ++matches;
        }
    }
    return nullptr;
}

CXmlNode* CXmlNode::GetChild(int32_t index) const {
    return m_children.GetAt(index);
}

CXmlString CXmlNode::GetChildKey(int32_t index) const {
    CXmlString key;
    m_children.GetAt(index, &key);
    return key;
}

int32_t CXmlNode::GetChildCount(CXmlString name) const {
    const CXmlString key = PreparedKey(name);
    const int32_t count = m_children.GetCount();
    if (key.IsEmpty()) {
        return count;
    }
    int32_t matches = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (m_children.KeyEquals(i, key.GetBuffer(), key.GetLength())) {
            ++matches;
        }
    }
    return matches;
}

CXmlString CXmlNode::GetChildText(CXmlString name, int32_t occurrence) const {
    const CXmlNode* child = FindChild(name, occurrence);
    return child ? child->m_strText : CXmlString();
}

bool CXmlNode::AddChild(CXmlNode* node) {
    m_children.AddUnderOwnName(node);
    return true;
}

CXmlNode* CXmlNode::AddChild(CXmlString name, CXmlString text) {
    CXmlNode* node = new CXmlNode(this);
    if (!node) {
        return nullptr;
    }
    node->m_strName.Assign(name);
    node->m_strText.Assign(text);
    AddChild(node);
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

int32_t CXmlNode::RemoveChildren(const std::vector<CXmlNode*>& nodes) {
    if (nodes.empty()) {
        return 0;
    }
    std::unordered_set<const CXmlNode*> doomed(nodes.begin(), nodes.end());
    std::vector<CXmlNode*> removed;
    m_children.RemoveWhere([&](CXmlNode* child) {
        if (doomed.count(child) == 0) {
            return false;
        }
        removed.push_back(child);
        return true;
    });
    for (CXmlNode* child : removed) {
        delete child;
    }
    return static_cast<int32_t>(removed.size());
}

int32_t CXmlNode::MoveChildrenFrom(CXmlNode& source, const std::vector<CXmlNode*>& nodes,
                                   const CXmlString& name) {
    if (nodes.empty() || &source == this) {
        return 0;
    }
    std::unordered_set<const CXmlNode*> moving(nodes.begin(), nodes.end());
    std::vector<CXmlNode*> moved;
    source.m_children.RemoveWhere([&](CXmlNode* child) {
        if (moving.count(child) == 0) {
            return false;
        }
        moved.push_back(child);
        return true;
    });
    for (CXmlNode* child : moved) {
        child->m_pParent = this;
        m_children.Add(name, child);
    }
    return static_cast<int32_t>(moved.size());
}

// Copies depth-first with a stack of its own, so that any depth can be
// copied. Each source's child count is taken when its copy begins: copying a
// node into itself or into one of its descendants then ends.
void CXmlNode::CopyFrom(const CXmlNode* source) {
    if (!source) {
        return;
    }
    struct Frame {
        CXmlNode* pTarget;
        const CXmlNode* pSource;
        int32_t nNext;
        int32_t nCount;
    };
    m_strName.Assign(source->m_strName);
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
            CXmlNode* copy = new CXmlNode(frame.pTarget);
            if (!copy || !sourceChild) {
                continue; // a child that cannot be allocated is left out
            }
            copy->m_strName.Assign(sourceChild->m_strName);
            copy->m_strText.Assign(sourceChild->m_strText);
            frame.pTarget->AddChild(copy);
            stack.push_back({copy, sourceChild, 0, sourceChild->GetChildCount()});
        }
    } catch (const std::bad_alloc&) {
        // Out of memory for the walk itself: the copy ends where it stands.
    }
}
