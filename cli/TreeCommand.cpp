#include "cli/Commands.h"

#include "cli/ConsoleDocument.h"
#include "cli/ConsoleOutput.h"
#include "cli/ExitCode.h"
#include "cli/Outline.h"
#include "xml/XmlDocument.h"

#include <cstdint>
#include <string>

int RunTree(const CCommandLine& line) {
    CConsoleDocument document({});
    if (!document.Open(line.files.at(0))) {
        return kExitBadFile;
    }
    // As format refuses a text longer than a file that can be opened again,
    // tree refuses an outline longer than that: a deeply nested file of a few
    // megabytes would otherwise fill the disk (two blanks a level, each line).
    const CXmlNode& root = *document.Doc().m_pRootNode;
    const uint64_t length = OutlineLength(root);
    const auto limit = static_cast<uint64_t>(CXmlDocument::GetFileTextLimit());
    if (length > limit) {
        PrintError(InputName(line.files.at(0)),
                   "the outline would be " + std::to_string(length) + " bytes, more than the " +
                       std::to_string(limit) +
                       " bytes of the longest rate file; nothing was written.");
        return kExitWriteFailed;
    }
    CStdoutSink out;
    if (!WriteOutline(root, out)) {
        ReportStdoutFailure();
        return kExitWriteFailed;
    }
    return kExitOk;
}
