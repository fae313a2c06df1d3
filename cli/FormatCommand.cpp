#include "cli/Commands.h"

#include "cli/ConsoleDocument.h"
#include "cli/ConsoleOutput.h"
#include "cli/ExitCode.h"

int RunFormat(const CCommandLine& line) {
    CConsoleDocument document({line.bCompressed, std::nullopt});
    if (!document.Open(line.files.at(0))) {
        return kExitBadFile;
    }
    // Without -o the text goes to standard output, as with "-o -".
    return document.SaveAs(line.output.value_or(kStandardStreamName)) ? kExitOk : kExitWriteFailed;
}
