// CUpdateHint: what a document broadcast tells its views. A hint is either
// one of the reset values 0, -1 and -2 or a reference to a node (a value
// greater than 0).
#pragma once

#include <cstdint>

class CXmlNode;

class CUpdateHint {
public:
    // Hint 0 (a new or opened document).
    constexpr CUpdateHint() noexcept = default;
    // A reset value: 0, -1 or -2. Values above 0 are reserved for node
    // references and are taken as 0 here.
    constexpr explicit CUpdateHint(int32_t value) noexcept : m_nValue(value > 0 ? 0 : value) {}

    // A reference to node; a null node gives hint 0.
    static constexpr CUpdateHint FromNode(CXmlNode* node) noexcept {
        CUpdateHint hint;
        hint.m_pNode = node;
        return hint;
    }

    // 0, -1, -2, or 1 for every node reference.
    constexpr int32_t GetValue() const noexcept { return m_pNode ? 1 : m_nValue; }
    constexpr bool IsNode() const noexcept { return m_pNode != nullptr; }
    constexpr CXmlNode* GetNode() const noexcept { return m_pNode; }

    constexpr bool operator==(const CUpdateHint& other) const noexcept = default;

private:
    int32_t m_nValue = 0;
    CXmlNode* m_pNode = nullptr;
};

// Sent on a new document and by the initial update of every New and Open:
// the tree pane empties itself, the detail pane clears itself.
inline constexpr CUpdateHint kHintNewDocument{0};
// Sent after a merge and after a committed edit: the tree pane rebuilds the
// whole tree, the detail pane clears itself.
inline constexpr CUpdateHint kHintRebuildTree{-1};
// Sent by the tree pane after deleting a plan: the detail pane clears itself.
inline constexpr CUpdateHint kHintPlanDeleted{-2};
