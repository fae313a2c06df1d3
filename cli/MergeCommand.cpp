#include "cli/Commands.h"

#include "cli/ConsoleDocument.h"
#include "cli/ConsoleOutput.h"
#include "cli/ExitCode.h"
#include "document/CmdUI.h"
#include "document/MergeReport.h"
#include "resources/Resource.h"
#include "resources/StringTable.h"

namespace {

// Whether File, Merge is offered: the command's own enabling rule.
class CEnabledState : public CCmdUI {
public:
    bool m_bEnabled = false;
    void Enable(bool on) override { m_bEnabled = on; }
    void SetCheck(int /*check*/) override {}
};

bool IsSummary(const std::string& text, const CQuillmarDoc& doc) {
    return text == CStringTable::Get(IDS_MERGE_NO_MATCH) ||
           text == CStringTable::Format(IDS_MERGE_SUMMARY, {std::to_string(doc.GetPlansImported()),
                                                            std::to_string(doc.GetPlansMatched())});
}

} // namespace

int RunMerge(const CCommandLine& line) {
    const std::string& basePath = line.files.at(0);
    const std::string& incomingPath = line.files.at(1);
    const std::string& outPath = *line.output;
    const std::string baseName = InputName(basePath);
    const std::string incomingName = InputName(incomingPath);
    // With the merged file or the report on standard output the summary
    // goes with the messages, so that the output holds the file alone.
    const bool toStdout = IsStandardStream(outPath);
    const bool summaryToStderr = toStdout || (line.report && IsStandardStream(*line.report));

    // Declared before the document that refers to it, so that it outlives it.
    CMergeReport report;
    CConsoleDocument base({line.bCompressed, line.today});
    if (!base.Open(basePath)) {
        return kExitBadFile;
    }
    CQuillmarDoc& doc = base.Doc();

    // Merge answers a loaded file that is not a rate file itself (131).
    CEnabledState merge;
    doc.OnUpdateFileMerge(merge);
    if (!merge.m_bEnabled) {
        doc.OnFileMerge();
        base.ReportMessages(baseName);
        return kExitBadFile;
    }

    // File, Merge passes over an incoming file that cannot be read without a
    // word; the tool reads it first to say what is wrong with it, and then
    // merges what it has read. The incoming tree goes before the result is
    // saved.
    {
        CConsoleDocument incoming({});
        if (!incoming.Open(incomingPath)) {
            return kExitBadFile;
        }
        if (line.report) {
            doc.SetMergeObserver(&report);
        }
        doc.MergeOpenedFile(incoming.Doc());
        doc.SetMergeObserver(nullptr);
    }

    bool merged = false;
    bool refused = false;
    for (const CConsoleMessage& message : base.Platform().TakeMessages()) {
        if (!merged && IsSummary(message.strText, doc)) {
            merged = true;
            if (summaryToStderr) {
                PrintError({}, message.strText);
            } else {
                WriteStdout(message.strText + "\n");
            }
        } else {
            // 132 for an incoming file that is not a rate file.
            PrintError(incomingName, message.strText);
            refused = true;
        }
    }
    if (!merged) {
        if (!refused) {
            // Nothing was merged and nothing said why.
            PrintError(incomingName, "the file could no longer be read for the merge.");
        }
        return kExitBadFile;
    }

    // The report reads the merged texts before saving encodes them in place.
    const std::string csv = line.report ? report.BuildCsv() : std::string();
    // Standard output replaces no file: there is nothing to back up.
    if (line.bBackup && !toStdout && !base.BackUpBeforeReplacing(outPath)) {
        return kExitWriteFailed;
    }
    if (!base.SaveAs(outPath)) {
        return kExitWriteFailed;
    }
    if (line.report && !WriteWholeOutput(*line.report, csv)) {
        PrintError(*line.report, "the report could not be written.");
        return kExitWriteFailed;
    }
    return kExitOk;
}
