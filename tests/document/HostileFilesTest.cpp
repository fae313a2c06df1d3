// Files that are not what a rate file should be, given to the document: each
// gets its message, and the loaded document stays as it should.
#include "document/QuillmarDoc.h"
#include "support/FakePlatform.h"
#include "support/TestFiles.h"
#include "support/TreeDump.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class HostileFiles : public ::testing::Test {
protected:
    CTestFolder m_folder;
    CFakePlatform m_platform;
    CQuillmarDoc m_doc{m_platform};
    std::string m_loaded;

    void SetUp() override {
        m_loaded = m_folder.File("rates.xml");
        WriteFileText(m_loaded, "<RATEFILE><CUSTOMER><CONTRACTNUM>7</CONTRACTNUM><INSURANCEPLAN>"
                                "<PLANKEY>K</PLANKEY><PLANDESC>Mine</PLANDESC></INSURANCEPLAN>"
                                "</CUSTOMER></RATEFILE>");
        ASSERT_TRUE(m_doc.DoOpen(m_loaded));
    }
};

TEST_F(HostileFiles, ADirectoryOrAMissingPathDoesNotOpen) {
    const std::string before = DumpTree(m_doc.m_pRootNode);
    for (const std::string& path : {m_folder.Path().string(), m_folder.File("missing.xml")}) {
        const size_t messages = m_platform.m_messages.size();
        EXPECT_FALSE(m_doc.DoOpen(path)) << path;
        ASSERT_EQ(m_platform.m_messages.size(), messages + 1) << path;
        EXPECT_EQ(m_platform.m_messages.back().strText, "Failed to open document.");
        EXPECT_EQ(m_doc.GetPathName(), m_loaded) << "the loaded document stays";
        EXPECT_EQ(DumpTree(m_doc.m_pRootNode), before);
    }
}

TEST_F(HostileFiles, MergingTheLoadedFileWithItself) {
    m_doc.MergeRateFile(m_loaded);
    EXPECT_EQ(m_doc.GetPlansImported(), 1);
    EXPECT_EQ(m_doc.GetPlansMatched(), 1);
    const CXmlNode* plan =
        m_doc.m_pRootNode->FindChild("CUSTOMER", 0)->FindChild("INSURANCEPLAN", 0);
    ASSERT_NE(plan, nullptr);
    EXPECT_TRUE(plan->GetChildText("PLANDESC", 0).Equals("Mine"));
    EXPECT_EQ(m_doc.m_pRootNode->FindChild("CUSTOMER", 0)->GetChildCount("INSURANCEPLAN"), 1);
}

TEST_F(HostileFiles, MergingADirectoryOrGarbageChangesNothing) {
    const std::string before = DumpTree(m_doc.m_pRootNode);
    const std::string garbage = m_folder.File("garbage.xml");
    WriteFileText(garbage, std::string("\xff\xfe<\0R\0>\0", 8));
    for (const std::string& path : {m_folder.Path().string(), garbage}) {
        const size_t messages = m_platform.m_messages.size();
        m_doc.MergeRateFile(path);
        EXPECT_EQ(m_platform.m_messages.size(), messages) << "an unreadable delivery is skipped";
        EXPECT_EQ(DumpTree(m_doc.m_pRootNode), before);
    }
}

} // namespace
