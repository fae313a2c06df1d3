// Files that no rate file vendor would send, but that arrive anyway: each
// gets its error code, and none crashes, hangs or leaks.
#include "TreeText.h"

#include "xml/XmlDocument.h"

#include "CapacityLimit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

std::filesystem::path WriteTemp(const std::string& name, const std::string& bytes) {
    const auto path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

TEST(XmlHostileInput, TextPastTheLengthLimitCannotBeReadAsAWhole) {
    std::string big = "<R>";
    int plans = 0;
    while (big.size() < 300000) {
        big += "<P>rate data</P>\r\n";
        ++plans;
    }
    big += "</R>";
    const auto path = WriteTemp("quillmar-too-large.xml", big);
    CXmlDocument doc;
    {
        CapacityLimit limit(200000);
        EXPECT_FALSE(doc.Load(path.string().c_str()));
    }
    EXPECT_EQ(doc.GetError(), CXmlDocument::kCannotOpen);
    EXPECT_EQ(doc.GetRoot(), nullptr);
    EXPECT_TRUE(doc.GetFileText().IsEmpty()) << "no partial text is left behind";
    // Under the normal limit the same file reads completely.
    EXPECT_TRUE(doc.Load(path.string().c_str()));
    EXPECT_EQ(doc.GetRoot()->GetChildCount(), plans);
    std::filesystem::remove(path);
}

TEST(XmlHostileInput, CrLfShrinkingBelowTheLimitStillReads) {
    // Raw bytes over the limit whose text, with CR LF made LF, fits.
    std::string text = "<R>";
    while (text.size() < 300000) {
        text += "\r\n";
    }
    text += "</R>";
    // 150,000 bytes of text need a capacity of 128 + 2 * 102,400 bytes.
    CapacityLimit limit(250000);
    CXmlDocument doc;
    EXPECT_TRUE(doc.LoadBytes(text.data(), text.size()));
}

TEST(XmlHostileInput, Utf16FileWithByteOrderMark) {
    const std::string utf8 = "<R>x</R>";
    std::string utf16 = "\xFF\xFE";
    for (const char c : utf8) {
        utf16 += c;
        utf16 += '\0';
    }
    CXmlDocument doc;
    // Every NUL ends its piece: only the byte order mark and '<' remain.
    EXPECT_FALSE(doc.LoadBytes(utf16.data(), utf16.size()));
    EXPECT_EQ(doc.GetError(), CXmlDocument::kTagMismatch);
}

TEST(XmlHostileInput, BinaryGarbageNeverCrashes) {
    std::mt19937 rng(26);
    for (int round = 0; round < 300; ++round) {
        std::string bytes(static_cast<size_t>(rng() % 20000), '\0');
        for (char& c : bytes) {
            c = static_cast<char>(rng() % 256);
        }
        CXmlDocument doc;
        const bool ok = doc.LoadBytes(bytes.data(), bytes.size());
        EXPECT_EQ(ok, doc.GetError() == 0);
        EXPECT_GE(doc.GetError(), 0);
        EXPECT_LE(doc.GetError(), 4);
        if (doc.GetRoot()) {
            CXmlString out;
            int32_t depth = -1;
            doc.GetRoot()->Write(out, depth, round % 2 == 0);
            EXPECT_EQ(depth, -1);
        }
    }
}

TEST(XmlHostileInput, NulAndByte26InTheText) {
    std::string text = "<R><A>one</A>";
    text += '\0';
    text += "<B>lost</B></R>";
    CXmlDocument doc;
    EXPECT_FALSE(doc.LoadBytes(text.data(), text.size())) << "the rest of the piece is cut";
    EXPECT_EQ(doc.GetError(), CXmlDocument::kTagMismatch);
    EXPECT_EQ(TreeText(doc.GetRoot()), "R[](A[one])");
    const std::string eof = std::string("<R><A>x</A></R>\x1a", 16) + "garbage<<<";
    EXPECT_TRUE(doc.LoadBytes(eof.data(), eof.size()));
    EXPECT_EQ(doc.GetFileText().GetLength(), 15);
}

TEST(XmlHostileInput, LoadingAgainReplacesEverything) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.LoadBytes("<A>1</A>", 8));
    EXPECT_FALSE(doc.LoadBytes("no root", 7));
    EXPECT_EQ(doc.GetRoot(), nullptr);
    EXPECT_EQ(doc.GetError(), CXmlDocument::kNoRootElement);
    ASSERT_TRUE(doc.LoadBytes("<B>2</B>", 8));
    EXPECT_EQ(TreeText(doc.GetRoot()), "B[2]");
}

} // namespace
