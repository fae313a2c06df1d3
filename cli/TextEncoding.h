// Texts of a rate file are bytes of the Windows ANSI code page (1252); cairo
// draws UTF-8.
#pragma once

#include <string>
#include <string_view>

// The UTF-8 form of Windows-1252 text. The five bytes the code page leaves
// undefined become U+FFFD, and a NUL byte is dropped, so that the result is
// always valid UTF-8 without an early end.
std::string Windows1252ToUtf8(std::string_view text);
