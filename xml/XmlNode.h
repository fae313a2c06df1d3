// CXmlNode: one XML element with a name, a text, a parent link and an
// ordered list of children that it owns.
//
// Children are looked up by name and 0-based occurrence, ignoring letter case
// (A-Z only) and blanks and tabs around the name. Reading, writing, copying
// and destroying work without recursion, so the depth of a tree is bounded by
// memory and not by the call stack.
#pragma once

#include "xml/XmlNodeArray.h"
#include "xml/XmlString.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CXmlTextSink;

class CXmlNode {
public:
    explicit CXmlNode(CXmlNode* parent = nullptr) noexcept;
    CXmlNode(const CXmlNode&) = delete;
    CXmlNode& operator=(const CXmlNode&) = delete;
    ~CXmlNode();

    // Nodes come from a pool of fixed-size blocks: a rate file holds millions.
    // A node that cannot be allocated comes out of new as null.
    static void* operator new(std::size_t size) noexcept;
    static void operator delete(void* block) noexcept;

    CXmlString GetName() const { return m_strName; }
    void SetName(CXmlString name);
    CXmlString GetText() const { return m_strText; }
    void SetText(CXmlString text);

    // Read-only views of the name and text, for callers that only look.
    const CXmlString& NameRef() const { return m_strName; }
    const CXmlString& TextRef() const { return m_strText; }

    CXmlNode* FindChild(CXmlString name, int32_t occurrence) const;
    CXmlNode* GetChild(int32_t index) const;
    int32_t GetChildCount(CXmlString name) const;
    int32_t GetChildCount() const { return m_children.GetCount(); }
    CXmlString GetChildText(CXmlString name, int32_t occurrence) const;
    CXmlNode* GetParent() const { return m_pParent; }
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

    // The writer: appends this element and its descendants to out in the
    // indented or the compressed form. depth is -1 for a root. Texts holding
    // '&', '<' or '>' are encoded in place. When out cannot grow, the bytes
    // that do not fit are lost and out.HasGrowthFailed() tells the caller.
    void Write(CXmlString& out, int32_t& depth, bool compressed);
    // The same text, passed to a sink in pieces. False when the sink failed.
    bool Write(CXmlTextSink& sink, int32_t& depth, bool compressed);

private:
    friend class CXmlNodeArray;
    friend class CXmlParser;

    // The key this node is found under in its parent's child list; null when
    // it is what the current name gives after trimming and lowering.
    void SetKey(const char* preparedKey, int32_t length);
    void FreezeKey();
    bool KeyMatches(const char* preparedKey, int32_t length) const;
    void DestroyChildren() noexcept;

    CXmlString m_strName;
    CXmlString m_strText;
    CXmlNode* m_pParent;
    CXmlNodeArray m_children;
    char* m_pKey = nullptr;
};
