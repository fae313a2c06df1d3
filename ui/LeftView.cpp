#include "ui/LeftView.h"

#include "document/QuillmarDoc.h"
#include "document/TreeLabels.h"
#include "ui/Artwork.h"
#include "ui/TextCodec.h"

#include <string_view>
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
};

std::string_view Bytes(const CXmlString& text) {
    return std::string_view(text.GetBuffer(), static_cast<size_t>(text.GetLength()));
}

} // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(CLeftView, wxTreeCtrl)
    EVT_TREE_SEL_CHANGING(wxID_ANY, CLeftView::OnSelChanging)
    EVT_TREE_SEL_CHANGED(wxID_ANY, CLeftView::OnSelChanged)
    EVT_TREE_ITEM_EXPANDING(wxID_ANY, CLeftView::OnItemExpanding)
    EVT_TREE_DELETE_ITEM(wxID_ANY, CLeftView::OnDeleteItem)
wxEND_EVENT_TABLE()
    // clang-format on

    CLeftView::CLeftView(wxWindow* parent, CQuillmarDoc& doc, const CTextCodec& codec)
    : wxTreeCtrl(parent, wxID_ANY, wxDefaultPosition, wxSize(300, 100),
                 wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_SINGLE),
      m_doc(doc), m_codec(codec) {
    // The control keeps the images and draws them at its window's scale.
    SetImages(TreeImages());
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
    if (hint.GetValue() == 0) {
        m_bTreeFilled = false;
        DeleteAllItems();
        m_bNodesStale = false;
    } else if (hint.GetValue() == -1) {
        RebuildTree();
    }
}

void CLeftView::RebuildTree() {
    DeleteAllItems();
    m_bNodesStale = false;
    if (m_doc.m_pRootNode) {
        AddNodeToTree(wxTreeItemId(), m_doc.m_pRootNode);
    }
}

void CLeftView::AddNodeToTree(const wxTreeItemId& parent, CXmlNode* node) {
    const int image = static_cast<int>(TreeItemImage(*node));
    const wxString label = m_codec.ToDisplay(Bytes(TreeItemLabel(*node)));
    auto* data = new CNodeItemData(node);
    wxTreeItemId item;
    if (parent.IsOk()) {
        item = AppendItem(parent, label, image, image, data);
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
    // In document order, or sorted by label for a plan.
    for (const CXmlNode* child : TreeItemChildren(*data->m_pNode)) {
        AddNodeToTree(item, const_cast<CXmlNode*>(child));
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
    if (!m_bTreeFilled || m_bNodesStale) {
        return;
    }
    const wxTreeItemId item = GetSelection();
    if (item.IsOk()) {
        CXmlNode* node = GetItemNode(item);
        m_doc.UpdateAllViews(this, CUpdateHint::FromNode(node));
        m_pSelectedNode = node;
    } else {
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
    return node ? std::string(Bytes(node->NameRef())) : std::string();
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

    parent->RemoveChild(node); // destroys the element and its subtree
    m_pSelectedNode = nullptr;

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
    return true;
}
