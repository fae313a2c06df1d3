// CXmlSharedName: an element name held by every node that carries it, with
// the key such a node is found under when its name does not give it. A rate
// file of millions of elements has a few dozen names: the reader makes each
// once and its nodes share it, so a node holds one pointer instead of a
// string and a key of its own. A shared name is never changed; a node that
// is renamed or takes a key of its own gets a name of its own (copy on
// write), and the last holder to let a name go frees it. Like the nodes,
// names are used from one thread.
#pragma once

#include "xml/XmlString.h"

#include <cstdint>
#include <cstdlib>

struct CXmlSharedName {
    CXmlSharedName() = default;
    CXmlSharedName(const CXmlSharedName&) = delete;
    CXmlSharedName& operator=(const CXmlSharedName&) = delete;
    ~CXmlSharedName() { std::free(pKey); }

    CXmlString strName;
    // The key the holders are found under in their parents' child lists
    // (trimmed, lowered, NUL-terminated, from malloc); null when it is what
    // the name gives after trimming and lowering.
    char* pKey = nullptr;
    int32_t nHolders = 0;
};

// Lets one holder of name go; frees it with the last.
inline void ReleaseSharedName(CXmlSharedName* name) noexcept {
    if (name && --name->nHolders == 0) {
        delete name;
    }
}
