// Writing a tree straight to a file or stream: the writer hands its text to a
// sink in pieces through a fixed buffer, so a large file is never held in
// memory as a whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
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

    // Inline: the writer appends a few bytes at a time, millions of times,
    // and most of them fit the buffer as they come.
    void Append(const char* bytes, int32_t count) {
        if (FitsBuffer(count)) {
            std::memcpy(m_buffer.data() + m_nUsed, bytes, static_cast<std::size_t>(count));
            Took(count);
        } else {
            AppendThroughSink(bytes, count);
        }
    }
    int64_t GetLength() const { return m_nTotal; }
    void AppendRepeated(char byte, int32_t count) {
        if (FitsBuffer(count)) {
            std::memset(m_buffer.data() + m_nUsed, byte, static_cast<std::size_t>(count));
            Took(count);
        } else {
            AppendRepeatedThroughSink(byte, count);
        }
    }
    void AppendChar(char byte) { Append(&byte, 1); }
    // Passes the buffered bytes on; false when any piece failed.
    bool Flush();
    bool Failed() const { return m_bFailed; }
    void MarkGrowthFailed() { m_bFailed = true; }

private:
    // Whether count bytes go into the buffer as they are: room in it, and in
    // the text's length limit (the room a string leaves: its length stays
    // below its capacity - 1). The limit is the one in force when the output
    // was made.
    bool FitsBuffer(int32_t count) const {
        return count > 0 && !m_bFailed &&
               static_cast<std::size_t>(count) <= m_buffer.size() - m_nUsed &&
               m_nTotal + count < m_nLengthLimit;
    }
    void Took(int32_t count) {
        m_nUsed += static_cast<std::size_t>(count);
        m_nTotal += count;
    }
    void AppendThroughSink(const char* bytes, int32_t count);
    void AppendRepeatedThroughSink(char byte, int32_t count);
    bool Take(int32_t count);
    // Passes count bytes through the buffer; fill writes each piece.
    template <class Fill> void Put(int32_t count, Fill fill);

    CXmlTextSink& m_sink;
    std::vector<char> m_buffer;
    std::size_t m_nUsed = 0;
    int64_t m_nTotal = 0;
    int64_t m_nLengthLimit;
    bool m_bFailed = false;
};
