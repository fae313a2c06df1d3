#include "support/TreeDump.h"

#include "xml/XmlDocument.h"
#include "xml/XmlNode.h"

namespace {

void DumpNode(const CXmlNode* node, int depth, std::string& out) {
    out.append(static_cast<size_t>(depth) * 2, ' ');
    out += node->NameRef().GetBuffer();
    if (!node->TextRef().IsEmpty()) {
        out += " = ";
        out += node->TextRef().GetBuffer();
    }
    out += '\n';
    for (int32_t index = 0; index < node->GetChildCount(); ++index) {
        DumpNode(node->GetChild(index), depth + 1, out);
    }
}

} // namespace

std::string DumpTree(const CXmlNode* root) {
    std::string out;
    if (root) {
        DumpNode(root, 0, out);
    }
    return out;
}

std::string DumpFile(const std::string& path) {
    CXmlDocument document;
    if (!document.Load(CXmlString(path.c_str()))) {
        return "load error " + std::to_string(document.GetError()) + "\n";
    }
    return DumpTree(document.GetRoot());
}
