#include "document/MergeReport.h"

#include "document/NodeLookup.h"
#include "document/RateVocabulary.h"
#include "xml/XmlNode.h"

#include <algorithm>
#include <array>
#include <functional>
#include <utility>

namespace {

constexpr std::array kOutcomes{
    MergeOutcome::kCarriedOver, MergeOutcome::kExpired, MergeOutcome::kNoMatch,
    MergeOutcome::kRemoved,     MergeOutcome::kKept,    MergeOutcome::kUnchanged,
};

constexpr std::array<std::string_view, kReportColumnCount> kHeadings{
    "CONTRACTNUM",     "PLANKEY",   "OUTCOME",   "OLD PLANDESC",
    "NEW PLANDESC",    "OLD DPKEY", "NEW DPKEY", "DELIVERED PLANDESC",
    "DELIVERED DPKEY",
};

} // namespace

std::string_view OutcomeText(MergeOutcome outcome) {
    switch (outcome) {
    case MergeOutcome::kCarriedOver:
        return "carried over";
    case MergeOutcome::kExpired:
        return "not carried because expired";
    case MergeOutcome::kNoMatch:
        return "no match";
    case MergeOutcome::kRemoved:
        return "removed";
    case MergeOutcome::kKept:
        return "kept from an earlier pairing";
    case MergeOutcome::kUnchanged:
        return "unchanged";
    }
    return {};
}

std::span<const MergeOutcome> AllOutcomes() {
    return kOutcomes;
}

std::string_view ColumnHeading(ReportColumn column) {
    return kHeadings.at(static_cast<size_t>(column));
}

uint32_t CMergeReport::KeepTexts(const CXmlNode* plan) {
    CPlanTexts texts;
    if (plan) {
        const rate::CKeys& keys = rate::Keys();
        texts.planKey = m_arena.Add(BytesOf(plan->ChildTextRef(keys.planKey, 0)));
        texts.planDesc = m_arena.Add(BytesOf(plan->ChildTextRef(keys.planDesc, 0)));
        texts.dpKey = m_arena.Add(BytesOf(plan->ChildTextRef(keys.dpKey, 0)));
    }
    m_kept.push_back(texts);
    return static_cast<uint32_t>(m_kept.size() - 1);
}

uint32_t CMergeReport::KeepCandidateTexts(const CXmlNode* plan) {
    const uint32_t texts = KeepTexts(plan);
    m_pairTexts.emplace_back(plan, texts);
    m_bPairTextsSorted = false;
    return texts;
}

uint32_t CMergeReport::RemovedPlanTexts(const CXmlNode* plan) {
    const std::less<const CXmlNode*> before;
    if (!m_bPairTextsSorted) {
        std::sort(m_pairTexts.begin(), m_pairTexts.end(),
                  [&](const auto& a, const auto& b) { return before(a.first, b.first); });
        m_bPairTextsSorted = true;
    }
    const auto met = std::lower_bound(
        m_pairTexts.begin(), m_pairTexts.end(), plan,
        [&](const auto& entry, const CXmlNode* key) { return before(entry.first, key); });
    return met != m_pairTexts.end() && met->first == plan ? met->second : KeepTexts(plan);
}

const CMergeReport::CPlanTexts& CMergeReport::Kept(uint32_t index) const {
    static const CPlanTexts kNone;
    return index < m_kept.size() ? m_kept[index] : kNone;
}

void CMergeReport::Clear() {
    ForgetMergeState();
    m_rows = {};
    m_kept = {};
    m_arena.Clear();
    m_bHasRun = false;
    ++m_nGeneration;
}

void CMergeReport::ForgetMergeState() {
    m_current = CCurrent{};
    m_keyOutcomes = {};
    m_paired = {};
    m_pairTexts = {};
    m_nEvents = 0;
    m_imports = {};
    m_removed = {};
}

void CMergeReport::OnMergeBegun() {
    Clear();
}

void CMergeReport::OnCustomersPaired(const CXmlNode* loadedCustomer,
                                     const CXmlNode* /*incomingCustomer*/) {
    m_paired.insert(loadedCustomer);
    // The plans of the pair before are gone or stay as they are.
    m_pairTexts.clear();
    m_bPairTextsSorted = false;
}

