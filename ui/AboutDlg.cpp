#include "ui/AboutDlg.h"

#include "resources/Resource.h"
#include "resources/StringTable.h"
#include "ui/Artwork.h"

#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include <algorithm>

namespace {

// The dialog's layout in dialog units: left, top, width, height.
struct CDialogItem {
    int x;
    int y;
    int cx;
    int cy;
};

constexpr CDialogItem kDialog{0, 0, 235, 55};
constexpr CDialogItem kIcon{11, 17, 20, 20};
constexpr CDialogItem kVersion{40, 10, 119, 8};
constexpr CDialogItem kCopyright{40, 25, 188, 8};
constexpr CDialogItem kOk{178, 7, 50, 14};
constexpr CDialogItem kDpVersion{40, 40, 185, 8};

} // namespace

CAboutDlg::CAboutDlg(wxWindow* parent)
    : wxDialog(parent, IDD_ABOUTBOX, "About Quillmar", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX) {
    // Positions follow the dialog units of the dialog's font; a control is
    // never made lower than its text needs.
    const auto place = [this](wxWindow* control, const CDialogItem& item) {
        const wxPoint position = ConvertDialogToPixels(wxPoint(item.x, item.y));
        wxSize size = ConvertDialogToPixels(wxSize(item.cx, item.cy));
        size.y = std::max(size.y, control->GetBestSize().y);
        control->SetSize(wxRect(position, size));
    };

    // The icon at 32 pixels of 100% scale, drawn from its picture at the
    // screen's scale.
    const wxSize iconSize(32, 32);
    auto* iconControl = new wxStaticBitmap(this, wxID_STATIC, ApplicationPicture(iconSize));
    place(iconControl, kIcon);
    iconControl->SetSize(wxRect(iconControl->GetPosition(), FromDIP(iconSize)));

    place(new wxStaticText(this, wxID_STATIC, CStringTable::Get(IDS_ABOUT_VERSION)), kVersion);
    place(new wxStaticText(this, wxID_STATIC, CStringTable::Get(IDS_ABOUT_COPYRIGHT)), kCopyright);
    auto* ok = new wxButton(this, wxID_OK, "OK");
    ok->SetDefault();
    place(ok, kOk);
    m_pDpVersion = new wxStaticText(this, IDC_DP_VERSION, wxEmptyString);
    place(m_pDpVersion, kDpVersion);

    wxSize client = ConvertDialogToPixels(wxSize(kDialog.cx, kDialog.cy));
    for (const wxWindow* child : GetChildren()) {
        client.y = std::max(client.y, child->GetRect().GetBottom() + 8);
    }
    SetClientSize(client);
    CentreOnParent();

    Bind(wxEVT_INIT_DIALOG, &CAboutDlg::OnInitDialog, this);
}

void CAboutDlg::OnInitDialog(wxInitDialogEvent& event) {
    wxDialog::OnInitDialog(event); // the base step first
    m_pDpVersion->SetLabel(CStringTable::Get(IDS_DP_VERSION));
}
