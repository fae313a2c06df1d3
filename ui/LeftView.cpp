#include "ui/LeftView.h"

#include "document/QuillmarDoc.h"
#include "document/RateVocabulary.h"
#include "document/TreeLabels.h"
#include "ui/Artwork.h"
#include "ui/TextCodec.h"

#include <wx/wupdlock.h>

#include <algorithm>
#include <string_view>
#include <vector>
#ifdef __WXMSW__
#include <wx/msw/wrapwin.h>
#endif

namespace {

// An item's element, and whether the item's children have been created.
class CNodeItemData : public wxTreeItemData {
public:
    explicit CNodeItemData(CXmlNode* node) : m_pNode(node) {}
    CXmlNode* m_pNode;
    bool m_bChildrenAdded = false;
#ifdef wxHAS_GENERIC_TREECTRL
    // The label the control is given when the item is first shown; empty
    // once it has it.
    wxString m_strLabelToShow;
#endif
};

// The plan that takes a deleted plan's place: the next plan among its
// siblings, else the one before it; null when it was the only one.
CXmlNode* NeighbourPlan(const CXmlNode& parent, const CXmlNode& plan) {
    CXmlNode* before = nullptr;
    bool passed = false;
    const int32_t count = parent.GetChildCount();
    for (int32_t index = 0; index < count; ++index) {
        CXmlNode* child = parent.GetChild(index);
        if (child == &plan) {
            passed = true;
        } else if (child->NameRef().Equals(rate::kInsurancePlan)) {
            if (passed) {
                return child;
            }
            before = child;
        }
    }
    return before;
}

// Item labels in the user's characters, converted once for a run of equal
// labels: the thousands of customers under the root all read the same.
class CLabelRun {
public:
    explicit CLabelRun(const CTextCodec& codec) : m_codec(codec) {}

    const wxString& LabelOf(const CXmlNode& node) {
        const CXmlString bytes = TreeItemLabel(node);
        if (!m_bStarted || BytesOf(bytes) != m_strBytes) {
            m_bStarted = true;
            m_strBytes = BytesOf(bytes);
            m_strLabel = m_codec.ToDisplay(m_strBytes);
        }
        return m_strLabel;
    }

private:
    const CTextCodec& m_codec;
    bool m_bStarted = false;
    std::string m_strBytes;
    wxString m_strLabel;
};

} // namespace

CLeftView::CLeftView(wxWindow* parent, CQuillmarDoc& doc, const CTextCodec& codec)
    : wxTreeCtrl(parent, wxID_ANY, wxDefaultPosition, wxSize(300, 100),
                 wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_SINGLE),
      m_doc(doc), m_codec(codec) {
    // The control keeps the images and draws them at its window's scale.
    SetImages(TreeImages());
    Bind(wxEVT_TREE_SEL_CHANGING, &CLeftView::OnSelChanging, this);
    Bind(wxEVT_TREE_SEL_CHANGED, &CLeftView::OnSelChanged, this);
    Bind(wxEVT_TREE_ITEM_EXPANDING, &CLeftView::OnItemExpanding, this);
    Bind(wxEVT_TREE_DELETE_ITEM, &CLeftView::OnDeleteItem, this);
    Bind(wxEVT_TREE_ITEM_GETTOOLTIP, &CLeftView::OnGetToolTip, this);
#ifdef wxHAS_GENERIC_TREECTRL
    Bind(wxEVT_PAINT, &CLeftView::OnPaint, this);
#endif
    doc.AddView(*this);
}

CLeftView::~CLeftView() {
    DeleteAllItems();
}

CXmlNode* CLeftView::GetItemNode(const wxTreeItemId& item) const {
    if (!item.IsOk()) {
        return nullptr;
    }
    const auto* data = dynamic_cast<const CNodeItemData*>(GetItemData(item));
    return data ? data->m_pNode : nullptr;
}

void CLeftView::OnInitialUpdate() {
    CView::OnInitialUpdate();
    RebuildTree();
}

void CLeftView::OnUpdate(CView*, CUpdateHint hint) {
    m_pSelectedNode = nullptr;
    if (hint.IsNode()) {
        return;
    }
    // The rebuild clears the selection, and with it its place.
    const CNodePlace selectedPlace = std::move(m_selectedPlace);
    m_selectedPlace = {};
    m_placeToRestore = {};
    if (hint.GetValue() == 0) {
        m_bTreeFilled = false;
        DeleteAllItems();
        m_bNodesStale = false;
    } else if (hint.GetValue() == -1) {
        RebuildTree();
        if (m_bKeepPlace && !selectedPlace.IsEmpty()) {
            // Once every pane has heard of the rebuild: the detail pane
            // clears itself on this hint, and then shows the place again.
            m_placeToRestore = selectedPlace;
            CallAfter(&CLeftView::RestorePlace);
        }
    }
}

