// CNodeFinder: the Edit menu's Find, Find Next, Find Previous and Go To.
// Find looks for a text among the names and texts of the elements, from the
// selected item onwards in document order, letter case ignored, and reveals
// the element found in the tree pane; Go To goes straight to a customer by
// contract number or a plan by plan key through an index made once per
// change of the tree. Outcomes are told in the status bar, with a beep when
// nothing is found: no box needs dismissing.
#pragma once

#include "document/KeyIndex.h"
#include "document/View.h"

#include <wx/string.h>

#include <functional>
#include <memory>

class CLeftView;
class CQuillmarDoc;
class CTextCodec;
class wxFindDialogEvent;
class wxFindReplaceData;
class wxFindReplaceDialog;
class wxFrame;

class CNodeFinder : public CView {
public:
    CNodeFinder(wxFrame& frame, CQuillmarDoc& doc, CLeftView& tree, const CTextCodec& codec);
    ~CNodeFinder() override;

    // The index points into the tree: any change makes it again.
    void OnUpdate(CView* sender, CUpdateHint hint) override;

    // Edit, Find: opens the find window, or brings it to the front.
    void OpenFindWindow();
    wxFindReplaceDialog* GetFindWindow() const { return m_pFindWindow; }
    // Edit, Find Next and Find Previous: the last text again, onwards or
    // backwards; without one, the find window opens.
    void FindAgain(bool forward);
    // Looks for text from the selected item in the direction given; true
    // when an element was found and revealed.
    bool Find(const wxString& text, bool forward);
    const wxString& GetLastText() const { return m_strLastText; }

    // Edit, Go To: asks for a key, then GoToKey.
    void AskAndGoTo();
    // Reveals the customer whose contract number is key, else the plan
    // whose plan key it is; where several have it, the one after the
    // selected one among them. Blanks around key are ignored.
    bool GoToKey(const wxString& key);

    // Whether the user asked to stop a long find; by default, whether Esc
    // is held down.
    void SetCancelProbe(std::function<bool()> probe) { m_cancelProbe = std::move(probe); }

private:
    void OnFindEvent(wxFindDialogEvent& event);
    void OnFindClose(wxFindDialogEvent& event);
    void SetStatus(const wxString& text);
    void NotFound(const wxString& text);
    bool CanRead() const;

    wxFrame& m_frame;
    CQuillmarDoc& m_doc;
    CLeftView& m_tree;
    const CTextCodec& m_codec;
    std::unique_ptr<wxFindReplaceData> m_pFindData;
    wxFindReplaceDialog* m_pFindWindow = nullptr;
    wxString m_strLastText;
    std::unique_ptr<CKeyIndex> m_pKeyIndex;
    std::function<bool()> m_cancelProbe;
};
