#include "document/KeyIndex.h"

#include "document/RateVocabulary.h"

#include <algorithm>

namespace {

std::string_view Bytes(const CXmlString& text) {
    return std::string_view(text.GetBuffer(), static_cast<size_t>(text.GetLength()));
}

} // namespace

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
        m_customers.push_back({Bytes(customer->ChildTextRef(keys.contractNum, 0)), customer});
        const int32_t childCount = customer->GetChildCount();
        for (int32_t p = 0; p < childCount; ++p) {
            CXmlNode* plan = customer->GetChild(p);
            if (plan->NameRef().Equals(rate::kInsurancePlan)) {
                m_plans.push_back({Bytes(plan->ChildTextRef(keys.planKey, 0)), plan});
            }
        }
    }
    Sort(m_customers);
    Sort(m_plans);
}

void CKeyIndex::Sort(std::vector<Entry>& entries) {
    // Filed in document order: a stable sort keeps it within a key.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.key < b.key; });
}

void CKeyIndex::Collect(const std::vector<Entry>& entries, std::string_view key,
                        std::vector<CXmlNode*>& found) {
    auto it = std::lower_bound(entries.begin(), entries.end(), key,
                               [](const Entry& entry, std::string_view k) { return entry.key < k; });
    for (; it != entries.end() && it->key == key; ++it) {
        found.push_back(it->pNode);
    }
}

std::vector<CXmlNode*> CKeyIndex::Find(std::string_view key) const {
    std::vector<CXmlNode*> found;
    Collect(m_customers, key, found);
    Collect(m_plans, key, found);
    return found;
}
