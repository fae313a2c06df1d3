#include "document/PlanMerge.h"

#include "document/MergeObserver.h"
#include "document/NodeLookup.h"
#include "document/PlanIndex.h"
#include "document/QuillmarDoc.h"
#include "document/RateVocabulary.h"

#include <algorithm>

namespace {

const CXmlString& TextOf(const CXmlNode* node) {
    static const CXmlString noText;
    return node ? node->TextRef() : noText;
}

CXmlString MoveTextOut(CXmlNode* node) {
    return node ? node->ExtractText() : CXmlString();
}

} // namespace

bool IsPlanExpired(const CXmlString& expiration, const CDate& today, int32_t todayNumber) {
    if (expiration.IsEmpty()) {
        return false;
    }
    CDate expires;
    expires.ParseText(expiration.GetBuffer(), expiration.GetLength());
    // IsOnOrAfter, with today's day number counted once.
    return !(expires.DayNumber() > todayNumber || expires.IsSameDate(today));
}

const CXmlKey& CItemKeys::For(const CXmlString& name) {
    for (const CEntry& entry : m_entries) {
        if (entry.name.Equals(name)) {
            return entry.key;
        }
    }
    if (m_entries.size() == kMostNames) {
        m_entries.pop_back();
    }
    m_entries.push_front({name, CXmlKey(name)});
    return m_entries.front().key;
}

CPlanMerge::CPlanMerge(CQuillmarDoc& doc, CPlanMergeLists& lists, CXmlNode& loadedCustomer,
                       CXmlNode& incomingCustomer, bool lastPairing)
    : m_doc(doc), m_lists(lists), m_loadedCustomer(loadedCustomer),
      m_incomingCustomer(incomingCustomer), m_pObserver(doc.m_pMergeObserver),
      m_bMovePlans(lastPairing && doc.m_bIncomingDisposable),
      m_bTakeValues(doc.m_bIncomingDisposable), m_nRecordsBefore(doc.m_planValues.size()) {
    m_lists.ClearPlans();
}

CPlanMerge::~CPlanMerge() {
    m_lists.ClearPlans();
}

void CPlanMergeLists::ClearPlans() {
    // The lists keep their storage for the next pair.
    loaded.clear();
    incoming.clear();
    moving.clear();
    removed.clear();
    searched.clear();
}

void CPlanMerge::MergeItems() {
    const int32_t itemCount = m_incomingCustomer.GetChildCount();
    for (int32_t index = 0; index < itemCount; ++index) {
        const CXmlNode* item = m_incomingCustomer.GetChild(index);
        if (item && !item->NameRef().Equals(rate::kInsurancePlan)) {
            m_doc.MergeCustomerItem(&m_loadedCustomer, item);
        }
    }
}

// What the later steps read of the plans of both customers is gathered
// first, each plan's children walked once: a large file's plans lie far apart
// in memory, and reads that do not wait for each other overlap.
//
// A plan with a key is searched and removed only while no record holds that
// key, and every plan copied in has a record first: the copies never take
// part, and the loaded plans stay as they are until RemoveReplacedPlans. No
// plan gains or loses a child before then, so the children found now are
// those a lookup would find later; texts are read through references, as they
// are when used.
void CPlanMerge::GatherLoadedPlans() {
    const rate::CKeys& keys = rate::Keys();
    std::vector<CLoadedPlan>& loaded = m_lists.loaded;
    ForEachChildNamed(&m_loadedCustomer, keys.insurancePlan, [&](CXmlNode* plan) {
        const auto [key, expiration, desc, dpKey] = FirstChildren<4>(
            plan, {&keys.planKey, &keys.expirationDate, &keys.planDesc, &keys.dpKey});
        loaded.push_back(
            {BytesOf(TextOf(key)), loaded.size(), plan, &TextOf(expiration), desc, dpKey});
    });
    m_lists.removed.assign(loaded.size(), nullptr);
    // The plans of one key together, in child order, for the search. Plans
    // are mostly written in the order of their keys already.
    const auto byKey = [](const CLoadedPlan& a, const CLoadedPlan& b) {
        return a.key != b.key ? a.key < b.key : a.nOrder < b.nOrder;
    };
    if (!std::is_sorted(loaded.begin(), loaded.end(), byKey)) {
        std::sort(loaded.begin(), loaded.end(), byKey);
    }
}

