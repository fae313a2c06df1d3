// CMergeReport: what a merge did to each plan, for the user to check the
// carried plan descriptions against the newly delivered plans. Both front
// ends show it: the desktop application in its report window, the
// command-line tool as a CSV file.
//
// Set as the document's merge observer; when a merge ends it holds one row
// per plan of the result and one per plan the merge removed. A row points to
// its customer and plan in the result, whose current texts are read from the
// tree when asked for; what the tree no longer holds (the values a plan had
// before the merge, the delivered plans' own values, the plans removed) is
// kept once, in one arena. A plan or customer that is destroyed later must be
// forgotten first (ForgetNode); the next merge starts a new report.
#pragma once

#include "document/MergeObserver.h"
#include "document/TextArena.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

class CXmlNode;

// What the merge did to one plan.
enum class MergeOutcome : uint8_t {
    kCarriedOver,
    kExpired,
    kNoMatch,
    kRemoved,
    kKept,
    // A plan of a customer that the incoming file does not have.
    kUnchanged,
};

// The outcome's words, as the report shows and writes them.
std::string_view OutcomeText(MergeOutcome outcome);
// Every outcome, in the order above.
std::span<const MergeOutcome> AllOutcomes();

// The report's columns, in their order.
enum class ReportColumn : uint8_t {
    kContractNum,
    kPlanKey,
    kOutcome,
    kOldPlanDesc,
    kNewPlanDesc,
    kOldDpKey,
    kNewDpKey,
    kDeliveredPlanDesc,
    kDeliveredDpKey,
};
inline constexpr int kReportColumnCount = 9;
// The column's heading, as the CSV file's header row names it.
std::string_view ColumnHeading(ReportColumn column);

struct CMergeReportRow {
    static constexpr uint32_t kNoTexts = UINT32_MAX;

    // The customer in the result.
    const CXmlNode* pCustomer = nullptr;
    // The plan in the result; null for a plan the merge removed.
    const CXmlNode* pPlan = nullptr;
    // The plan's values before the merge, and the delivered plan's own
    // values: kept texts, or kNoTexts for none.
    uint32_t nOld = kNoTexts;
    uint32_t nDelivered = kNoTexts;
    MergeOutcome outcome = MergeOutcome::kUnchanged;
    // Its plan or customer has been destroyed since.
    bool bGone = false;
};

class CMergeReport : public CMergeObserver {
public:
    // Whether a merge has ended since the report was made or cleared.
    bool HasRun() const { return m_bHasRun; }
    // Changes whenever the rows are made afresh or cleared.
    uint64_t GetGeneration() const { return m_nGeneration; }
    // The rows of the last merge, customers in child order: first the plans
    // of the result in their order, then the plans removed from that
    // customer. Rows whose nodes went since are marked gone, not taken out.
    const std::vector<CMergeReportRow>& Rows() const { return m_rows; }
    // The bytes of one field of row; the result's texts as they are now.
    std::string_view Field(const CMergeReportRow& row, ReportColumn column) const;

    // Marks gone the rows of node, a plan or customer of the result about to
    // be destroyed. Returns how many rows it had.
    size_t ForgetNode(const CXmlNode* node);
    // Forgets the report, as before any merge.
    void Clear();

    // The rows as CSV text: a header row, then one line per row that is not
    // gone, CR LF line ends.
    std::string BuildCsv() const;
    // A CSV field: quoted when it holds a comma, a quote or a line break, or
    // begins or ends with a blank; a field that a spreadsheet would take for
    // a formula (beginning with "=", "+", "-", "@", a tab or a carriage
    // return) is led by an apostrophe.
    static std::string CsvField(std::string_view text);

