#include "ui/TextCodec.h"

#include <gtest/gtest.h>

namespace {

std::string Utf8(const wxString& text) {
    return std::string(text.utf8_str());
}

TEST(TextCodecTest, ValidUtf8IsRecognised) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain ASCII text that is longer than eight bytes"));
    EXPECT_TRUE(IsValidUtf8("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"));
    EXPECT_FALSE(IsValidUtf8("caf\xE9"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // beyond U+10FFFF
    EXPECT_FALSE(IsValidUtf8("abc\xE2\x82"));      // cut short
    EXPECT_FALSE(IsValidUtf8("abcdefgh\x80"));     // stray continuation after a fast run
}

TEST(TextCodecTest, DetectsTheEncodingOfAFileText) {
    EXPECT_EQ(TextEncoding::kUtf8, DetectEncoding("<A>caf\xC3\xA9</A>"));
    EXPECT_EQ(TextEncoding::kWindows1252, DetectEncoding("<A>caf\xE9</A>"));
}

TEST(TextCodecTest, EveryWindows1252ByteHasACharacterAndComesBack) {
    const CTextCodec codec(TextEncoding::kWindows1252);
    std::string all;
    for (int byte = 1; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    const wxString shown = codec.ToDisplay(all);
    EXPECT_EQ(255u, shown.length());
    std::string back;
    wxString refused;
    ASSERT_TRUE(codec.FromDisplay(shown, back, refused));
    EXPECT_EQ(all, back);
    EXPECT_EQ("\xE2\x82\xAC", Utf8(codec.ToDisplay("\x80")));
    EXPECT_EQ("\xC5\xB8", Utf8(codec.ToDisplay("\x9F")));
}

TEST(TextCodecTest, Windows1252RefusesWhatItCannotHoldEachCharacterOnce) {
    const CTextCodec codec(TextEncoding::kWindows1252);
    std::string bytes = "unchanged";
    wxString refused;
    EXPECT_FALSE(codec.FromDisplay(wxString::FromUTF8("\xC5\x81\xC3\xB3\xC5\x81\xE4\xB8\xAD"),
                                   bytes, refused));
    EXPECT_EQ("\xC5\x81\xE4\xB8\xAD", Utf8(refused));
    EXPECT_EQ("unchanged", bytes);
}

TEST(TextCodecTest, Utf8DocumentShowsAForeignTextAsWindows1252) {
    const CTextCodec codec(TextEncoding::kUtf8);
    EXPECT_EQ("caf\xC3\xA9", Utf8(codec.ToDisplay("caf\xC3\xA9")));
    EXPECT_EQ("caf\xC3\xA9", Utf8(codec.ToDisplay("caf\xE9")));
}

TEST(TextCodecTest, Utf8StoresAnyCharacterButNul) {
    const CTextCodec codec(TextEncoding::kUtf8);
    std::string bytes;
    wxString refused;
    ASSERT_TRUE(
        codec.FromDisplay(wxString::FromUTF8("\xF0\x9F\x98\x80 \xE4\xB8\xAD"), bytes, refused));
    EXPECT_EQ("\xF0\x9F\x98\x80 \xE4\xB8\xAD", bytes);
    wxString withNul("a");
    withNul += wxUniChar(0);
    EXPECT_FALSE(codec.FromDisplay(withNul, bytes, refused));
    EXPECT_EQ("U+0000", Utf8(refused));
}

} // namespace
