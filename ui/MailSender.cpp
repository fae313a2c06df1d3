#include "ui/MailSender.h"

#include "ui/PathText.h"

#ifdef __WXMSW__
#include <wx/msw/wrapwin.h>

#include <mapi.h>
#else
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/utils.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>
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

void RemoveMailCopies() {
    // The simple mail interface has taken the file when it returns.
}

#else

namespace {

namespace fs = std::filesystem;

// Exit codes of xdg-email.
constexpr int kXdgToolNotFound = 3;

// The folders that hold copies handed to the mail program. The mail program
// reads an attachment when the message is sent, long after the caller has
// deleted its file: a copy the mail program took stays until the program
// ends.
class CMailCopies {
public:
    CMailCopies() = default;
    CMailCopies(const CMailCopies&) = delete;
    CMailCopies& operator=(const CMailCopies&) = delete;
    ~CMailCopies() { RemoveAll(); }

    void Keep(const fs::path& folder) { m_folders.push_back(folder); }
    void RemoveAll() {
        for (const fs::path& folder : m_folders) {
            std::error_code ec;
            fs::remove_all(folder, ec);
        }
        m_folders.clear();
    }

    static CMailCopies& Get() {
        static CMailCopies copies;
        return copies;
    }

private:
    std::vector<fs::path> m_folders;
};

// The user's own folder for files of running programs, or else the
// temporary folder.
fs::path MailCopyBase() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::error_code ec;
    if (runtime && *runtime && fs::is_directory(runtime, ec)) {
        return runtime;
    }
    return fs::temp_directory_path(ec);
}

// A copy of the file, under its document's name, in a new folder that only
// the user may enter and whose name nobody can take first (mkdtemp).
bool CopyForMail(const std::string& path, const std::string& name, fs::path& folder,
                 std::string& copy) {
    const fs::path base = MailCopyBase();
    if (base.empty()) {
        return false;
    }
    std::string pattern = (base / "quillmar-mail-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        return false;
    }
    folder = pattern;
    const fs::path target = folder / fs::path(name).filename();
    std::error_code ec;
    if (!fs::copy_file(path, target, ec)) {
        fs::remove_all(folder, ec);
        return false;
    }
    copy = target.string();
    return true;
}

} // namespace

MailResult SendFileByMail(const std::string& path, const std::string& name) {
    wxPathList searchPath;
    searchPath.AddEnvList("PATH");
    const wxString program = searchPath.FindAbsoluteValidPath("xdg-email");
    if (program.empty()) {
        return MailResult::kNoMailProgram;
    }
    fs::path folder;
    std::string copy;
    if (!CopyForMail(path, name, folder, copy)) {
        return MailResult::kFailed;
    }
    // Started without a shell: the paths go to the program as they are.
    const wxString subject = PathFromBytes(name);
    const wxString attachment = PathFromBytes(copy);
    const wchar_t* argv[] = {program.wc_str(), L"--subject",        subject.wc_str(),
                             L"--attach",      attachment.wc_str(), nullptr};
    const long code = wxExecute(argv, wxEXEC_SYNC);
    if (code == 0) {
        CMailCopies::Get().Keep(folder);
        return MailResult::kSent;
    }
    // Nobody took the copy.
    std::error_code ec;
    fs::remove_all(folder, ec);
    return code == -1 || code == kXdgToolNotFound ? MailResult::kNoMailProgram
                                                  : MailResult::kFailed;
}

void RemoveMailCopies() {
    CMailCopies::Get().RemoveAll();
}

#endif
