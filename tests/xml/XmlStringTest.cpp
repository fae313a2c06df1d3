#include "xml/XmlString.h"

#include "CapacityLimit.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(XmlStringGrowth, CapacityMovesInWholeSteps) {
    CXmlString s;
    EXPECT_EQ(s.GetCapacity(), 128);
    s.Assign(std::string(126, 'a').c_str());
    EXPECT_EQ(s.GetCapacity(), 128);
    s.Assign(std::string(127, 'a').c_str());
    EXPECT_EQ(s.GetCapacity(), 256);
    s.Assign(std::string(300, 'a').c_str());
    EXPECT_EQ(s.GetCapacity(), 384);
    s.Clear();
    EXPECT_EQ(s.GetCapacity(), 384) << "Clear keeps the capacity";
}

TEST(XmlStringGrowth, AppendCharFillsTo127BeforeGrowing) {
    CXmlString s;
    for (int i = 0; i < 127; ++i) {
        ASSERT_NE(s.AppendChar('x'), nullptr);
    }
    EXPECT_EQ(s.GetLength(), 127);
    EXPECT_EQ(s.GetCapacity(), 128);
    s.AppendChar('x');
    EXPECT_EQ(s.GetCapacity(), 256);
    EXPECT_EQ(s.GetLength(), 128);
    // Append of a text needs one more spare byte than AppendChar.
    CXmlString t(std::string(126, 'a').c_str());
    t.Append("b");
    EXPECT_EQ(t.GetCapacity(), 256);
}

TEST(XmlStringGrowth, CopiesStartAt128AndOwnTheirBytes) {
    CXmlString a;
    a.SetGrowStep(1000);
    a.Append(std::string(200, 'q').c_str());
    EXPECT_EQ(a.GetCapacity(), 1128);
    CXmlString b(a);
    EXPECT_EQ(b.GetCapacity(), 256);
    EXPECT_EQ(b.GetGrowStep(), 128);
    b.AppendChar('z');
    EXPECT_EQ(a.GetLength(), 200);
    EXPECT_TRUE(b.Equals((std::string(200, 'q') + "z").c_str()));
}

TEST(XmlStringGrowth, FailedGrowthKeepsTheTextAndRefusesUntilClear) {
    CapacityLimit limit(1000);
    CXmlString s("start");
    EXPECT_EQ(s.Append(std::string(2000, 'x').c_str()), nullptr);
    EXPECT_TRUE(s.HasGrowthFailed());
    EXPECT_TRUE(s.Equals("start"));
    EXPECT_EQ(s.GetCapacity(), 896) << "the steps that fit are kept";
    EXPECT_EQ(s.Append(std::string(895, 'y').c_str()), nullptr)
        << "a failed string refuses further growth, even within the limit";
    EXPECT_NE(s.Append("ok"), nullptr) << "what fits the capacity is still taken";
    s.Assign(std::string(1500, 'x').c_str());
    EXPECT_TRUE(s.Equals("startok")) << "Assign that cannot fit leaves the text";
    s.Clear();
    EXPECT_FALSE(s.HasGrowthFailed());
    EXPECT_NE(s.Append(std::string(800, 'x').c_str()), nullptr);
}

TEST(XmlStringGrowth, LongTextsAcrossTheInlineBoundary) {
    CXmlString s;
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        const char c = static_cast<char>('a' + i % 26);
        s.AppendChar(c);
        expected += c;
        if (i % 7 == 0) {
            const int32_t tail = s.GetLength() < 12 ? s.GetLength() : 12;
            s.Append(s.GetBuffer() + s.GetLength() - tail); // a part of itself
            expected += expected.substr(expected.size() - static_cast<size_t>(tail));
        }
    }
    EXPECT_EQ(std::string(s.GetBuffer()), expected);
    s.Truncate(3);
    EXPECT_TRUE(s.Equals(expected.substr(0, 3).c_str()));
    s.Assign(s.GetBuffer() + 1);
    EXPECT_TRUE(s.Equals(expected.substr(1, 2).c_str()));
}

