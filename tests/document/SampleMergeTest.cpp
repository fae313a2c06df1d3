// The vendor's next delivery of the sample rate file merged into it, against
// a result worked out by hand.
#include "support/MergeFixture.h"

#include "resources/Resource.h"
#include "resources/StringTable.h"

#include <filesystem>

namespace {

class SampleMergeTest : public MergeFixture {
protected:
    void LoadSample() {
        ASSERT_TRUE(m_doc->DoOpen(SourceFile("samples/rates.xml")));
        ASSERT_TRUE(m_platform.m_messages.empty());
    }
};

} // namespace

TEST_F(SampleMergeTest, SamplesReadCleanly) {
    for (const char* name : {"samples/rates.xml", "samples/rates-new.xml"}) {
        const std::string tree = DumpFile(SourceFile(name));
        EXPECT_EQ(0u, tree.find("RATEFILE\n  HEADER\n")) << name;
        EXPECT_NE(std::string::npos, tree.find("CUSTOMERNAME = Marsh & Tolliver Motors")) << name;
    }
}

TEST_F(SampleMergeTest, MergedSampleMatchesTheResultWorkedOutByHand) {
    LoadSample();
    m_doc->MergeRateFile(SourceFile("samples/rates-new.xml"));
    EXPECT_EQ(DumpFile(SourceFile("tests/document/data/rates-merged.xml")), Tree());
    EXPECT_EQ(10, m_doc->GetPlansImported());
    EXPECT_EQ(6, m_doc->GetPlansMatched());
    EXPECT_EQ((std::vector<std::string>{CStringTable::Format(IDS_MERGE_SUMMARY, {"10", "6"})}),
              m_platform.MessageTexts());
}

TEST_F(SampleMergeTest, MergedSampleSurvivesASaveAndAReload) {
    LoadSample();
    m_doc->MergeRateFile(SourceFile("samples/rates-new.xml"));
    m_doc->OnEditAutoBackup();
    const std::string path = m_folder.File("merged.xml");
    ASSERT_TRUE(m_doc->DoSaveAs(path));
    EXPECT_EQ(DumpFile(SourceFile("tests/document/data/rates-merged.xml")), DumpFile(path));
    EXPECT_EQ(
        std::filesystem::absolute(SourceFile("samples/rates.xml")).lexically_normal().string(),
        m_doc->GetRecentFileList().GetAt(1));
}

TEST_F(SampleMergeTest, AfterThePlansExpireNothingIsCarriedOver) {
    m_platform.SetNow(1, 1, 2032);
    LoadSample();
    m_doc->MergeRateFile(SourceFile("samples/rates-new.xml"));
    EXPECT_EQ(10, m_doc->GetPlansImported());
    // Only Pinecrest's undated GAP plan is still valid.
    EXPECT_EQ(1, m_doc->GetPlansMatched());
}