void CLeftView::RestorePlace() {
    const CNodePlace place = std::move(m_placeToRestore);
    m_placeToRestore = {};
    if (place.IsEmpty() || m_bNodesStale || !m_bTreeFilled) {
        return;
    }
    if (CXmlNode* node = place.Resolve(m_doc.m_pRootNode)) {
        RevealNode(node);
    }
}

wxTreeItemId CLeftView::ItemOfNode(CXmlNode* node) {
    std::vector<CXmlNode*> path; // node and its ancestors, up to the root
    for (CXmlNode* at = node; at; at = at->GetParent()) {
        path.push_back(at);
    }
    wxTreeItemId item = GetRootItem();
    if (path.empty() || path.back() != m_doc.m_pRootNode || GetItemNode(item) != path.back()) {
        return {};
    }
    path.pop_back();
    while (!path.empty()) {
        AddChildItems(item);
        const CXmlNode* next = path.back();
        path.pop_back();
        wxTreeItemIdValue cookie;
        wxTreeItemId child = GetFirstChild(item, cookie);
        while (child.IsOk() && GetItemNode(child) != next) {
            child = GetNextChild(item, cookie);
        }
        if (!child.IsOk()) {
            return {};
        }
        item = child;
    }
    return item;
}

bool CLeftView::RevealNode(CXmlNode* pNode) {
    if (!pNode || m_bNodesStale || !m_bTreeFilled) {
        return false;
    }
    const wxTreeItemId item = ItemOfNode(pNode);
    if (!item.IsOk()) {
        return false;
    }
    {
        // Expanded while frozen, the control lays out its items once, when
        // the selection scrolls into view, instead of once per level.
        wxWindowUpdateLocker frozen(this);
        std::vector<wxTreeItemId> ancestors;
        for (wxTreeItemId at = GetItemParent(item); at.IsOk(); at = GetItemParent(at)) {
            ancestors.push_back(at);
        }
        for (auto at = ancestors.rbegin(); at != ancestors.rend(); ++at) {
            if (!IsExpanded(*at)) {
                Expand(*at);
            }
        }
        if (GetSelection() == item) {
            // Selecting the selected item changes nothing: tell the panes anew.
            BroadcastSelection();
        } else {
            SelectItem(item);
        }
    }
    // Selecting scrolls the item into view; selecting it again does not.
    EnsureVisible(item);
    return GetSelection() == item;
}

wxString CLeftView::ItemToolTip(const wxTreeItemId& item) const {
    const CXmlNode* node = m_bNodesStale ? nullptr : GetItemNode(item);
    if (!node || !node->NameRef().Equals(rate::kCustomer)) {
        return {};
    }
    return m_codec.ToDisplay(DescribePlace(m_doc.m_pRootNode, *node));
}

void CLeftView::OnGetToolTip(wxTreeEvent& event) {
    const wxString tip = ItemToolTip(event.GetItem());
    if (!tip.empty()) {
        event.SetToolTip(tip);
    }
}

void CLeftView::RebuildTree() {
    m_bNodesStale = false;
#ifdef wxHAS_GENERIC_TREECTRL
    if (RefillKeepingItems()) {
        return;
    }
#endif
    DeleteAllItems();
    if (m_doc.m_pRootNode) {
        AddNodeToTree(wxTreeItemId(), m_doc.m_pRootNode);
    }
}

wxString CLeftView::ItemLabel(const CXmlNode& node) const {
    return m_codec.ToDisplay(BytesOf(TreeItemLabel(node)));
}

