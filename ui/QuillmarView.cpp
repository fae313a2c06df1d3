#include "ui/QuillmarView.h"

#include "document/NodePlace.h"
#include "document/Platform.h"
#include "document/QuillmarDoc.h"
#include "document/RateVocabulary.h"
#include "resources/Resource.h"
#include "resources/StringTable.h"
#include "ui/DesktopPlatform.h"
#include "ui/TextCodec.h"

#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/fontenum.h>
#include <wx/settings.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <string_view>

namespace {

bool IsEditable(const CXmlNode& node) {
    return node.NameRef().Equals(rate::kDpKey) || node.NameRef().Equals(rate::kPlanDesc);
}

// Control rectangles as left, top, right, bottom.
const wxRect kEditRect(wxPoint(10, 30), wxPoint(199, 53));
const wxRect kSetRect(wxPoint(210, 30), wxPoint(269, 53));
// The place display: below the controls, to the pane's right and bottom
// edges less this margin.
const wxPoint kPlaceOrigin(10, 64);
constexpr int kPlaceMargin = 10;

} // namespace

wxFont DetailPaneFont() {
    // Liberation Sans and Arimo have Arial's metrics.
    for (const char* face : {"Arial", "Liberation Sans", "Arimo"}) {
        if (wxFontEnumerator::IsValidFacename(face)) {
            return wxFont(wxFontInfo(10).FaceName(face));
        }
    }
    return wxFont(wxFontInfo(10).Family(wxFONTFAMILY_SWISS));
}

CQuillmarView::CQuillmarView(wxWindow* parent, CQuillmarDoc& doc, const CTextCodec& codec,
                             CDesktopPlatform& platform)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxSize(300, 100),
              wxTAB_TRAVERSAL | wxFULL_REPAINT_ON_RESIZE),
      m_doc(doc), m_codec(codec), m_platform(platform), m_font(DetailPaneFont()),
      m_strCaption(CStringTable::Get(IDS_CAPTION_NO_NODE)) {
    SetBackgroundStyle(wxBG_STYLE_ERASE);
    SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));

    // One line that scrolls sideways; no length limit. Enter is not taken
    // by the box, so it commits nothing.
    m_edit = new wxTextCtrl(this, IDC_NODE_TEXT, wxEmptyString, kEditRect.GetPosition(),
                            kEditRect.GetSize(), wxBORDER_SIMPLE);
    m_edit->SetFont(m_font);
    m_btnSet = new wxButton(this, IDC_SET, "Set", kSetRect.GetPosition(), kSetRect.GetSize());
    m_btnSet->SetFont(m_font);
    m_placeText = new wxTextCtrl(this, wxID_ANY, wxEmptyString, kPlaceOrigin, wxSize(260, 60),
                                 wxTE_MULTILINE | wxTE_READONLY | wxTE_BESTWRAP | wxBORDER_NONE);
    m_placeText->SetFont(m_font);
    m_placeText->SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
    EnableControls(false);

    Bind(wxEVT_PAINT, &CQuillmarView::OnPaint, this);
    Bind(wxEVT_ERASE_BACKGROUND, &CQuillmarView::OnEraseBkgnd, this);
    Bind(wxEVT_BUTTON, &CQuillmarView::OnSetClicked, this, IDC_SET);
    Bind(wxEVT_SIZE, &CQuillmarView::OnSize, this);
    doc.AddView(*this);
}

void CQuillmarView::EnableControls(bool enable) {
    // The button first, then the edit box.
    m_btnSet->Enable(enable);
    m_edit->Enable(enable);
}

void CQuillmarView::OnInitialUpdate() {
    CView::OnInitialUpdate();
    m_strText.clear();
}

