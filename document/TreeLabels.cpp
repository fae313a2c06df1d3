#include "document/TreeLabels.h"

#include "document/RateVocabulary.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

unsigned char FoldCase(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return value >= 'A' && value <= 'Z' ? static_cast<unsigned char>(value - 'A' + 'a') : value;
}

} // namespace

TreeImage TreeItemImage(const CXmlNode& node) {
    const CXmlString& name = node.NameRef();
    if (name.Equals(rate::kCustomer)) {
        return TreeImage::kCustomer;
    }
    if (name.Equals(rate::kRateFile)) {
        return TreeImage::kRateFile;
    }
    if (name.Equals(rate::kHeader)) {
        return TreeImage::kHeader;
    }
    if (name.Equals(rate::kInsurancePlan)) {
        return TreeImage::kPlan;
    }
    return TreeImage::kElement;
}

CXmlString TreeItemLabel(const CXmlNode& node) {
    CXmlString label = node.GetName();
    if (TreeItemImage(node) == TreeImage::kPlan) {
        label.Append(" - ");
        const CXmlString description = node.GetChildText(rate::kPlanDesc, 0);
        label.Append(description.GetBuffer(), description.GetLength());
    }
    return label;
}

bool SortsChildrenByLabel(const CXmlNode& node) {
    return node.NameRef().Equals(rate::kInsurancePlan);
}

bool TreeLabelLess(const CXmlString& left, const CXmlString& right) {
    const char* a = left.GetBuffer();
    const char* b = right.GetBuffer();
    const int32_t common = std::min(left.GetLength(), right.GetLength());
    for (int32_t i = 0; i < common; ++i) {
        const unsigned char x = FoldCase(a[i]);
        const unsigned char y = FoldCase(b[i]);
        if (x != y) {
            return x < y;
        }
    }
    return left.GetLength() < right.GetLength();
}

std::vector<const CXmlNode*> TreeItemChildren(const CXmlNode& node) {
    const int32_t count = node.GetChildCount();
    std::vector<const CXmlNode*> children;
    children.reserve(static_cast<std::size_t>(count));
    for (int32_t index = 0; index < count; ++index) {
        if (const CXmlNode* child = node.GetChild(index)) {
            children.push_back(child);
        }
    }
    if (SortsChildrenByLabel(node)) {
        struct Labelled {
            CXmlString label;
            const CXmlNode* node;
        };
        std::vector<Labelled> labelled;
        labelled.reserve(children.size());
        for (const CXmlNode* child : children) {
            labelled.push_back({TreeItemLabel(*child), child});
        }
        std::stable_sort(
            labelled.begin(), labelled.end(),
            [](const Labelled& a, const Labelled& b) { return TreeLabelLess(a.label, b.label); });
        for (std::size_t i = 0; i < labelled.size(); ++i) {
            children[i] = labelled[i].node;
        }
    }
    return children;
}
