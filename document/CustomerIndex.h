// The loaded customers by contract number, in child order, kept up to date
// through a merge so that pairing an incoming customer does not walk every
// loaded customer.
#pragma once

#include "xml/XmlNode.h"
#include "xml/XmlString.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class CCustomerIndex {
public:
    // Files every customer of root under the text of its first CONTRACTNUM
    // child (empty when it has none).
    explicit CCustomerIndex(const CXmlNode* root);

    // The customers whose contract number is contractNum, in child order.
    std::vector<CXmlNode*> Find(const CXmlString& contractNum) const;
    // Files a customer just appended to the root.
    void AddLast(CXmlNode* customer);
    // Files a customer again under its contract number as it is now.
    void Refresh(CXmlNode* customer);

private:
    struct Entry {
        int64_t nOrder;
        CXmlNode* pNode;
    };
    void Insert(const std::string& key, Entry entry);

    std::unordered_map<std::string, std::vector<Entry>> m_byContract;
    std::unordered_map<const CXmlNode*, std::pair<int64_t, std::string>> m_filed;
    int64_t m_nNextOrder = 0;
};
