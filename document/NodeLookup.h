// Lookups over the node tree used by the merge, with the engine's rules for
// finding children (names trimmed of blanks and tabs, letter case ignored).
#pragma once

#include "xml/XmlNode.h"
#include "xml/XmlString.h"

#include <vector>

// The children of parent found under name, in order: the nodes FindChild
// yields for name with the occurrences 0, 1, 2 and so on, found in one walk
// over the children instead of one walk per occurrence.
std::vector<CXmlNode*> ChildrenNamed(const CXmlNode* parent, const char* name);

// Whether the text of node's first child named name equals text; a missing
// child counts as an empty text, as GetChildText gives it. Compares without
// copying the child's text.
bool FirstChildTextEquals(const CXmlNode* node, const char* name, const CXmlString& text);
