#include "support/ReferenceMerge.h"

#include <string>
#include <vector>

namespace {

struct Record {
    CXmlString key;
    CXmlString desc;
    CXmlString dpKey;
};

class CReferenceMerge {
public:
    CReferenceMerge(CXmlNode* root, const CDate& today) : m_pRoot(root), m_today(today) {}

    void Run(CXmlNode* incoming) {
        const int32_t headers = incoming->GetChildCount("HEADER");
        for (int32_t h = 0; h < headers; ++h) {
            const CXmlNode* header = incoming->FindChild("HEADER", h);
            const int32_t items = header->GetChildCount("");
            for (int32_t i = 0; i < items; ++i) {
                MergeHeaderItem(header->GetChild(i));
            }
        }
        const int32_t customers = incoming->GetChildCount("CUSTOMER");
        for (int32_t i = 0; i < customers; ++i) {
            if (CXmlNode* customer = incoming->FindChild("CUSTOMER", i)) {
                MergeCustomer(customer);
            }
        }
    }

    ReferenceMergeResult m_result;

private:
    void MergeHeaderItem(const CXmlNode* item) {
        CXmlNode* header = m_pRoot->FindChild("HEADER", 0);
        if (!header) {
            header = m_pRoot->AddChild("HEADER", "");
        }
        if (CXmlNode* existing = header->FindChild(item->GetName(), 0)) {
            existing->SetText(item->GetText());
        } else {
            header->AddChild(item->GetName(), item->GetText());
        }
    }

    void MergeCustomer(CXmlNode* incoming) {
        const CXmlString contract = incoming->GetChildText("CONTRACTNUM", 0);
        const int32_t count = m_pRoot->GetChildCount("CUSTOMER");
        bool paired = false;
        for (int32_t i = 0; i < count; ++i) {
            CXmlNode* loaded = m_pRoot->FindChild("CUSTOMER", i);
            if (loaded && loaded->GetChildText("CONTRACTNUM", 0).Equals(contract)) {
                MergePlans(loaded, incoming);
                paired = true;
            }
        }
        if (!paired) {
            CXmlNode* created = m_pRoot->AddChild("CUSTOMER", "");
            if (created && created->AddChild("CONTRACTNUM", contract)) {
                MergeCustomer(incoming);
            }
        }
    }

    void MergeCustomerItem(CXmlNode* loaded, const CXmlNode* item) {
        if (CXmlNode* existing = loaded->FindChild(item->GetName(), 0)) {
            existing->SetText(item->GetText());
        } else {
            loaded->AddChild(item->GetName(), item->GetText());
        }
    }

    const Record* FindRecord(const CXmlString& key) const {
        for (const Record& record : m_records) {
            if (record.key.Equals(key)) {
                return &record;
            }
        }
        return nullptr;
    }

    bool FindPlanValues(CXmlNode* loaded, const CXmlString& key, CXmlString& desc,
                        CXmlString& dpKey) {
        const int32_t count = loaded->GetChildCount("INSURANCEPLAN");
        for (int32_t i = 0; i < count; ++i) {
            const CXmlNode* plan = loaded->FindChild("INSURANCEPLAN", i);
            if (!plan || !key.Equals(plan->GetChildText("PLANKEY", 0))) {
                continue;
            }
            const CXmlString expiration = plan->GetChildText("EXPIRATIONDATE", 0);
            if (!expiration.IsEmpty()) {
                CDate expires;
                expires.ParseText(expiration);
                if (!expires.IsOnOrAfter(m_today)) {
                    continue;
                }
            }
            desc = plan->GetChildText("PLANDESC", 0);
            dpKey = plan->GetChildText("DPKEY", 0);
            return true;
        }
        return false;
    }

    void RemovePlans(CXmlNode* loaded, const CXmlString& key) {
        int32_t i = 0;
        while (i < loaded->GetChildCount("INSURANCEPLAN")) {
            CXmlNode* plan = loaded->FindChild("INSURANCEPLAN", i);
            if (key.Equals(plan->GetChildText("PLANKEY", 0))) {
                loaded->RemoveChild(plan);
                i = 0;
            } else {
                ++i;
            }
        }
    }

    void MergePlans(CXmlNode* loaded, CXmlNode* incoming) {
        const int32_t items = incoming->GetChildCount("");
        for (int32_t i = 0; i < items; ++i) {
            const CXmlNode* item = incoming->GetChild(i);
            if (!item->GetName().Equals("INSURANCEPLAN")) {
                MergeCustomerItem(loaded, item);
            }
        }
        const int32_t plans = incoming->GetChildCount("INSURANCEPLAN");
        for (int32_t i = 0; i < plans; ++i) {
            CXmlNode* plan = incoming->FindChild("INSURANCEPLAN", i);
            if (!plan) {
                continue;
            }
            const CXmlString key = plan->GetChildText("PLANKEY", 0);
            CXmlString desc;
            CXmlString dpKey;
            if (const Record* record = FindRecord(key)) {
                desc = record->desc;
                dpKey = record->dpKey;
            } else {
                if (FindPlanValues(loaded, key, desc, dpKey)) {
                    ++m_result.nMatched;
                }
                m_records.push_back({key, desc, dpKey});
                RemovePlans(loaded, key);
            }
            if (CXmlNode* node = plan->FindChild("PLANDESC", 0); node && !desc.IsEmpty()) {
                node->SetText(desc);
            }
            if (CXmlNode* node = plan->FindChild("DPKEY", 0); node && !dpKey.IsEmpty()) {
                node->SetText(dpKey);
            }
            if (CXmlNode* copy = loaded->AddChild("INSURANCEPLAN", "")) {
                copy->CopyFrom(plan);
                ++m_result.nImported;
            }
        }
        int32_t i = 0;
        while (i < loaded->GetChildCount("INSURANCEPLAN")) {
            CXmlNode* plan = loaded->FindChild("INSURANCEPLAN", i);
            if (FindRecord(plan->GetChildText("PLANKEY", 0))) {
                ++i;
            } else {
                loaded->RemoveChild(plan);
                i = 0;
            }
        }
    }

    CXmlNode* m_pRoot;
    CDate m_today;
    std::vector<Record> m_records;
};

} // namespace

ReferenceMergeResult ReferenceMerge(CXmlNode* loadedRoot, CXmlNode* incomingRoot,
                                    const CDate& today) {
    CReferenceMerge merge(loadedRoot, today);
    merge.Run(incomingRoot);
    return merge.m_result;
}
