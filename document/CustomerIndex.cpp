#include "document/CustomerIndex.h"

#include "document/NodeLookup.h"
#include "document/RateVocabulary.h"

#include <algorithm>

namespace {

std::string ContractOf(const CXmlNode* customer) {
    const CXmlNode* contract = customer->FindChild(rate::kContractNum, 0);
    if (!contract) {
        return {};
    }
    const CXmlString& text = contract->TextRef();
    return {text.GetBuffer(), static_cast<size_t>(text.GetLength())};
}

} // namespace

CCustomerIndex::CCustomerIndex(const CXmlNode* root) {
    for (CXmlNode* customer : ChildrenNamed(root, rate::kCustomer)) {
        AddLast(customer);
    }
}

std::vector<CXmlNode*> CCustomerIndex::Find(const CXmlString& contractNum) const {
    std::vector<CXmlNode*> customers;
    const auto found = m_byContract.find(
        std::string(contractNum.GetBuffer(), static_cast<size_t>(contractNum.GetLength())));
    if (found != m_byContract.end()) {
        for (const Entry& entry : found->second) {
            customers.push_back(entry.pNode);
        }
    }
    return customers;
}

void CCustomerIndex::Insert(const std::string& key, Entry entry) {
    std::vector<Entry>& list = m_byContract[key];
    const auto at =
        std::upper_bound(list.begin(), list.end(), entry.nOrder,
                         [](int64_t order, const Entry& e) { return order < e.nOrder; });
    list.insert(at, entry);
    m_filed[entry.pNode] = {entry.nOrder, key};
}

void CCustomerIndex::AddLast(CXmlNode* customer) {
    Insert(ContractOf(customer), {m_nNextOrder++, customer});
}

void CCustomerIndex::Refresh(CXmlNode* customer) {
    const auto filed = m_filed.find(customer);
    if (filed == m_filed.end()) {
        AddLast(customer);
        return;
    }
    std::string key = ContractOf(customer);
    if (key == filed->second.second) {
        return;
    }
    const int64_t order = filed->second.first;
    std::vector<Entry>& old = m_byContract[filed->second.second];
    old.erase(
        std::remove_if(old.begin(), old.end(), [&](const Entry& e) { return e.pNode == customer; }),
        old.end());
    Insert(key, {order, customer});
}
