// Reading a file as the engine's text. The bytes are taken as a C runtime's
// text mode delivers them on the platform the rate files come from: a CR LF
// pair becomes one LF, and a byte 26 ends the text. The text is then read in
// pieces of 10,239 bytes, each ending at its first NUL byte.
#pragma once

#include "xml/XmlString.h"

#include <cstddef>

enum class FileTextStatus {
    kOk,
    kCannotOpen, // missing, unreadable, a directory, or a read error
    kTooLarge,   // the text does not fit a string
};

constexpr std::size_t kFileTextPieceSize = 10239;

FileTextStatus ReadFileText(const char* path, CXmlString& text);
FileTextStatus BytesToFileText(const char* bytes, std::size_t size, CXmlString& text);
