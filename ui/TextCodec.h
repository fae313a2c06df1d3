// The characters of a document's texts. The document keeps bytes; the screen
// shows characters. A document whose file text is valid UTF-8 is shown as
// UTF-8, any other as Windows-1252, and edits are converted back with the
// same encoding. A character the encoding cannot hold is never replaced by
// another: the conversion reports it instead.
#pragma once

#include <wx/string.h>

#include <string>
#include <string_view>

enum class TextEncoding { kUtf8, kWindows1252 };

bool IsValidUtf8(std::string_view bytes);

// UTF-8 when the whole text is valid UTF-8, else Windows-1252.
TextEncoding DetectEncoding(std::string_view fileText);

class CTextCodec {
public:
    explicit CTextCodec(TextEncoding encoding = TextEncoding::kUtf8) : m_encoding(encoding) {}

    TextEncoding GetEncoding() const { return m_encoding; }
    void SetEncoding(TextEncoding encoding) { m_encoding = encoding; }

    // The characters of bytes. In a UTF-8 document, a text that is not valid
    // UTF-8 (one merged in from a Windows-1252 file, say) is shown as
    // Windows-1252 rather than lost.
    wxString ToDisplay(std::string_view bytes) const;

    // The bytes of text in the document's encoding. False when text holds
    // characters the encoding cannot hold (or a NUL, which no text may
    // hold); those characters, each once and in order, are then in refused
    // and bytes is left as it was.
    bool FromDisplay(const wxString& text, std::string& bytes, wxString& refused) const;

private:
    TextEncoding m_encoding;
};
