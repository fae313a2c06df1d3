// Where quillmar-cli's texts go: results to standard output, messages to
// standard error, each message prefixed by the program's name and the file
// it concerns.
#pragma once

#include "xml/XmlTextSink.h"

#include <cstddef>
#include <string>
#include <string_view>

// "quillmar-cli: SUBJECT: TEXT" on standard error; without a subject
// "quillmar-cli: TEXT".
void PrintError(const std::string& subject, const std::string& text);

// The name that stands for standard input as a file to read, and for
// standard output as a file to write.
inline constexpr const char* kStandardStreamName = "-";
inline bool IsStandardStream(const std::string& name) {
    return name == kStandardStreamName;
}

// How messages name the input file at path: "standard input" for "-".
std::string InputName(const std::string& path);

// Reads standard input to its end into bytes; false when it could not be
// read.
bool ReadStdin(std::string& bytes);

// Writes bytes to standard output; false when they could not be written.
bool WriteStdout(std::string_view bytes);
// Flushes standard output; false when anything written to it was lost.
bool FlushStdout();
// Writes a whole output: "-" is standard output (flushed); any other path
// is replaced only once the bytes are complete, or left as it was.
bool WriteWholeOutput(const std::string& path, std::string_view bytes);
// Says on standard error that standard output could not be written.
void ReportStdoutFailure();

// A sink over standard output.
class CStdoutSink : public CXmlTextSink {
public:
    bool Put(const char* bytes, std::size_t size) override {
        return WriteStdout(std::string_view(bytes, size));
    }
};
