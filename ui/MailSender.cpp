#include "ui/MailSender.h"

#include "ui/PathText.h"

#ifdef __WXMSW__
#include <wx/msw/wrapwin.h>

#include <mapi.h>
#else
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/utils.h>

#include <filesystem>
#include <random>
#endif

#ifdef __WXMSW__

MailResult SendFileByMail(const std::string& path, const std::string& name) {
    // The simple mail interface of the system's mail program.
    HMODULE mapi = ::LoadLibraryA("MAPI32.DLL");
    if (!mapi) {
        return MailResult::kNoMailProgram;
    }
    // Through the generic function pointer type: GetProcAddress's own type
    // fits no real function.
    auto send = reinterpret_cast<LPMAPISENDMAIL>(
        reinterpret_cast<void (*)()>(::GetProcAddress(mapi, "MAPISendMail")));
    if (!send) {
        ::FreeLibrary(mapi);
        return MailResult::kNoMailProgram;
    }
    std::string filePath = path;
    std::string fileName = name;
    MapiFileDesc attachment{};
    attachment.nPosition = static_cast<ULONG>(-1);
    attachment.lpszPathName = filePath.data();
    attachment.lpszFileName = fileName.data();
    MapiMessage message{};
    message.nFileCount = 1;
    message.lpFiles = &attachment;
    const ULONG result = send(0, reinterpret_cast<ULONG_PTR>(::GetActiveWindow()), &message,
                              MAPI_LOGON_UI | MAPI_DIALOG, 0);
    ::FreeLibrary(mapi);
    if (result == SUCCESS_SUCCESS) {
        return MailResult::kSent;
    }
    return result == MAPI_USER_ABORT ? MailResult::kCancelled : MailResult::kFailed;
}

#else

namespace {

namespace fs = std::filesystem;

// Exit codes of xdg-email.
constexpr int kXdgToolNotFound = 3;

// A copy of the file in a folder of its own under the temporary folder. The
// mail program reads an attachment when the message is sent, long after the
// caller has deleted its file; the copy stays until the system clears its
// temporary files.
bool CopyForMail(const std::string& path, const std::string& name, std::string& copy) {
    std::error_code ec;
    const fs::path base = fs::temp_directory_path(ec);
    if (ec) {
        return false;
    }
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 16; ++attempt) {
        const fs::path folder = base / ("quillmar-mail-" + std::to_string(random() % 100000000));
        if (fs::create_directory(folder, ec)) {
            const fs::path target = folder / fs::path(name).filename();
            if (!fs::copy_file(path, target, ec)) {
                fs::remove_all(folder, ec);
                return false;
            }
            copy = target.string();
            return true;
        }
    }
    return false;
}

} // namespace

MailResult SendFileByMail(const std::string& path, const std::string& name) {
    wxPathList searchPath;
    searchPath.AddEnvList("PATH");
    const wxString program = searchPath.FindAbsoluteValidPath("xdg-email");
    if (program.empty()) {
        return MailResult::kNoMailProgram;
    }
    std::string copy;
    if (!CopyForMail(path, name, copy)) {
        return MailResult::kFailed;
    }
    // Started without a shell: the paths go to the program as they are.
    const wxString subject = PathFromBytes(name);
    const wxString attachment = PathFromBytes(copy);
    const wchar_t* argv[] = {program.wc_str(), L"--subject",        subject.wc_str(),
                             L"--attach",      attachment.wc_str(), nullptr};
    const long code = wxExecute(argv, wxEXEC_SYNC);
    if (code == 0) {
        return MailResult::kSent;
    }
    return code == -1 || code == kXdgToolNotFound ? MailResult::kNoMailProgram
                                                  : MailResult::kFailed;
}

#endif
