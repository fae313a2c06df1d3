// A compact text of a tree for assertions: NAME[text](child,child).
#pragma once

#include "xml/XmlNode.h"

#include <string>
#include <vector>

namespace detail {
inline std::string TreeTextOf(const CXmlNode* root, bool withKeys) {
    // Iterative, so that deep trees can be described too.
    struct Item {
        const CXmlNode* node;
        int next;
    };
    std::string out;
    std::vector<Item> stack{{root, 0}};
    out += std::string(root->NameRef().GetBuffer()) + "[" + root->TextRef().GetBuffer() + "]";
    while (!stack.empty()) {
        Item& item = stack.back();
        const int count = item.node->GetChildCount();
        if (item.next < count) {
            out += item.next == 0 ? "(" : ",";
            if (withKeys) {
                out += std::string(item.node->GetChildKey(item.next).GetBuffer()) + "=";
            }
            const CXmlNode* child = item.node->GetChild(item.next++);
            out += std::string(child->NameRef().GetBuffer()) + "[" + child->TextRef().GetBuffer() +
                   "]";
            stack.push_back({child, 0});
        } else {
            if (count > 0) {
                out += ")";
            }
            stack.pop_back();
        }
    }
    return out;
}
} // namespace detail

inline std::string TreeText(const CXmlNode* root) {
    return detail::TreeTextOf(root, false);
}
inline std::string KeyedTreeText(const CXmlNode* root) {
    return detail::TreeTextOf(root, true);
}
