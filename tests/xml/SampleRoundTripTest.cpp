// The bundled samples load without error and survive a write and a read in
// both forms.
#include "TreeText.h"

#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class SampleRoundTrip : public testing::TestWithParam<const char*> {};

TEST_P(SampleRoundTrip, LoadsAndReadsBackTheSame) {
    const std::string path = std::string(QUILLMAR_SOURCE_DIR) + "/samples/" + GetParam();
    CXmlDocument doc;
    ASSERT_TRUE(doc.Load(path.c_str())) << "error " << doc.GetError();
    EXPECT_TRUE(doc.GetRoot()->GetName().Equals("RATEFILE"));
    EXPECT_GE(doc.GetRoot()->GetChildCount("CUSTOMER"), 5);
    const std::string tree = TreeText(doc.GetRoot());
    for (const bool compressed : {false, true}) {
        CXmlString out = doc.GetHeader();
        int32_t depth = -1;
        doc.GetRoot()->Write(out, depth, compressed);
        CXmlDocument again;
        ASSERT_TRUE(again.LoadBytes(out.GetBuffer(), static_cast<size_t>(out.GetLength())));
        // Texts the writer encoded read back decoded, as the samples had them.
        EXPECT_EQ(TreeText(again.GetRoot()), tree);
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleRoundTrip, testing::Values("rates.xml", "rates-new.xml"));

} // namespace
