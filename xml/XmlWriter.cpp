// The writer: appends a tree as XML text, in the indented form (fixed
// columns, CR LF line ends) or the compressed form (nothing between tags and
// texts). It keeps its own stack, so any depth can be written.
#include "xml/XmlNode.h"
#include "xml/XmlTextSink.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace {

constexpr int32_t kIndentPerLevel = 4;
constexpr int32_t kTextColumn = 31;
constexpr int32_t kEndTagColumn = 59;

bool NeedsEncoding(const CXmlString& text) {
    return std::strpbrk(text.GetBuffer(), "&<>") != nullptr;
}

// '&' not starting one of the three entities becomes "&amp;", '<' becomes
// "&lt;" and '>' becomes "&gt;"; an existing entity is never encoded twice.
CXmlString Encoded(const CXmlString& text) {
    CXmlString out;
    const char* p = text.GetBuffer();
    const int32_t length = text.GetLength();
    for (int32_t i = 0; i < length; ++i) {
        switch (p[i]) {
        case '&':
            if (std::strncmp(p + i + 1, "amp;", 4) == 0 || std::strncmp(p + i + 1, "lt;", 3) == 0 ||
                std::strncmp(p + i + 1, "gt;", 3) == 0) {
                out.AppendChar('&');
            } else {
                out.Append("&amp;");
            }
            break;
        case '<':
            out.Append("&lt;");
            break;
        case '>':
            out.Append("&gt;");
            break;
        default:
            out.AppendChar(p[i]);
        }
    }
    return out;
}

int32_t Indentation(int32_t depth) {
    const int64_t indent = static_cast<int64_t>(kIndentPerLevel) * depth;
    return static_cast<int32_t>(std::min<int64_t>(indent, INT32_MAX));
}

// Writes one tree to an output that offers Append, AppendRepeated and
// AppendChar: a string, or a buffer in front of a sink.
template <class Output> class CTreeWriter {
public:
    CTreeWriter(Output& out, int32_t& depth, bool compressed)
        : m_out(out), m_nDepth(depth), m_bCompressed(compressed) {}

    void Run(CXmlNode* root) {
        struct Frame {
            CXmlNode* pNode;
            int32_t nNext;
        };
        const int32_t startDepth = m_nDepth;
        try {
            std::vector<Frame> stack;
            Open(root);
            stack.push_back({root, 0});
            while (!stack.empty() && !m_bStopped) {
                Frame& frame = stack.back();
                if (frame.nNext < frame.pNode->GetChildCount()) {
                    CXmlNode* child = frame.pNode->GetChild(frame.nNext++);
                    Open(child);
                    stack.push_back({child, 0});
                } else {
                    Close(frame.pNode);
                    stack.pop_back();
                }
            }
        } catch (const std::bad_alloc&) {
            // Out of memory for the walk: the output is incomplete, and says so.
            m_out.MarkGrowthFailed();
            m_bStopped = true;
        }
        if (m_bStopped) {
            m_nDepth = startDepth;
        }
    }

private:
    void Tag(const CXmlString& name, bool end) {
        m_out.Append(end ? "</" : "<", end ? 2 : 1);
        m_out.Append(name.GetBuffer(), name.GetLength());
        m_out.AppendChar('>');
    }

    // The start of an element: its indentation, start tag, text, and either
    // the line end before its children or the fill before its end tag.
    void Open(CXmlNode* node) {
        ++m_nDepth;
        int64_t column = 0;
        if (!m_bCompressed) {
            const int32_t indent = Indentation(m_nDepth);
            m_out.AppendRepeated(' ', indent);
            column = indent;
        }
        const CXmlString& name = node->NameRef();
        Tag(name, false);
        column += name.GetLength() + 2;
        if (!m_bCompressed && column < kTextColumn) {
            m_out.AppendRepeated(' ', static_cast<int32_t>(kTextColumn - column));
            column = kTextColumn;
        }
        if (!node->TextRef().IsEmpty()) {
            if (NeedsEncoding(node->TextRef())) {
                CXmlString encoded = Encoded(node->TextRef());
                if (encoded.HasGrowthFailed()) {
                    // The encoded text is cut short: the node keeps its text,
                    // and the output, incomplete, says so and ends here.
                    m_out.MarkGrowthFailed();
                    m_bStopped = true;
                    return;
                }
                node->AssignText(encoded);
            }
            const CXmlString& text = node->TextRef();
            m_out.Append(text.GetBuffer(), text.GetLength());
            column += text.GetLength();
        }
        if (node->GetChildCount() > 0) {
            if (!m_bCompressed) {
                m_out.Append("\r\n", 2);
            }
        } else if (!m_bCompressed && column <= kEndTagColumn - 1) {
            m_out.AppendRepeated(' ', static_cast<int32_t>(kEndTagColumn - column));
        }
    }

    // The end of an element: the indentation before the end tag of an
    // element with children, the end tag and the line end.
    void Close(CXmlNode* node) {
        if (!m_bCompressed && node->GetChildCount() > 0) {
            m_out.AppendRepeated(' ', Indentation(m_nDepth));
        }
        Tag(node->NameRef(), true);
        if (!m_bCompressed) {
            m_out.Append("\r\n", 2);
        }
        --m_nDepth;
    }

    Output& m_out;
    int32_t& m_nDepth;
    bool m_bCompressed;
    bool m_bStopped = false;
};

} // namespace