void CMergeReport::OnIncomingPlan(const CXmlNode* incomingPlan, bool remembered, size_t keyNumber) {
    m_current = CCurrent{};
    m_current.bActive = true;
    m_current.bRemembered = remembered;
    m_current.nDelivered = KeepTexts(incomingPlan);
    m_current.nKey = keyNumber;
    if (keyNumber >= m_keyOutcomes.size()) {
        m_keyOutcomes.resize(keyNumber + 1);
    }
    if (!remembered) {
        // Settled now as "no match"; a search below may still change that
        // until the plan is imported.
        m_keyOutcomes[keyNumber] = CKeyOutcome{};
    }
}

void CMergeReport::OnExpiredPlanSkipped(const CXmlNode* loadedPlan) {
    if (m_current.bActive && !m_current.bExpired) {
        m_current.bExpired = true;
        m_current.nFirstExpired = KeepCandidateTexts(loadedPlan);
        Settle();
    }
}

void CMergeReport::OnPlanValuesFound(const CXmlNode* loadedPlan) {
    if (m_current.bActive) {
        m_current.bFound = true;
        m_current.nFound = KeepCandidateTexts(loadedPlan);
        Settle();
    }
}

CMergeReport::CKeyOutcome CMergeReport::Settle() {
    CKeyOutcome& known = m_keyOutcomes[m_current.nKey];
    if (m_current.bRemembered) {
        return known;
    }
    CKeyOutcome decided;
    if (m_current.bFound) {
        decided = {MergeOutcome::kCarriedOver, m_current.nFound};
    } else if (m_current.bExpired) {
        decided = {MergeOutcome::kExpired, m_current.nFirstExpired};
    }
    known = decided;
    return decided;
}

void CMergeReport::OnPlanImported(const CXmlNode* /*loadedCustomer*/, const CXmlNode* imported) {
    if (!m_current.bActive) {
        return;
    }
    const CKeyOutcome decided = Settle();
    m_imports.push_back(
        {imported, decided.nOld, m_current.nDelivered, m_nEvents++, decided.outcome});
    m_current.bActive = false;
}

void CMergeReport::OnPlanRemoving(const CXmlNode* loadedCustomer, const CXmlNode* plan) {
    m_removed.push_back({loadedCustomer, plan, RemovedPlanTexts(plan), m_nEvents++});
}

void CMergeReport::SortForLookup(std::vector<CPlanEvent>& removedPlans) {
    // Looked up by node below: the imports and the removed plans by plan,
    // the removals by customer, each in the order they happened.
    const std::less<const CXmlNode*> before;
    std::stable_sort(m_imports.begin(), m_imports.end(),
                     [&](const CImport& a, const CImport& b) { return before(a.pPlan, b.pPlan); });
    removedPlans.reserve(m_removed.size());
    for (const CRemoval& removal : m_removed) {
        removedPlans.emplace_back(removal.pPlan, removal.nEvent);
    }
    std::sort(removedPlans.begin(), removedPlans.end(), [&](const auto& a, const auto& b) {
        return a.first != b.first ? before(a.first, b.first) : a.second < b.second;
    });
    std::stable_sort(m_removed.begin(), m_removed.end(), [&](const CRemoval& a, const CRemoval& b) {
        return before(a.pCustomer, b.pCustomer);
    });
}

const CMergeReport::CImport*
CMergeReport::LastImportOf(const CXmlNode* plan,
                           const std::vector<CPlanEvent>& removedPlans) const {
    const std::less<const CXmlNode*> before;
    const auto next = std::upper_bound(
        m_imports.begin(), m_imports.end(), plan,
        [&](const CXmlNode* key, const CImport& entry) { return before(key, entry.pPlan); });
    if (next == m_imports.begin() || std::prev(next)->pPlan != plan) {
        return nullptr;
    }
    const CImport& last = *std::prev(next);
    // A plan taken in and removed again later is not in the result.
    const auto removal = std::upper_bound(
        removedPlans.begin(), removedPlans.end(), plan,
        [&](const CXmlNode* key, const auto& entry) { return before(key, entry.first); });
    const bool removedSince = removal != removedPlans.begin() &&
                              std::prev(removal)->first == plan &&
                              std::prev(removal)->second > last.nEvent;
    return removedSince ? nullptr : &last;
}

