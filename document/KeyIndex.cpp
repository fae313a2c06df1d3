#include "document/KeyIndex.h"

#include "document/RateVocabulary.h"
#include "document/TextHash.h"

namespace {} // namespace

CKeyIndex::CKeyIndex(const CXmlNode* root) {
    if (!root) {
        return;
    }
    const rate::CKeys& keys = rate::Keys();
    const int32_t customerCount = root->GetChildCount();
    for (int32_t c = 0; c < customerCount; ++c) {
        CXmlNode* customer = root->GetChild(c);
        if (!customer->NameRef().Equals(rate::kCustomer)) {
            continue;
        }
        m_customers.Add(BytesOf(customer->ChildTextRef(keys.contractNum, 0)), customer);
        const int32_t childCount = customer->GetChildCount();
        for (int32_t p = 0; p < childCount; ++p) {
            CXmlNode* plan = customer->GetChild(p);
            if (plan->NameRef().Equals(rate::kInsurancePlan)) {
                m_plans.Add(BytesOf(plan->ChildTextRef(keys.planKey, 0)), plan);
            }
        }
    }
    m_customers.Build();
    m_plans.Build();
}

std::vector<CXmlNode*> CKeyIndex::Find(std::string_view key) const {
    std::vector<CXmlNode*> found;
    m_customers.Find(key, found);
    m_plans.Find(key, found);
    return found;
}

size_t CKeyIndex::CTable::SlotOf(std::string_view key, uint32_t hash) const {
    return ProbeSlots(hash, m_nBits, [&](size_t at) {
        const Slot& slot = m_slots[at];
        return slot.nHead == kNone || (slot.nHash == hash && m_entries[slot.nHead].key == key);
    });
}

void CKeyIndex::CTable::Build() {
    m_nBits = 1;
    while ((size_t{1} << m_nBits) < 2 * m_entries.size() + 2) {
        ++m_nBits;
    }
    m_slots.assign(size_t{1} << m_nBits, Slot{0, kNone, kNone});
    for (uint32_t index = 0; index < m_entries.size(); ++index) {
        const uint32_t hash = HashText(m_entries[index].key);
        Slot& slot = m_slots[SlotOf(m_entries[index].key, hash)];
        if (slot.nHead == kNone) {
            slot = Slot{hash, index, index};
        } else {
            m_entries[slot.nTail].nNext = index;
            slot.nTail = index;
        }
    }
}

void CKeyIndex::CTable::Find(std::string_view key, std::vector<CXmlNode*>& found) const {
    if (m_slots.empty()) {
        return;
    }
    const Slot& slot = m_slots[SlotOf(key, HashText(key))];
    for (uint32_t at = slot.nHead; at != kNone; at = m_entries[at].nNext) {
        found.push_back(m_entries[at].pNode);
    }
}
