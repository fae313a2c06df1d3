#include "ui/NodeFinder.h"

#include "document/NodeSearch.h"
#include "document/QuillmarDoc.h"
#include "resources/Resource.h"
#include "resources/StringTable.h"
#include "ui/LeftView.h"
#include "ui/TextCodec.h"

#include <wx/fdrepdlg.h>
#include <wx/frame.h>
#include <wx/statusbr.h>
#include <wx/textdlg.h>
#include <wx/utils.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>

namespace {

// How long a find runs before the busy cursor shows.
constexpr std::chrono::milliseconds kBusyAfter(250);

std::string Utf8(const wxString& text) {
    return std::string(text.utf8_str());
}

wxString Quoted(const wxString& text) {
    return "\"" + text + "\"";
}

wxString Text(int id, const wxString& first, const wxString& second = {}) {
    return wxString::FromUTF8(CStringTable::Format(id, {Utf8(first), Utf8(second)}));
}

bool EscapeHeldDown() {
#if defined(__WXGTK__) && defined(__UNIX__)
    // Only the X server tells the state of a key other than a modifier.
    if (wxGetDisplayInfo().type != wxDisplayX11) {
        return false;
    }
#endif
    return wxGetKeyState(WXK_ESCAPE);
}

} // namespace

CNodeFinder::CNodeFinder(wxFrame& frame, CQuillmarDoc& doc, CLeftView& tree,
                         const CTextCodec& codec)
    : m_frame(frame), m_doc(doc), m_tree(tree), m_codec(codec),
      m_pFindData(std::make_unique<wxFindReplaceData>(wxFR_DOWN)), m_cancelProbe(EscapeHeldDown) {
    m_frame.Bind(wxEVT_FIND, &CNodeFinder::OnFindEvent, this);
    m_frame.Bind(wxEVT_FIND_NEXT, &CNodeFinder::OnFindEvent, this);
    m_frame.Bind(wxEVT_FIND_CLOSE, &CNodeFinder::OnFindClose, this);
    doc.AddView(*this);
}

CNodeFinder::~CNodeFinder() {
    m_frame.Unbind(wxEVT_FIND, &CNodeFinder::OnFindEvent, this);
    m_frame.Unbind(wxEVT_FIND_NEXT, &CNodeFinder::OnFindEvent, this);
    m_frame.Unbind(wxEVT_FIND_CLOSE, &CNodeFinder::OnFindClose, this);
    if (m_pFindWindow) {
        m_pFindWindow->Destroy();
    }
}

void CNodeFinder::OnUpdate(CView*, CUpdateHint hint) {
    if (!hint.IsNode()) {
        m_pKeyIndex.reset();
    }
}

bool CNodeFinder::CanRead() const {
    return m_doc.m_pRootNode && m_tree.IsTreeFilled() && !m_tree.IsNodeAccessSuspended();
}

void CNodeFinder::SetStatus(const wxString& text) {
    if (wxStatusBar* bar = m_frame.GetStatusBar()) {
        bar->SetStatusText(text, 0);
    }
}

void CNodeFinder::NotFound(const wxString& text) {
    SetStatus(Text(IDS_FIND_NOT_FOUND, Quoted(text)));
    wxBell();
}

void CNodeFinder::OpenFindWindow() {
    if (!m_pFindWindow) {
        m_pFindData->SetFindString(m_strLastText);
        m_pFindWindow = new wxFindReplaceDialog(&m_frame, m_pFindData.get(),
                                                CStringTable::Get(IDS_FIND_CAPTION),
                                                wxFR_NOMATCHCASE | wxFR_NOWHOLEWORD);
        // Over the detail pane's lower part, clear of the tree and the
        // element shown.
        const wxRect frame = m_frame.GetScreenRect();
        const wxSize size = m_pFindWindow->GetSize();
        m_pFindWindow->Move(std::max(frame.GetLeft(), frame.GetRight() - size.x - 24),
                            std::max(frame.GetTop(), frame.GetBottom() - size.y - 48));
    }
    m_pFindWindow->Show();
    m_pFindWindow->Raise();
}

