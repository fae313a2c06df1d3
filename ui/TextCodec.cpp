#include "ui/TextCodec.h"

namespace {

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

} // namespace

wxString CTextCodec::ToDisplay(std::string_view bytes) const {
    const std::string utf8 = DecodeText(m_encoding, bytes);
    return wxString::FromUTF8(utf8.data(), utf8.size());
}

bool CTextCodec::FromDisplay(const wxString& text, std::string& bytes, wxString& refused) const {
    std::u32string rejected;
    const bool stored = EncodeText(m_encoding, CodePoints(text), bytes, rejected);
    refused.clear();
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
    return stored;
}
