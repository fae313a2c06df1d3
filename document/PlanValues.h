// CPlanValues: the values a merge carries for one plan key, the user's plan
// description and data processor key.
#pragma once

#include "xml/XmlNode.h"
#include "xml/XmlString.h"

#include <cstddef>
#include <new>

struct CPlanValues {
    CXmlString m_strPlanKey;
    CXmlString m_strPlanDesc;
    CXmlString m_strDpKey;

    // A merge makes a record for each plan key while it destroys the plans
    // that the incoming ones replace, and a record is no larger than a node:
    // records take the blocks the nodes leave, already in memory, instead of
    // memory of their own.
    static void* operator new(std::size_t size) {
        static_assert(sizeof(CPlanValues) <= sizeof(CXmlNode));
        if (void* block = CXmlNode::operator new(size)) {
            return block;
        }
        throw std::bad_alloc();
    }
    static void operator delete(void* block) noexcept { CXmlNode::operator delete(block); }
};
