// The outline of a rate file as the tree pane shows it: one line per
// element in the pane's order, two blanks of indentation per level, then the
// item's label.
#pragma once

#include "xml/XmlNode.h"
#include "xml/XmlTextSink.h"

#include <cstdint>

// Writes the outline of the tree below root to sink, each line ended by a
// line feed. Works level by level without recursion, so a deep tree cannot
// exhaust the stack. False when the sink failed.
bool WriteOutline(const CXmlNode& root, CXmlTextSink& sink);

// The number of bytes WriteOutline writes for the tree below root, counted
// without building the outline (and without recursion).
uint64_t OutlineLength(const CXmlNode& root);
