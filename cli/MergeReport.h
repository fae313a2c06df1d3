// CMergeReport: what a merge did to each plan, as a CSV file for the user to
// check the carried plan descriptions against the newly delivered plans.
//
// Set as the document's merge observer for one merge; afterwards, and before
// the result is saved (saving encodes texts in place), BuildCsv gives one row
// per plan of the result and one per plan the merge removed.
#pragma once

#include "document/MergeObserver.h"

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class CXmlNode;

// The outcomes a report row names.
namespace outcome {
inline constexpr const char* kCarriedOver = "carried over";
inline constexpr const char* kExpired = "not carried because expired";
inline constexpr const char* kNoMatch = "no match";
inline constexpr const char* kRemoved = "removed";
inline constexpr const char* kKept = "kept from an earlier pairing";
// A plan of a customer that the incoming file does not have.
inline constexpr const char* kUnchanged = "unchanged";
} // namespace outcome

class CMergeReport : public CMergeObserver {
public:
    // The user's two values of a plan, and its key.
    struct CPlanTexts {
        std::string strPlanKey;
        std::string strPlanDesc;
        std::string strDpKey;
    };

    struct CRow {
        std::string strContractNum;
        std::string strPlanKey;
        std::string strOutcome;
        CPlanTexts old;       // the loaded plan's values before the merge
        CPlanTexts now;       // the values in the result
        CPlanTexts delivered; // the incoming plan's own values
    };

    // The rows for the merged tree below root, customers in child order:
    // first the plans of the result in their order, then the plans removed
    // from that customer.
    std::vector<CRow> BuildRows(const CXmlNode* root) const;
    // Those rows as CSV text: a header row, then one line per row, CR LF
    // line ends.
    std::string BuildCsv(const CXmlNode* root) const;

    // A CSV field: quoted when it holds a comma, a quote or a line break, or
    // begins or ends with a blank; a field that a spreadsheet would take for
    // a formula (beginning with "=", "+", "-", "@", a tab or a carriage
    // return) is led by an apostrophe.
    static std::string CsvField(const std::string& text);

    void OnCustomersPaired(const CXmlNode* loadedCustomer,
                           const CXmlNode* incomingCustomer) override;
    void OnIncomingPlan(const CXmlNode* incomingPlan, bool remembered) override;
    void OnExpiredPlanSkipped(const CXmlNode* loadedPlan) override;
    void OnPlanValuesFound(const CXmlNode* loadedPlan) override;
    void OnPlanRemoving(const CXmlNode* loadedCustomer, const CXmlNode* plan) override;
    void OnPlanImported(const CXmlNode* loadedCustomer, const CXmlNode* copy) override;

private:
    // What happened to the values of one plan key.
    struct CKeyOutcome {
        std::string strOutcome;
        CPlanTexts old;
    };
    // The incoming plan being taken up.
    struct CCurrent {
        bool bActive = false;
        bool bRemembered = false;
        CPlanTexts delivered;
        bool bFound = false;
        CPlanTexts found;
        bool bExpired = false;
        CPlanTexts firstExpired;
    };
    struct CImport {
        std::string strOutcome;
        CPlanTexts old;
        CPlanTexts delivered;
    };

    static CPlanTexts TextsOf(const CXmlNode* plan);
    // Decides the current plan's outcome; the first plan of a key decides it
    // for all later plans with the key.
    CKeyOutcome Settle();

    CCurrent m_current;
    std::unordered_map<std::string, CKeyOutcome> m_byKey;
    std::unordered_set<const CXmlNode*> m_paired;
    // The copies in the result, by node.
    std::unordered_map<const CXmlNode*, CImport> m_imports;
    // The plans removed, by loaded customer, in the order removed.
    std::unordered_map<const CXmlNode*, std::vector<CPlanTexts>> m_removed;
};
