#include "TreeText.h"

#include "xml/XmlDocument.h"
#include "xml/XmlTextSink.h"

#include "CapacityLimit.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Written(CXmlNode* root, bool compressed) {
    CXmlString out;
    int32_t depth = -1;
    root->Write(out, depth, compressed);
    EXPECT_EQ(depth, -1) << "the depth is back where the caller left it";
    EXPECT_FALSE(out.HasGrowthFailed());
    return out.GetBuffer();
}

std::string Blanks(size_t n) {
    return std::string(n, ' ');
}

TEST(XmlWriter, LoneRootFillsBothColumns) {
    CXmlNode root;
    root.SetName("A");
    EXPECT_EQ(Written(&root, false), "<A>" + Blanks(28) + Blanks(28) + "</A>\r\n");
    EXPECT_EQ(Written(&root, true), "<A></A>");
}

TEST(XmlWriter, IndentedLayoutOfASavedFile) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.LoadBytes(
        "<RATEFILE><CUSTOMER><CONTRACTNUM>A7</CONTRACTNUM></CUSTOMER></RATEFILE>", 71));
    CXmlString out = doc.GetHeader();
    int32_t depth = -1;
    doc.GetRoot()->Write(out, depth, false);
    const std::string expected =
        std::string("<?xml version=\"1.0\"?>") + "<RATEFILE>" + Blanks(21) + "\r\n" + Blanks(4) +
        "<CUSTOMER>" + Blanks(17) + "\r\n" + Blanks(8) + "<CONTRACTNUM>" + Blanks(10) + "A7" +
        Blanks(26) + "</CONTRACTNUM>\r\n" + Blanks(4) + "</CUSTOMER>\r\n" + "</RATEFILE>\r\n";
    EXPECT_EQ(std::string(out.GetBuffer()), expected);
    CXmlString compressed = doc.GetHeader();
    depth = -1;
    doc.GetRoot()->Write(compressed, depth, true);
    EXPECT_STREQ(compressed.GetBuffer(),
                 "<?xml version=\"1.0\"?><RATEFILE><CUSTOMER><CONTRACTNUM>A7"
                 "</CONTRACTNUM></CUSTOMER></RATEFILE>");
}

TEST(XmlWriter, ColumnsGiveWayToLongTagsAndTexts) {
    CXmlNode root;
    root.SetName(std::string(38, 'N').c_str()); // start tag ends at column 40
    EXPECT_EQ(Written(&root, false), "<" + std::string(38, 'N') + ">" + Blanks(19) + "</" +
                                         std::string(38, 'N') + ">\r\n");
    root.SetText("t");
    EXPECT_EQ(Written(&root, false), "<" + std::string(38, 'N') + ">t" + Blanks(18) + "</" +
                                         std::string(38, 'N') + ">\r\n");
    CXmlNode exact;
    exact.SetName("A");
    exact.SetText(std::string(28, 'x').c_str()); // text ends exactly at column 59
    EXPECT_EQ(Written(&exact, false), "<A>" + Blanks(28) + std::string(28, 'x') + "</A>\r\n");
    exact.SetText(std::string(27, 'x').c_str()); // ends at column 58: one blank
    EXPECT_EQ(Written(&exact, false), "<A>" + Blanks(28) + std::string(27, 'x') + " </A>\r\n");
}

TEST(XmlWriter, TextsAreEncodedInPlaceOnce) {
    CXmlNode root;
    root.SetName("R");
    CXmlNode* a = root.AddChild("A", "AT&T");
    CXmlNode* b = root.AddChild("B", "a<b<c");
    CXmlNode* c = root.AddChild("C", "x &amp; y > z &lt;");
    const std::string first = Written(&root, true);
    EXPECT_EQ(first, "<R><A>AT&amp;T</A><B>a&lt;b&lt;c</B><C>x &amp; y &gt; z &lt;</C></R>");
    EXPECT_TRUE(a->GetText().Equals("AT&amp;T"));
    EXPECT_TRUE(b->GetText().Equals("a&lt;b&lt;c"));
    EXPECT_TRUE(c->GetText().Equals("x &amp; y &gt; z &lt;"));
    EXPECT_EQ(Written(&root, true), first) << "writing again gives the same bytes";
}

TEST(XmlWriter, CompressedFormHasNoLayoutBytes) {
    CXmlDocument doc;
    const std::string text = "<R>\r\n  <A>1</A>\r\n  <B>\r\n    <C>two words</C>\r\n  </B>\r\n</R>";
    ASSERT_TRUE(doc.LoadBytes(text.data(), text.size()));
    EXPECT_EQ(Written(doc.GetRoot(), true), "<R><A>1</A><B><C>two words</C></B></R>");
}

TEST(XmlWriter, RoundTripKeepsTheTree) {
    CXmlDocument doc;
    const std::string text =
        "<RATEFILE><HEADER><V>AT&amp;T</V></HEADER><CUSTOMER><PLAN>"
        "<KEY>k1</KEY><D>a &lt; b</D></PLAN><X>outer</X></CUSTOMER></RATEFILE>";
    ASSERT_TRUE(doc.LoadBytes(text.data(), text.size()));
    const std::string before = TreeText(doc.GetRoot());
    for (const bool compressed : {false, true}) {
        const std::string written = Written(doc.GetRoot(), compressed);
        CXmlDocument again;
        ASSERT_TRUE(again.LoadBytes(written.data(), written.size()));
        EXPECT_EQ(TreeText(again.GetRoot()), before);
    }
}

