// CQuillmarView: the detail pane. It shows the element selected in the tree
// pane: its name as a caption and its text in a one-line edit box. DPKEY and
// PLANDESC, the values the user owns, can be edited there; "Set" writes the
// edited text into the element, marks the document modified and has the
// tree pane rebuilt. Pressing Enter in the edit box commits nothing.
#pragma once

#include "document/View.h"

#include <wx/font.h>
#include <wx/panel.h>

#include <string>

class CDesktopPlatform;
class CQuillmarDoc;
class CTextCodec;
class CXmlNode;
class wxButton;
class wxTextCtrl;

class CQuillmarView : public wxPanel, public CView {
public:
    CQuillmarView(wxWindow* parent, CQuillmarDoc& doc, const CTextCodec& codec,
                  CDesktopPlatform& platform);

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, CUpdateHint hint) override;

    // The document is about to change its tree where the pane cannot see it:
    // until the next hint, or until access is resumed, the pane does not
    // touch the element it shows (its caption was taken when it was shown).
    void SuspendNodeAccess() { m_bNodeStale = true; }
    void ResumeNodeAccess() { m_bNodeStale = false; }

    CXmlNode* GetNode() const { return m_pNode; }
    const wxString& GetCaption() const { return m_strCaption; }
    wxTextCtrl* GetEdit() const { return m_edit; }
    wxButton* GetSetButton() const { return m_btnSet; }
    // Below the specified controls: the shown element's place in words and,
    // for a read-only value wider than the edit box, the whole value, to
    // read, select and copy.
    wxTextCtrl* GetPlaceText() const { return m_placeText; }
    const wxFont& GetPaneFont() const { return m_font; }

    // Commits the edit box's text to the shown element.
    void OnSet();

    // Positions of the caption and the controls in the pane, in pixels.
    static constexpr int kCaptionLeft = 10;
    static constexpr int kCaptionTop = 10;

private:
    void OnDraw(wxDC& dc);
    void OnPaint(wxPaintEvent& event);
    void OnEraseBkgnd(wxEraseEvent& event);
    void OnSetClicked(wxCommandEvent& event);
    void EnableControls(bool enable);
    void OnSize(wxSizeEvent& event);
    void ShowPlace();

    CQuillmarDoc& m_doc;
    const CTextCodec& m_codec;
    CDesktopPlatform& m_platform;

    // The shown element's text as its bytes, and as shown in the edit box.
    std::string m_strText;
    wxString m_strShownText;
    wxFont m_font;
    wxTextCtrl* m_edit = nullptr;
    wxButton* m_btnSet = nullptr;
    wxTextCtrl* m_placeText = nullptr;
    CXmlNode* m_pNode = nullptr;
    // The caption, made when the element is shown: painting never reads the
    // element, which a merge may have destroyed before the panes hear of it.
    wxString m_strCaption;
    bool m_bNodeStale = false;
};

// The detail pane's font: 10-point Arial where the system has it, else the
// closest sans-serif face.
wxFont DetailPaneFont();