void CNodeFinder::OnFindEvent(wxFindDialogEvent& event) {
    Find(event.GetFindString(), (event.GetFlags() & wxFR_DOWN) != 0);
}

void CNodeFinder::OnFindClose(wxFindDialogEvent&) {
    if (m_pFindWindow) {
        m_pFindWindow->Destroy();
        m_pFindWindow = nullptr;
    }
}

void CNodeFinder::FindAgain(bool forward) {
    if (m_strLastText.empty()) {
        OpenFindWindow();
        return;
    }
    Find(m_strLastText, forward);
}

bool CNodeFinder::Find(const wxString& text, bool forward) {
    if (text.empty() || !CanRead()) {
        return false;
    }
    m_strLastText = text;
    std::string needle;
    wxString refused;
    if (!m_codec.FromDisplay(text, needle, refused)) {
        // No text of the file can hold these characters.
        SetStatus(Text(IDS_FIND_UNENCODABLE, Quoted(text), Quoted(refused)));
        wxBell();
        return false;
    }
    const CTextMatcher matcher(needle, m_codec.GetEncoding() == TextEncoding::kUtf8
                                           ? SearchCharset::kUtf8
                                           : SearchCharset::kWindows1252);
    const auto started = std::chrono::steady_clock::now();
    std::optional<wxBusyCursor> busy;
    const CFindResult result = FindElement(
        m_doc.m_pRootNode, m_tree.GetItemNode(m_tree.GetSelection()), matcher, forward, [&] {
            if (!busy && std::chrono::steady_clock::now() - started > kBusyAfter) {
                busy.emplace();
                SetStatus(Text(IDS_STATUS_FINDING, Quoted(text)));
                // Shown now: the find runs before the next paint.
                if (wxStatusBar* bar = m_frame.GetStatusBar()) {
                    bar->Update();
                }
            }
            return !m_cancelProbe || !m_cancelProbe();
        });
    switch (result.outcome) {
    case FindOutcome::kCancelled:
        SetStatus(CStringTable::Get(IDS_FIND_CANCELLED));
        return false;
    case FindOutcome::kNotFound:
        NotFound(text);
        return false;
    case FindOutcome::kFound:
    case FindOutcome::kFoundAfterWrap:
        break;
    }
    if (!m_tree.RevealNode(result.pNode)) {
        NotFound(text);
        return false;
    }
    SetStatus(result.outcome == FindOutcome::kFound
                  ? CStringTable::Get(AFX_IDS_IDLEMESSAGE)
                  : CStringTable::Get(forward ? IDS_FIND_WRAPPED_END : IDS_FIND_WRAPPED_START));
    return true;
}

void CNodeFinder::AskAndGoTo() {
    if (!CanRead()) {
        return;
    }
    wxTextEntryDialog dialog(&m_frame, CStringTable::Get(IDS_GOTO_PROMPT),
                             CStringTable::Get(IDS_GOTO_CAPTION));
    if (dialog.ShowModal() == wxID_OK) {
        GoToKey(dialog.GetValue());
    }
}

bool CNodeFinder::GoToKey(const wxString& key) {
    wxString trimmed = key;
    trimmed.Trim(true).Trim(false);
    if (trimmed.empty() || !CanRead()) {
        return false;
    }
    std::string bytes;
    wxString refused;
    if (!m_codec.FromDisplay(trimmed, bytes, refused)) {
        NotFound(trimmed);
        return false;
    }
    if (!m_pKeyIndex) {
        m_pKeyIndex = std::make_unique<CKeyIndex>(m_doc.m_pRootNode);
    }
    const std::vector<CXmlNode*> found = m_pKeyIndex->Find(bytes);
    if (found.empty()) {
        NotFound(trimmed);
        return false;
    }
    // Going to the same key again goes on to the next element that has it.
    const auto selected =
        std::find(found.begin(), found.end(), m_tree.GetItemNode(m_tree.GetSelection()));
    CXmlNode* target =
        selected == found.end() || selected + 1 == found.end() ? found.front() : *(selected + 1);
    if (!m_tree.RevealNode(target)) {
        NotFound(trimmed);
        return false;
    }
    SetStatus(CStringTable::Get(AFX_IDS_IDLEMESSAGE));
    return true;
}
