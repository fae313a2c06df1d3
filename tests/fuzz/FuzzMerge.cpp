// Two rate files cut from one input are merged into each other; the merged
// document is written and must read back into the same tree.
#include "FuzzSupport.h"

#include "cli/ConsolePlatform.h"
#include "document/QuillmarDoc.h"
#include "xml/XmlDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

std::string TempPath(const char* name) {
    return "/tmp/quillmar-fuzz-" + std::to_string(getpid()) + "-" + name + ".xml";
}

bool WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    const bool ok = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}

bool ReadsWithoutError(const std::string& path) {
    CXmlDocument doc;
    return doc.Load(path.c_str());
}

// Trees read with an error can hold names that no file can spell (an element
// renamed after a comment, say); only merges of two sound files must read
// back exactly.
void MergeAndCheck(const std::string& base, const std::string& incoming) {
    const bool sound = ReadsWithoutError(base) && ReadsWithoutError(incoming);
    // No dialogs, a fixed date, and no backup copies left behind.
    CConsolePlatform platform;
    platform.FixDate(6, 15, 2025);
    platform.WriteSettingInt("Settings", "AutoBackup", 0);
    CQuillmarDoc doc(platform);
    doc.DoNew();
    doc.DoOpen(base);
    doc.MergeRateFile(incoming);
    if (!doc.m_pRootNode) {
        return;
    }
    CXmlNode merged;
    merged.CopyFrom(doc.m_pRootNode);
    CXmlString text;
    if (!doc.SerializeStore(text)) {
        return;
    }
    CXmlDocument again;
    const bool read = again.LoadBytes(text.GetBuffer(), static_cast<size_t>(text.GetLength()));
    if (sound && WrittenFormIsUnambiguous(&merged)) {
        FUZZ_CHECK(read && SameTree(again.GetRoot(), &merged));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const size_t cut = 1 + (size - 1) * data[0] / 255;
    const std::string first = TempPath("a");
    const std::string second = TempPath("b");
    if (WriteFile(first, data + 1, cut - 1) && WriteFile(second, data + cut, size - cut)) {
        MergeAndCheck(first, second);
        MergeAndCheck(second, first);
        MergeAndCheck(first, first);
    }
    std::remove(first.c_str());
    std::remove(second.c_str());
    return 0;
}