#ifdef wxHAS_GENERIC_TREECTRL
bool CLeftView::RefillKeepingItems() {
    CXmlNode* const rootNode = m_doc.m_pRootNode;
    const wxTreeItemId root = GetRootItem();
    auto* const rootData = root.IsOk() ? dynamic_cast<CNodeItemData*>(GetItemData(root)) : nullptr;
    if (!rootNode || !rootData || !rootData->m_bChildrenAdded ||
        GetItemImage(root) != static_cast<int>(TreeItemImage(*rootNode)) ||
        GetItemText(root) != ItemLabel(*rootNode)) {
        return false;
    }
    const std::vector<const CXmlNode*> children = TreeItemChildren(*rootNode);
    if (GetChildrenCount(root, false) > children.size()) {
        return false;
    }
    // Laid out once, when the tree is next shown.
    wxWindowUpdateLocker frozen(this);
    // Nothing selected first, so that collapsing the root selects nothing
    // either.
    Unselect();
    Collapse(root);
    // As after a fresh fill, the root has the keyboard's focus and no item
    // waits to be selected.
    m_key_current = m_anchor;
    m_select_me = nullptr;
    rootData->m_pNode = rootNode;
    CLabelRun labels(m_codec);
    size_t index = 0;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId item = GetFirstChild(root, cookie); item.IsOk();
         item = GetNextChild(root, cookie), ++index) {
        CXmlNode* const node = const_cast<CXmlNode*>(children[index]);
        // The item's old element may be gone: only the item is read.
        auto* data = dynamic_cast<CNodeItemData*>(GetItemData(item));
        if (!data) {
            data = new CNodeItemData(node);
            SetItemData(item, data);
        } else {
            data->m_pNode = node;
            data->m_bChildrenAdded = false;
        }
        const int image = static_cast<int>(TreeItemImage(*node));
        if (GetItemImage(item) != image) {
            SetItemImage(item, image);
            SetItemImage(item, image, wxTreeItemIcon_Selected);
        }
        const wxString& label = labels.LabelOf(*node);
        if (GetItemText(item) != label) {
            // Given to the control when the item is next shown.
            if (!wxTreeCtrl::GetItemText(item).empty()) {
                wxTreeCtrl::SetItemText(item, wxString());
            }
            data->m_strLabelToShow = label;
        }
        if (IsExpanded(item) || GetChildrenCount(item, false) > 0) {
            CollapseAndReset(item);
        }
        SetItemHasChildren(item, node->GetChildCount() > 0);
    }
    for (; index < children.size(); ++index) {
        CXmlNode* const node = const_cast<CXmlNode*>(children[index]);
        AddNodeToTree(root, node, labels.LabelOf(*node));
    }
    SetItemHasChildren(root, rootNode->GetChildCount() > 0);
    m_bTreeFilled = true;
    return true;
}

wxString CLeftView::GetItemText(const wxTreeItemId& item) const {
    const auto* data =
        item.IsOk() ? dynamic_cast<const CNodeItemData*>(GetItemData(item)) : nullptr;
    if (data && !data->m_strLabelToShow.empty()) {
        return data->m_strLabelToShow;
    }
    return wxTreeCtrl::GetItemText(item);
}

void CLeftView::OnPaint(wxPaintEvent& event) {
    GiveShownItemsTheirLabels();
    event.Skip(); // the control paints
}

void CLeftView::GiveShownItemsTheirLabels() {
    const wxTreeItemId root = GetRootItem();
    wxRect rootRow;
    if (!root.IsOk() || !GetBoundingRect(root, rootRow) || rootRow.height <= 0) {
        return;
    }
    // Every row is as high as the root's, and the control lays them out from
    // a margin of two pixels at the top: the shown rows follow from the
    // scroll position alone, whether or not the control has laid out the
    // items of a branch opened since its last paint.
    constexpr int kTopMargin = 2;
    const int rowHeight = rootRow.height;
    const int top = CalcUnscrolledPosition(wxPoint(0, 0)).y - kTopMargin;
    const int firstRow = std::max(0, top / rowHeight);
    const int lastRow = (top + GetClientSize().y) / rowHeight;
    // The rows in the order the control shows them, through the expanded
    // branches, without recursion: each level keeps its parent and cookie.
    struct CLevel {
        wxTreeItemId parent;
        wxTreeItemIdValue cookie;
    };
    std::vector<CLevel> levels;
    wxTreeItemId item = root;
    for (int row = 0; item.IsOk() && row <= lastRow; ++row) {
        if (row >= firstRow) {
            auto* data = dynamic_cast<CNodeItemData*>(GetItemData(item));
            if (data && !data->m_strLabelToShow.empty()) {
                wxTreeCtrl::SetItemText(item, data->m_strLabelToShow);
                data->m_strLabelToShow.clear();
            }
        }
        wxTreeItemId next;
        if (IsExpanded(item)) {
            levels.push_back({item, nullptr});
            next = GetFirstChild(item, levels.back().cookie);
        }
        while (!next.IsOk() && !levels.empty()) {
            next = GetNextChild(levels.back().parent, levels.back().cookie);
            if (!next.IsOk()) {
                levels.pop_back();
            }
        }
        item = next;
    }
}
#endif

void CLeftView::AddNodeToTree(const wxTreeItemId& parent, CXmlNode* node) {
    AddNodeToTree(parent, node, ItemLabel(*node));
}

void CLeftView::AddNodeToTree(const wxTreeItemId& parent, CXmlNode* node, const wxString& label) {
    const int image = static_cast<int>(TreeItemImage(*node));
    auto* data = new CNodeItemData(node);
    wxTreeItemId item;
    if (parent.IsOk()) {
#ifdef wxHAS_GENERIC_TREECTRL
        data->m_strLabelToShow = label;
        item = AppendItem(parent, wxString(), image, image, data);
#else
        item = AppendItem(parent, label, image, image, data);
#endif
    } else {
        item = AddRoot(label, image, image, data);
        // The generic control selects a new root silently: a fill selects
        // nothing.
        Unselect();
    }
    // The children follow when the branch is first opened.
    if (node->GetChildCount() > 0) {
        SetItemHasChildren(item, true);
    }
    m_bTreeFilled = true;
}

