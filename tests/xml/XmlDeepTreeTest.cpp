// Trees nested far deeper than any call stack allows: reading, writing,
// copying and destroying must work level by level, bounded by memory only.
#include "TreeText.h"

#include "xml/XmlDocument.h"

#include "CapacityLimit.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int kDepth = 1000000;

std::string Nested(int depth, bool closed) {
    std::string text;
    text.reserve(static_cast<size_t>(depth) * 7 + 8);
    for (int i = 0; i < depth; ++i) {
        text += "<a>";
    }
    text += "x";
    if (closed) {
        for (int i = 0; i < depth; ++i) {
            text += "</a>";
        }
    }
    return text;
}

int DepthOf(const CXmlNode* node) {
    int depth = 0;
    while (node->GetChildCount() == 1) {
        node = node->GetChild(0);
        ++depth;
    }
    return depth;
}

TEST(XmlDeepTree, ReadsWritesCopiesAndDestroysAMillionLevels) {
    const std::string text = Nested(kDepth, true);
    CXmlDocument doc;
    ASSERT_TRUE(doc.LoadBytes(text.data(), text.size()));
    EXPECT_EQ(DepthOf(doc.GetRoot()), kDepth - 1);

    CXmlString out;
    int32_t depth = -1;
    doc.GetRoot()->Write(out, depth, true);
    EXPECT_EQ(depth, -1);
    EXPECT_EQ(std::string(out.GetBuffer()), text);

    CXmlNode copy;
    copy.CopyFrom(doc.GetRoot());
    EXPECT_EQ(DepthOf(&copy), kDepth - 1);

    // The indented form of such a tree needs terabytes of blanks: the
    // writer says the output is incomplete instead of failing otherwise.
    CXmlString indented;
    {
        CapacityLimit limit(64 << 20); // the 2 GB limit, scaled down
        depth = -1;
        doc.GetRoot()->Write(indented, depth, false);
    }
    EXPECT_TRUE(indented.HasGrowthFailed());
    EXPECT_EQ(depth, -1);
}

TEST(XmlDeepTree, UnclosedDeepFileFailsWithItsCodeAndKeepsThePartialTree) {
    const std::string text = Nested(kDepth, false);
    CXmlDocument doc;
    EXPECT_FALSE(doc.LoadBytes(text.data(), text.size()));
    EXPECT_EQ(doc.GetError(), CXmlDocument::kTagMismatch);
    ASSERT_NE(doc.GetRoot(), nullptr);
    EXPECT_EQ(DepthOf(doc.GetRoot()), kDepth - 1);
}

TEST(XmlDeepTree, DeepFileWithUnclosedTagAtTheBottom) {
    std::string text = Nested(kDepth, false);
    text += "<b " + std::string(100000, 'y');
    CXmlDocument doc;
    EXPECT_FALSE(doc.LoadBytes(text.data(), text.size()));
    EXPECT_EQ(doc.GetError(), CXmlDocument::kTagNotClosed);
}

} // namespace
