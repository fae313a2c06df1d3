// CXmlNode: one XML element with a name, a text, a parent link and an
// ordered list of children that it owns.
//
// Children are looked up by name and 0-based occurrence, ignoring letter case
// (A-Z only) and blanks and tabs around the name. Reading, writing, copying
// and destroying work without recursion, so the depth of a tree is bounded by
// memory and not by the call stack.
#pragma once

#include "xml/XmlKey.h"
#include "xml/XmlNodeArray.h"
#include "xml/XmlSharedName.h"
#include "xml/XmlString.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

class CXmlBufferedOutput;
class CXmlNodePool;
class CXmlTextSink;

class CXmlNode {
public:
    // A node of its own: on the stack, in a container, or from the general
    // allocator through new. Nodes of a document's tree come from Make.
    explicit CXmlNode(CXmlNode* parent = nullptr) noexcept
        : m_uParent(reinterpret_cast<std::uintptr_t>(parent)) {}
    CXmlNode(const CXmlNode&) = delete;
    CXmlNode& operator=(const CXmlNode&) = delete;
    // Inline: most nodes are leaves without a key of their own, and a tree
    // of millions of them is torn down node by node.
    ~CXmlNode() {
        if (m_children.HasStorage()) {
            DestroyChildren();
        }
        ReleaseSharedName(m_pName);
    }

    // A node in a block of pool (a rate file holds millions), or from the
    // general allocator when pool is null; null when memory runs out.
    static CXmlNode* Make(CXmlNodePool* pool, CXmlNode* parent) noexcept;
    // new gives a node from the general allocator; one that cannot be
    // allocated comes out as null. delete gives any node back to where it
    // came from, which the node itself tells, so it reads that before the
    // destructor runs.
    static void* operator new(std::size_t size) noexcept;
    static void operator delete(CXmlNode* node, std::destroying_delete_t) noexcept;
    // The match of new that a delete expression never calls (the destroying
    // form is preferred): a constructor that threw would give its block back
    // through it, and the constructors do not throw.
    static void operator delete(void* block) noexcept;
    // The pool whose slab holds this node; null for a node of its own.
    CXmlNodePool* GetPool() const noexcept;

    CXmlString GetName() const { return NameRef(); }
    void SetName(CXmlString name);
    CXmlString GetText() const { return m_strText; }
    void SetText(CXmlString text);
    // SetText without the copy its parameter is made as.
    void AssignText(const CXmlString& text) { m_strText.Assign(text); }
    // Moves the text out of the node, which is left with an empty text.
    CXmlString ExtractText() { return std::move(m_strText); }

    // Read-only views of the name and text, for callers that only look.
    const CXmlString& NameRef() const { return m_pName ? m_pName->strName : NoName(); }
    const CXmlString& TextRef() const { return m_strText; }

    CXmlNode* FindChild(CXmlString name, int32_t occurrence) const;
    // The same lookups with a key prepared once for many of them.
    CXmlNode* FindChild(const CXmlKey& key, int32_t occurrence) const;
    CXmlNode* GetChild(int32_t index) const {
        return index >= 0 && index < m_children.GetCount() ? m_children.At(index) : nullptr;
    }
    int32_t GetChildCount(CXmlString name) const;
    int32_t GetChildCount() const { return m_children.GetCount(); }
    CXmlString GetChildText(CXmlString name, int32_t occurrence) const;
    // The text GetChildText gives, without copying it: valid until the child
    // is changed or destroyed. A missing child gives an empty text.
    const CXmlString& ChildTextRef(const CXmlKey& key, int32_t occurrence) const;
    // The first child under each of count keys (null where there is none):
    // what FindChild gives for each with the occurrence 0, found in one walk
    // over the children that ends once every key has its child.
    void FindFirstChildren(const CXmlKey* const* keys, CXmlNode** found, int32_t count) const;
    // Whether child index is found under key: FindChild with key would count
    // it among the occurrences. False when there is no such child.
    bool ChildHasKey(int32_t index, const CXmlKey& key) const {
        return index >= 0 && index < m_children.GetCount() && !key.IsEmpty() &&
               m_children.At(index)->KeyMatches(key);
    }
    CXmlNode* GetParent() const { return ParentLink(); }
    // The key under which child index is found (trimmed, lowered name as it
    // was when the child was added); empty when there is no such child.
    CXmlString GetChildKey(int32_t index) const;

    void CopyFrom(const CXmlNode* source);
    bool AddChild(CXmlNode* node);
    CXmlNode* AddChild(CXmlString name, CXmlString text);
    bool RemoveChild(CXmlNode* node);
    // Removes and destroys those of the given nodes that are children of this
    // node, in one pass over the child list; the other children keep their
    // order. Returns how many were removed.
    int32_t RemoveChildren(const std::vector<CXmlNode*>& nodes);
    // Moves those of the given nodes that are children of source, in their
    // order there, to the end of this node's children, each found under the
    // key that name gives; this node becomes their parent and they keep
    // their names, texts and subtrees. Returns how many were moved.
    int32_t MoveChildrenFrom(CXmlNode& source, const std::vector<CXmlNode*>& nodes,
                             const CXmlString& name);

    // The reader: makes this node the element that starts at pos in text.
    // Returns the position of the last byte of the element's end tag (also
    // left in pos), or the length of text on failure; error receives 1 or 2.
    int32_t Parse(CXmlString& text, int32_t& pos, int32_t& error);
    // The same, with stopOffset receiving the byte offset in text where
    // reading stopped at the first error (-1 when there was none).
    int32_t Parse(CXmlString& text, int32_t& pos, int32_t& error, int32_t& stopOffset);

