#include "document/CustomerIndex.h"

#include "document/NodeLookup.h"
#include "document/RateVocabulary.h"
#include "document/TextHash.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <utility>

namespace {

std::string_view ContractOf(const CXmlNode* customer) {
    const CXmlString& text = customer->ChildTextRef(rate::Keys().contractNum, 0);
    return {text.GetBuffer(), static_cast<size_t>(text.GetLength())};
}

uint64_t HashNode(const CXmlNode* node) {
    return std::hash<const CXmlNode*>()(node) * 0xff51afd7ed558ccdull;
}

// The number of slot bits for count entries with at least half the slots
// free.
int SlotBitsFor(size_t count) {
    const auto bits = static_cast<int>(std::bit_width(count * 2));
    return bits < 4 ? 4 : bits;
}

} // namespace

CCustomerIndex::CCustomerIndex(const CXmlNode* root, size_t customersToAdd) {
    const std::vector<CXmlNode*> customers = ChildrenNamed(root, rate::Keys().customer);
    // The contract numbers are read first, in a loop of their own: each
    // customer is read from memory that has not been touched for long, and
    // reads that do not wait for the inserts overlap.
    std::vector<std::string_view> contracts;
    contracts.reserve(customers.size());
    for (const CXmlNode* customer : customers) {
        contracts.push_back(ContractOf(customer));
    }
    // Entries are never moved as customers are added: a merge that adds
    // thousands would otherwise copy the list again and again.
    m_entries.reserve(customers.size() + customersToAdd);
    Reserve(customers.size());
    for (size_t i = 0; i < customers.size(); ++i) {
        Insert(contracts[i], m_nNextOrder++, customers[i]);
    }
}

void CCustomerIndex::Reserve(size_t customers) {
    const int bits = SlotBitsFor(customers);
    if (bits > m_nKeyBits) {
        m_keySlots = Rehashed(
            m_keySlots, bits, KeySlot{0, kNone, kNone},
            [](const KeySlot& slot) { return slot.nHead != kNone; },
            [](const KeySlot& slot) { return slot.nHash; });
        m_nKeyBits = bits;
    }
    if (bits > m_nNodeBits) {
        m_nodeSlots = Rehashed(
            m_nodeSlots, bits, NodeSlot{nullptr, kNone},
            [](const NodeSlot& slot) { return slot.pNode != nullptr; },
            [](const NodeSlot& slot) { return HashNode(slot.pNode); });
        m_nNodeBits = bits;
    }
}

size_t CCustomerIndex::KeySlotOf(std::string_view key, uint32_t hash) const {
    return ProbeSlots(hash, m_nKeyBits, [&](size_t at) {
        const KeySlot& slot = m_keySlots[at];
        return slot.nHead == kNone || (slot.nHash == hash && m_entries[slot.nHead].strKey == key);
    });
}

CCustomerIndex::NodeSlot* CCustomerIndex::FindNode(const CXmlNode* customer) {
    if (m_nodeSlots.empty()) {
        return nullptr;
    }
    return &m_nodeSlots[ProbeSlots(HashNode(customer), m_nNodeBits, [&](size_t at) {
        const NodeSlot& slot = m_nodeSlots[at];
        return !slot.pNode || slot.pNode == customer;
    })];
}

std::vector<CXmlNode*> CCustomerIndex::Find(const CXmlString& contractNum) const {
    std::vector<CXmlNode*> customers;
    const std::string_view key(contractNum.GetBuffer(),
                               static_cast<size_t>(contractNum.GetLength()));
    const uint32_t first =
        m_keySlots.empty() ? kNone : m_keySlots[KeySlotOf(key, HashText(key))].nHead;
    for (uint32_t at = first; at != kNone; at = m_entries[at].nNext) {
        if (m_entries[at].bValid) {
            customers.push_back(m_entries[at].pNode);
        }
    }
    return customers;
}

// Hash-table insert of customer under key, at its place in child order in
// the key's chain; the new entry becomes the customer's valid one.
void CCustomerIndex::Insert(std::string_view key, int64_t order, CXmlNode* customer) {
    // Every insert may bring a new key and a new customer.
    Reserve(std::max(m_nKeys, m_nNodes) + 1);
    const auto added = static_cast<uint32_t>(m_entries.size());
    m_entries.push_back({std::string(key), order, customer, kNone, true});
    const uint32_t hash = HashText(key);
    KeySlot& slot = m_keySlots[KeySlotOf(key, hash)];
    if (slot.nHead != kNone) {
        if (m_entries[slot.nTail].nOrder < order) {
            m_entries[slot.nTail].nNext = added;
            slot.nTail = added;
        } else {
            // Inserted again: the customer goes before the first entry that
            // comes after it in child order.
            uint32_t* link = &slot.nHead;
            while (*link != kNone && m_entries[*link].nOrder < order) {
                link = &m_entries[*link].nNext;
            }
            m_entries[added].nNext = *link;
            *link = added;
        }
    } else {
        slot = {hash, added, added};
        ++m_nKeys;
    }
    NodeSlot* node = FindNode(customer);
    if (!node->pNode) {
        node->pNode = customer;
        ++m_nNodes;
    }
    node->nEntry = added;
}

void CCustomerIndex::AddLast(CXmlNode* customer) {
    Insert(ContractOf(customer), m_nNextOrder++, customer);
}

void CCustomerIndex::Refresh(CXmlNode* customer) {
    const NodeSlot* current = FindNode(customer);
    if (!current || !current->pNode) {
        AddLast(customer);
        return;
    }
    Entry& entry = m_entries[current->nEntry];
    const std::string_view key = ContractOf(customer);
    if (key == entry.strKey) {
        return;
    }
    entry.bValid = false;
    Insert(key, entry.nOrder, customer);
}
