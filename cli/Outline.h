// The outline of a rate file as the tree pane shows it: one line per
// element in the pane's order, two blanks of indentation per level, then the
// item's label.
#pragma once

#include "xml/XmlNode.h"
#include "xml/XmlTextSink.h"

// Writes the outline of the tree below root to sink, each line ended by a
// line feed. Works level by level without recursion, so a deep tree cannot
// exhaust the stack. False when the sink failed.
bool WriteOutline(const CXmlNode& root, CXmlTextSink& sink);
