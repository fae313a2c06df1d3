// How the tree pane shows an element: its item's image and label, and the
// order of its children. Kept apart from any toolkit so that every front end
// that outlines a rate file shows it the same way.
#pragma once

#include "xml/XmlNode.h"
#include "xml/XmlString.h"

#include <vector>

// The item images, by their place in the pane's image list.
enum class TreeImage {
    kElement = 0,  // any name not listed below
    kCustomer = 1, // "CUSTOMER"
    kRateFile = 2, // "RATEFILE"
    kHeader = 3,   // "HEADER"
    kPlan = 4,     // "INSURANCEPLAN"
};

// The image of node's item, by its name compared exactly.
TreeImage TreeItemImage(const CXmlNode& node);

// The label of node's item: its name as stored; for an element named exactly
// "INSURANCEPLAN" the name, " - " and the text of its first PLANDESC child
// (found as children are found: trimmed, letter case ignored).
CXmlString TreeItemLabel(const CXmlNode& node);

// Whether node's children are shown sorted by label: only a plan's are.
bool SortsChildrenByLabel(const CXmlNode& node);

// Ascending order of labels with letter case ignored (A-Z against a-z),
// byte by byte otherwise.
bool TreeLabelLess(const CXmlString& left, const CXmlString& right);

// node's children in the order the pane shows them: the document's order,
// or for a plan sorted by label (children with equal labels keep their
// document order).
std::vector<const CXmlNode*> TreeItemChildren(const CXmlNode& node);
