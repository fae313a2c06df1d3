// print in a build without the PDF renderer (the Windows build, where the
// desktop application prints to any printer, PDF printers included).
#include "cli/Commands.h"

#include "cli/ConsoleOutput.h"
#include "cli/ExitCode.h"

int RunPrint(const CCommandLine& line) {
    PrintError(*line.pdf, "this build of quillmar-cli cannot render PDF files; print from "
                          "Quillmar to a PDF printer instead.");
    return kExitWriteFailed;
}
