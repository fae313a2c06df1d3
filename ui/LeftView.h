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

    CXmlNode* GetSelectedNode() const { return m_pSelectedNode; }
    bool IsTreeFilled() const { return m_bTreeFilled; }

    // The element of item; null for none.
    CXmlNode* GetItemNode(const wxTreeItemId& item) const;

    void OnInternalIdle() override;
#ifdef __WXMSW__
    WXLRESULT MSWWindowProc(WXUINT message, WXWPARAM wParam, WXLPARAM lParam) override;
#endif

private:
    void AddNodeToTree(const wxTreeItemId& parent, CXmlNode* node);
    // Creates item's children the first time it is expanded.
    void AddChildItems(const wxTreeItemId& item);
    // The item the control selects when the selected item goes: the next
    // sibling, else the previous one, else the parent.
    wxTreeItemId SuccessorOfSelection(const wxTreeItemId& item) const;

    void OnSelChanging(wxTreeEvent& event);
    void OnSelChanged(wxTreeEvent& event);
    void OnItemExpanding(wxTreeEvent& event);
    void OnDeleteItem(wxTreeEvent& event);

    CQuillmarDoc& m_doc;
    const CTextCodec& m_codec;
    bool m_bTreeFilled = false;
    CXmlNode* m_pSelectedNode = nullptr;
    bool m_bNodesStale = false;
    // Set while the control does its idle work, in which it would select the
    // root of its own accord.
    bool m_bInIdle = false;
    // Set while the native control takes the focus, on which it would select
    // its first item of its own accord.
    bool m_bTakingFocus = false;

    wxDECLARE_EVENT_TABLE();
};
