// Where an element stands in a rate file, told in the file's own words (a
// customer by its contract number, a plan by its plan key) and kept as steps
// that find the same place again in a tree that was rebuilt or merged.
#pragma once

#include "xml/XmlNode.h"

#include <cstdint>
#include <string>
#include <vector>

// The place of node under root in words, as bytes of the file: the elements
// from below the root down to node joined by " / ", a customer written as
// "CONTRACTNUM" and its number, a plan as "PLANKEY" and its key (when they
// have one), any other element by its name; for a customer itself its CUSTOMERNAME follows. The
// root alone is its name.
std::string DescribePlace(const CXmlNode* root, const CXmlNode& node);

class CNodePlace {
public:
    CNodePlace() = default;
    // The place of node, a descendant of root or root itself; empty for null.
    static CNodePlace Of(const CXmlNode* root, const CXmlNode* node);

    bool IsEmpty() const { return !m_bSet; }
    // The element at this place under root: customers are found by contract
    // number and plans by plan key, other elements by name and position
    // among the elements of that name. Where a step finds nothing, the
    // element reached before it; null when not even the first step below
    // the root is found.
    CXmlNode* Resolve(CXmlNode* root) const;

private:
    struct Step {
        std::string strName;
        // A customer's contract number or a plan's key, when bKeyed.
        std::string strKey;
        bool bKeyed = false;
        // Among the siblings of that name (and key).
        int32_t nOccurrence = 0;
    };
    static bool StepMatches(const Step& step, const CXmlNode& node);

    std::vector<Step> m_steps; // from the root's child down
    bool m_bSet = false;
};
