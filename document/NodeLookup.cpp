#include "document/NodeLookup.h"

std::vector<CXmlNode*> ChildrenNamed(const CXmlNode* parent, const char* name) {
    return ChildrenNamed(parent, CXmlKey(name));
}

std::vector<CXmlNode*> ChildrenNamed(const CXmlNode* parent, const CXmlKey& key) {
    std::vector<CXmlNode*> children;
    if (!parent || key.IsEmpty()) {
        return children;
    }
    children.reserve(static_cast<size_t>(parent->GetChildCount()));
    ForEachChildNamed(parent, key, [&children](CXmlNode* child) { children.push_back(child); });
    return children;
}

bool FirstChildTextEquals(const CXmlNode* node, const char* name, const CXmlString& text) {
    return FirstChildTextEquals(node, CXmlKey(name), text);
}

bool FirstChildTextEquals(const CXmlNode* node, const CXmlKey& key, const CXmlString& text) {
    const CXmlNode* child = node->FindChild(key, 0);
    return child ? child->TextRef().Equals(text) : text.IsEmpty();
}
