// CAboutDlg: the About box (IDD_ABOUTBOX): the application's icon, its
// version, the copyright notice, an OK button, and the line IDC_DP_VERSION,
// which reads "Data Processor Version" once the dialog is up.
#pragma once

#include <wx/dialog.h>

class wxStaticText;

class CAboutDlg : public wxDialog {
public:
    explicit CAboutDlg(wxWindow* parent);

    wxStaticText* GetVersionLine() const { return m_pDpVersion; }

private:
    void OnInitDialog(wxInitDialogEvent& event);

    wxStaticText* m_pDpVersion = nullptr;
};
