#include "cli/Commands.h"

#include "cli/ConsoleDocument.h"
#include "cli/ConsoleOutput.h"
#include "cli/ExitCode.h"
#include "cli/PdfListing.h"

int RunPrint(const CCommandLine& line) {
    CConsoleDocument document({});
    if (!document.Open(line.files.at(0))) {
        return kExitBadFile;
    }
    const std::string& destination = *line.pdf;
    std::string pdf;
    const bool rendered = PrintListingToPdf(document.Doc(), pdf);
    ReleaseFontCaches();
    if (!rendered) {
        PrintError(destination, "the listing could not be rendered as PDF.");
        return kExitWriteFailed;
    }
    // Like a saved rate file, the PDF replaces its destination only once it
    // is complete.
    if (!WriteWholeOutput(destination, pdf)) {
        PrintError(destination, "the PDF file could not be written.");
        return kExitWriteFailed;
    }
    return kExitOk;
}
