#include "cli/MergeReport.h"

#include "document/NodeLookup.h"
#include "document/RateVocabulary.h"
#include "xml/XmlNode.h"

namespace {

std::string Text(const CXmlString& text) {
    return std::string(text.GetBuffer(), static_cast<size_t>(text.GetLength()));
}

constexpr const char* kHeaderRow = "CONTRACTNUM,PLANKEY,OUTCOME,OLD PLANDESC,NEW PLANDESC,"
                                   "OLD DPKEY,NEW DPKEY,DELIVERED PLANDESC,DELIVERED DPKEY";

} // namespace

CMergeReport::CPlanTexts CMergeReport::TextsOf(const CXmlNode* plan) {
    CPlanTexts texts;
    if (plan) {
        texts.strPlanKey = Text(plan->GetChildText(rate::kPlanKey, 0));
        texts.strPlanDesc = Text(plan->GetChildText(rate::kPlanDesc, 0));
        texts.strDpKey = Text(plan->GetChildText(rate::kDpKey, 0));
    }
    return texts;
}

void CMergeReport::OnCustomersPaired(const CXmlNode* loadedCustomer,
                                     const CXmlNode* /*incomingCustomer*/) {
    m_paired.insert(loadedCustomer);
}

void CMergeReport::OnIncomingPlan(const CXmlNode* incomingPlan, bool remembered) {
    m_current = CCurrent{};
    m_current.bActive = true;
    m_current.bRemembered = remembered;
    m_current.delivered = TextsOf(incomingPlan);
    if (!remembered) {
        // Settled now as "no match"; a search below may still change that
        // until the plan is imported.
        m_byKey.insert_or_assign(m_current.delivered.strPlanKey,
                                 CKeyOutcome{outcome::kNoMatch, {}});
    }
}

void CMergeReport::OnExpiredPlanSkipped(const CXmlNode* loadedPlan) {
    if (m_current.bActive && !m_current.bExpired) {
        m_current.bExpired = true;
        m_current.firstExpired = TextsOf(loadedPlan);
        Settle();
    }
}

void CMergeReport::OnPlanValuesFound(const CXmlNode* loadedPlan) {
    if (m_current.bActive) {
        m_current.bFound = true;
        m_current.found = TextsOf(loadedPlan);
        Settle();
    }
}

CMergeReport::CKeyOutcome CMergeReport::Settle() {
    const std::string& key = m_current.delivered.strPlanKey;
    if (m_current.bRemembered) {
        const auto known = m_byKey.find(key);
        return known == m_byKey.end() ? CKeyOutcome{outcome::kNoMatch, {}} : known->second;
    }
    CKeyOutcome decided{outcome::kNoMatch, {}};
    if (m_current.bFound) {
        decided = {outcome::kCarriedOver, m_current.found};
    } else if (m_current.bExpired) {
        decided = {outcome::kExpired, m_current.firstExpired};
    }
    m_byKey.insert_or_assign(key, decided);
    return decided;
}

void CMergeReport::OnPlanImported(const CXmlNode* /*loadedCustomer*/, const CXmlNode* copy) {
    if (!m_current.bActive) {
        return;
    }
    const CKeyOutcome decided = Settle();
    m_imports[copy] = CImport{decided.strOutcome, decided.old, m_current.delivered};
    m_current.bActive = false;
}

void CMergeReport::OnPlanRemoving(const CXmlNode* loadedCustomer, const CXmlNode* plan) {
    m_removed[loadedCustomer].push_back(TextsOf(plan));
    // The node goes now; its address may be taken by a later node.
    m_imports.erase(plan);
}

std::vector<CMergeReport::CRow> CMergeReport::BuildRows(const CXmlNode* root) const {
    std::vector<CRow> rows;
    for (const CXmlNode* customer : ChildrenNamed(root, rate::kCustomer)) {
        const std::string contractNum = Text(customer->GetChildText(rate::kContractNum, 0));
        const bool paired = m_paired.count(customer) > 0;
        for (const CXmlNode* plan : ChildrenNamed(customer, rate::kInsurancePlan)) {
            CRow row;
            row.strContractNum = contractNum;
            row.now = TextsOf(plan);
            row.strPlanKey = row.now.strPlanKey;
            if (const auto imported = m_imports.find(plan); imported != m_imports.end()) {
                row.strOutcome = imported->second.strOutcome;
                row.old = imported->second.old;
                row.delivered = imported->second.delivered;
            } else {
                row.strOutcome = paired ? outcome::kKept : outcome::kUnchanged;
                row.old = row.now;
            }
            rows.push_back(std::move(row));
        }
        if (const auto removed = m_removed.find(customer); removed != m_removed.end()) {
            for (const CPlanTexts& texts : removed->second) {
                CRow row;
                row.strContractNum = contractNum;
                row.strPlanKey = texts.strPlanKey;
                row.strOutcome = outcome::kRemoved;
                row.old = texts;
                rows.push_back(std::move(row));
            }
        }
    }
    return rows;
}

std::string CMergeReport::BuildCsv(const CXmlNode* root) const {
    std::string csv = kHeaderRow;
    csv += "\r\n";
    for (const CRow& row : BuildRows(root)) {
        const std::string* fields[] = {
            &row.strContractNum,     &row.strPlanKey,
            &row.strOutcome,         &row.old.strPlanDesc,
            &row.now.strPlanDesc,    &row.old.strDpKey,
            &row.now.strDpKey,       &row.delivered.strPlanDesc,
            &row.delivered.strDpKey,
        };
        bool first = true;
        for (const std::string* field : fields) {
            if (!first) {
                csv += ',';
            }
            first = false;
            csv += CsvField(*field);
        }
        csv += "\r\n";
    }
    return csv;
}

std::string CMergeReport::CsvField(const std::string& text) {
    std::string field = text;
    if (!field.empty() && (field[0] == '=' || field[0] == '+' || field[0] == '-' ||
                           field[0] == '@' || field[0] == '\t' || field[0] == '\r')) {
        field.insert(field.begin(), '\'');
    }
    const bool quote = field.find_first_of(",\"\r\n") != std::string::npos ||
                       (!field.empty() && (field.front() == ' ' || field.back() == ' '));
    if (!quote) {
        return field;
    }
    std::string quoted = "\"";
    for (char byte : field) {
        if (byte == '"') {
            quoted += '"';
        }
        quoted += byte;
    }
    quoted += '"';
    return quoted;
}
