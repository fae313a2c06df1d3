// A plain merge written step by step from the merge rules, with linear
// searches, restarting removals and recursion, kept only as the reference
// that the document's merge is compared with.
#pragma once

#include "document/Date.h"
#include "xml/XmlNode.h"

#include <cstdint>

struct ReferenceMergeResult {
    int32_t nImported = 0;
    int32_t nMatched = 0;
};

// Merges the incoming root (a RATEFILE) into the loaded root in place, with
// today as the date of the expiry test.
ReferenceMergeResult ReferenceMerge(CXmlNode* loadedRoot, CXmlNode* incomingRoot,
                                    const CDate& today);
