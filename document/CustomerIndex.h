// The loaded customers by contract number, in child order, kept up to date
// through a merge so that pairing an incoming customer does not walk every
// loaded customer: a hash table of contract numbers, each with the chain of
// its customers, and a hash table from customer to its current entry.
#pragma once

#include "xml/XmlNode.h"
#include "xml/XmlString.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CCustomerIndex {
public:
    // Inserts every customer of root under the text of its first CONTRACTNUM
    // child (empty when it has none), with room for customersToAdd more.
    explicit CCustomerIndex(const CXmlNode* root, size_t customersToAdd = 0);

    // The customers whose contract number is contractNum, in child order.
    std::vector<CXmlNode*> Find(const CXmlString& contractNum) const;
    // Inserts a customer just appended to the root.
    void AddLast(CXmlNode* customer);
    // Inserts a customer again under its contract number as it is now.
    void Refresh(CXmlNode* customer);

private:
    static constexpr uint32_t kNone = UINT32_MAX;

    // One entry of a customer. The entries of one contract number are
    // chained in child order; a customer inserted again leaves its old entry
    // in its chain, marked as no longer valid.
    struct Entry {
        std::string strKey;
        int64_t nOrder;
        CXmlNode* pNode;
        uint32_t nNext;
        bool bValid;
    };
    // The chain of a contract number; nHead is kNone in a free slot.
    struct KeySlot {
        uint32_t nHash;
        uint32_t nHead;
        uint32_t nTail;
    };
    // The valid entry of a customer; pNode is null in a free slot.
    struct NodeSlot {
        const CXmlNode* pNode;
        uint32_t nEntry;
    };

    void Insert(std::string_view key, int64_t order, CXmlNode* customer);
    // The slot of key's chain, or the free slot where an insert would put it.
    size_t KeySlotOf(std::string_view key, uint32_t hash) const;
    NodeSlot* FindNode(const CXmlNode* customer);
    void Reserve(size_t customers);

    // Open-addressing tables (linear probing) of 2^bits slots, at most half
    // full, so that a lookup reads little memory: a merge pairs every
    // customer of a file.
    std::vector<Entry> m_entries;
    std::vector<KeySlot> m_keySlots;
    int m_nKeyBits = 0;
    size_t m_nKeys = 0;
    std::vector<NodeSlot> m_nodeSlots;
    int m_nNodeBits = 0;
    size_t m_nNodes = 0;
    int64_t m_nNextOrder = 0;
};