CPlanMerge::CIncomingPlan CPlanMerge::ReadIncomingPlan(CXmlNode* plan) {
    const rate::CKeys& keys = rate::Keys();
    const auto [key, desc, dpKey] =
        FirstChildren<3>(plan, {&keys.planKey, &keys.planDesc, &keys.dpKey});
    return {plan, &TextOf(key), desc, dpKey, 0, CPlanIndex::npos, true};
}

void CPlanMerge::GatherIncomingPlans() {
    ForEachChildNamed(&m_incomingCustomer, rate::Keys().insurancePlan,
                      [&](CXmlNode* plan) { m_lists.incoming.push_back(ReadIncomingPlan(plan)); });
}

// Each lookup reads some place of a large table, and lookups that do not wait
// for each other overlap. A record once made stays, so a key found now is
// found in turn later; one not found may get its record from an earlier plan
// of this pair and is looked up again then.
void CPlanMerge::LookUpRecords() {
    for (CIncomingPlan& incoming : m_lists.incoming) {
        incoming.nKeyHash = CPlanIndex::Hash(BytesOf(*incoming.pPlanKey));
        incoming.nRecord = m_doc.m_planIndex.Find(BytesOf(*incoming.pPlanKey), incoming.nKeyHash);
    }
    MarkRepeatedKeys();
}

// A customer has a few plans: their hashes are compared with each other, and
// a plan whose hash no earlier plan has need not be looked up again. With
// more plans every one counts as repeated.
void CPlanMerge::MarkRepeatedKeys() {
    constexpr size_t kFewPlans = 32;
    std::vector<CIncomingPlan>& incoming = m_lists.incoming;
    if (incoming.size() > kFewPlans) {
        return;
    }
    for (size_t i = 0; i < incoming.size(); ++i) {
        incoming[i].bKeyRepeated = false;
        for (size_t j = 0; j < i; ++j) {
            if (incoming[j].nKeyHash == incoming[i].nKeyHash) {
                incoming[i].bKeyRepeated = true;
                break;
            }
        }
    }
}

void CPlanMerge::TakeDeliveredPlans() {
    for (CIncomingPlan& incoming : m_lists.incoming) {
        const CPlanValues& record = ResolveCarriedRecord(incoming);
        CarryValues(incoming, record);
        TakeDeliveredPlan(incoming.pPlan);
    }
    MoveDeliveredPlans();
}

const CPlanValues& CPlanMerge::ResolveCarriedRecord(CIncomingPlan& incoming) {
    if (incoming.pPlan == &m_loadedCustomer) {
        // Copies are appended to the loaded customer: when it is one of the
        // incoming plans itself, its children are found as they are now.
        incoming = ReadIncomingPlan(incoming.pPlan);
        incoming.nKeyHash = CPlanIndex::Hash(BytesOf(*incoming.pPlanKey));
    }
    if (incoming.nRecord == CPlanIndex::npos && incoming.bKeyRepeated) {
        incoming.nRecord = m_doc.m_planIndex.Find(BytesOf(*incoming.pPlanKey), incoming.nKeyHash);
    }
    const CPlanValues* record =
        incoming.nRecord != CPlanIndex::npos ? m_doc.m_planValues[incoming.nRecord].get() : nullptr;
    if (m_pObserver) {
        // A key without a record gets the next one.
        m_pObserver->OnIncomingPlan(incoming.pPlan, record != nullptr,
                                    record ? incoming.nRecord : m_doc.m_planValues.size());
    }
    return record ? *record : RecordFromLoadedPlans(incoming);
}

// The key met for the first time in the merge: the values come from the first
// loaded plan with the key that has not expired, and every loaded plan with
// the key is replaced.
const CPlanValues& CPlanMerge::RecordFromLoadedPlans(const CIncomingPlan& incoming) {
    const LoadedRange candidates = LoadedPlansWithKey(BytesOf(*incoming.pPlanKey));
    const CLoadedPlan* found = nullptr;
    if (!candidates.empty()) {
        found = FirstUnexpired(candidates);
        if (found) {
            ++m_doc.m_nPlansMatched;
        }
        NotifySearch(candidates, found);
        // The record made below is this pair's: these plans go.
        for (const CLoadedPlan& candidate : candidates) {
            m_lists.removed[candidate.nOrder] = candidate.pPlan;
        }
    }
    CXmlString planDesc;
    CXmlString dpKey;
    if (found && m_bTakeValues) {
        planDesc = MoveTextOut(found->pPlanDesc);
        dpKey = MoveTextOut(found->pDpKey);
    } else if (found) {
        planDesc = TextOf(found->pPlanDesc);
        dpKey = TextOf(found->pDpKey);
    }
    return m_doc.AddRecord(*incoming.pPlanKey, std::move(planDesc), std::move(dpKey),
                           incoming.nKeyHash);
}

