#include "ui/WxPlatform.h"

#include "resources/Resource.h"
#include "resources/StringTable.h"
#include "ui/ListingPrintout.h"
#include "ui/MailSender.h"
#include "ui/PathText.h"
#include "ui/PrinterCheck.h"
#include "ui/TextCodec.h"

#include <wx/app.h>
#include <wx/config.h>
#include <wx/datetime.h>
#include <wx/fileconf.h>
#include <wx/filedlg.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/printdlg.h>
#include <wx/stdpaths.h>
#include <wx/tokenzr.h>
#include <wx/utils.h>

#include <cstdio>

namespace {

// The normal cursor while a dialog waits for the user in the middle of long
// work, and the busy cursor again once it is closed. wxBusyCursorSuspender
// (wx/cursor.h) is declared for every port, but in wxWidgets 3.2 it calls
// wxBusyCursor::GetStoredCursor() and GetBusyCursor(), which only wxGTK
// defines: the Windows library lacks them, so it does not link there. It
// also only repaints the cursor while wxIsBusy() stays true; this ends the
// busy levels and begins them again.
class CNotBusy {
public:
    CNotBusy() {
        while (wxIsBusy()) {
            wxEndBusyCursor();
            ++m_nLevels;
        }
    }
    CNotBusy(const CNotBusy&) = delete;
    CNotBusy& operator=(const CNotBusy&) = delete;
    ~CNotBusy() {
        for (int level = 0; level < m_nLevels; ++level) {
            wxBeginBusyCursor();
        }
    }

private:
    int m_nLevels = 0;
};

long DialogStyle(MsgIcon icon, MsgButtons buttons) {
    long style = 0;
    switch (buttons) {
    case MsgButtons::Ok:
        style |= wxOK;
        break;
    case MsgButtons::YesNo:
        style |= wxYES_NO;
        break;
    case MsgButtons::YesNoCancel:
        style |= wxYES_NO | wxCANCEL;
        break;
    }
    switch (icon) {
    case MsgIcon::None:
        style |= wxICON_NONE;
        break;
    case MsgIcon::Stop:
        style |= wxICON_ERROR;
        break;
    case MsgIcon::Exclamation:
        style |= wxICON_EXCLAMATION;
        break;
    case MsgIcon::Information:
        style |= wxICON_INFORMATION;
        break;
    case MsgIcon::Question:
        style |= wxICON_QUESTION;
        break;
    }
    return style;
}

MsgAnswer AnswerOf(int result) {
    switch (result) {
    case wxID_YES:
        return MsgAnswer::Yes;
    case wxID_NO:
        return MsgAnswer::No;
    case wxID_CANCEL:
        return MsgAnswer::Cancel;
    default:
        return MsgAnswer::Ok;
    }
}

// "XML Files (*.xml)|*.xml|All Files (*.*)|*.*||" without its closing "||",
// which wx does not use.
wxString WxFilter(const std::string& filter) {
    wxString text = wxString::FromUTF8(filter);
    while (text.EndsWith("|")) {
        text.RemoveLast();
    }
    return text;
}

wxString SettingKey(const std::string& section, const std::string& entry) {
    return "/" + wxString::FromUTF8(section) + "/" + wxString::FromUTF8(entry);
}

} // namespace

