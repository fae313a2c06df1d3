#include "cli/Commands.h"

#include "cli/ConsoleDocument.h"
#include "cli/ConsoleOutput.h"
#include "cli/ExitCode.h"
#include "document/NodeLookup.h"
#include "document/RateVocabulary.h"

#include <cstddef>

namespace {

std::string Counted(size_t count, const char* singular, const char* plural) {
    return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

} // namespace

int RunCheck(const CCommandLine& line) {
    const std::string& path = line.files.at(0);
    CConsoleDocument document({});
    if (!document.Open(path)) {
        return kExitBadFile;
    }
    const CXmlNode* root = document.Doc().m_pRootNode;
    const CXmlString name = root->GetName();
    if (!name.Equals(rate::kRateFile)) {
        PrintError(InputName(path), "not a rate file: its root element is <" +
                                        std::string(name.GetBuffer()) + ">, not <" +
                                        rate::kRateFile + ">.");
        return kExitBadFile;
    }
    size_t plans = 0;
    const std::vector<CXmlNode*> customers = ChildrenNamed(root, rate::kCustomer);
    for (const CXmlNode* customer : customers) {
        plans += ChildrenNamed(customer, rate::kInsurancePlan).size();
    }
    const std::string summary = std::string(name.GetBuffer()) + ": " +
                                Counted(customers.size(), "customer", "customers") + ", " +
                                Counted(plans, "plan", "plans") + "\n";
    if (!WriteStdout(summary)) {
        ReportStdoutFailure();
        return kExitWriteFailed;
    }
    return kExitOk;
}