void CLeftView::AddChildItems(const wxTreeItemId& item) {
    auto* data = dynamic_cast<CNodeItemData*>(GetItemData(item));
    if (!data || data->m_bChildrenAdded || !data->m_pNode) {
        return;
    }
    data->m_bChildrenAdded = true;
    CLabelRun labels(m_codec);
    // In document order, or sorted by label for a plan.
    for (const CXmlNode* child : TreeItemChildren(*data->m_pNode)) {
        CXmlNode* const node = const_cast<CXmlNode*>(child);
        AddNodeToTree(item, node, labels.LabelOf(*node));
    }
}

void CLeftView::OnItemExpanding(wxTreeEvent& event) {
    if (m_bNodesStale) {
        event.Veto();
        return;
    }
    AddChildItems(event.GetItem());
}

void CLeftView::OnInternalIdle() {
    m_bInIdle = true;
    wxTreeCtrl::OnInternalIdle();
    m_bInIdle = false;
}

#ifdef __WXMSW__
WXLRESULT CLeftView::MSWWindowProc(WXUINT message, WXWPARAM wParam, WXLPARAM lParam) {
    if (message != WM_SETFOCUS) {
        return wxTreeCtrl::MSWWindowProc(message, wParam, lParam);
    }
    m_bTakingFocus = true;
    const WXLRESULT result = wxTreeCtrl::MSWWindowProc(message, wParam, lParam);
    m_bTakingFocus = false;
    return result;
}
#endif

void CLeftView::OnSelChanging(wxTreeEvent& event) {
    // The generic tree control selects its root when idle and nothing is
    // selected, the native Windows control its first item when it takes the
    // focus; a fill leaves nothing selected, and so it stays until the user
    // selects an item.
    if (m_bInIdle || m_bTakingFocus) {
        event.Veto();
    }
}

void CLeftView::OnSelChanged(wxTreeEvent&) {
    BroadcastSelection();
}

void CLeftView::BroadcastSelection() {
    if (!m_bTreeFilled || m_bNodesStale) {
        return;
    }
    const wxTreeItemId item = GetSelection();
    if (item.IsOk()) {
        CXmlNode* node = GetItemNode(item);
        m_selectedPlace = CNodePlace::Of(m_doc.m_pRootNode, node);
        m_doc.UpdateAllViews(this, CUpdateHint::FromNode(node));
        m_pSelectedNode = node;
    } else {
        m_selectedPlace = {};
        m_pSelectedNode = nullptr;
    }
}

void CLeftView::OnDeleteItem(wxTreeEvent&) {
    // Items own nothing of the tree.
}

std::string CLeftView::GetSelectedNodeName() const {
    if (!m_bTreeFilled || m_bNodesStale) {
        return {};
    }
    const CXmlNode* node = GetItemNode(GetSelection());
    return node ? std::string(BytesOf(node->NameRef())) : std::string();
}

wxTreeItemId CLeftView::SuccessorOfSelection(const wxTreeItemId& item) const {
    wxTreeItemId successor = GetNextSibling(item);
    if (!successor.IsOk()) {
        successor = GetPrevSibling(item);
    }
    if (!successor.IsOk()) {
        successor = GetItemParent(item);
    }
    return successor;
}

bool CLeftView::DeleteSelectedPlan() {
    if (m_bNodesStale || !m_pSelectedNode) {
        return false;
    }
    CXmlNode* node = m_pSelectedNode;
    CXmlNode* parent = node->GetParent();
    if (!parent) {
        return false;
    }
    // The item to remove with the element: the selected one, when it shows
    // that element.
    const wxTreeItemId selected = GetSelection();
    const bool selectedShowsNode = selected.IsOk() && GetItemNode(selected) == node;
    CXmlNode* const neighbourPlan = m_bKeepPlace ? NeighbourPlan(*parent, *node) : nullptr;

    parent->RemoveChild(node); // destroys the element and its subtree
    m_pSelectedNode = nullptr;
    m_selectedPlace = {};

    if (selectedShowsNode) {
        // The selection moves on as the control moves it for any deletion,
        // and at once, so that the hint below is the last word.
        const wxTreeItemId successor = SuccessorOfSelection(selected);
        if (successor.IsOk()) {
            SelectItem(successor);
        }
        Delete(selected);
    } else {
        Unselect();
        RebuildTree();
    }
    m_doc.UpdateAllViews(this, kHintPlanDeleted);
    m_doc.SetModifiedFlag(true);
    if (neighbourPlan) {
        RevealNode(neighbourPlan);
    }
    return true;
}
