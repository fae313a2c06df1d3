#include "document/QuillmarDoc.h"

#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Calls = std::vector<std::string>;

// The metrics of the fake device: height 200, external leading 20, average
// character width 120, so line n of a page stands at y = -220 n.
constexpr int32_t kLineHeight = 220;
constexpr int32_t kLeft = 120;

class PrintListingTest : public ::testing::Test {
protected:
    CFakePlatform m_platform;
    CQuillmarDoc m_doc{m_platform};
    CFakePrintDevice m_dc;

    void SetUp() override { ASSERT_TRUE(m_doc.DoNew()); }

    // Adds count childless children to the root, one printed line each.
    void AddLines(int count) {
        for (int i = 0; i < count; ++i) {
            m_doc.m_pRootNode->AddChild("LINE", std::to_string(i).c_str());
        }
    }
    std::vector<CFakePrintDevice::CText> TextsOnPage(int page) const {
        std::vector<CFakePrintDevice::CText> texts;
        std::copy_if(m_dc.m_texts.begin(), m_dc.m_texts.end(), std::back_inserter(texts),
                     [page](const CFakePrintDevice::CText& text) { return text.page == page; });
        return texts;
    }
};

} // namespace

TEST_F(PrintListingTest, NewDocumentPrintsOneLineOnOnePage) {
    EXPECT_TRUE(m_doc.PrintListing(&m_dc));
    EXPECT_EQ(
        (Calls{"SetMapMode 6", "SelectFont", "QueryTextMetrics", "Text", "EndPage", "EndDoc"}),
        m_dc.m_calls);
    ASSERT_EQ(1u, m_dc.m_texts.size());
    EXPECT_EQ("<ROOTNODE>" + std::string(21, ' ') + "Root Node Text" + std::string(14, ' ') +
                  "</ROOTNODE>",
              m_dc.m_texts[0].strText);
    EXPECT_EQ(kLeft, m_dc.m_texts[0].x);
    EXPECT_EQ(-kLineHeight, m_dc.m_texts[0].y);
}

TEST_F(PrintListingTest, FontIsElevenPointCourierNew) {
    m_doc.PrintListing(&m_dc);
    ASSERT_FALSE(m_dc.m_fonts.empty());
    const CFontSpec& font = m_dc.m_fonts[0];
    EXPECT_EQ("Courier New", font.strFaceName);
    EXPECT_EQ(-220, font.nHeight);
    EXPECT_EQ(400, font.nWeight);
    EXPECT_FALSE(font.bItalic || font.bUnderline || font.bStrikeOut);
    EXPECT_EQ(0, font.nCharSet);
    EXPECT_EQ(0x30, font.nPitchAndFamily);
}

TEST_F(PrintListingTest, WithoutATreeNothingIsDrawnAndNoPageIsTouched) {
    CFakePlatform platform;
    CQuillmarDoc empty(platform);
    EXPECT_TRUE(empty.PrintListing(&m_dc));
    EXPECT_TRUE(m_dc.m_calls.empty());
}

TEST_F(PrintListingTest, SixtyLinesFitOnePage) {
    AddLines(58); // with the root's two lines: 60
    m_doc.PrintListing(&m_dc);
    EXPECT_EQ(60u, TextsOnPage(1).size());
    EXPECT_EQ(-60 * kLineHeight, m_dc.m_texts.back().y);
    EXPECT_EQ(0, std::count(m_dc.m_calls.begin(), m_dc.m_calls.end(), "StartPage"));
}

TEST_F(PrintListingTest, TheSixtyFirstLineOpensTheNextPage) {
    AddLines(59);
    m_doc.PrintListing(&m_dc);
    EXPECT_EQ(60u, TextsOnPage(1).size());
    const auto second = TextsOnPage(2);
    ASSERT_EQ(1u, second.size());
    EXPECT_EQ("</ROOTNODE>", second[0].strText);
    EXPECT_EQ(-kLineHeight, second[0].y);
    // The page break: end the page, start the next, set the mode and font again.
    const auto breakAt = std::find(m_dc.m_calls.begin(), m_dc.m_calls.end(), "EndPage");
    ASSERT_NE(m_dc.m_calls.end(), breakAt);
    EXPECT_EQ(
        (Calls{"EndPage", "StartPage", "SetMapMode 6", "SelectFont", "Text", "EndPage", "EndDoc"}),
        Calls(breakAt, m_dc.m_calls.end()));
}

TEST_F(PrintListingTest, EmptyLinesAreCountedButNeitherDrawnNorStartAPage) {
    m_doc.m_pRootNode->AddChild("T", ("top" + std::string(62, '\n') + "bottom").c_str());
    m_doc.PrintListing(&m_dc);
    // Lines 1 and 2 on the first page; 61 empty lines carry the counter to
    // 64, so "bottom" opens the second page as its line 1.
    const auto first = TextsOnPage(1);
    ASSERT_EQ(2u, first.size());
    EXPECT_EQ(-2 * kLineHeight, first[1].y);
    const auto second = TextsOnPage(2);
    ASSERT_EQ(2u, second.size());
    EXPECT_EQ(0u, second[0].strText.find("bottom"));
    EXPECT_EQ(-kLineHeight, second[0].y);
    EXPECT_EQ("</ROOTNODE>", second[1].strText);
    EXPECT_EQ(-2 * kLineHeight, second[1].y);
    EXPECT_EQ(1, std::count(m_dc.m_calls.begin(), m_dc.m_calls.end(), "StartPage"));
}

TEST_F(PrintListingTest, AFormFeedStartsANewPage) {
    m_doc.m_pRootNode->AddChild("T", "a\r\n\fnext");
    m_doc.m_pRootNode->AddChild("U", "b\n\f\nc");
    m_doc.PrintListing(&m_dc);
    ASSERT_EQ(3, m_dc.m_nPage);
    const auto second = TextsOnPage(2);
    ASSERT_EQ(2u, second.size());
    EXPECT_EQ(0u, second[0].strText.find("next"));
    EXPECT_EQ(-kLineHeight, second[0].y);
    EXPECT_EQ(0u, second[1].strText.find("    <U>"));
    // A form feed alone opens the page and draws nothing on its line 1.
    const auto third = TextsOnPage(3);
    ASSERT_EQ(2u, third.size());
    EXPECT_EQ(0u, third[0].strText.find("c"));
    EXPECT_EQ(-2 * kLineHeight, third[0].y);
    EXPECT_EQ("</ROOTNODE>", third[1].strText);
}

TEST_F(PrintListingTest, TextsPrintEncodedAndStaySoWithoutMarkingTheDocument) {
    CXmlNode* child = m_doc.m_pRootNode->AddChild("NAME", "Marsh & Tolliver");
    m_doc.OnEditCompressedSave(); // the listing is always indented
    m_doc.PrintListing(&m_dc);
    ASSERT_EQ(3u, m_dc.m_texts.size());
    EXPECT_EQ("    <NAME>" + std::string(21, ' ') + "Marsh &amp; Tolliver" + std::string(8, ' ') +
                  "</NAME>",
              m_dc.m_texts[1].strText);
    EXPECT_STREQ("Marsh &amp; Tolliver", child->TextRef().GetBuffer());
    EXPECT_FALSE(m_doc.IsModified());
}
