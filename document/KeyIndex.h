// CKeyIndex: the customers of a rate file by contract number and its plans by
// plan key, for going straight to one. Made in one pass over the customers
// and their plans; it points into the tree's texts, so it is made again after
// any change to the tree.
#pragma once

#include "xml/XmlNode.h"

#include <string_view>
#include <vector>

class CKeyIndex {
public:
    // Files every element named CUSTOMER among root's children under the
    // text of its first CONTRACTNUM child, and every element named
    // INSURANCEPLAN among those customers' children under the text of its
    // first PLANKEY child. Keys are compared exactly.
    explicit CKeyIndex(const CXmlNode* root);

    // The customers whose contract number is key, then the plans whose plan
    // key is key, each in document order.
    std::vector<CXmlNode*> Find(std::string_view key) const;

    size_t GetCustomerCount() const { return m_customers.size(); }
    size_t GetPlanCount() const { return m_plans.size(); }

private:
    struct Entry {
        std::string_view key;
        CXmlNode* pNode;
    };
    // Sorted by key, elements of one key in document order.
    static void Sort(std::vector<Entry>& entries);
    static void Collect(const std::vector<Entry>& entries, std::string_view key,
                        std::vector<CXmlNode*>& found);

    std::vector<Entry> m_customers;
    std::vector<Entry> m_plans;
};
