// Benchmark of the merge of two large rate files: the merge alone against the
// time pugixml takes to load one of the files, each measured in a process of
// its own and printed with its reference and their ratio.
//
//   merge_bench [--size-mb N] [--runs N]
#include "BenchSupport.h"

#include "cli/ConsolePlatform.h"
#include "document/MergeReport.h"
#include "document/QuillmarDoc.h"
#include "document/RateVocabulary.h"
#include "xml/XmlDocument.h"

#include <pugixml.hpp>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// withReport: the merge keeps its report, as the desktop application's
// merges do, with every row made.
int MeasureMerge(const std::string& base, const std::string& incoming, bool withReport) {
    CConsolePlatform platform;
    platform.FixDate(6, 15, 2025);
    CMergeReport report;
    CQuillmarDoc doc(platform);
    if (!doc.DoOpen(base) || !doc.m_pRootNode) {
        return 1;
    }
    CXmlDocument delivery;
    if (!delivery.Load(incoming.c_str())) {
        return 1;
    }
    if (withReport) {
        doc.SetMergeObserver(&report);
    }
    // The merge alone: what File, Merge does once the delivery is read.
    CStopwatch watch;
    doc.MergeIncoming(delivery);
    ReportValue("merge", watch.Seconds());
    doc.SetMergeObserver(nullptr);
    ReportValue("plans_imported", doc.GetPlansImported());
    ReportValue("plans_matched", doc.GetPlansMatched());
    ReportValue("report_rows", static_cast<double>(report.Rows().size()));
    ReportValue("peak_after_merge_mb", PeakMemoryMb());
    return 0;
}

// The reference of a whole merge: load both files and save one.
int MeasurePugixmlBoth(const std::string& base, const std::string& incoming,
                       const std::string& out) {
    pugi::xml_document first;
    pugi::xml_document second;
    if (!first.load_file(base.c_str()) || !second.load_file(incoming.c_str())) {
        return 1;
    }
    ReportValue("peak_both_mb", PeakMemoryMb());
    return first.save_file(out.c_str(), "    ") ? 0 : 1;
}

// The teardowns a merge and a close cause: every plan of the loaded file
// removed from its customer (more than any merge replaces), then the whole
// document closed, each against the engine's load of the file.
int MeasureTeardown(const std::string& base) {
    auto doc = std::make_unique<CXmlDocument>();
    {
        CStopwatch watch;
        if (!doc->Load(base.c_str())) {
            return 1;
        }
        ReportValue("load", watch.Seconds());
    }
    CXmlNode* root = doc->GetRoot();
    const CXmlKey customerKey(rate::kCustomer);
    const CXmlKey planKey(rate::kInsurancePlan);
    std::vector<std::pair<CXmlNode*, std::vector<CXmlNode*>>> plans;
    for (int32_t c = 0; c < root->GetChildCount(); ++c) {
        if (!root->ChildHasKey(c, customerKey)) {
            continue;
        }
        CXmlNode* customer = root->GetChild(c);
        std::vector<CXmlNode*>& ofCustomer =
            plans.emplace_back(customer, std::vector<CXmlNode*>()).second;
        for (int32_t p = 0; p < customer->GetChildCount(); ++p) {
            if (customer->ChildHasKey(p, planKey)) {
                ofCustomer.push_back(customer->GetChild(p));
            }
        }
    }
    double removed = 0;
    {
        CStopwatch watch;
        for (auto& [customer, ofCustomer] : plans) {
            removed += customer->RemoveChildren(ofCustomer);
        }
        ReportValue("remove_plans", watch.Seconds());
    }
    ReportValue("plans_removed", removed);
    CStopwatch watch;
    doc.reset();
    ReportValue("close", watch.Seconds());
    return 0;
}

int MeasurePugixmlLoad(const std::string& path) {
    pugi::xml_document doc;
    CStopwatch watch;
    if (!doc.load_file(path.c_str())) {
        return 1;
    }
    ReportValue("load", watch.Seconds());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--merge") == 0) {
        return MeasureMerge(argv[2], argv[3], false);
    }
    if (argc == 4 && std::strcmp(argv[1], "--merge-report") == 0) {
        return MeasureMerge(argv[2], argv[3], true);
    }
    if (argc == 3 && std::strcmp(argv[1], "--teardown") == 0) {
        return MeasureTeardown(argv[2]);
    }
    if (argc == 3 && std::strcmp(argv[1], "--pugixml-load") == 0) {
        return MeasurePugixmlLoad(argv[2]);
    }
    if (argc == 5 && std::strcmp(argv[1], "--pugixml-both") == 0) {
        return MeasurePugixmlBoth(argv[2], argv[3], argv[4]);
    }
    const CBenchOptions options = ParseBenchOptions(argc, argv);
    const std::string base = PrepareRateFile(options, "merge-bench", 0);
    const std::string incoming = PrepareRateFile(options, "merge-bench", 1);
    if (base.empty() || incoming.empty()) {
        return 1;
    }
    Figures merge = BestOf(options.nRuns, argv[0], {"--merge", base, incoming});
    Figures pugi = BestOf(options.nRuns, argv[0], {"--pugixml-load", base});
    std::printf("\nplans imported %.0f, matched %.0f\n", merge["plans_imported"],
                merge["plans_matched"]);
    bool met =
        CheckRatio("merge alone vs pugixml load of one file", merge["merge"], pugi["load"], 0.5);
    Figures teardown = BestOf(options.nRuns, argv[0], {"--teardown", base});
    std::printf("plans removed %.0f\n", teardown["plans_removed"]);
    met &= CheckRatio("removing every loaded plan vs own load", teardown["remove_plans"],
                      teardown["load"], 0.3);
    CheckRatio("removing every loaded plan vs pugixml load", teardown["remove_plans"], pugi["load"],
               0);
    met &= CheckRatio("closing the rest vs own load", teardown["close"], teardown["load"], 0.3);
    Figures reported = BestOf(options.nRuns, argv[0], {"--merge-report", base, incoming});
    std::printf("report rows %.0f\n", reported["report_rows"]);
    CheckRatio("merge with its report: time vs without", reported["merge"], merge["merge"], 0);
    met &= CheckRatio("merge with its report: peak memory vs without",
                      reported["peak_after_merge_mb"], merge["peak_after_merge_mb"], 1.25);
    const std::string out = base + ".merged.xml";
    Figures both = BestOf(options.nRuns, argv[0], {"--pugixml-both", base, incoming, out});
    Figures cli = BestOf(options.nRuns, QUILLMAR_CLI_PATH,
                         {"merge", base, incoming, "-o", out, "--today", "06/15/2025"});
    met &= CheckRatio("quillmar-cli merge vs pugixml load both, save one", cli["process_seconds"],
                      both["process_seconds"], 3.0);
    met &= CheckRatio("quillmar-cli merge peak memory vs pugixml both", cli["process_peak_mb"],
                      both["process_peak_mb"], 2.0);
    std::remove(out.c_str());
    if (!options.bKeepFiles) {
        std::remove(base.c_str());
        std::remove(incoming.c_str());
    }
    std::printf("\n%s\n", met ? "all targets met" : "TARGETS MISSED");
    return met ? 0 : 1;
}
