// The characters of a rate file's texts. The document keeps the bytes of its
// file; the screen, the printer and the PDF listing show characters. A
// document whose file text is valid UTF-8 is read as UTF-8, any other as
// Windows-1252, and edits are converted back with the same encoding. A
// character the encoding cannot hold is never replaced by another: the
// conversion reports it instead.
//
// Windows-1252 leaves the bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D undefined.
// They stand for the C1 control characters of the same value (U+0081 and so
// on), as Windows converts them, so that every byte has a character and any
// Windows-1252 text converts there and back unchanged.
#pragma once

#include <string>
#include <string_view>

enum class TextEncoding { kUtf8, kWindows1252 };

bool IsValidUtf8(std::string_view bytes);

// UTF-8 when the whole text is valid UTF-8, else Windows-1252.
TextEncoding DetectEncoding(std::string_view fileText);

// A Unicode scalar value: at most U+10FFFF and no surrogate.
bool IsScalarValue(char32_t code);

// Appends the UTF-8 form of the scalar value code.
void AppendUtf8(std::string& out, char32_t code);

// The code points of UTF-8 text; a byte that begins no valid sequence gives
// U+FFFD.
std::u32string Utf8CodePoints(std::string_view utf8);

// The UTF-8 form of Windows-1252 bytes; every byte gives one character.
std::string Windows1252ToUtf8(std::string_view bytes);

// The characters of bytes in a document of the given encoding, as UTF-8. In a
// UTF-8 document a text that is not valid UTF-8 (one merged in from a
// Windows-1252 file, say) is read as Windows-1252 rather than lost.
std::string DecodeText(TextEncoding encoding, std::string_view bytes);

// The bytes of the characters codes in the given encoding. False when codes
// hold characters the encoding cannot hold (or a NUL, which no text may hold,
// or a value that is no character); those, each once and in order, are then
// in refused and bytes is left as it was.
bool EncodeText(TextEncoding encoding, std::u32string_view codes, std::string& bytes,
                std::u32string& refused);

// The Windows-1252 bytes of UTF-8 text, refusing as EncodeText does; a byte
// sequence that is not UTF-8 is refused as U+FFFD.
bool Utf8ToWindows1252(std::string_view utf8, std::string& bytes, std::u32string& refused);
