// What the fuzz targets share.
#pragma once

#include "xml/XmlNode.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// Whether two trees have the same names, texts and shape; walks without
// recursion, since fuzzed trees can be deep.
inline bool SameTree(const CXmlNode* a, const CXmlNode* b) {
    std::vector<std::pair<const CXmlNode*, const CXmlNode*>> pending{{a, b}};
    while (!pending.empty()) {
        const auto [x, y] = pending.back();
        pending.pop_back();
        if (!x->NameRef().Equals(y->NameRef()) || !x->TextRef().Equals(y->TextRef()) ||
            x->GetChildCount() != y->GetChildCount()) {
            return false;
        }
        for (int32_t i = 0; i < x->GetChildCount(); ++i) {
            pending.emplace_back(x->GetChild(i), y->GetChild(i));
        }
    }
    return true;
}

// Whether the written form of a tree reads back as the same tree. Names are
// written as they are, and two shapes cannot be spelled: a child named "/"
// and its parent's name writes as its parent's end tag, and a root whose
// name begins with '?' writes as a declaration, which reading skips.
inline bool WrittenFormIsUnambiguous(const CXmlNode* root) {
    if (root->NameRef().GetAt(0) == '?') {
        return false;
    }
    std::vector<const CXmlNode*> pending{root};
    while (!pending.empty()) {
        const CXmlNode* node = pending.back();
        pending.pop_back();
        const std::string endName = std::string("/") + node->NameRef().GetBuffer();
        for (int32_t i = 0; i < node->GetChildCount(); ++i) {
            const CXmlNode* child = node->GetChild(i);
            if (endName == child->NameRef().GetBuffer()) {
                return false;
            }
            pending.push_back(child);
        }
    }
    return true;
}

// Stops the fuzzer with a crash report: the property did not hold.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            __builtin_trap();                                                                      \
        }                                                                                          \
    } while (0)
