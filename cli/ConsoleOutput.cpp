#include "cli/ConsoleOutput.h"

#include "document/SafeFileWriter.h"

#include <cstdio>
#include <memory>

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

bool WriteWholeOutput(const std::string& path, std::string_view bytes) {
    if (IsStandardStream(path)) {
        return WriteStdout(bytes) && FlushStdout();
    }
    return WriteFileReplacing(path, bytes.data(), bytes.size());
}

void ReportStdoutFailure() {
    PrintError("standard output", "the output could not be written.");
}

bool ReadStdin(std::string& bytes) {
    bytes.clear();
    constexpr std::size_t kChunkSize = 1 << 16;
    const auto chunk = std::make_unique<char[]>(kChunkSize);
    for (;;) {
        const std::size_t got = std::fread(chunk.get(), 1, kChunkSize, stdin);
        bytes.append(chunk.get(), got);
        if (got < kChunkSize) {
            return !std::ferror(stdin);
        }
    }
}

std::string InputName(const std::string& path) {
    return IsStandardStream(path) ? "standard input" : path;
}
