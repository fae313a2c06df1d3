// What the fuzz targets share.
#pragma once

#include "xml/XmlNode.h"

#include <cstdlib>
#include <cstring>
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

// Stops the fuzzer with a crash report: the property did not hold.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            __builtin_trap();                                                                      \
        }                                                                                          \
    } while (0)
