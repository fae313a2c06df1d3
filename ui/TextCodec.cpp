#include "ui/TextCodec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

// Windows-1252 bytes 0x80 to 0x9F. The five bytes the code page leaves
// undefined stand for the C1 control characters of the same value, as
// Windows converts them, so that every byte has a character and back.
constexpr std::array<char32_t, 32> kHighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t Windows1252ToCodePoint(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : char32_t{byte};
}

// The Windows-1252 byte of a code point; false when the code page has none.
bool CodePointToWindows1252(char32_t code, unsigned char& byte) {
    if (code == 0) {
        return false;
    }
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        byte = static_cast<unsigned char>(code);
        return true;
    }
    const auto it = std::find(kHighControls.begin(), kHighControls.end(), code);
    if (it == kHighControls.end()) {
        return false;
    }
    byte = static_cast<unsigned char>(0x80 + (it - kHighControls.begin()));
    return true;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool IsScalarValue(char32_t code) {
    return code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

// The code points of text. Where wchar_t holds UTF-16, surrogate pairs are
// joined; a lone surrogate is passed on as it is (and refused later).
std::u32string CodePoints(const wxString& text) {
    const std::wstring wide = text.ToStdWstring();
    std::u32string codes;
    codes.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t code = static_cast<char32_t>(wide[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (code >= 0xD800 && code <= 0xDBFF && i + 1 < wide.size()) {
                const char32_t low = static_cast<char32_t>(wide[i + 1]);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        codes += code;
    }
    return codes;
}

wxString FromCodePoints(const std::u32string& codes) {
    std::wstring wide;
    wide.reserve(codes.size());
    for (const char32_t code : codes) {
        wide += static_cast<wchar_t>(code); // Windows-1252 characters all fit one wchar_t
    }
    return wxString(wide);
}

} // namespace

bool IsValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        // Plain ASCII eight bytes at a time: rate files are mostly ASCII.
        if (end - p >= 8) {
            std::uint64_t chunk;
            std::memcpy(&chunk, p, sizeof chunk);
            if ((chunk & 0x8080808080808080ull) == 0) {
                p += 8;
                continue;
            }
        }
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        int follow;
        char32_t code;
        char32_t minimum;
        if ((lead & 0xE0) == 0xC0) {
            follow = 1;
            code = lead & 0x1F;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            follow = 2;
            code = lead & 0x0F;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            follow = 3;
            code = lead & 0x07;
            minimum = 0x10000;
        } else {
            return false;
        }
        if (end - p <= follow) {
            return false;
        }
        for (int i = 1; i <= follow; ++i) {
            if ((p[i] & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (p[i] & 0x3F);
        }
        if (code < minimum || !IsScalarValue(code)) {
            return false;
        }
        p += follow + 1;
    }
    return true;
}

TextEncoding DetectEncoding(std::string_view fileText) {
    return IsValidUtf8(fileText) ? TextEncoding::kUtf8 : TextEncoding::kWindows1252;
}

wxString CTextCodec::ToDisplay(std::string_view bytes) const {
    if (m_encoding == TextEncoding::kUtf8 && IsValidUtf8(bytes)) {
        return wxString::FromUTF8(bytes.data(), bytes.size());
    }
    std::u32string codes;
    codes.reserve(bytes.size());
    for (const char byte : bytes) {
        codes += Windows1252ToCodePoint(static_cast<unsigned char>(byte));
    }
    return FromCodePoints(codes);
}

bool CTextCodec::FromDisplay(const wxString& text, std::string& bytes, wxString& refused) const {
    std::string converted;
    std::u32string rejected;
    for (const char32_t code : CodePoints(text)) {
        bool stored = false;
        if (m_encoding == TextEncoding::kUtf8) {
            stored = code != 0 && IsScalarValue(code);
            if (stored) {
                AppendUtf8(converted, code);
            }
        } else {
            unsigned char byte = 0;
            stored = CodePointToWindows1252(code, byte);
            if (stored) {
                converted += static_cast<char>(byte);
            }
        }
        if (!stored && rejected.find(code) == std::u32string::npos) {
            rejected += code;
        }
    }
    refused.clear();
    if (!rejected.empty()) {
        for (const char32_t code : rejected) {
            // Shown as characters where they can be, else by their number.
            if (code != 0 && IsScalarValue(code)) {
                std::string utf8;
                AppendUtf8(utf8, code);
                refused += wxString::FromUTF8(utf8);
            } else {
                refused += wxString::Format("U+%04X", static_cast<unsigned>(code));
            }
        }
        return false;
    }
    bytes = std::move(converted);
    return true;
}
