// What the desktop program prints for "--help" and "--version": answered on
// standard output before the toolkit starts, so that they work without a
// display (help2man makes the manual page from them at build time).
#pragma once

#include <optional>
#include <string>
#include <vector>

// The text to print when the first argument is "--help" or "--version";
// nothing for every other command line, which the program carries out.
std::optional<std::string> ProgramInformation(const std::vector<std::string>& args);