void SetRegistryKey(const wxString& vendor) {
    wxTheApp->SetVendorName(vendor);
#ifdef __WINDOWS__
    // HKEY_CURRENT_USER\Software\Veltrane\Quillmar.
    wxConfigBase::Set(new wxConfig(wxTheApp->GetAppName(), vendor));
#else
    // The user's configuration folder of the XDG base directories:
    // $XDG_CONFIG_HOME/Quillmar/Quillmar.conf (~/.config when unset or
    // empty). With the XDG layout the standard paths give that base folder;
    // the file's name is still made here, because wxFileConfig in wxWidgets
    // 3.2 ignores the layout and would pick ~/.Quillmar/Quillmar.conf. Nor
    // does it make the folder, which must exist before the first setting is
    // written.
    wxStandardPaths::Get().SetFileLayout(wxStandardPaths::FileLayout_XDG);
    const wxString& appName = wxTheApp->GetAppName();
    const wxFileName file(
        wxFileName(wxStandardPaths::Get().GetUserConfigDir(), appName).GetFullPath(),
        appName + ".conf");
    if (!file.DirExists()) {
        wxLogNull quiet;
        wxFileName::Mkdir(file.GetPath(), wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    }
    wxConfigBase::Set(new wxFileConfig(appName, vendor, file.GetFullPath(), wxEmptyString,
                                       wxCONFIG_USE_LOCAL_FILE));
#endif
}

CWxPlatform::CWxPlatform() = default;

wxWindow* CWxPlatform::Owner() {
    return wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
}

MsgAnswer CWxPlatform::ShowMessage(const std::string& text, MsgIcon icon, MsgButtons buttons) {
    return ShowCaptionedMessage(text, CStringTable::Get(AFX_IDS_APP_TITLE), icon, buttons);
}

MsgAnswer CWxPlatform::ShowCaptionedMessage(const std::string& text, const std::string& caption,
                                            MsgIcon icon, MsgButtons buttons) {
    // A busy cursor would hide that the box waits for the user.
    CNotBusy notBusy;
    wxMessageDialog dialog(Owner(), MessageText(text), MessageText(caption),
                           DialogStyle(icon, buttons));
    return AnswerOf(dialog.ShowModal());
}

std::string CWxPlatform::ChooseFile(const CFileDialogSpec& spec) {
    CNotBusy notBusy;
    long style = spec.bOpen ? wxFD_OPEN : wxFD_SAVE | wxFD_OVERWRITE_PROMPT;
    if (spec.bOpen && spec.bMustExist) {
        style |= wxFD_FILE_MUST_EXIST;
    }
    const wxFileName initial(PathFromBytes(spec.strFileName));
    wxFileDialog dialog(Owner(), spec.bOpen ? _("Open") : _("Save As"), initial.GetPath(),
                        initial.GetFullName(), WxFilter(spec.strFilter), style);
    if (dialog.ShowModal() != wxID_OK) {
        return {};
    }
    wxFileName chosen(dialog.GetPath());
    // A name typed without an extension gets the default one.
    if (!spec.bOpen && !chosen.HasExt() && !spec.strDefaultExt.empty()) {
        chosen.SetExt(wxString::FromUTF8(spec.strDefaultExt));
    }
    return PathToBytes(chosen.GetFullPath());
}

int CWxPlatform::ReadSettingInt(const std::string& section, const std::string& entry,
                                int defaultValue) {
    long value = defaultValue;
    if (!wxConfigBase::Get()->Read(SettingKey(section, entry), &value, defaultValue)) {
        return defaultValue;
    }
    return static_cast<int>(value);
}

void CWxPlatform::WriteSettingInt(const std::string& section, const std::string& entry, int value) {
    // A failed write is silent.
    wxLogNull quiet;
    wxConfigBase* config = wxConfigBase::Get();
    config->Write(SettingKey(section, entry), static_cast<long>(value));
    config->Flush();
}

std::string CWxPlatform::ReadSettingString(const std::string& section, const std::string& entry,
                                           const std::string& defaultValue) {
    wxString value;
    if (!wxConfigBase::Get()->Read(SettingKey(section, entry), &value)) {
        return defaultValue;
    }
    return PathToBytes(value);
}

void CWxPlatform::WriteSettingString(const std::string& section, const std::string& entry,
                                     const std::string& value) {
    wxLogNull quiet;
    wxConfigBase* config = wxConfigBase::Get();
    config->Write(SettingKey(section, entry), PathFromBytes(value));
    config->Flush();
}

bool CWxPlatform::CopyFileReplacing(const std::string& from, const std::string& to) {
    // The document reports nothing of a failed copy; neither does the log.
    wxLogNull quiet;
    return wxCopyFile(PathFromBytes(from), PathFromBytes(to), true);
}

bool CWxPlatform::ReadLocalTime(std::tm& local) {
    const wxDateTime now = wxDateTime::Now();
    if (!now.IsValid()) {
        return false;
    }
    wxDateTime::Tm parts = now.GetTm(wxDateTime::Local);
    local = std::tm{};
    local.tm_year = parts.year - 1900;
    local.tm_mon = static_cast<int>(parts.mon);
    local.tm_mday = parts.mday;
    local.tm_hour = parts.hour;
    local.tm_min = parts.min;
    local.tm_sec = parts.sec;
    local.tm_wday = static_cast<int>(parts.GetWeekDay());
    local.tm_yday = parts.yday;
    local.tm_isdst = -1;
    return true;
}

bool CWxPlatform::SendMail(const std::string& path, const std::string& name) {
    CNotBusy notBusy;
    switch (SendFileByMail(path, name)) {
    case MailResult::kSent:
        return true;
    case MailResult::kCancelled:
        return false;
    case MailResult::kNoMailProgram:
        ShowMessage(CStringTable::Get(IDS_NO_MAIL_PROGRAM), MsgIcon::Exclamation, MsgButtons::Ok);
        return false;
    case MailResult::kFailed:
        break;
    }
    ShowMessage(CStringTable::Get(AFX_IDP_FAILED_TO_SEND_MAIL), MsgIcon::Exclamation,
                MsgButtons::Ok);
    return false;
}

bool CWxPlatform::RunPrintJob(const CPrintJobSpec& spec,
                              const std::function<void(CPrintDevice&)>& print) {
    static const CTextCodec kDefaultCodec;
    wxPrintDialogData dialogData(m_printData);
    if (!spec.bShowDialog && !spec.strPrinterName.empty()) {
        dialogData.GetPrintData().SetPrinterName(PathFromBytes(spec.strPrinterName));
    }
    // Without the dialog nobody could choose another printer: a missing one
    // fails the job before the toolkit starts to wait for it.
    if (!spec.bShowDialog &&
        !PrinterExists(PathToBytes(dialogData.GetPrintData().GetPrinterName()))) {
        ReportPrintFailure(spec);
        return false;
    }
    wxPrinter printer(&dialogData);
    CListingPrintout printout(MessageText(spec.strJobName), print,
                              spec.pCodec ? *spec.pCodec : kDefaultCodec);
    bool printed = false;
    {
        // The printer's own log messages would pop up later on their own;
        // a failure is reported below instead.
        wxLogNull quiet;
        CNotBusy notBusy;
        printed = printer.Print(Owner(), &printout, spec.bShowDialog);
    }
    if (printed) {
        m_printData = printer.GetPrintDialogData().GetPrintData();
        return true;
    }
    // A job without the dialog fails without a word from the toolkit on
    // Windows when there is no printer; only the user's cancel is silent.
    const wxPrinterError error = wxPrinter::GetLastError();
    if (error == wxPRINTER_ERROR || (!spec.bShowDialog && error != wxPRINTER_CANCELLED)) {
        ReportPrintFailure(spec);
    }
    return false;
}

void CWxPlatform::ReportPrintFailure(const CPrintJobSpec& spec) {
    const std::string& text = CStringTable::Get(AFX_IDP_FAILED_TO_START_PRINT);
    if (!spec.bShowDialog) {
        std::fprintf(stderr, "quillmar: %s\n", text.c_str());
        std::fflush(stderr);
    }
    ShowMessage(text, MsgIcon::Exclamation, MsgButtons::Ok);
}

void CWxPlatform::ShowPrintSetup() {
    CNotBusy notBusy;
    wxPageSetupDialogData setupData(m_printData);
    wxPageSetupDialog dialog(Owner(), &setupData);
    if (dialog.ShowModal() == wxID_OK) {
        m_printData = dialog.GetPageSetupDialogData().GetPrintData();
    }
}