    // The writer: appends this element and its descendants to out in the
    // indented or the compressed form. depth is -1 for a root. Texts holding
    // '&', '<' or '>' are encoded in place. When out cannot grow, the bytes
    // that do not fit are lost and out.HasGrowthFailed() tells the caller.
    void Write(CXmlString& out, int32_t& depth, bool compressed);
    // The same text, passed to a sink in pieces. False when the sink failed.
    bool Write(CXmlTextSink& sink, int32_t& depth, bool compressed);
    // The same text, appended to an output that may hold text before it and
    // may take more after it; out.Failed() tells whether it is incomplete.
    void Write(CXmlBufferedOutput& out, int32_t& depth, bool compressed);

private:
    friend class CXmlNodeArray;
    friend class CXmlParser;

    // The parent link carries in its lowest bit (free, as nodes are aligned
    // to pointers) whether the node lives in a pool's slab.
    static constexpr std::uintptr_t kPooledBit = 1;
    struct PooledTag {};
    CXmlNode(CXmlNode* parent, PooledTag) noexcept
        : m_uParent(reinterpret_cast<std::uintptr_t>(parent) | kPooledBit) {}
    bool IsPooled() const noexcept { return (m_uParent & kPooledBit) != 0; }
    CXmlNode* ParentLink() const noexcept {
        // A tagged pointer: the link without its marker is a node's address.
        return reinterpret_cast<CXmlNode*>( // NOLINT(performance-no-int-to-ptr)
            m_uParent & ~kPooledBit);
    }
    // Sets the parent link and keeps the marker.
    void SetParentLink(CXmlNode* parent) noexcept {
        m_uParent = reinterpret_cast<std::uintptr_t>(parent) | (m_uParent & kPooledBit);
    }
    // The pool new nodes and lists under this node come from: its own,
    // unless it has none or its pool's owner is gone (null: the general
    // allocator).
    CXmlNodePool* AllocationPool() const noexcept;

    // The key this node is found under in its parent's child list; null when
    // it is what the current name gives after trimming and lowering.
    void SetKey(const CXmlKey& key);
    // Stores the key the current name gives as the node's own key.
    void StoreKeyOfName();
    // SetName without the copy its parameter is made as.
    void AssignName(const CXmlString& name);
    // The name of a node that has none yet: empty.
    static const CXmlString& NoName();
    // Makes this node one more holder of name (null: no name).
    void HoldName(CXmlSharedName* name) noexcept {
        if (name) {
            ++name->nHolders;
        }
        ReleaseSharedName(m_pName);
        m_pName = name;
    }
    // The name as a string this node alone holds, made so when it is shared;
    // null when memory runs out.
    CXmlString* OwnName();
    // The same for the whole shared name, with its key.
    CXmlSharedName* OwnSharedName();
    // The key this node is found under when its name does not give it.
    const char* StoredKey() const { return m_pName ? m_pName->pKey : nullptr; }
    // Takes a malloc'ed key as the stored one (null: none).
    void SetStoredKey(char* key);
    // Inline: every child added under its own name asks it.
    void DropStoredKey() {
        if (StoredKey()) {
            SetStoredKey(nullptr);
        }
    }
    // Inline: a lookup asks it of every child it passes.
    bool KeyMatches(const char* preparedKey, int32_t length) const {
        if (const char* stored = StoredKey()) {
            return StoredKeyMatches(stored, preparedKey, length);
        }
        // Trimming only shortens a name: a shorter one cannot give the key.
        const CXmlString& name = NameRef();
        const int32_t nameLength = name.GetLength();
        return nameLength >= length &&
               LoweredEquals(PreparedKeyRange(name.GetBuffer(), nameLength), preparedKey, length);
    }
    static bool StoredKeyMatches(const char* stored, const char* preparedKey, int32_t length);
    // The same for a key prepared once: a name written as the key's upper
    // case form, as the names of a rate file are, matches with one compare.
    bool KeyMatches(const CXmlKey& key) const {
        if (!StoredKey() && NameRef().GetLength() == key.GetLength() && key.GetUpperBuffer() &&
            SameBytes(NameRef().GetBuffer(), key.GetUpperBuffer(), key.GetLength())) {
            return true;
        }
        return KeyMatches(key.GetBuffer(), key.GetLength());
    }
    // FindFirstChildren's full comparison of this child: sets found[k] to
    // this node for each key k without a child yet that it is found under,
    // and returns how many it set.
    int32_t FillKeysFoundUnder(const CXmlKey* const* keys, CXmlNode** found, int32_t count);
    void DestroyChildren() noexcept;
    // CopyFrom of a source whose subtree holds this node: the copy is made
    // in a detached node first and then moved into this one.
    void CopyFromDetached(const CXmlNode* source, CXmlNodePool* pool);
    // CopyFrom of a source outside this node's ancestry, its copies made in
    // pool.
    void CopyTree(const CXmlNode* source, CXmlNodePool* pool);

    // The name and key first: a lookup reads them of every child it passes.
    CXmlSharedName* m_pName = nullptr;
    CXmlString m_strText;
    // Also the chain of nodes waiting to be destroyed in DestroyChildren.
    std::uintptr_t m_uParent;
    CXmlNodeArray m_children;
};

// A cache line: the memory figures of a loaded file count on it, and a
// slab holds nodes at line boundaries.
static_assert(sizeof(void*) != 8 || sizeof(CXmlNode) == 64, "a node is 64 bytes");
static_assert(alignof(CXmlNode) > 1, "the parent link's lowest bit is free");
