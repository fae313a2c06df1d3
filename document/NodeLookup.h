// Lookups over the node tree used by the merge, with the engine's rules for
// finding children (names trimmed of blanks and tabs, letter case ignored).
#pragma once

#include "xml/XmlKey.h"
#include "xml/XmlNode.h"
#include "xml/XmlString.h"

#include <array>
#include <cstddef>
#include <vector>

// The children of parent found under name, in order: the nodes FindChild
// yields for name with the occurrences 0, 1, 2 and so on, found in one walk
// over the children instead of one walk per occurrence.
std::vector<CXmlNode*> ChildrenNamed(const CXmlNode* parent, const char* name);
// The same children handed to visit one by one, without gathering them.
template <class Visit>
void ForEachChildNamed(const CXmlNode* parent, const CXmlKey& key, Visit visit) {
    if (!parent) {
        return;
    }
    const int32_t count = parent->GetChildCount();
    for (int32_t index = 0; index < count; ++index) {
        if (parent->ChildHasKey(index, key)) {
            visit(parent->GetChild(index));
        }
    }
}
std::vector<CXmlNode*> ChildrenNamed(const CXmlNode* parent, const CXmlKey& key);

// Whether the text of node's first child named name equals text; a missing
// child counts as an empty text, as GetChildText gives it. Compares without
// copying the child's text.
bool FirstChildTextEquals(const CXmlNode* node, const char* name, const CXmlString& text);
bool FirstChildTextEquals(const CXmlNode* node, const CXmlKey& key, const CXmlString& text);

// The first child of parent under each of keys, null where there is none:
// what FindChild gives for each key with the occurrence 0, found in one walk
// over the children that ends as soon as every key has its child.
template <size_t N>
std::array<CXmlNode*, N> FirstChildren(const CXmlNode* parent,
                                       const std::array<const CXmlKey*, N>& keys) {
    std::array<CXmlNode*, N> found{};
    parent->FindFirstChildren(keys.data(), found.data(), static_cast<int32_t>(N));
    return found;
}
