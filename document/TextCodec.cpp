#include "document/TextCodec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 bytes 0x80 to 0x9F; the rest of the code page is Latin-1. The
// five undefined bytes stand for the C1 controls of the same value.
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

// The scalar value of the UTF-8 sequence at p and the number of its bytes;
// 0 when no valid sequence begins there.
std::size_t DecodeUtf8(const unsigned char* p, const unsigned char* end, char32_t& code) {
    const unsigned char lead = *p;
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    std::size_t follow;
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
        return 0;
    }
    if (static_cast<std::size_t>(end - p) <= follow) {
        return 0;
    }
    for (std::size_t i = 1; i <= follow; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (p[i] & 0x3F);
    }
    if (code < minimum || !IsScalarValue(code)) {
        return 0;
    }
    return follow + 1;
}

} // namespace

bool IsScalarValue(char32_t code) {
    return code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
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
        char32_t code = 0;
        const std::size_t length = DecodeUtf8(p, end, code);
        if (length == 0) {
            return false;
        }
        p += length;
    }
    return true;
}

std::u32string Utf8CodePoints(std::string_view utf8) {
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* end = p + utf8.size();
    std::u32string codes;
    codes.reserve(utf8.size());
    while (p < end) {
        char32_t code = 0;
        const std::size_t length = DecodeUtf8(p, end, code);
        codes += length ? code : kReplacement;
        p += length ? length : 1;
    }
    return codes;
}

TextEncoding DetectEncoding(std::string_view fileText) {
    return IsValidUtf8(fileText) ? TextEncoding::kUtf8 : TextEncoding::kWindows1252;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string utf8;
    utf8.reserve(bytes.size());
    for (const char byte : bytes) {
        AppendUtf8(utf8, Windows1252ToCodePoint(static_cast<unsigned char>(byte)));
    }
    return utf8;
}

std::string DecodeText(TextEncoding encoding, std::string_view bytes) {
    if (encoding == TextEncoding::kUtf8 && IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    return Windows1252ToUtf8(bytes);
}

bool EncodeText(TextEncoding encoding, std::u32string_view codes, std::string& bytes,
                std::u32string& refused) {
    std::string converted;
    converted.reserve(codes.size());
    refused.clear();
    for (const char32_t code : codes) {
        bool stored = false;
        if (encoding == TextEncoding::kUtf8) {
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
        if (!stored && refused.find(code) == std::u32string::npos) {
            refused += code;
        }
    }
    if (!refused.empty()) {
        return false;
    }
    bytes = std::move(converted);
    return true;
}

bool Utf8ToWindows1252(std::string_view utf8, std::string& bytes, std::u32string& refused) {
    return EncodeText(TextEncoding::kWindows1252, Utf8CodePoints(utf8), bytes, refused);
}
