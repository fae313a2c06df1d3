// CLeftView: the tree pane. One tree item per element of the document's
// tree; a plan's label adds its description, a plan's children are sorted by
// label with letter case ignored, and every fill leaves the tree collapsed
// with nothing selected. Selecting an item passes its element to the other
// panes; the main frame's Delete command removes a selected plan through it.
//
// Items are created when their branch is first expanded: the user sees
// exactly what a complete fill shows, and a rate file of any size is shown at
// once. Each item's data points to its element; the document owns the
// elements, and deleting an item frees nothing of the tree.
#pragma once

#include "document/NodePlace.h"
#include "document/View.h"

#include <wx/treectrl.h>

#include <string>

class CQuillmarDoc;
class CTextCodec;
class CXmlNode;

class CLeftView : public wxTreeCtrl, public CView {
public:
    CLeftView(wxWindow* parent, CQuillmarDoc& doc, const CTextCodec& codec);
    ~CLeftView() override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, CUpdateHint hint) override;

    void RebuildTree();
    // The name of the selected item's element, as its bytes; empty when the
    // tree is not filled or nothing is selected.
    std::string GetSelectedNodeName() const;
    // Removes the remembered selection's element from its parent, with its
    // item; false (and nothing changed) when there is none or it is the root.
    bool DeleteSelectedPlan();

    // The document is about to change its tree where the pane cannot see it
    // (a merge, or a load whose message is shown before the panes hear of
    // it): until the next hint that refills the tree, or until access is
    // resumed, the pane reads no element through its items or its selection.
    void SuspendNodeAccess() { m_bNodesStale = true; }
    void ResumeNodeAccess() { m_bNodesStale = false; }

    bool IsNodeAccessSuspended() const { return m_bNodesStale; }

    // Shows node as a click on its item would: its item's ancestors are
    // expanded (their children created on the way), the item is selected and
    // scrolled into view, and the other panes are told of it. False when the
    // node has no item in the tree (or the tree cannot be read now).
    bool RevealNode(CXmlNode* pNode);

    // While on, the element that was selected is selected again after the
    // tree is rebuilt (after "Set" and after a merge, where it is found by
    // its customer's contract number and its plan key), and a deleted plan's
    // next plan is selected; while off, the tree stays as it is left.
    void SetKeepPlace(bool keep) { m_bKeepPlace = keep; }
    bool IsKeepPlace() const { return m_bKeepPlace; }

    // The tooltip of item: a customer's contract number and name; empty for
    // other elements.
    wxString ItemToolTip(const wxTreeItemId& item) const;

    CXmlNode* GetSelectedNode() const { return m_pSelectedNode; }
    bool IsTreeFilled() const { return m_bTreeFilled; }

    // The element of item; null for none.
    CXmlNode* GetItemNode(const wxTreeItemId& item) const;

    void OnInternalIdle() override;
#ifdef wxHAS_GENERIC_TREECTRL
    // An item's label, whether or not the control has been given it yet.
    wxString GetItemText(const wxTreeItemId& item) const override;
#endif
#ifdef __WXMSW__
    WXLRESULT MSWWindowProc(WXUINT message, WXWPARAM wParam, WXLPARAM lParam) override;
#endif

private:
    // The label of node's item, as the user sees it.
    wxString ItemLabel(const CXmlNode& node) const;
#ifdef wxHAS_GENERIC_TREECTRL
    // The rebuild on the generic control: it measures each item's label the
    // first time it lays the item out and keeps the measure with the item,
    // so that opening a root of thousands of customers again after a fresh
    // fill would measure each of them again. When the root's children have
    // items, their items are kept, given their new elements, labels and
    // images, and emptied and collapsed, with the root collapsed and nothing
    // selected: the tree shows exactly what a fresh fill shows, and each
    // branch below the root is filled again when it is opened. False (and
    // nothing changed) when there is nothing to keep.
    bool RefillKeepingItems();

    // The generic control measures every label of a branch the first
    // time it lays the branch out (a text layout each, through Pango), and
    // the root of a large file has tens of thousands of customers. Items
    // below the root are therefore given an empty label first, which is
    // measured at no cost, and their own label just before they are first
    // painted: opening a branch measures only the rows it shows.
    void OnPaint(wxPaintEvent& event);
    void GiveShownItemsTheirLabels();
#endif
    void AddNodeToTree(const wxTreeItemId& parent, CXmlNode* node);
    // The same with node's label, made already.
    void AddNodeToTree(const wxTreeItemId& parent, CXmlNode* node, const wxString& label);
    // Creates item's children the first time it is expanded.
    void AddChildItems(const wxTreeItemId& item);
    // The item of node, its ancestors' children created on the way; invalid
    // when node is not in the document's tree.
    wxTreeItemId ItemOfNode(CXmlNode* node);
    // Passes the selected item's element on, as a selection change does.
    void BroadcastSelection();
    // Selects again the place remembered before the last rebuild.
    void RestorePlace();
    // The item the control selects when the selected item goes: the next
    // sibling, else the previous one, else the parent.
    wxTreeItemId SuccessorOfSelection(const wxTreeItemId& item) const;

    void OnSelChanging(wxTreeEvent& event);
    void OnSelChanged(wxTreeEvent& event);
    void OnItemExpanding(wxTreeEvent& event);
    void OnDeleteItem(wxTreeEvent& event);
    void OnGetToolTip(wxTreeEvent& event);

    CQuillmarDoc& m_doc;
    const CTextCodec& m_codec;
    bool m_bTreeFilled = false;
    CXmlNode* m_pSelectedNode = nullptr;
    bool m_bNodesStale = false;
    bool m_bKeepPlace = false;
    // The place of the selected element, taken when it was selected: a merge
    // may destroy the element before the pane hears of it.
    CNodePlace m_selectedPlace;
    // The place to select again once the current rebuild's broadcast is over.
    CNodePlace m_placeToRestore;
    // Set while the control does its idle work, in which it would select the
    // root of its own accord.
    bool m_bInIdle = false;
    // Set while the native control takes the focus, on which it would select
    // its first item of its own accord.
    bool m_bTakingFocus = false;
};
