// The string table: every user-visible text of the application, looked up by
// its number (the identifiers in resources/Resource.h).
#pragma once

#include <initializer_list>
#include <string>

class CStringTable {
public:
    // The text of string id, or an empty text when the table has no such string.
    static const char* Get(int id);
    static bool Contains(int id);
    // Field index (0-based) of a string whose fields are separated by line
    // feeds, such as the document string IDR_MAINFRAME or a command's prompt
    // and tooltip; empty when there is no such field.
    static std::string GetField(int id, int index);
    // String id with each "%s" or "%d" replaced by the next of args, in
    // order, and "%%" by "%". Placeholders beyond the arguments stay as they
    // are; the arguments themselves are never read as formats.
    static std::string Format(int id, std::initializer_list<std::string> args);
};
