// Conversions between the document's byte strings and wx strings for file
// paths and message texts. The document keeps paths as the file system's
// bytes; on Windows those are in the ANSI code page, elsewhere in the file
// name encoding of the locale (UTF-8 on a modern system).
#pragma once

#include <wx/string.h>

#include <string>

std::string PathToBytes(const wxString& path);
wxString PathFromBytes(const std::string& path);

// A message of the document or the string table: UTF-8 (the string table is
// plain ASCII), or, where it quotes a path that is not UTF-8, the path's
// encoding.
wxString MessageText(const std::string& text);
