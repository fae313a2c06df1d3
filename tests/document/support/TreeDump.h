// A tree as indented text, one element per line ("NAME = text"), for
// comparing whole trees with readable differences.
#pragma once

#include <string>

class CXmlNode;

std::string DumpTree(const CXmlNode* root);
// The tree of the rate file at path as DumpTree gives it; a note of the
// reader's error code when the file does not load cleanly.
std::string DumpFile(const std::string& path);
