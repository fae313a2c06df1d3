// The characters of a document's texts as the toolkit's strings: the
// document's text codec (document/TextCodec.h) for the screen and the
// printer.
#pragma once

#include "document/TextCodec.h"

#include <wx/string.h>

#include <string>
#include <string_view>

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
