// Lowers the length limit of strings for one test and restores it after, so
// that the limit's rules can be tested without gigabytes of memory.
#pragma once

#include "xml/XmlString.h"

class CapacityLimit {
public:
    explicit CapacityLimit(int32_t limit) : m_nSaved(CXmlString::GetCapacityLimit()) {
        CXmlString::SetCapacityLimit(limit);
    }
    CapacityLimit(const CapacityLimit&) = delete;
    CapacityLimit& operator=(const CapacityLimit&) = delete;
    ~CapacityLimit() { CXmlString::SetCapacityLimit(m_nSaved); }

private:
    int32_t m_nSaved;
};