void CQuillmarView::OnUpdate(CView*, CUpdateHint hint) {
    m_bNodeStale = false;
    if (hint.IsNode()) {
        m_pNode = hint.GetNode();
        m_strText = std::string(BytesOf(m_pNode->TextRef()));
        m_strShownText = m_codec.ToDisplay(m_strText);
        m_edit->ChangeValue(m_strShownText);
        m_strCaption = m_codec.ToDisplay(
            CStringTable::Format(IDS_CAPTION_FORMAT, {std::string(BytesOf(m_pNode->NameRef()))}));
        EnableControls(IsEditable(*m_pNode));
        ShowPlace();
    } else {
        m_strText.clear();
        m_strShownText.clear();
        m_edit->ChangeValue(m_strShownText);
        m_pNode = nullptr;
        m_strCaption = CStringTable::Get(IDS_CAPTION_NO_NODE);
        EnableControls(false);
        m_placeText->Clear();
    }
    Refresh(true);
}

void CQuillmarView::ShowPlace() {
    wxString shown = m_codec.ToDisplay(DescribePlace(m_doc.m_pRootNode, *m_pNode));
    // A value the edit box cannot show whole, and that cannot be scrolled
    // there since the box is disabled, is shown here in full.
    if (!IsEditable(*m_pNode) &&
        m_edit->GetTextExtent(m_strShownText).GetWidth() > m_edit->GetClientSize().GetWidth()) {
        shown << "\n\n" << m_strShownText;
    }
    m_placeText->ChangeValue(shown);
}

void CQuillmarView::OnSize(wxSizeEvent& event) {
    const wxSize client = GetClientSize();
    m_placeText->SetSize(kPlaceOrigin.x, kPlaceOrigin.y,
                         std::max(client.GetWidth() - kPlaceOrigin.x - kPlaceMargin, 40),
                         std::max(client.GetHeight() - kPlaceOrigin.y - kPlaceMargin, 20));
    event.Skip();
}

void CQuillmarView::OnEraseBkgnd(wxEraseEvent& event) {
    wxDC* dc = event.GetDC();
    if (!dc) {
        return;
    }
    wxCoord x = 0;
    wxCoord y = 0;
    wxCoord width = 0;
    wxCoord height = 0;
    dc->GetClippingBox(&x, &y, &width, &height);
    if (width == 0 || height == 0) {
        dc->GetSize(&width, &height);
        x = y = 0;
    }
    const wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    dc->SetBrush(wxBrush(face));
    dc->SetPen(*wxTRANSPARENT_PEN);
    dc->DrawRectangle(x, y, width, height);
    dc->SetBrush(wxNullBrush);
}

void CQuillmarView::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    OnDraw(dc);
}

void CQuillmarView::OnDraw(wxDC& dc) {
    dc.SetFont(m_font);
    dc.SetBackgroundMode(wxBRUSHSTYLE_SOLID);
    dc.SetTextBackground(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
    dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT));
    dc.DrawText(m_strCaption, kCaptionLeft, kCaptionTop);
    dc.SetFont(wxNullFont);
}

void CQuillmarView::OnSetClicked(wxCommandEvent&) {
    OnSet();
}

void CQuillmarView::OnSet() {
    if (!m_pNode || m_bNodeStale) {
        return;
    }
    const wxString typed = m_edit->GetValue();
    std::string bytes;
    if (typed == m_strShownText) {
        // Shown and not edited: written back byte for byte.
        bytes = m_strText;
    } else {
        wxString refused;
        if (!m_codec.FromDisplay(typed, bytes, refused)) {
            // Storing another character in its place would corrupt the
            // user's value; nothing is stored. (Quoted by appending: GCC 12
            // warns falsely of overlapping copies in "text" + std::string.)
            std::string quoted = "\"";
            quoted += refused.utf8_str().data();
            quoted += '"';
            m_platform.ShowMessage(CStringTable::Format(IDS_CHARACTER_NOT_STORED, {quoted}),
                                   MsgIcon::Exclamation, MsgButtons::Ok);
            return;
        }
    }
    m_pNode->SetText(CXmlString(bytes.c_str()));
    m_strText = bytes;
    m_strShownText = m_codec.ToDisplay(m_strText);
    m_doc.SetModifiedFlag(true);
    m_doc.UpdateAllViews(this, kHintRebuildTree);
}
