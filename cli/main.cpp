// quillmar-cli: rate files from the command line.
#include "xml/XmlDocument.h"

#include <cstdio>
#include <cstring>

namespace {

int Format(const char* path, bool compressed) {
    CXmlDocument doc;
    doc.Load(path);
    if (!doc.GetRoot()) {
        std::fprintf(stderr, "quillmar-cli: %s: cannot be read (error %d)\n", path, doc.GetError());
        return 1;
    }
    CXmlString out = doc.GetHeader();
    int32_t depth = -1;
    doc.GetRoot()->Write(out, depth, compressed);
    if (out.HasGrowthFailed()) {
        std::fprintf(stderr, "quillmar-cli: %s: too large to write\n", path);
        return 3;
    }
    std::fwrite(out.GetBuffer(), 1, static_cast<size_t>(out.GetLength()), stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "format") == 0) {
        const bool compressed = argc >= 4 && std::strcmp(argv[3], "--compressed") == 0;
        return Format(argv[2], compressed);
    }
    std::fprintf(stderr, "usage: quillmar-cli format FILE [--compressed]\n");
    return 2;
}
