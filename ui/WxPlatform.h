// CWxPlatform: the desktop platform on wxWidgets. Message boxes and file
// dialogs are the toolkit's, owned by the main window; settings live in
// wxConfig under the vendor "Veltrane" and the application "Quillmar" (the
// per-user registry on Windows, a per-user configuration file elsewhere);
// printing goes through the toolkit's print dialog and printer.
#pragma once

#include "ui/DesktopPlatform.h"

#include <wx/cmndata.h>

class wxWindow;

class CWxPlatform : public CDesktopPlatform {
public:
    CWxPlatform();

    MsgAnswer ShowMessage(const std::string& text, MsgIcon icon, MsgButtons buttons) override;
    std::string ChooseFile(const CFileDialogSpec& spec) override;
    int ReadSettingInt(const std::string& section, const std::string& entry,
                       int defaultValue) override;
    void WriteSettingInt(const std::string& section, const std::string& entry, int value) override;
    std::string ReadSettingString(const std::string& section, const std::string& entry,
                                  const std::string& defaultValue) override;
    void WriteSettingString(const std::string& section, const std::string& entry,
                            const std::string& value) override;
    bool CopyFileReplacing(const std::string& from, const std::string& to) override;
    bool ReadLocalTime(std::tm& local) override;
    bool SendMail(const std::string& path, const std::string& name) override;

    MsgAnswer ShowCaptionedMessage(const std::string& text, const std::string& caption,
                                   MsgIcon icon, MsgButtons buttons) override;
    bool RunPrintJob(const CPrintJobSpec& spec,
                     const std::function<void(CPrintDevice&)>& print) override;
    void ShowPrintSetup() override;

private:
    // The window that owns dialogs: the main window, once there is one.
    static wxWindow* Owner();
    // "Could not start print job." in a message box; for a job without the
    // dialog (the command line's print switches, run by scripts and the
    // desktop's Print action) on standard error too.
    void ReportPrintFailure(const CPrintJobSpec& spec);

    wxPrintData m_printData;
};

// Points wxConfig at the application's settings: vendor "Veltrane",
// application "Quillmar".
void SetRegistryKey(const wxString& vendor);
