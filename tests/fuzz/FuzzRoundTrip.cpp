// A file that reads without error is written in both forms and read again
// into the same tree.
#include "FuzzSupport.h"

#include "xml/XmlDocument.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CXmlDocument doc;
    if (!doc.LoadBytes(reinterpret_cast<const char*>(data), size) ||
        !WrittenFormIsUnambiguous(doc.GetRoot())) {
        return 0;
    }
    // The tree as read; the writer encodes texts in place, reading decodes.
    CXmlNode original;
    original.CopyFrom(doc.GetRoot());
    for (const bool compressed : {false, true}) {
        CXmlString out = doc.GetHeader();
        int32_t depth = -1;
        doc.GetRoot()->Write(out, depth, compressed);
        if (out.HasGrowthFailed()) {
            continue; // too large to write, and the caller is told so
        }
        CXmlDocument again;
        FUZZ_CHECK(again.LoadBytes(out.GetBuffer(), static_cast<size_t>(out.GetLength())));
        FUZZ_CHECK(SameTree(again.GetRoot(), &original));
    }
    return 0;
}
