#include "document/NodeLookup.h"

std::vector<CXmlNode*> ChildrenNamed(const CXmlNode* parent, const char* name) {
    std::vector<CXmlNode*> children;
    CXmlString key(name);
    key.Trim();
    key.MakeLower();
    if (!parent || key.IsEmpty()) {
        return children;
    }
    const int32_t count = parent->GetChildCount();
    for (int32_t index = 0; index < count; ++index) {
        if (parent->GetChildKey(index).Equals(key)) {
            children.push_back(parent->GetChild(index));
        }
    }
    return children;
}

bool FirstChildTextEquals(const CXmlNode* node, const char* name, const CXmlString& text) {
    const CXmlNode* child = node->FindChild(name, 0);
    return child ? child->TextRef().Equals(text) : text.IsEmpty();
}
