// Plan matching: one pair of customers is merged; incoming plans replace the
// loaded ones and carry the user's plan descriptions and data processor keys
// over by plan key from loaded plans that have not expired. The steps of a
// pair are CPlanMerge's; the document keeps the records they make.
#include "document/QuillmarDoc.h"

#include "document/Date.h"
#include "document/MergeObserver.h"
#include "document/NodeLookup.h"
#include "document/PlanMerge.h"
#include "document/Platform.h"
#include "document/RateVocabulary.h"

#include <vector>

const CPlanValues* CQuillmarDoc::FindRecord(std::string_view planKey, size_t* position) const {
    const size_t found = m_planIndex.Find(planKey);
    if (found == CPlanIndex::npos) {
        return nullptr;
    }
    if (position) {
        *position = found;
    }
    return m_planValues[found].get();
}

const CPlanValues& CQuillmarDoc::AddRecord(const CXmlString& planKey, CXmlString planDesc,
                                           CXmlString dpKey, uint32_t keyHash) {
    auto record = std::make_unique<CPlanValues>();
    record->m_strPlanKey = planKey;
    record->m_strPlanDesc = std::move(planDesc);
    record->m_strDpKey = std::move(dpKey);
    m_planValues.push_back(std::move(record));
    const CPlanValues& added = *m_planValues.back();
    // The first record of a key is the one that counts.
    m_planIndex.Insert(m_planValues.size() - 1, keyHash);
    return added;
}

void CQuillmarDoc::ClearPlanValues() {
    m_planIndex.Clear();
    m_planValues.clear();
}

CDate CQuillmarDoc::Today() {
    if (m_bMergeTodayKnown) {
        return m_mergeToday;
    }
    CDate today;
    std::tm now{};
    if (m_platform.ReadLocalTime(now)) {
        today.SetFromLocalTime(now);
    }
    return today;
}

const CXmlNode* CQuillmarDoc::FirstUnexpired(std::span<const CXmlNode* const> candidates,
                                             const CDate& today) {
    for (const CXmlNode* plan : candidates) {
        if (!IsPlanExpired(plan->ChildTextRef(rate::Keys().expirationDate, 0), today,
                           today.DayNumber())) {
            return plan;
        }
    }
    return nullptr;
}

void CQuillmarDoc::NotifySearch(std::span<const CXmlNode* const> candidates,
                                const CXmlNode* found) const {
    // The candidates before the one found, or all when none was, were passed
    // over as expired.
    for (const CXmlNode* plan : candidates) {
        if (plan == found) {
            m_pMergeObserver->OnPlanValuesFound(plan);
            return;
        }
        m_pMergeObserver->OnExpiredPlanSkipped(plan);
    }
}

void CQuillmarDoc::MergePlans(CXmlNode* loadedCustomer, CXmlNode* incomingCustomer) {
    MergePlans(loadedCustomer, incomingCustomer, false);
}

void CQuillmarDoc::MergePlans(CXmlNode* loadedCustomer, CXmlNode* incomingCustomer,
                              bool lastPairing) {
    if (!loadedCustomer || !incomingCustomer) {
        return;
    }
    if (m_pMergeObserver) {
        m_pMergeObserver->OnCustomersPaired(loadedCustomer, incomingCustomer);
    }
    CPlanMerge pair(*this, m_planMergeLists, *loadedCustomer, *incomingCustomer, lastPairing);
    pair.MergeItems();
    pair.GatherLoadedPlans();
    pair.GatherIncomingPlans();
    pair.LookUpRecords();
    pair.TakeDeliveredPlans();
    pair.RemoveReplacedPlans();
}

void CQuillmarDoc::MergeCustomerItem(CXmlNode* loadedCustomer, const CXmlNode* item) {
    if (!loadedCustomer || !item) {
        return;
    }
    if (CXmlNode* existing =
            loadedCustomer->FindChild(m_planMergeLists.itemKeys.For(item->NameRef()), 0)) {
        existing->AssignText(item->TextRef());
    } else {
        loadedCustomer->AddChild(item->GetName(), item->GetText());
    }
}

bool CQuillmarDoc::FindPlanValues(const CXmlNode* loadedCustomer, CXmlString planKey,
                                  CXmlString& planDesc, CXmlString& dpKey) {
    if (!loadedCustomer) {
        return false;
    }
    std::vector<const CXmlNode*> candidates;
    const rate::CKeys& keys = rate::Keys();
    for (const CXmlNode* plan : ChildrenNamed(loadedCustomer, keys.insurancePlan)) {
        if (FirstChildTextEquals(plan, keys.planKey, planKey)) {
            candidates.push_back(plan);
        }
    }
    const CXmlNode* found = candidates.empty() ? nullptr : FirstUnexpired(candidates, Today());
    if (!found) {
        return false;
    }
    planDesc = found->GetChildText(rate::kPlanDesc, 0);
    dpKey = found->GetChildText(rate::kDpKey, 0);
    return true;
}

bool CQuillmarDoc::RemovePlans(CXmlNode* loadedCustomer, CXmlString planKey) {
    if (!loadedCustomer) {
        return false;
    }
    // Removing a plan does not change the others, so one walk over the plans
    // finds every plan with the key, and one pass removes them all.
    std::vector<CXmlNode*> removed;
    const rate::CKeys& keys = rate::Keys();
    for (CXmlNode* plan : ChildrenNamed(loadedCustomer, keys.insurancePlan)) {
        if (FirstChildTextEquals(plan, keys.planKey, planKey)) {
            removed.push_back(plan);
        }
    }
    return loadedCustomer->RemoveChildren(removed) > 0;
}
