#include "cli/Commands.h"

#include "cli/ConsoleDocument.h"
#include "cli/ConsoleOutput.h"
#include "cli/ExitCode.h"
#include "resources/Resource.h"
#include "resources/StringTable.h"

#include <string_view>

int RunFormat(const CCommandLine& line) {
    CConsoleDocument document({line.bCompressed, std::nullopt});
    if (!document.Open(line.files.at(0))) {
        return kExitBadFile;
    }
    if (line.output) {
        return document.SaveAs(*line.output) ? kExitOk : kExitWriteFailed;
    }
    // The text a save would write, handed to standard output instead.
    CXmlString text;
    if (!document.Doc().SerializeStore(text) ||
        !WriteStdout(std::string_view(text.GetBuffer(), static_cast<size_t>(text.GetLength()))) ||
        !FlushStdout()) {
        PrintError("standard output", CStringTable::Get(AFX_IDP_FAILED_TO_SAVE_DOC));
        return kExitWriteFailed;
    }
    return kExitOk;
}
