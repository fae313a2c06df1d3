// CXmlSharedName: an element name held by every node that carries it. A rate
// file of millions of elements has a few dozen names: the reader makes each
// once and its nodes share it, so a node holds a pointer instead of a string
// of its own. A shared name is never changed; a node that is renamed gets a
// name of its own (copy on write), and the last holder to let a name go
// frees it. Like the nodes, names are used from one thread.
#pragma once

#include "xml/XmlString.h"

#include <cstdint>

struct CXmlSharedName {
    CXmlString strName;
    int32_t nHolders = 0;
};

// Lets one holder of name go; frees it with the last.
inline void ReleaseSharedName(CXmlSharedName* name) noexcept {
    if (name && --name->nHolders == 0) {
        delete name;
    }
}
