#include "document/MergeReport.h"

#include "document/NodeLookup.h"
#include "document/RateVocabulary.h"
#include "xml/XmlNode.h"

#include <array>

namespace {

std::string_view View(const CXmlString& text) {
    return std::string_view(text.GetBuffer(), static_cast<size_t>(text.GetLength()));
}

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
        texts.planKey = m_arena.Add(View(plan->ChildTextRef(keys.planKey, 0)));
        texts.planDesc = m_arena.Add(View(plan->ChildTextRef(keys.planDesc, 0)));
        texts.dpKey = m_arena.Add(View(plan->ChildTextRef(keys.dpKey, 0)));
    }
    m_kept.push_back(texts);
    return static_cast<uint32_t>(m_kept.size() - 1);
}

uint32_t CMergeReport::KeepLoadedTexts(const CXmlNode* plan) {
    const auto [place, added] = m_pairTexts.try_emplace(plan, CMergeReportRow::kNoTexts);
    if (added) {
        place->second = KeepTexts(plan);
    }
    return place->second;
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
}

void CMergeReport::ForgetMergeState() {
    m_current = CCurrent{};
    m_byKey = {};
    m_paired = {};
    m_pairTexts = {};
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
}

void CMergeReport::OnIncomingPlan(const CXmlNode* incomingPlan, bool remembered) {
    m_current = CCurrent{};
    m_current.bActive = true;
    m_current.bRemembered = remembered;
    m_current.nDelivered = KeepTexts(incomingPlan);
    if (!remembered) {
        // Settled now as "no match"; a search below may still change that
        // until the plan is imported.
        m_byKey.insert_or_assign(Kept(m_current.nDelivered).planKey, CKeyOutcome{});
    }
}

void CMergeReport::OnExpiredPlanSkipped(const CXmlNode* loadedPlan) {
    if (m_current.bActive && !m_current.bExpired) {
        m_current.bExpired = true;
        m_current.nFirstExpired = KeepLoadedTexts(loadedPlan);
        Settle();
    }
}

void CMergeReport::OnPlanValuesFound(const CXmlNode* loadedPlan) {
    if (m_current.bActive) {
        m_current.bFound = true;
        m_current.nFound = KeepLoadedTexts(loadedPlan);
        Settle();
    }
}

CMergeReport::CKeyOutcome CMergeReport::Settle() {
    const std::string_view key = Kept(m_current.nDelivered).planKey;
    if (m_current.bRemembered) {
        const auto known = m_byKey.find(key);
        return known == m_byKey.end() ? CKeyOutcome{} : known->second;
    }
    CKeyOutcome decided;
    if (m_current.bFound) {
        decided = {MergeOutcome::kCarriedOver, m_current.nFound};
    } else if (m_current.bExpired) {
        decided = {MergeOutcome::kExpired, m_current.nFirstExpired};
    }
    m_byKey.insert_or_assign(key, decided);
    return decided;
}

void CMergeReport::OnPlanImported(const CXmlNode* /*loadedCustomer*/, const CXmlNode* imported) {
    if (!m_current.bActive) {
        return;
    }
    const CKeyOutcome decided = Settle();
    m_imports[imported] = CImport{decided.outcome, decided.nOld, m_current.nDelivered};
    m_current.bActive = false;
}

void CMergeReport::OnPlanRemoving(const CXmlNode* loadedCustomer, const CXmlNode* plan) {
    m_removed[loadedCustomer].push_back(KeepLoadedTexts(plan));
    // The node goes now; its address may be taken by a later node.
    m_imports.erase(plan);
    m_pairTexts.erase(plan);
}

void CMergeReport::OnMergeEnded(const CXmlNode* mergedRoot) {
    m_rows.clear();
    const rate::CKeys& keys = rate::Keys();
    ForEachChildNamed(mergedRoot, keys.customer, [&](const CXmlNode* customer) {
        const bool paired = m_paired.count(customer) > 0;
        ForEachChildNamed(customer, keys.insurancePlan, [&](const CXmlNode* plan) {
            CMergeReportRow row;
            row.pCustomer = customer;
            row.pPlan = plan;
            if (const auto imported = m_imports.find(plan); imported != m_imports.end()) {
                row.outcome = imported->second.outcome;
                row.nOld = imported->second.nOld;
                row.nDelivered = imported->second.nDelivered;
            } else {
                // Its values before the merge are those it has now; an edit
                // may change them later.
                row.outcome = paired ? MergeOutcome::kKept : MergeOutcome::kUnchanged;
                row.nOld = KeepTexts(plan);
            }
            m_rows.push_back(row);
        });
        if (const auto removed = m_removed.find(customer); removed != m_removed.end()) {
            for (const uint32_t texts : removed->second) {
                CMergeReportRow row;
                row.pCustomer = customer;
                row.outcome = MergeOutcome::kRemoved;
                row.nOld = texts;
                m_rows.push_back(row);
            }
        }
    });
    m_rows.shrink_to_fit();
    ForgetMergeState();
    m_bHasRun = true;
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
        return row.pPlan ? View(row.pPlan->ChildTextRef(key, 0)) : std::string_view();
    };
    switch (column) {
    case ReportColumn::kContractNum:
        return row.pCustomer ? View(row.pCustomer->ChildTextRef(keys.contractNum, 0))
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
