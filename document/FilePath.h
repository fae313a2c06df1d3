// File names as the document keeps them: byte strings in the system's file
// name encoding. That is UTF-8 on Windows, where the programs declare UTF-8
// as their code page, and the locale's encoding (normally UTF-8) elsewhere.
#pragma once

#include <filesystem>
#include <string>

// The path a file name stands for. (The Windows standard library would
// read a byte string in its C locale rather than as UTF-8.)
std::filesystem::path FilePath(const std::string& name);

// The file name of a path, in the same encoding.
std::string FileName(const std::filesystem::path& path);

// The absolute, normalised form of a file name; the name itself when it has
// none.
std::string AbsoluteFileName(const std::string& name);