void CXmlNode::Write(CXmlString& out, int32_t& depth, bool compressed) {
    CTreeWriter<CXmlString>(out, depth, compressed).Run(this);
}

bool CXmlNode::Write(CXmlTextSink& sink, int32_t& depth, bool compressed) {
    CXmlBufferedOutput out(sink);
    Write(out, depth, compressed);
    return out.Flush();
}

void CXmlNode::Write(CXmlBufferedOutput& out, int32_t& depth, bool compressed) {
    CTreeWriter<CXmlBufferedOutput>(out, depth, compressed).Run(this);
}

CXmlBufferedOutput::CXmlBufferedOutput(CXmlTextSink& sink, std::size_t bufferSize)
    : m_sink(sink), m_buffer(bufferSize),
      m_nLengthLimit(static_cast<int64_t>(CXmlString::GetCapacityLimit()) - 1) {}

bool CXmlBufferedOutput::Flush() {
    if (!m_bFailed && m_nUsed > 0 && !m_sink.Put(m_buffer.data(), m_nUsed)) {
        m_bFailed = true;
    }
    m_nUsed = 0;
    return !m_bFailed;
}

bool CXmlBufferedOutput::Take(int32_t count) {
    if (count <= 0 || m_bFailed) {
        return false;
    }
    // The same room a string leaves: its length stays below its capacity - 1.
    if (m_nTotal + count >= m_nLengthLimit) {
        m_bFailed = true;
        return false;
    }
    m_nTotal += count;
    return true;
}

template <class Fill> void CXmlBufferedOutput::Put(int32_t count, Fill fill) {
    if (!Take(count)) {
        return;
    }
    auto size = static_cast<std::size_t>(count);
    std::size_t done = 0;
    while (done < size && !m_bFailed) {
        if (m_nUsed == m_buffer.size()) {
            Flush();
        }
        const std::size_t take = std::min(size - done, m_buffer.size() - m_nUsed);
        fill(m_buffer.data() + m_nUsed, done, take);
        m_nUsed += take;
        done += take;
    }
}

void CXmlBufferedOutput::AppendThroughSink(const char* bytes, int32_t count) {
    Put(count, [bytes](char* to, std::size_t from, std::size_t size) {
        std::memcpy(to, bytes + from, size);
    });
}

void CXmlBufferedOutput::AppendRepeatedThroughSink(char byte, int32_t count) {
    Put(count, [byte](char* to, std::size_t, std::size_t size) { std::memset(to, byte, size); });
}
