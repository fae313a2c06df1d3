#include "cli/Commands.h"

#include "cli/ConsoleDocument.h"
#include "cli/ConsoleOutput.h"
#include "cli/ExitCode.h"
#include "cli/Outline.h"

int RunTree(const CCommandLine& line) {
    CConsoleDocument document({});
    if (!document.Open(line.files.at(0))) {
        return kExitBadFile;
    }
    CStdoutSink out;
    if (!WriteOutline(*document.Doc().m_pRootNode, out)) {
        ReportStdoutFailure();
        return kExitWriteFailed;
    }
    return kExitOk;
}