    void OnMergeBegun() override;
    void OnCustomersPaired(const CXmlNode* loadedCustomer,
                           const CXmlNode* incomingCustomer) override;
    void OnIncomingPlan(const CXmlNode* incomingPlan, bool remembered, size_t keyNumber) override;
    void OnExpiredPlanSkipped(const CXmlNode* loadedPlan) override;
    void OnPlanValuesFound(const CXmlNode* loadedPlan) override;
    void OnPlanRemoving(const CXmlNode* loadedCustomer, const CXmlNode* plan) override;
    void OnPlanImported(const CXmlNode* loadedCustomer, const CXmlNode* imported) override;
    void OnMergeEnded(const CXmlNode* mergedRoot) override;

private:
    // The user's two values of a plan, and its key, as kept.
    struct CPlanTexts {
        std::string_view planKey;
        std::string_view planDesc;
        std::string_view dpKey;
    };
    // What happened to the values of one plan key.
    struct CKeyOutcome {
        MergeOutcome outcome = MergeOutcome::kNoMatch;
        uint32_t nOld = CMergeReportRow::kNoTexts;
    };
    // The incoming plan being taken up, and the outcome of its key.
    struct CCurrent {
        bool bActive = false;
        bool bRemembered = false;
        uint32_t nDelivered = CMergeReportRow::kNoTexts;
        size_t nKey = 0;
        bool bFound = false;
        uint32_t nFound = CMergeReportRow::kNoTexts;
        bool bExpired = false;
        uint32_t nFirstExpired = CMergeReportRow::kNoTexts;
    };
    // A plan taken into the result.
    struct CImport {
        const CXmlNode* pPlan;
        uint32_t nOld;
        uint32_t nDelivered;
        uint32_t nEvent;
        MergeOutcome outcome;
    };
    // A plan removed from a loaded customer.
    struct CRemoval {
        const CXmlNode* pCustomer;
        const CXmlNode* pPlan;
        uint32_t nTexts;
        uint32_t nEvent;
    };

    // Keeps the texts of plan as they are now.
    uint32_t KeepTexts(const CXmlNode* plan);
    // The texts of a loaded plan of the pair that a search met.
    uint32_t KeepCandidateTexts(const CXmlNode* plan);
    // The texts of a loaded plan being removed: those kept when a search
    // met it, else as they are now.
    uint32_t RemovedPlanTexts(const CXmlNode* plan);
    const CPlanTexts& Kept(uint32_t index) const;
    // Decides the current plan's outcome; the first plan of a key decides it
    // for all later plans with the key.
    CKeyOutcome Settle();
    void ForgetMergeState();

    // A removed plan and the event that removed it.
    using CPlanEvent = std::pair<const CXmlNode*, uint32_t>;
    // Orders the imports and removals for the lookups below, and lists the
    // removed plans by plan and event in removedPlans.
    void SortForLookup(std::vector<CPlanEvent>& removedPlans);
    // The last import of plan, unless it was removed after it; null when
    // the plan was not taken in.
    const CImport* LastImportOf(const CXmlNode* plan,
                                const std::vector<CPlanEvent>& removedPlans) const;
    // The rows of customer of the result: its plans, then its removed plans.
    void AddRowsOf(const CXmlNode* customer, const std::vector<CPlanEvent>& removedPlans);

    CTextArena m_arena;
    std::vector<CPlanTexts> m_kept;
    std::vector<CMergeReportRow> m_rows;
    bool m_bHasRun = false;
    uint64_t m_nGeneration = 0;

    // While a merge runs.
    CCurrent m_current;
    // By the key's number.
    std::vector<CKeyOutcome> m_keyOutcomes;
    std::unordered_set<const CXmlNode*> m_paired;
    // The loaded plans of the pair whose texts are kept: a plan whose values
    // were found may lose its texts to the merge before it is removed.
    // A loaded plan is a candidate of one search at most, and the removals
    // of a pair follow its searches: the list is sorted once they begin.
    std::vector<std::pair<const CXmlNode*, uint32_t>> m_pairTexts;
    bool m_bPairTextsSorted = false;
    // The plans taken into the result and the plans removed, each numbered
    // in the order of the two. A copy that a later pairing removes leaves its
    // address to later nodes: an import counts only when its plan was not
    // removed after it.
    uint32_t m_nEvents = 0;
    std::vector<CImport> m_imports;
    std::vector<CRemoval> m_removed;
};
