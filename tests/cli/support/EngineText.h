// What the XML engine itself makes of a file, for checking the tool's output
// against it: the saved text and the printed listing's lines.
#pragma once

#include <string>
#include <vector>

// The declaration and the tree of the file at path, as a save writes them.
std::string SavedText(const std::string& path, bool compressed);
// The lines of the printed listing of the file at path: its indented text
// without declaration, cut at the line ends.
std::vector<std::string> ListingLines(const std::string& path);
