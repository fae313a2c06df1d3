// The document's life cycle as its front ends see it: New, Open, Save,
// Save As, the prompt to save changes, the recent-file list and Send.
#include "document/QuillmarDoc.h"

#include "document/FilePath.h"
#include "document/PathNames.h"
#include "document/Platform.h"
#include "document/SafeFileWriter.h"
#include "resources/Resource.h"
#include "resources/StringTable.h"
#include "xml/XmlTextSink.h"

#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace {

// The absolute form of path, as the document records it.
std::string FullPath(const std::string& path) {
    return AbsoluteFileName(path);
}

bool IsReadOnlyFile(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    constexpr fs::perms kAnyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return fs::is_regular_file(status) && (status.permissions() & kAnyWrite) == fs::perms::none;
}

// A new, empty folder in the system's temporary folder, removed with all it
// holds when the object goes.
class CTempFolder {
public:
    CTempFolder() {
        std::error_code ec;
        const fs::path base = fs::temp_directory_path(ec);
        if (ec) {
            return;
        }
        std::random_device seed;
        std::mt19937 random(seed());
        for (int attempt = 0; attempt < 16 && m_path.empty(); ++attempt) {
            fs::path candidate = base / ("quillmar-" + std::to_string(random() % 100000000));
            if (fs::create_directory(candidate, ec)) {
                m_path = std::move(candidate);
            }
        }
    }
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;
    ~CTempFolder() {
        if (!m_path.empty()) {
            std::error_code ignored;
            fs::remove_all(m_path, ignored);
        }
    }
    bool IsValid() const { return !m_path.empty(); }
    const fs::path& GetPath() const { return m_path; }

private:
    fs::path m_path;
};

// Takes a text and keeps none of it.
class CDiscardingSink : public CXmlTextSink {
public:
    bool Put(const char* /*bytes*/, std::size_t /*size*/) override { return true; }
};

} // namespace

std::string CQuillmarDoc::DialogFilter() const {
    // "Rate Files (*.xml)|*.xml|All Files (*.*)|*.*||" from the document string.
    const std::string name = CStringTable::GetField(IDR_MAINFRAME, 3);
    const std::string extension = CStringTable::GetField(IDR_MAINFRAME, 4);
    return name + "|*" + extension + "|All Files (*.*)|*.*||";
}

void CQuillmarDoc::SetPathName(const std::string& path) {
    m_strPathName = path;
    m_strTitle = FileNameOf(path);
    m_recentFiles.Add(path);
    m_recentFiles.WriteList();
}

bool CQuillmarDoc::DoNew() {
    if (!SaveModified()) {
        return false;
    }
    if (!OnNewDocument()) {
        return false;
    }
    SendInitialUpdate();
    return true;
}

bool CQuillmarDoc::OnFileOpen() {
    CFileDialogSpec spec;
    spec.bOpen = true;
    spec.strDefaultExt = CStringTable::GetField(IDR_MAINFRAME, 4).substr(1);
    spec.strFilter = DialogFilter();
    spec.bMustExist = true;
    const std::string path = m_platform.ChooseFile(spec);
    return !path.empty() && DoOpen(path);
}

bool CQuillmarDoc::DoOpen(const std::string& path) {
    return SaveModified() && OpenDocumentFile(path);
}

bool CQuillmarDoc::DoOpenBytes(const char* bytes, std::size_t size) {
    if (!SaveModified()) {
        return false;
    }
    // As OnOpenDocument: bytes that are not there are not read.
    if (size > 0) {
        SerializeLoadBytes(bytes, size);
    }
    SetModifiedFlag(false);
    // Untitled, as a new document, and kept out of the recent-file list.
    m_strPathName.clear();
    m_strTitle.clear();
    SendInitialUpdate();
    return true;
}

bool CQuillmarDoc::OnOpenRecentFile(int index) {
    const std::string path = m_recentFiles.GetAt(index);
    if (path.empty() || !SaveModified()) {
        return false;
    }
    if (!OpenDocumentFile(path)) {
        m_recentFiles.Remove(index);
        m_recentFiles.WriteList();
        return false;
    }
    return true;
}

bool CQuillmarDoc::OpenDocumentFile(const std::string& path) {
    const std::string full = FullPath(path);
    if (!OnOpenDocument(full)) {
        return false;
    }
    SetPathName(full);
    SendInitialUpdate();
    return true;
}

