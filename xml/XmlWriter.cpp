// The writer: appends a tree to a string as XML text, in the indented form
// (fixed columns, CR LF line ends) or the compressed form (nothing between
// tags and texts). It keeps its own stack, so any depth can be written.
#include "xml/XmlNode.h"

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

void AppendTag(CXmlString& out, const CXmlString& name, bool end) {
    out.Append(end ? "</" : "<", end ? 2 : 1);
    out.Append(name.GetBuffer(), name.GetLength());
    out.AppendChar('>');
}

} // namespace

void CXmlNode::Write(CXmlString& out, int32_t& depth, bool compressed) {
    struct Frame {
        CXmlNode* pNode;
        int32_t nNext;
    };
    // The start of an element: its indentation, start tag, text, and either
    // the line end before its children or the fill before its end tag.
    auto open = [&](CXmlNode* node) {
        ++depth;
        int64_t column = 0;
        if (!compressed) {
            const int64_t indent = static_cast<int64_t>(kIndentPerLevel) * depth;
            out.AppendRepeated(' ', indent > INT32_MAX ? INT32_MAX : static_cast<int32_t>(indent));
            column = indent;
        }
        AppendTag(out, node->m_strName, false);
        column += node->m_strName.GetLength() + 2;
        if (!compressed && column < kTextColumn) {
            out.AppendRepeated(' ', static_cast<int32_t>(kTextColumn - column));
            column = kTextColumn;
        }
        if (!node->m_strText.IsEmpty()) {
            if (NeedsEncoding(node->m_strText)) {
                node->m_strText.Assign(Encoded(node->m_strText));
            }
            out.Append(node->m_strText.GetBuffer(), node->m_strText.GetLength());
            column += node->m_strText.GetLength();
        }
        if (node->GetChildCount() > 0) {
            if (!compressed) {
                out.Append("\r\n", 2);
            }
        } else if (!compressed && column <= kEndTagColumn - 1) {
            out.AppendRepeated(' ', static_cast<int32_t>(kEndTagColumn - column));
        }
    };
    // The end of an element: the indentation before the end tag of an
    // element with children, the end tag and the line end.
    auto close = [&](CXmlNode* node) {
        if (!compressed && node->GetChildCount() > 0) {
            const int64_t indent = static_cast<int64_t>(kIndentPerLevel) * depth;
            out.AppendRepeated(' ', indent > INT32_MAX ? INT32_MAX : static_cast<int32_t>(indent));
        }
        AppendTag(out, node->m_strName, true);
        if (!compressed) {
            out.Append("\r\n", 2);
        }
        --depth;
    };

    const int32_t startDepth = depth;
    try {
        std::vector<Frame> stack;
        open(this);
        stack.push_back({this, 0});
        while (!stack.empty()) {
            Frame& frame = stack.back();
            if (frame.nNext < frame.pNode->GetChildCount()) {
                CXmlNode* child = frame.pNode->GetChild(frame.nNext++);
                open(child);
                stack.push_back({child, 0});
            } else {
                close(frame.pNode);
                stack.pop_back();
            }
        }
    } catch (const std::bad_alloc&) {
        // Out of memory for the walk: the output is incomplete, and says so.
        out.MarkGrowthFailed();
        depth = startDepth;
    }
}
