// quillmar-cli: rate files from the command line, without a display. Checks,
// outlines, formats, merges and prints rate files through the same document
// code as the desktop application.
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ConsoleOutput.h"
#include "cli/ExitCode.h"
#include "cli/InternalError.h"

#include <cstdio>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif
#include <string>
#include <vector>

namespace {

int Run(const CCommandLine& line) {
    switch (line.command) {
    case CliCommand::kHelp:
        WriteStdout(HelpText());
        return kExitOk;
    case CliCommand::kVersion:
        WriteStdout(VersionText());
        return kExitOk;
    case CliCommand::kCheck:
        return RunCheck(line);
    case CliCommand::kTree:
        return RunTree(line);
    case CliCommand::kFormat:
        return RunFormat(line);
    case CliCommand::kMerge:
        return RunMerge(line);
    case CliCommand::kPrint:
        return RunPrint(line);
    }
    return kExitUsage;
}

} // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // Standard output carries file contents (format writes a rate file
    // there): the same bytes as on every other system, no CR added.
    _setmode(_fileno(stdout), _O_BINARY);
    // A file read from standard input keeps its bytes as a file's do.
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    return RunReportingInternalErrors([&] {
        const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
        const CParsedCommandLine parsed = ParseCommandLine(args);
        if (!parsed.line) {
            PrintError({}, parsed.strError);
            const std::string usage =
                UsageText(parsed.named) + "Try 'quillmar-cli --help' for more information.\n";
            std::fwrite(usage.data(), 1, usage.size(), stderr);
            return static_cast<int>(kExitUsage);
        }
        int status = Run(*parsed.line);
        if (!FlushStdout() && status == kExitOk) {
            ReportStdoutFailure();
            status = kExitWriteFailed;
        }
        return status;
    });
}
