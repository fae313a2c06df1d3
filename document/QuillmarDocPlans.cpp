// Plan matching: one pair of customers is merged; incoming plans replace the
// loaded ones and carry the user's plan descriptions and data processor keys
// over by plan key from loaded plans that have not expired.
#include "document/QuillmarDoc.h"

#include "document/Date.h"
#include "document/MergeObserver.h"
#include "document/NodeLookup.h"
#include "document/Platform.h"
#include "document/RateVocabulary.h"

#include <algorithm>
#include <deque>
#include <string_view>
#include <vector>

namespace {

std::string_view View(const CXmlString& text) {
    return {text.GetBuffer(), static_cast<size_t>(text.GetLength())};
}

const CXmlString& TextOf(const CXmlNode* node) {
    static const CXmlString noText;
    return node ? node->TextRef() : noText;
}

CXmlString TakeTextOf(CXmlNode* node) {
    return node ? node->TakeText() : CXmlString();
}

// A loaded plan with the texts the merge reads of it, and its place among the
// customer's plans.
struct CLoadedPlan {
    std::string_view key;
    size_t nOrder;
    CXmlNode* pPlan;
    const CXmlString* pExpiration;
    CXmlNode* pPlanDesc;
    CXmlNode* pDpKey;
};

// An incoming plan with the nodes the merge reads and changes.
struct CIncomingPlan {
    CXmlNode* pPlan;
    const CXmlString* pPlanKey;
    CXmlNode* pPlanDesc;
    CXmlNode* pDpKey;
    uint32_t nKeyHash;
    size_t nRecord; // the place of its key's record when the pair began
    // An earlier plan of the pair may have the same key, and so may have
    // made its record since.
    bool bKeyRepeated;
};

// Whether a plan with this expiration date has expired by today; a plan
// without one never expires.
// todayNumber is today's DayNumber.
bool IsExpired(const CXmlString& expiration, const CDate& today, int32_t todayNumber) {
    if (expiration.IsEmpty()) {
        return false;
    }
    CDate expires;
    expires.ParseText(expiration.GetBuffer(), expiration.GetLength());
    // A plan expires on the day after its expiration date: IsOnOrAfter, with
    // today's day number counted once.
    return !(expires.DayNumber() > todayNumber || expires.IsSameDate(today));
}

// A working list of MergePlans, lent by a spare one that keeps its storage
// from one customer to the next: a merge of a large file would otherwise
// allocate its lists anew for every customer. A call made while the spare is
// lent (there is none in a merge) gets an empty one. Documents, like the
// node pool, are used from one thread.
template <class T> class CLentList {
public:
    explicit CLentList(std::vector<T>& spare) : m_spare(spare), m_list(std::move(spare)) {
        m_list.clear();
    }
    CLentList(const CLentList&) = delete;
    CLentList& operator=(const CLentList&) = delete;
    ~CLentList() {
        m_list.clear();
        m_spare = std::move(m_list);
    }
    std::vector<T>& operator*() { return m_list; }

private:
    std::vector<T>& m_spare;
    std::vector<T> m_list;
};

std::vector<CLoadedPlan> g_spareLoaded;
std::vector<CIncomingPlan> g_spareIncoming;
std::vector<CXmlNode*> g_spareMoving;
std::vector<CXmlNode*> g_spareRemoved;

// The keys of the items of incoming customers, prepared once for each name
// as written: the customers of a file have the same few items. The key
// handed out is valid until the next call.
class CItemKeys {
public:
    const CXmlKey& For(const CXmlString& name) {
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

private:
    struct CEntry {
        CXmlString name;
        CXmlKey key;
    };
    static constexpr size_t kMostNames = 16;
    std::deque<CEntry> m_entries;
};

CItemKeys g_itemKeys;

std::string_view KeyOf(const CLoadedPlan& plan) {
    return plan.key;
}

std::string_view KeyOf(std::string_view key) {
    return key;
}

} // namespace

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
        if (!IsExpired(plan->ChildTextRef(rate::Keys().expirationDate, 0), today,
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
    const rate::CKeys& keys = rate::Keys();
    // A merge of a file throws the incoming tree away when it ends: on the
    // incoming customer's last pairing its plans can move over instead of
    // being copied, with the same result.
    const bool movePlans = lastPairing && m_bIncomingDisposable;
    // The loaded plan whose values a record takes is removed when the pair
    // is done, and nothing reads it before: its texts can move into the
    // record instead of being copied. The incoming tree is then another
    // tree. An observer has read the plan's texts when it was told of it.
    const bool takeValues = m_bIncomingDisposable;
    CLentList<CXmlNode*> lentMoving(g_spareMoving);
    std::vector<CXmlNode*>& moving = *lentMoving;
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

    // What the plans below read of the plans of both customers is gathered
    // first, each plan's children walked once: a large file's plans lie far
    // apart in memory, and reads that do not wait for each other overlap.
    //
    // A plan with a key is searched and removed only while no record holds
    // that key, and every plan copied in below has a record first: the
    // copies never take part, and the loaded plans stay as they are until
    // the removals at the end. No plan gains or loses a child before then,
    // so the children found now are those a lookup would find later; texts
    // are read through references, as they are when used.
    CLentList<CLoadedPlan> lentLoaded(g_spareLoaded);
    std::vector<CLoadedPlan>& loadedPlans = *lentLoaded;
    ForEachChildNamed(loadedCustomer, keys.insurancePlan, [&](CXmlNode* plan) {
        const auto [key, expiration, desc, dpKey] = FirstChildren<4>(
            plan, {&keys.planKey, &keys.expirationDate, &keys.planDesc, &keys.dpKey});
        loadedPlans.push_back(
            {View(TextOf(key)), loadedPlans.size(), plan, &TextOf(expiration), desc, dpKey});
    });
    CLentList<CIncomingPlan> lentIncoming(g_spareIncoming);
    std::vector<CIncomingPlan>& incomingPlans = *lentIncoming;
    ForEachChildNamed(incomingCustomer, keys.insurancePlan, [&](CXmlNode* plan) {
        const auto [key, desc, dpKey] =
            FirstChildren<3>(plan, {&keys.planKey, &keys.planDesc, &keys.dpKey});
        incomingPlans.push_back({plan, &TextOf(key), desc, dpKey, 0, CPlanIndex::npos, true});
    });
    // The records of the incoming keys are looked up together: each lookup
    // reads some place of a large table, and reads that do not wait for each
    // other overlap. A record once made stays, so a key found now is found
    // in turn below; one not found may get its record from an earlier plan
    // of this pair and is looked up again then.
    for (CIncomingPlan& incoming : incomingPlans) {
        incoming.nKeyHash = CPlanIndex::Hash(View(*incoming.pPlanKey));
        incoming.nRecord = m_planIndex.Find(View(*incoming.pPlanKey), incoming.nKeyHash);
    }
    // A customer has a few plans: their hashes are compared with each other.
    constexpr size_t kFewPlans = 32;
    if (incomingPlans.size() <= kFewPlans) {
        for (size_t i = 0; i < incomingPlans.size(); ++i) {
            incomingPlans[i].bKeyRepeated = false;
            for (size_t j = 0; j < i; ++j) {
                if (incomingPlans[j].nKeyHash == incomingPlans[i].nKeyHash) {
                    incomingPlans[i].bKeyRepeated = true;
                    break;
                }
            }
        }
    }

    // The loaded plans of one key together, in child order, for the search;
    // removedAt keeps them in child order: a loaded plan is there once it is
    // known to go.
    CLentList<CXmlNode*> lentRemoved(g_spareRemoved);
    std::vector<CXmlNode*>& removedAt = *lentRemoved;
    removedAt.assign(loadedPlans.size(), nullptr);
    // Plans are mostly written in the order of their keys already.
    const auto byKey = [](const CLoadedPlan& a, const CLoadedPlan& b) {
        return a.key != b.key ? a.key < b.key : a.nOrder < b.nOrder;
    };
    if (!std::is_sorted(loadedPlans.begin(), loadedPlans.end(), byKey)) {
        std::sort(loadedPlans.begin(), loadedPlans.end(), byKey);
    }
    const size_t recordsBefore = m_planValues.size();
    // Read once for all searches when the merge has fixed the date.
    CDate today;
    int32_t todayNumber = 0;
    bool todayRead = false;

    // Plans: each incoming plan replaces the loaded plans with its key and
    // takes over the values remembered or found for that key.
    for (CIncomingPlan& incoming : incomingPlans) {
        CXmlNode* plan = incoming.pPlan;
        if (plan == loadedCustomer) {
            // Copies are appended to the loaded customer: when it is one of
            // the incoming plans itself, its children are found as they are
            // now.
            const auto [key, desc, dpKey] =
                FirstChildren<3>(plan, {&keys.planKey, &keys.planDesc, &keys.dpKey});
            incoming = {plan,
                        &TextOf(key),
                        desc,
                        dpKey,
                        CPlanIndex::Hash(View(TextOf(key))),
                        CPlanIndex::npos,
                        true};
        }
        const CXmlString& planKey = *incoming.pPlanKey;
        if (incoming.nRecord == CPlanIndex::npos && incoming.bKeyRepeated) {
            incoming.nRecord = m_planIndex.Find(View(planKey), incoming.nKeyHash);
        }
        const CPlanValues* record =
            incoming.nRecord != CPlanIndex::npos ? m_planValues[incoming.nRecord].get() : nullptr;
        if (m_pMergeObserver) {
            // A key without a record gets the next one below.
            m_pMergeObserver->OnIncomingPlan(plan, record != nullptr,
                                             record ? incoming.nRecord : m_planValues.size());
        }
        if (!record) {
            const auto [first, last] =
                std::equal_range(loadedPlans.begin(), loadedPlans.end(), View(planKey),
                                 [](const auto& a, const auto& b) { return KeyOf(a) < KeyOf(b); });
            const CLoadedPlan* found = nullptr;
            if (first != last) {
                if (!todayRead || !m_bMergeTodayKnown) {
                    today = Today();
                    todayNumber = today.DayNumber();
                    todayRead = true;
                }
                // The first candidate that has not expired, as FirstUnexpired
                // chooses it.
                for (auto candidate = first; candidate != last && !found; ++candidate) {
                    if (!IsExpired(*candidate->pExpiration, today, todayNumber)) {
                        found = &*candidate;
                    }
                }
                if (found) {
                    ++m_nPlansMatched;
                }
                if (m_pMergeObserver) {
                    // One list for every search of the merge.
                    static std::vector<const CXmlNode*> candidates;
                    candidates.clear();
                    for (auto candidate = first; candidate != last; ++candidate) {
                        candidates.push_back(candidate->pPlan);
                    }
                    NotifySearch(candidates, found ? found->pPlan : nullptr);
                }
                // The record made below is this pair's: these plans go.
                for (auto candidate = first; candidate != last; ++candidate) {
                    removedAt[candidate->nOrder] = candidate->pPlan;
                }
            }
            CXmlString planDesc;
            CXmlString dpKey;
            if (found && takeValues) {
                planDesc = TakeTextOf(found->pPlanDesc);
                dpKey = TakeTextOf(found->pDpKey);
            } else if (found) {
                planDesc = TextOf(found->pPlanDesc);
                dpKey = TextOf(found->pDpKey);
            }
            record = &AddRecord(planKey, std::move(planDesc), std::move(dpKey), incoming.nKeyHash);
        }
        if (incoming.pPlanDesc && !record->m_strPlanDesc.IsEmpty()) {
            incoming.pPlanDesc->AssignText(record->m_strPlanDesc);
        }
        if (incoming.pDpKey && !record->m_strDpKey.IsEmpty()) {
            incoming.pDpKey->AssignText(record->m_strDpKey);
        }
        if (movePlans) {
            moving.push_back(plan);
            if (m_pMergeObserver) {
                m_pMergeObserver->OnPlanImported(loadedCustomer, plan);
            }
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
    for (const CLoadedPlan& loaded : loadedPlans) {
        size_t position = 0;
        if (!removedAt[loaded.nOrder] &&
            (!FindRecord(loaded.key, &position) || position >= recordsBefore)) {
            removedAt[loaded.nOrder] = loaded.pPlan;
        }
    }
    std::vector<CXmlNode*>& removed = removedAt;
    std::erase(removed, nullptr);
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
    if (CXmlNode* existing = loadedCustomer->FindChild(g_itemKeys.For(item->NameRef()), 0)) {
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
