// Plan matching: one pair of customers is merged; incoming plans replace the
// loaded ones and carry the user's plan descriptions and data processor keys
// over by plan key from loaded plans that have not expired.
#include "document/QuillmarDoc.h"

#include "document/Date.h"
#include "document/MergeObserver.h"
#include "document/NodeLookup.h"
#include "document/Platform.h"
#include "document/RateVocabulary.h"

#include <unordered_map>
#include <vector>

namespace {

std::string IndexKey(const CXmlString& planKey) {
    return std::string(planKey.GetBuffer(), static_cast<size_t>(planKey.GetLength()));
}

} // namespace

const CPlanValues* CQuillmarDoc::FindRecord(const CXmlString& planKey, size_t* position) const {
    const auto found = m_planIndex.find(IndexKey(planKey));
    if (found == m_planIndex.end()) {
        return nullptr;
    }
    if (position) {
        *position = found->second;
    }
    return m_planValues[found->second].get();
}

void CQuillmarDoc::AddRecord(CXmlString planKey, CXmlString planDesc, CXmlString dpKey) {
    auto record = std::make_unique<CPlanValues>();
    record->m_strPlanKey = std::move(planKey);
    record->m_strPlanDesc = std::move(planDesc);
    record->m_strDpKey = std::move(dpKey);
    // The first record of a key is the one that counts.
    m_planIndex.emplace(IndexKey(record->m_strPlanKey), m_planValues.size());
    m_planValues.push_back(std::move(record));
}

void CQuillmarDoc::ClearPlanValues() {
    m_planIndex.clear();
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

const CXmlNode* CQuillmarDoc::FirstUnexpired(const std::vector<const CXmlNode*>& candidates,
                                             const CDate& today) {
    for (const CXmlNode* plan : candidates) {
        const CXmlString expiration = plan->GetChildText(rate::kExpirationDate, 0);
        if (!expiration.IsEmpty()) {
            CDate expires;
            expires.ParseText(expiration);
            // A plan expires on the day after its expiration date.
            if (!expires.IsOnOrAfter(today)) {
                continue;
            }
        }
        return plan;
    }
    return nullptr;
}

void CQuillmarDoc::NotifySearch(const std::vector<const CXmlNode*>& candidates,
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
    // A merge of a file throws the incoming tree away when it ends: on the
    // incoming customer's last pairing its plans can move over instead of
    // being copied, with the same result. An observer is told of every copy as it
    // is made, so it gets copies.
    const bool movePlans = lastPairing && m_bIncomingDisposable && !m_pMergeObserver;
    std::vector<CXmlNode*> moving;
    if (m_pMergeObserver) {
        m_pMergeObserver->OnCustomersPaired(loadedCustomer, incomingCustomer);
    }

    // Items: everything but the plans, as their names are written.
    const int32_t itemCount = incomingCustomer->GetChildCount();
    for (int32_t index = 0; index < itemCount; ++index) {
        const CXmlNode* item = incomingCustomer->GetChild(index);
        if (item && !item->NameRef().Equals(rate::kInsurancePlan)) {
            MergeCustomerItem(loadedCustomer, item);
        }
    }

    // The loaded plans by key, in child order. A plan with a key is searched
    // and removed only while no record holds that key, and every plan copied
    // in below has a record first: the copies never take part, and the
    // loaded plans stay as they are until the removals at the end.
    const std::vector<CXmlNode*> loadedPlans = ChildrenNamed(loadedCustomer, rate::kInsurancePlan);
    std::unordered_map<std::string, std::vector<const CXmlNode*>> plansByKey;
    for (const CXmlNode* plan : loadedPlans) {
        plansByKey[IndexKey(plan->GetChildText(rate::kPlanKey, 0))].push_back(plan);
    }
    const size_t recordsBefore = m_planValues.size();

    // Plans: each incoming plan replaces the loaded plans with its key and
    // takes over the values remembered or found for that key.
    for (CXmlNode* plan : ChildrenNamed(incomingCustomer, rate::kInsurancePlan)) {
        const CXmlString planKey = plan->GetChildText(rate::kPlanKey, 0);
        CXmlString planDesc;
        CXmlString dpKey;
        const CPlanValues* record = FindRecord(planKey);
        if (m_pMergeObserver) {
            m_pMergeObserver->OnIncomingPlan(plan, record != nullptr);
        }
        if (record) {
            planDesc = record->m_strPlanDesc;
            dpKey = record->m_strDpKey;
        } else {
            const auto candidates = plansByKey.find(IndexKey(planKey));
            if (candidates != plansByKey.end()) {
                const CXmlNode* found = FirstUnexpired(candidates->second, Today());
                if (found) {
                    planDesc = found->GetChildText(rate::kPlanDesc, 0);
                    dpKey = found->GetChildText(rate::kDpKey, 0);
                    ++m_nPlansMatched;
                }
                if (m_pMergeObserver) {
                    NotifySearch(candidates->second, found);
                }
            }
            AddRecord(planKey, planDesc, dpKey);
        }
        if (CXmlNode* descNode = plan->FindChild(rate::kPlanDesc, 0);
            descNode && !planDesc.IsEmpty()) {
            descNode->SetText(planDesc);
        }
        if (CXmlNode* dpKeyNode = plan->FindChild(rate::kDpKey, 0); dpKeyNode && !dpKey.IsEmpty()) {
            dpKeyNode->SetText(dpKey);
        }
        if (movePlans) {
            moving.push_back(plan);
        } else if (CXmlNode* copy = loadedCustomer->AddChild(rate::kInsurancePlan, "")) {
            copy->CopyFrom(plan);
            ++m_nPlansImported;
            if (m_pMergeObserver) {
                m_pMergeObserver->OnPlanImported(loadedCustomer, copy);
            }
        }
    }
    // Nothing but the copies is appended to the loaded customer above, so
    // the moved plans land where the copies would have been.
    m_nPlansImported +=
        loadedCustomer->MoveChildrenFrom(*incomingCustomer, moving, rate::kInsurancePlan);

    // A loaded plan stays only when its key was remembered before this pair's
    // plans were taken: the others were either replaced by an incoming plan
    // with their key or carried by none.
    std::vector<CXmlNode*> removed;
    for (CXmlNode* plan : loadedPlans) {
        size_t position = 0;
        if (!FindRecord(plan->GetChildText(rate::kPlanKey, 0), &position) ||
            position >= recordsBefore) {
            removed.push_back(plan);
        }
    }
    if (m_pMergeObserver) {
        for (const CXmlNode* plan : removed) {
            m_pMergeObserver->OnPlanRemoving(loadedCustomer, plan);
        }
    }
    loadedCustomer->RemoveChildren(removed);
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
    std::vector<const CXmlNode*> candidates;
    for (const CXmlNode* plan : ChildrenNamed(loadedCustomer, rate::kInsurancePlan)) {
        if (FirstChildTextEquals(plan, rate::kPlanKey, planKey)) {
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
    for (CXmlNode* plan : ChildrenNamed(loadedCustomer, rate::kInsurancePlan)) {
        if (FirstChildTextEquals(plan, rate::kPlanKey, planKey)) {
            removed.push_back(plan);
        }
    }
    return loadedCustomer->RemoveChildren(removed) > 0;
}
