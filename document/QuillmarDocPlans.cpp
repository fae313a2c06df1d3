// Plan matching: one pair of customers is merged; incoming plans replace the
// loaded ones and carry the user's plan descriptions and data processor keys
// over by plan key from loaded plans that have not expired.
#include "document/QuillmarDoc.h"

#include "document/Date.h"
#include "document/NodeLookup.h"
#include "document/Platform.h"
#include "document/RateVocabulary.h"

namespace {

std::string IndexKey(const CXmlString& planKey) {
    return std::string(planKey.GetBuffer(), static_cast<size_t>(planKey.GetLength()));
}

} // namespace

const CPlanValues* CQuillmarDoc::FindRecord(const CXmlString& planKey) const {
    const auto found = m_planIndex.find(IndexKey(planKey));
    return found == m_planIndex.end() ? nullptr : found->second;
}

void CQuillmarDoc::AddRecord(CXmlString planKey, CXmlString planDesc, CXmlString dpKey) {
    auto record = std::make_unique<CPlanValues>();
    record->m_strPlanKey = std::move(planKey);
    record->m_strPlanDesc = std::move(planDesc);
    record->m_strDpKey = std::move(dpKey);
    // The first record of a key is the one that counts.
    m_planIndex.emplace(IndexKey(record->m_strPlanKey), record.get());
    m_planValues.push_back(std::move(record));
}

void CQuillmarDoc::ClearPlanValues() {
    m_planIndex.clear();
    m_planValues.clear();
}

void CQuillmarDoc::MergePlans(CXmlNode* loadedCustomer, CXmlNode* incomingCustomer) {
    if (!loadedCustomer || !incomingCustomer) {
        return;
    }

    // Items: everything but the plans, as their names are written.
    const int32_t itemCount = incomingCustomer->GetChildCount();
    for (int32_t index = 0; index < itemCount; ++index) {
        const CXmlNode* item = incomingCustomer->GetChild(index);
        if (item && !item->NameRef().Equals(rate::kInsurancePlan)) {
            MergeCustomerItem(loadedCustomer, item);
        }
    }

    // Plans: each incoming plan replaces the loaded plans with its key and
    // takes over the values remembered or found for that key.
    // Only texts inside the incoming plans change here, so the plans can be
    // looked up before the walk.
    for (CXmlNode* plan : ChildrenNamed(incomingCustomer, rate::kInsurancePlan)) {
        const CXmlString planKey = plan->GetChildText(rate::kPlanKey, 0);
        CXmlString planDesc;
        CXmlString dpKey;
        if (const CPlanValues* record = FindRecord(planKey)) {
            planDesc = record->m_strPlanDesc;
            dpKey = record->m_strDpKey;
        } else {
            if (FindPlanValues(loadedCustomer, planKey, planDesc, dpKey)) {
                ++m_nPlansMatched;
            }
            AddRecord(planKey, planDesc, dpKey);
            RemovePlans(loadedCustomer, planKey);
        }
        if (CXmlNode* descNode = plan->FindChild(rate::kPlanDesc, 0);
            descNode && !planDesc.IsEmpty()) {
            descNode->SetText(planDesc);
        }
        if (CXmlNode* dpKeyNode = plan->FindChild(rate::kDpKey, 0); dpKeyNode && !dpKey.IsEmpty()) {
            dpKeyNode->SetText(dpKey);
        }
        if (CXmlNode* copy = loadedCustomer->AddChild(rate::kInsurancePlan, "")) {
            copy->CopyFrom(plan);
            ++m_nPlansImported;
        }
    }

    // Purge: a loaded plan stays only when some incoming plan of this merge
    // carried its key. Removing one plan changes neither the others nor the
    // records, so one walk over the plans decides them all.
    for (CXmlNode* plan : ChildrenNamed(loadedCustomer, rate::kInsurancePlan)) {
        if (!FindRecord(plan->GetChildText(rate::kPlanKey, 0))) {
            loadedCustomer->RemoveChild(plan);
        }
    }
}

void CQuillmarDoc::MergeCustomerItem(CXmlNode* loadedCustomer, const CXmlNode* item) {
    if (!loadedCustomer || !item) {
        return;
    }
    if (CXmlNode* existing = loadedCustomer->FindChild(item->GetName(), 0)) {
        existing->SetText(item->GetText());
    } else {
        loadedCustomer->AddChild(item->GetName(), item->GetText());
    }
}

bool CQuillmarDoc::FindPlanValues(const CXmlNode* loadedCustomer, CXmlString planKey,
                                  CXmlString& planDesc, CXmlString& dpKey) {
    if (!loadedCustomer) {
        return false;
    }
    for (const CXmlNode* plan : ChildrenNamed(loadedCustomer, rate::kInsurancePlan)) {
        if (!FirstChildTextEquals(plan, rate::kPlanKey, planKey)) {
            continue;
        }
        const CXmlString expiration = plan->GetChildText(rate::kExpirationDate, 0);
        CDate today;
        std::tm now{};
        if (m_platform.ReadLocalTime(now)) {
            today.SetFromLocalTime(now);
        }
        if (!expiration.IsEmpty()) {
            CDate expires;
            expires.ParseText(expiration);
            // A plan expires on the day after its expiration date.
            if (!expires.IsOnOrAfter(today)) {
                continue;
            }
        }
        planDesc = plan->GetChildText(rate::kPlanDesc, 0);
        dpKey = plan->GetChildText(rate::kDpKey, 0);
        return true;
    }
    return false;
}

bool CQuillmarDoc::RemovePlans(CXmlNode* loadedCustomer, CXmlString planKey) {
    if (!loadedCustomer) {
        return false;
    }
    // Removing a plan does not change the others, so one walk over the plans
    // finds every plan with the key.
    bool removed = false;
    for (CXmlNode* plan : ChildrenNamed(loadedCustomer, rate::kInsurancePlan)) {
        if (FirstChildTextEquals(plan, rate::kPlanKey, planKey)) {
            removed = loadedCustomer->RemoveChild(plan) || removed;
        }
    }
    return removed;
}