bool CQuillmarDoc::OnOpenDocument(const std::string& path) {
    std::error_code ec;
    const fs::path file = FilePath(path);
    const bool isFolder = fs::is_directory(file, ec);
    const bool readable = std::ifstream(file, std::ios::binary).is_open();
    const std::uintmax_t size = fs::file_size(file, ec);
    if (isFolder || !readable || ec) {
        Message(AFX_IDP_FAILED_TO_OPEN_DOC, MsgIcon::Exclamation);
        return false;
    }
    // A file without bytes is not read: the document keeps the tree it has.
    if (size > 0) {
        SerializeLoad(path);
    }
    SetModifiedFlag(false);
    return true;
}

bool CQuillmarDoc::DoSave() {
    if (m_strPathName.empty() || IsReadOnlyFile(m_strPathName)) {
        return OnFileSaveAs();
    }
    if (!OnSaveDocument(m_strPathName)) {
        return false;
    }
    SetPathName(m_strPathName);
    return true;
}

bool CQuillmarDoc::OnFileSaveAs() {
    CFileDialogSpec spec;
    spec.bOpen = false;
    const std::string extension = CStringTable::GetField(IDR_MAINFRAME, 4);
    spec.strDefaultExt = extension.substr(1);
    spec.strFileName = m_strPathName.empty() ? GetTitle() + extension : m_strPathName;
    spec.strFilter = DialogFilter();
    const std::string path = m_platform.ChooseFile(spec);
    return !path.empty() && DoSaveAs(path);
}

bool CQuillmarDoc::DoSaveAs(const std::string& path) {
    const std::string full = FullPath(path);
    if (!OnSaveDocument(full)) {
        return false;
    }
    SetPathName(full);
    return true;
}

bool CQuillmarDoc::OnSaveDocument(const std::string& path) {
    // Without a tree (after a file that could not be read at all) a save
    // would replace the file by a bare declaration: refuse and keep the file.
    if (!m_pRootNode) {
        Message(IDS_NOTHING_TO_SAVE, MsgIcon::Exclamation);
        return false;
    }
    // The storing steps of SerializeStore, with the text written to the
    // file as it is made instead of held in memory as a whole.
    MakeBackup();
    bool stored = false;
    const bool saved = WriteFileReplacing(
        path,
        [this, &stored](CXmlTextSink& sink) {
            stored = true;
            return StoreText(sink);
        },
        *m_pFileLayer);
    if (!stored) {
        // Refused before any byte was written. Building the text encodes
        // '&', '<' and '>' in the tree's texts in place, and a save whose
        // text was built first always did that: so does this one.
        CDiscardingSink discard;
        StoreText(discard);
    }
    if (!saved) {
        Message(AFX_IDP_FAILED_TO_SAVE_DOC, MsgIcon::Exclamation);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CQuillmarDoc::SaveModified() {
    if (!IsModified()) {
        return true;
    }
    const std::string name = m_strPathName.empty() ? GetTitle() : m_strPathName;
    const std::string question = CStringTable::Format(AFX_IDP_ASK_TO_SAVE, {name});
    switch (Message(question, MsgIcon::Exclamation, MsgButtons::YesNoCancel)) {
    case MsgAnswer::Yes:
        return DoSave();
    case MsgAnswer::No:
        return true;
    default:
        return false;
    }
}

bool CQuillmarDoc::DoSendMail() {
    if (!IsModified() && !m_strPathName.empty()) {
        return m_platform.SendMail(m_strPathName, GetTitle());
    }
    if (!m_pRootNode) {
        Message(IDS_NOTHING_TO_SAVE, MsgIcon::Exclamation);
        return false;
    }
    const CTempFolder folder;
    if (!folder.IsValid()) {
        Message(AFX_IDP_FAILED_TO_SAVE_DOC, MsgIcon::Exclamation);
        return false;
    }
    std::string name = GetTitle();
    if (m_strPathName.empty()) {
        name += CStringTable::GetField(IDR_MAINFRAME, 4);
    }
    const std::string path = FileName(folder.GetPath() / FilePath(name));
    // The temporary save goes through the storing steps (backup included)
    // but leaves the document as modified as it was.
    const bool wasModified = IsModified();
    if (!OnSaveDocument(path)) {
        return false;
    }
    SetModifiedFlag(wasModified);
    return m_platform.SendMail(path, name);
}
