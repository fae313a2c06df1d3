// Writing a tree straight to a file or stream: the writer hands its text to a
// sink in pieces through a fixed buffer, so a large file is never held in
// memory as a whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "xml/XmlString.h"

class CXmlTextSink {
public:
    virtual ~CXmlTextSink() = default;
    // Takes the next bytes of the text; false when they could not be taken.
    virtual bool Put(const char* bytes, std::size_t size) = 0;
};

// A sink over an open C stream.
class CXmlFileSink : public CXmlTextSink {
public:
    explicit CXmlFileSink(std::FILE* file) : m_pFile(file) {}
    bool Put(const char* bytes, std::size_t size) override {
        return std::fwrite(bytes, 1, size, m_pFile) == size;
    }

private:
    std::FILE* m_pFile;
};

// The writer's output over a sink. Bytes are gathered and passed on in large
// pieces; after the first failure nothing more is passed on. A text may not
// grow past the length limit of a string, so that whatever is written can be
// read again.
class CXmlBufferedOutput {
public:
    explicit CXmlBufferedOutput(CXmlTextSink& sink, std::size_t bufferSize = 1 << 16);
    CXmlBufferedOutput(const CXmlBufferedOutput&) = delete;
    CXmlBufferedOutput& operator=(const CXmlBufferedOutput&) = delete;

    void Append(const char* bytes, int32_t count);
    int64_t GetLength() const { return m_nTotal; }
    void AppendRepeated(char byte, int32_t count);
    void AppendChar(char byte) { Append(&byte, 1); }
    // Passes the buffered bytes on; false when any piece failed.
    bool Flush();
    bool Failed() const { return m_bFailed; }
    void MarkGrowthFailed() { m_bFailed = true; }

private:
    bool Take(int32_t count);
    // Passes count bytes through the buffer; fill writes each piece.
    template <class Fill> void Put(int32_t count, Fill fill);

    CXmlTextSink& m_sink;
    std::vector<char> m_buffer;
    std::size_t m_nUsed = 0;
    int64_t m_nTotal = 0;
    bool m_bFailed = false;
};
