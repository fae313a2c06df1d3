#include "cli/ConsoleOutput.h"

#include <cstdio>

void PrintError(const std::string& subject, const std::string& text) {
    std::string line = "quillmar-cli: ";
    if (!subject.empty()) {
        line += subject;
        line += ": ";
    }
    line += text;
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}

bool WriteStdout(std::string_view bytes) {
    return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
}

bool FlushStdout() {
    return std::fflush(stdout) == 0 && !std::ferror(stdout);
}

void ReportStdoutFailure() {
    PrintError("standard output", "the output could not be written.");
}