TEST(XmlWriter, BlanksAroundTextsAreWrittenAndReadBackTrimmed) {
    CXmlNode root;
    root.SetName("A");
    root.SetText("  x  ");
    const std::string written = Written(&root, true);
    EXPECT_EQ(written, "<A>  x  </A>");
    CXmlDocument again;
    ASSERT_TRUE(again.LoadBytes(written.data(), written.size()));
    EXPECT_TRUE(again.GetRoot()->GetText().Equals("x"));
}

TEST(XmlWriter, OutputThatCannotGrowIsFlagged) {
    CapacityLimit limit(4096);
    CXmlNode root;
    root.SetName("R");
    for (int i = 0; i < 200; ++i) {
        root.AddChild("PLAN", "some rate data");
    }
    CXmlString out;
    int32_t depth = -1;
    root.Write(out, depth, false);
    EXPECT_TRUE(out.HasGrowthFailed());
    EXPECT_LT(out.GetLength(), 4096);
}

} // namespace

namespace {

class CCollectingSink : public CXmlTextSink {
public:
    explicit CCollectingSink(size_t failAfter = SIZE_MAX) : m_nFailAfter(failAfter) {}
    bool Put(const char* bytes, std::size_t size) override {
        if (m_strText.size() + size > m_nFailAfter) {
            return false;
        }
        m_strText.append(bytes, size);
        ++m_nPieces;
        return true;
    }
    std::string m_strText;
    int m_nPieces = 0;

private:
    size_t m_nFailAfter;
};

CXmlNode* BigTree(CXmlNode& root) {
    root.SetName("RATEFILE");
    for (int i = 0; i < 3000; ++i) {
        CXmlNode* plan = root.AddChild("INSURANCEPLAN", "");
        plan->AddChild("PLANKEY", ("K" + std::to_string(i)).c_str());
        plan->AddChild("PLANDESC", "Tire & Wheel <basic>");
    }
    return &root;
}

TEST(XmlWriterSink, GivesTheSameBytesAsTheStringInPieces) {
    for (const bool compressed : {false, true}) {
        CXmlNode root;
        BigTree(root);
        CXmlString text;
        int32_t depth = -1;
        root.Write(text, depth, compressed);
        CCollectingSink sink;
        depth = -1;
        EXPECT_TRUE(root.Write(sink, depth, compressed));
        EXPECT_EQ(depth, -1);
        EXPECT_EQ(sink.m_strText, std::string(text.GetBuffer()));
        EXPECT_GT(sink.m_nPieces, 1);
    }
}

TEST(XmlWriterSink, ReportsASinkThatFails) {
    CXmlNode root;
    BigTree(root);
    CCollectingSink sink(100000);
    int32_t depth = -1;
    EXPECT_FALSE(root.Write(sink, depth, false));
    EXPECT_LE(sink.m_strText.size(), 100000u);
}

TEST(XmlWriterSink, RefusesATextPastTheLengthLimit) {
    CapacityLimit limit(50000);
    CXmlNode root;
    BigTree(root);
    CCollectingSink sink;
    int32_t depth = -1;
    const bool written = root.Write(sink, depth, false);
    EXPECT_FALSE(written);
    EXPECT_LT(sink.m_strText.size(), 50000u);
}

} // namespace

namespace {

// Found by fuzzing: a child named "/" and its parent's name reads without
// error, but its start tag is its parent's end tag once written. The writer
// writes names as they are; the read-back tree ends at that tag.
TEST(XmlWriter, ChildNamedLikeItsParentsEndTagIsTheFormatsOneAmbiguity) {
    CXmlDocument doc;
    const std::string text = "<C>x<a</C><//C></C>";
    ASSERT_TRUE(doc.LoadBytes(text.data(), text.size()));
    EXPECT_EQ(TreeText(doc.GetRoot()), "C[x](/C[])");
    const std::string written = Written(doc.GetRoot(), true);
    EXPECT_EQ(written, "<C>x</C><//C></C>");
    CXmlDocument again;
    ASSERT_TRUE(again.LoadBytes(written.data(), written.size()));
    EXPECT_EQ(TreeText(again.GetRoot()), "C[x]");
}

} // namespace

namespace {

// Found by fuzzing: a '>' before the first '<' lets the root start at a '<'
// followed by another '<', so the root may take a name beginning with '?'.
// Written, it looks like a declaration, which reading skips.
TEST(XmlWriter, RootNamedLikeADeclarationCannotBeReadBack) {
    CXmlDocument doc;
    const std::string text = "?><<?></?>";
    ASSERT_TRUE(doc.LoadBytes(text.data(), text.size()));
    EXPECT_EQ(TreeText(doc.GetRoot()), "?[]");
    const std::string written = Written(doc.GetRoot(), true);
    EXPECT_EQ(written, "<?></?>");
    CXmlDocument again;
    EXPECT_FALSE(again.LoadBytes(written.data(), written.size()));
}

} // namespace
