// CKeyIndex: the customers of a rate file by contract number and its plans by
// plan key, for going straight to one. Made in one pass over the customers
// and their plans into flat hash tables; it points into the tree's texts, so
// it is made again after any change to the tree.
#pragma once

#include "xml/XmlNode.h"

#include <cstdint>
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

    size_t GetCustomerCount() const { return m_customers.GetCount(); }
    size_t GetPlanCount() const { return m_plans.GetCount(); }

private:
    // Elements by key; the elements of one key chained in the order filed.
    class CTable {
    public:
        void Add(std::string_view key, CXmlNode* node) { m_entries.push_back({key, node, kNone}); }
        // Files what was added; Find needs it.
        void Build();
        void Find(std::string_view key, std::vector<CXmlNode*>& found) const;
        size_t GetCount() const { return m_entries.size(); }

    private:
        static constexpr uint32_t kNone = UINT32_MAX;
        struct Entry {
            std::string_view key;
            CXmlNode* pNode;
            uint32_t nNext;
        };
        struct Slot {
            uint32_t nHash;
            uint32_t nHead; // kNone: free
            uint32_t nTail;
        };
        size_t SlotOf(std::string_view key, uint32_t hash) const;

        std::vector<Entry> m_entries;
        std::vector<Slot> m_slots; // 2^m_nBits, at most half used
        int m_nBits = 0;
    };

    CTable m_customers;
    CTable m_plans;
};
