// The text codec both front ends read and write texts with.
#include "document/TextCodec.h"

#include <cctype>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace {

using namespace std::string_literals;

struct CodecCase {
    const char* name;
    std::string bytes;            // as in the file
    TextEncoding detected;        // DetectEncoding of bytes
    std::string utf8;             // DecodeText in a UTF-8 document
    bool windows1252Back;         // Utf8ToWindows1252 of the Windows-1252 reading
    std::u32string refusedInAnsi; // Utf8ToWindows1252 of utf8 refuses these
};

const CodecCase kCases[] = {
    {"ascii", "plain text longer than eight bytes", TextEncoding::kUtf8,
     "plain text longer than eight bytes", true, U""},
    {"utf8 accents and dash", "Soci\xC3\xA9t\xC3\xA9 \xE2\x80\x94", TextEncoding::kUtf8,
     "Soci\xC3\xA9t\xC3\xA9 \xE2\x80\x94", true, U""},
    {"utf8 CJK and emoji", "\xE6\x96\x99\xE9\x87\x91 \xF0\x9F\x98\x80", TextEncoding::kUtf8,
     "\xE6\x96\x99\xE9\x87\x91 \xF0\x9F\x98\x80", true, U"\u6599\u91D1\U0001F600"},
    {"windows-1252 accents", "Soci\xE9t\xE9 \x97 \x80", TextEncoding::kWindows1252,
     "Soci\xC3\xA9t\xC3\xA9 \xE2\x80\x94 \xE2\x82\xAC", true, U""},
    {"the five undefined bytes", "\x81\x8D\x8F\x90\x9D", TextEncoding::kWindows1252,
     "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D", true, U""},
    {"overlong", "\xC0\xAF", TextEncoding::kWindows1252, "\xC3\x80\xC2\xAF", true, U""},
    {"surrogate", "\xED\xA0\x80", TextEncoding::kWindows1252, "\xC3\xAD\xC2\xA0\xE2\x82\xAC", true,
     U""},
    {"beyond U+10FFFF", "\xF4\x90\x80\x80", TextEncoding::kWindows1252,
     "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC", true, U""},
    {"cut short", "abc\xE2\x82", TextEncoding::kWindows1252, "abc\xC3\xA2\xE2\x80\x9A", true, U""},
    {"stray continuation after an ASCII run", "abcdefgh\x80", TextEncoding::kWindows1252,
     "abcdefgh\xE2\x82\xAC", true, U""},
    {"NUL kept in the reading, refused in a text", "a\0b"s, TextEncoding::kUtf8, "a\0b"s, false,
     U"\0"s},
};

void PrintTo(const CodecCase& c, std::ostream* out) {
    *out << c.name;
}

class TextCodecTest : public ::testing::TestWithParam<CodecCase> {};

TEST_P(TextCodecTest, ReadsDetectsAndWritesBack) {
    const CodecCase& c = GetParam();
    EXPECT_EQ(c.detected, DetectEncoding(c.bytes));
    EXPECT_EQ(c.detected == TextEncoding::kUtf8, IsValidUtf8(c.bytes));
    EXPECT_EQ(c.utf8, DecodeText(TextEncoding::kUtf8, c.bytes));
    EXPECT_TRUE(IsValidUtf8(c.utf8));

    // The Windows-1252 reading of any bytes converts back to those bytes.
    const std::string ansiReading = DecodeText(TextEncoding::kWindows1252, c.bytes);
    EXPECT_EQ(Windows1252ToUtf8(c.bytes), ansiReading);
    std::string back = "unchanged";
    std::u32string refused;
    EXPECT_EQ(c.windows1252Back, Utf8ToWindows1252(ansiReading, back, refused));
    EXPECT_EQ(c.windows1252Back ? c.bytes : "unchanged", back);

    // Characters Windows-1252 lacks are each refused once, in order, and
    // leave the bytes as they were.
    back = "unchanged";
    EXPECT_EQ(c.refusedInAnsi.empty(), Utf8ToWindows1252(c.utf8, back, refused));
    EXPECT_EQ(c.refusedInAnsi, refused);
    if (!c.refusedInAnsi.empty()) {
        EXPECT_EQ("unchanged", back);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TextCodecTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<CodecCase>& info) {
                             std::string name;
                             for (const char ch : std::string(info.param.name)) {
                                 name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             }
                             return name;
                         });

TEST(TextCodecEncodeTest, EachEncodingRefusesWhatItCannotHold) {
    std::string bytes = "unchanged";
    std::u32string refused;
    // Repeated characters are refused once; a lone surrogate and a value
    // beyond Unicode are no characters in either encoding.
    EXPECT_FALSE(
        EncodeText(TextEncoding::kWindows1252, U"\u0141\u00F3\u0141\u4E2D", bytes, refused));
    EXPECT_EQ(U"\u0141\u4E2D", refused);
    EXPECT_FALSE(EncodeText(TextEncoding::kUtf8, std::u32string{U'a', 0xD800, 0x110000, 0xD800},
                            bytes, refused));
    EXPECT_EQ((std::u32string{0xD800, 0x110000}), refused);
    EXPECT_EQ("unchanged", bytes);
    EXPECT_FALSE(Utf8ToWindows1252("caf\xE9", bytes, refused)) << "not UTF-8";
    EXPECT_EQ(U"\uFFFD", refused);

    ASSERT_TRUE(EncodeText(TextEncoding::kUtf8, U"\u4E2D\U0001F600", bytes, refused));
    EXPECT_EQ("\xE4\xB8\xAD\xF0\x9F\x98\x80", bytes);
    EXPECT_TRUE(refused.empty());
    ASSERT_TRUE(EncodeText(TextEncoding::kWindows1252, U"\u20AC\u0081\u00FF", bytes, refused));
    EXPECT_EQ("\x80\x81\xFF", bytes);
}

} // namespace