CPlanMerge::LoadedRange CPlanMerge::LoadedPlansWithKey(std::string_view key) const {
    struct CByKey {
        bool operator()(const CLoadedPlan& plan, std::string_view wanted) const {
            return plan.key < wanted;
        }
        bool operator()(std::string_view wanted, const CLoadedPlan& plan) const {
            return wanted < plan.key;
        }
    };
    const std::vector<CLoadedPlan>& loaded = m_lists.loaded;
    const auto [first, last] = std::equal_range(loaded.begin(), loaded.end(), key, CByKey{});
    return {first, last};
}

// The first candidate that has not expired, as CQuillmarDoc::FirstUnexpired
// chooses it.
const CPlanMergeLists::CLoadedPlan* CPlanMerge::FirstUnexpired(LoadedRange candidates) {
    if (!m_bTodayRead || !m_doc.m_bMergeTodayKnown) {
        m_today = m_doc.Today();
        m_nTodayNumber = m_today.DayNumber();
        m_bTodayRead = true;
    }
    for (const CLoadedPlan& candidate : candidates) {
        if (!IsPlanExpired(*candidate.pExpiration, m_today, m_nTodayNumber)) {
            return &candidate;
        }
    }
    return nullptr;
}

void CPlanMerge::NotifySearch(LoadedRange candidates, const CLoadedPlan* found) const {
    if (!m_pObserver) {
        return;
    }
    std::vector<const CXmlNode*>& plans = m_lists.searched;
    plans.clear();
    for (const CLoadedPlan& candidate : candidates) {
        plans.push_back(candidate.pPlan);
    }
    m_doc.NotifySearch(plans, found ? found->pPlan : nullptr);
}

void CPlanMerge::CarryValues(const CIncomingPlan& incoming, const CPlanValues& record) {
    if (incoming.pPlanDesc && !record.m_strPlanDesc.IsEmpty()) {
        incoming.pPlanDesc->AssignText(record.m_strPlanDesc);
    }
    if (incoming.pDpKey && !record.m_strDpKey.IsEmpty()) {
        incoming.pDpKey->AssignText(record.m_strDpKey);
    }
}

// A copy appended to the loaded customer, or the plan itself moved there once
// all are taken.
void CPlanMerge::TakeDeliveredPlan(CXmlNode* plan) {
    if (m_bMovePlans) {
        m_lists.moving.push_back(plan);
        if (m_pObserver) {
            m_pObserver->OnPlanImported(&m_loadedCustomer, plan);
        }
        return;
    }
    if (CXmlNode* copy = m_loadedCustomer.AddChild(rate::kInsurancePlan, "")) {
        copy->CopyFrom(plan);
        ++m_doc.m_nPlansImported;
        if (m_pObserver) {
            m_pObserver->OnPlanImported(&m_loadedCustomer, copy);
        }
    }
}

// Nothing but the copies is appended to the loaded customer before, so the
// moved plans land where the copies would have been.
void CPlanMerge::MoveDeliveredPlans() {
    m_doc.m_nPlansImported +=
        m_loadedCustomer.MoveChildrenFrom(m_incomingCustomer, m_lists.moving, rate::kInsurancePlan);
}

// A loaded plan stays only when its key's record was made before this pair:
// the others were either replaced by an incoming plan with their key or
// carried by none.
void CPlanMerge::RemoveReplacedPlans() {
    std::vector<CXmlNode*>& removed = m_lists.removed;
    for (const CLoadedPlan& loaded : m_lists.loaded) {
        size_t position = 0;
        if (!removed[loaded.nOrder] &&
            (!m_doc.FindRecord(loaded.key, &position) || position >= m_nRecordsBefore)) {
            removed[loaded.nOrder] = loaded.pPlan;
        }
    }
    std::erase(removed, nullptr);
    if (m_pObserver) {
        for (const CXmlNode* plan : removed) {
            m_pObserver->OnPlanRemoving(&m_loadedCustomer, plan);
        }
    }
    m_loadedCustomer.RemoveChildren(removed);
}
