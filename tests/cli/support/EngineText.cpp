#include "support/EngineText.h"

#include "xml/XmlDocument.h"

#include <stdexcept>

namespace {

std::string Written(const std::string& path, bool compressed, bool withHeader) {
    CXmlDocument document;
    if (!document.Load(CXmlString(path.c_str()))) {
        throw std::runtime_error("cannot load " + path);
    }
    CXmlString text = withHeader ? document.GetHeader() : CXmlString();
    int32_t depth = -1;
    document.GetRoot()->Write(text, depth, compressed);
    return std::string(text.GetBuffer(), static_cast<size_t>(text.GetLength()));
}

} // namespace

std::string SavedText(const std::string& path, bool compressed) {
    return Written(path, compressed, true);
}

std::vector<std::string> ListingLines(const std::string& path) {
    const std::string text = Written(path, false, false);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            end = text.size();
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}