void CMergeReport::AddRowsOf(const CXmlNode* customer,
                             const std::vector<CPlanEvent>& removedPlans) {
    const bool paired = m_paired.count(customer) > 0;
    ForEachChildNamed(customer, rate::Keys().insurancePlan, [&](const CXmlNode* plan) {
        CMergeReportRow row;
        row.pCustomer = customer;
        row.pPlan = plan;
        if (const CImport* imported = LastImportOf(plan, removedPlans)) {
            row.outcome = imported->outcome;
            row.nOld = imported->nOld;
            row.nDelivered = imported->nDelivered;
        } else {
            // Its values before the merge are those it has now; an edit
            // may change them later.
            row.outcome = paired ? MergeOutcome::kKept : MergeOutcome::kUnchanged;
            row.nOld = KeepTexts(plan);
        }
        m_rows.push_back(row);
    });
    auto removed = std::lower_bound(m_removed.begin(), m_removed.end(), customer,
                                    [](const CRemoval& entry, const CXmlNode* key) {
                                        return std::less<const CXmlNode*>()(entry.pCustomer, key);
                                    });
    for (; removed != m_removed.end() && removed->pCustomer == customer; ++removed) {
        CMergeReportRow row;
        row.pCustomer = customer;
        row.outcome = MergeOutcome::kRemoved;
        row.nOld = removed->nTexts;
        m_rows.push_back(row);
    }
}

void CMergeReport::OnMergeEnded(const CXmlNode* mergedRoot) {
    std::vector<CPlanEvent> removedPlans;
    SortForLookup(removedPlans);
    m_rows.clear();
    ForEachChildNamed(mergedRoot, rate::Keys().customer,
                      [&](const CXmlNode* customer) { AddRowsOf(customer, removedPlans); });
    m_rows.shrink_to_fit();
    ForgetMergeState();
    m_bHasRun = true;
    ++m_nGeneration;
}

size_t CMergeReport::ForgetNode(const CXmlNode* node) {
    size_t forgotten = 0;
    if (!node) {
        return 0;
    }
    for (CMergeReportRow& row : m_rows) {
        if (!row.bGone && (row.pPlan == node || row.pCustomer == node)) {
            row.bGone = true;
            row.pPlan = nullptr;
            row.pCustomer = nullptr;
            ++forgotten;
        }
    }
    return forgotten;
}

std::string_view CMergeReport::Field(const CMergeReportRow& row, ReportColumn column) const {
    if (row.bGone) {
        return {};
    }
    const rate::CKeys& keys = rate::Keys();
    const auto live = [&](const CXmlKey& key) {
        return row.pPlan ? BytesOf(row.pPlan->ChildTextRef(key, 0)) : std::string_view();
    };
    switch (column) {
    case ReportColumn::kContractNum:
        return row.pCustomer ? BytesOf(row.pCustomer->ChildTextRef(keys.contractNum, 0))
                             : std::string_view();
    case ReportColumn::kPlanKey:
        return row.pPlan ? live(keys.planKey) : Kept(row.nOld).planKey;
    case ReportColumn::kOutcome:
        return OutcomeText(row.outcome);
    case ReportColumn::kOldPlanDesc:
        return Kept(row.nOld).planDesc;
    case ReportColumn::kNewPlanDesc:
        return live(keys.planDesc);
    case ReportColumn::kOldDpKey:
        return Kept(row.nOld).dpKey;
    case ReportColumn::kNewDpKey:
        return live(keys.dpKey);
    case ReportColumn::kDeliveredPlanDesc:
        return Kept(row.nDelivered).planDesc;
    case ReportColumn::kDeliveredDpKey:
        return Kept(row.nDelivered).dpKey;
    }
    return {};
}