TEST(XmlStringParts, LeftRightMid) {
    CXmlString s("ABCDE");
    EXPECT_STREQ(s.Left(0), "");
    EXPECT_STREQ(s.Left(2), "AB");
    EXPECT_STREQ(s.Left(9), "ABCDE");
    EXPECT_STREQ(s.Right(2), "DE");
    EXPECT_STREQ(s.Right(9), "ABCDE");
    EXPECT_STREQ(s.Mid(2, 0), "CDE");
    EXPECT_STREQ(s.Mid(1, 2), "BC");
    EXPECT_STREQ(s.Mid(3, 9), "DE");
    EXPECT_EQ(s.Mid(5, 1), nullptr);
    // A result assigned back to its own string is safe.
    s.Assign(s.Mid(1, 3));
    EXPECT_TRUE(s.Equals("BCD"));
}

TEST(XmlStringParts, FindAndGetAt) {
    CXmlString s("rates.xml");
    EXPECT_EQ(s.Find(""), 0);
    EXPECT_EQ(s.Find("."), 5);
    EXPECT_EQ(s.Find("xml"), 6);
    EXPECT_EQ(s.Find("csv"), -1);
    EXPECT_EQ(s.GetAt(0), 'r');
    EXPECT_EQ(s.GetAt(9), '\0');
    EXPECT_EQ(s.GetAt(-1), '\0');
}

TEST(XmlStringParts, EqualsIsExact) {
    CXmlString s("PlanKey");
    EXPECT_TRUE(s.Equals("PlanKey"));
    EXPECT_FALSE(s.Equals("PLANKEY"));
    EXPECT_FALSE(s.Equals("PlanKe"));
    EXPECT_TRUE(s.Equals(CXmlString("PlanKey")));
    EXPECT_TRUE(CXmlString().Equals(""));
}

TEST(XmlStringEdits, TrimTouchesOnlyBlanksAndTabs) {
    CXmlString s(" \t x y \t ");
    s.Trim();
    EXPECT_TRUE(s.Equals("x y"));
    CXmlString blanks(" \t\t ");
    blanks.Trim();
    EXPECT_TRUE(blanks.IsEmpty());
    CXmlString lines("\nx\r");
    lines.Trim();
    EXPECT_TRUE(lines.Equals("\nx\r"));
    CXmlString left("  a  ");
    left.TrimLeft();
    EXPECT_TRUE(left.Equals("a  "));
    left.TrimRight();
    EXPECT_TRUE(left.Equals("a"));
}

TEST(XmlStringEdits, MakeLowerOnlyAtoZ) {
    CXmlString s("AbZ@[\xC4\xE4");
    s.MakeLower();
    EXPECT_TRUE(s.Equals("abz@[\xC4\xE4"));
}

TEST(XmlStringEdits, ToLong) {
    CXmlString s(" 12x");
    EXPECT_EQ(s.ToLong(), 12);
    EXPECT_TRUE(s.Equals("12x")) << "ToLong trims the string";
    EXPECT_EQ(CXmlString("").ToLong(), 0);
    EXPECT_EQ(CXmlString("-5").ToLong(), -5);
    EXPECT_EQ(CXmlString("+7").ToLong(), 7);
    EXPECT_EQ(CXmlString("abc").ToLong(), 0);
    EXPECT_EQ(CXmlString("4294967297").ToLong(), 1) << "overflow wraps";
}

TEST(XmlStringEdits, NullTextClears) {
    CXmlString s("x");
    s.Assign(static_cast<const char*>(nullptr));
    EXPECT_TRUE(s.IsEmpty());
}

TEST(XmlStringEdits, MovesAndAssignments) {
    CXmlString a(std::string(40, 'a').c_str());
    CXmlString b(std::move(a));
    EXPECT_EQ(b.GetLength(), 40);
    EXPECT_TRUE(a.IsEmpty());
    CXmlString c("short");
    c = std::move(b);
    EXPECT_EQ(c.GetLength(), 40);
    CXmlString d;
    d = c;
    EXPECT_TRUE(d.Equals(c));
}

} // namespace
