// Any bytes as a rate file: the reader ends with a code and a tree it can
// write, copy and destroy.
#include "FuzzSupport.h"

#include "xml/XmlDocument.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CXmlDocument doc;
    const bool ok = doc.LoadBytes(reinterpret_cast<const char*>(data), size);
    FUZZ_CHECK(ok == (doc.GetError() == CXmlDocument::kNoError));
    FUZZ_CHECK(doc.GetError() >= 0 && doc.GetError() <= 4);
    if (doc.GetError() == CXmlDocument::kNoRootElement ||
        doc.GetError() == CXmlDocument::kCannotOpen) {
        FUZZ_CHECK(doc.GetRoot() == nullptr);
        return 0;
    }
    FUZZ_CHECK(doc.GetRoot() != nullptr);
    CXmlNode copy;
    copy.CopyFrom(doc.GetRoot());
    FUZZ_CHECK(SameTree(&copy, doc.GetRoot()));
    CXmlString out;
    int32_t depth = -1;
    doc.GetRoot()->Write(out, depth, size % 2 == 0);
    FUZZ_CHECK(depth == -1);
    return 0;
}
