#include "cli/Outline.h"

#include "document/TreeLabels.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr size_t kIndentPerLevel = 2;
constexpr size_t kFlushSize = 1 << 16;

// One element whose children are being written, and the next of them.
struct Level {
    std::vector<const CXmlNode*> children;
    size_t nNext = 0;
};

// Lines gathered and passed to the sink in large pieces.
class CLineWriter {
public:
    explicit CLineWriter(CXmlTextSink& sink) : m_sink(sink) {}

    void Line(const CXmlNode& node, size_t depth) {
        const CXmlString label = TreeItemLabel(node);
        m_buffer.append(depth * kIndentPerLevel, ' ');
        m_buffer.append(label.GetBuffer(), static_cast<size_t>(label.GetLength()));
        m_buffer += '\n';
        if (m_buffer.size() >= kFlushSize) {
            Flush();
        }
    }
    bool Flush() {
        if (m_bOk && !m_buffer.empty()) {
            m_bOk = m_sink.Put(m_buffer.data(), m_buffer.size());
        }
        m_buffer.clear();
        return m_bOk;
    }
    bool IsOk() const { return m_bOk; }

private:
    CXmlTextSink& m_sink;
    std::string m_buffer;
    bool m_bOk = true;
};

} // namespace

bool WriteOutline(const CXmlNode& root, CXmlTextSink& sink) {
    CLineWriter out(sink);
    out.Line(root, 0);
    std::vector<Level> levels;
    levels.push_back({TreeItemChildren(root)});
    while (!levels.empty() && out.IsOk()) {
        Level& level = levels.back();
        if (level.nNext == level.children.size()) {
            levels.pop_back();
            continue;
        }
        const CXmlNode* child = level.children[level.nNext++];
        out.Line(*child, levels.size());
        // Growing levels may move level: it is not used after this.
        levels.push_back({TreeItemChildren(*child)});
    }
    return out.Flush();
}

uint64_t OutlineLength(const CXmlNode& root) {
    // The order of the lines does not change their lengths: children are
    // taken in the document's order.
    struct Pending {
        const CXmlNode* pNode;
        uint64_t nDepth;
    };
    uint64_t length = 0;
    std::vector<Pending> pending{{&root, 0}};
    while (!pending.empty()) {
        const Pending next = pending.back();
        pending.pop_back();
        length += next.nDepth * kIndentPerLevel +
                  static_cast<uint64_t>(TreeItemLabel(*next.pNode).GetLength()) + 1;
        const int32_t count = next.pNode->GetChildCount();
        for (int32_t index = 0; index < count; ++index) {
            if (const CXmlNode* child = next.pNode->GetChild(index)) {
                pending.push_back({child, next.nDepth + 1});
            }
        }
    }
    return length;
}
