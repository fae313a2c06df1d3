#include "document/NodePlace.h"

#include "document/RateVocabulary.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr const char* kCustomerName = "CUSTOMERNAME";

bool IsCustomer(const CXmlNode& node) {
    return node.NameRef().Equals(rate::kCustomer);
}

bool IsPlan(const CXmlNode& node) {
    return node.NameRef().Equals(rate::kInsurancePlan);
}

// The text that keys node: a customer's first CONTRACTNUM, a plan's first
// PLANKEY; false for other elements.
bool KeyOf(const CXmlNode& node, std::string_view& key) {
    if (IsCustomer(node)) {
        key = BytesOf(node.ChildTextRef(rate::Keys().contractNum, 0));
        return true;
    }
    if (IsPlan(node)) {
        key = BytesOf(node.ChildTextRef(rate::Keys().planKey, 0));
        return true;
    }
    return false;
}

// node, then the elements above it up to (not including) root.
std::vector<const CXmlNode*> PathBelow(const CXmlNode* root, const CXmlNode* node) {
    std::vector<const CXmlNode*> path;
    for (const CXmlNode* at = node; at && at != root; at = at->GetParent()) {
        path.push_back(at);
    }
    std::reverse(path.begin(), path.end());
    return path;
}

} // namespace

std::string DescribePlace(const CXmlNode* root, const CXmlNode& node) {
    if (&node == root) {
        return std::string(BytesOf(node.NameRef()));
    }
    std::string place;
    for (const CXmlNode* at : PathBelow(root, &node)) {
        if (!place.empty()) {
            place += " / ";
        }
        std::string_view key;
        const CXmlKey& keyName = IsCustomer(*at) ? rate::Keys().contractNum : rate::Keys().planKey;
        if (KeyOf(*at, key) && at->FindChild(keyName, 0)) {
            place += IsCustomer(*at) ? rate::kContractNum : rate::kPlanKey;
            place += ' ';
            place += key;
        } else {
            place += BytesOf(at->NameRef());
        }
    }
    if (IsCustomer(node)) {
        const CXmlNode* name = node.FindChild(CXmlString(kCustomerName), 0);
        if (name) {
            place += " / ";
            place += kCustomerName;
            place += ' ';
            place += BytesOf(name->TextRef());
        }
    }
    return place;
}

bool CNodePlace::StepMatches(const Step& step, const CXmlNode& node) {
    if (!node.NameRef().Equals(step.strName.c_str()) ||
        node.NameRef().GetLength() != static_cast<int32_t>(step.strName.size())) {
        return false;
    }
    std::string_view key;
    return !step.bKeyed || (KeyOf(node, key) && key == step.strKey);
}

CNodePlace CNodePlace::Of(const CXmlNode* root, const CXmlNode* node) {
    CNodePlace place;
    if (!root || !node) {
        return place;
    }
    for (const CXmlNode* at : PathBelow(root, node)) {
        Step step;
        step.strName = std::string(BytesOf(at->NameRef()));
        std::string_view key;
        step.bKeyed = KeyOf(*at, key);
        step.strKey = std::string(key);
        const CXmlNode* parent = at->GetParent();
        for (int32_t index = 0; parent->GetChild(index) != at; ++index) {
            if (StepMatches(step, *parent->GetChild(index))) {
                ++step.nOccurrence;
            }
        }
        place.m_steps.push_back(std::move(step));
    }
    place.m_bSet = true;
    return place;
}

CXmlNode* CNodePlace::Resolve(CXmlNode* root) const {
    if (!root || !m_bSet) {
        return nullptr;
    }
    CXmlNode* reached = root;
    for (const Step& step : m_steps) {
        // The element of that occurrence, else the first of its name and key.
        CXmlNode* found = nullptr;
        CXmlNode* first = nullptr;
        int32_t seen = 0;
        const int32_t count = reached->GetChildCount();
        for (int32_t index = 0; index < count && !found; ++index) {
            CXmlNode* child = reached->GetChild(index);
            if (StepMatches(step, *child)) {
                first = first ? first : child;
                if (seen++ == step.nOccurrence) {
                    found = child;
                }
            }
        }
        found = found ? found : first;
        if (!found) {
            return reached == root && !m_steps.empty() ? nullptr : reached;
        }
        reached = found;
    }
    return reached;
}
