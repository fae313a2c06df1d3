// The document's construction, views, options, new tree, and the loading and
// storing of its content.
#include "document/QuillmarDoc.h"

#include "document/SafeFileWriter.h"

#include "document/CmdUI.h"
#include "document/PathNames.h"
#include "document/Platform.h"
#include "document/View.h"
#include "resources/Resource.h"
#include "resources/StringTable.h"
#include "xml/XmlTextSink.h"

#include <algorithm>

namespace {

int LoadErrorMessage(int32_t error) {
    switch (error) {
    case CXmlDocument::kTagMismatch:
        return IDS_LOAD_TAG_MISMATCH;
    case CXmlDocument::kTagNotClosed:
        return IDS_LOAD_TAG_NOT_CLOSED;
    case CXmlDocument::kCannotOpen:
        return IDS_LOAD_CANNOT_OPEN;
    case CXmlDocument::kNoRootElement:
        return IDS_LOAD_NO_ROOT;
    default:
        return IDS_LOAD_ERROR;
    }
}

std::string SettingsSection() {
    return CStringTable::Get(IDS_SETTINGS_SECTION);
}

} // namespace

CQuillmarDoc::CQuillmarDoc(CPlatform& platform)
    : m_platform(platform), m_pFileLayer(&CFileLayer::Real()), m_recentFiles(platform) {
    m_bCompressed = m_platform.ReadSettingInt(SettingsSection(),
                                              CStringTable::Get(IDS_SETTING_COMPRESSION), 0) != 0;
    m_bAutoBackup = m_platform.ReadSettingInt(SettingsSection(),
                                              CStringTable::Get(IDS_SETTING_AUTO_BACKUP), 1) != 0;
    m_recentFiles.ReadList();
}

CQuillmarDoc::~CQuillmarDoc() {
    ClearPlanValues();
    for (CView* view : m_views) {
        view->m_pDocument = nullptr;
    }
}

// ---- Views ----------------------------------------------------------------

void CQuillmarDoc::AddView(CView& view) {
    if (view.m_pDocument == this) {
        return;
    }
    if (view.m_pDocument) {
        view.m_pDocument->RemoveView(view);
    }
    m_views.push_back(&view);
    view.m_pDocument = this;
}

void CQuillmarDoc::RemoveView(CView& view) {
    std::erase(m_views, &view);
    if (view.m_pDocument == this) {
        view.m_pDocument = nullptr;
    }
}

void CQuillmarDoc::UpdateAllViews(CView* sender, CUpdateHint hint) {
    // A view may detach itself while it is being updated: walk a copy, and
    // skip views that are gone by the time their turn comes.
    const std::vector<CView*> views = m_views;
    for (CView* view : views) {
        if (view != sender && std::find(m_views.begin(), m_views.end(), view) != m_views.end()) {
            view->OnUpdate(sender, hint);
        }
    }
}

void CQuillmarDoc::SendInitialUpdate() {
    const std::vector<CView*> views = m_views;
    for (CView* view : views) {
        if (std::find(m_views.begin(), m_views.end(), view) != m_views.end()) {
            view->OnInitialUpdate();
        }
    }
}

// ---- Titles and messages --------------------------------------------------

std::string CQuillmarDoc::GetTitle() const {
    return m_strTitle.empty() ? std::string(CStringTable::Get(AFX_IDS_UNTITLED)) : m_strTitle;
}

std::string CQuillmarDoc::GetFrameTitle() const {
    return GetTitle() + " - " + CStringTable::Get(AFX_IDS_APP_TITLE);
}

MsgAnswer CQuillmarDoc::Message(int stringId, MsgIcon icon) {
    return m_platform.ShowMessage(CStringTable::Get(stringId), icon, MsgButtons::Ok);
}

MsgAnswer CQuillmarDoc::Message(const std::string& text, MsgIcon icon, MsgButtons buttons) {
    return m_platform.ShowMessage(text, icon, buttons);
}

// ---- New, load, store -----------------------------------------------------

bool CQuillmarDoc::OnNewDocument() {
    m_strPathName.clear();
    m_strTitle.clear();
    SetModifiedFlag(false);
    m_pRootNode = m_xmlDoc.New();
    UpdateAllViews(nullptr, kHintNewDocument);
    return true;
}

void CQuillmarDoc::SerializeLoad(const std::string& path) {
    if (!path.empty()) {
        TakeLoadedTree(m_xmlDoc.Load(CXmlString(path.c_str())));
    }
    SetModifiedFlag(false);
}

void CQuillmarDoc::SerializeLoadBytes(const char* bytes, std::size_t size) {
    TakeLoadedTree(m_xmlDoc.LoadBytes(bytes, size));
    SetModifiedFlag(false);
}

void CQuillmarDoc::TakeLoadedTree(bool loaded) {
    // Whatever the reader built is shown: the whole tree, the part read
    // before an error, or nothing. The root is taken before the message box,
    // whose message loop may update commands that read the root: the
    // previous tree is gone by now.
    m_pRootNode = m_xmlDoc.GetRoot();
    if (!loaded) {
        Message(LoadErrorMessage(m_xmlDoc.GetError()), MsgIcon::Stop);
    }
}

bool CQuillmarDoc::SerializeStore(CXmlString& text) {
    MakeBackup();
    text.Clear();
    text.Append(m_xmlDoc.GetHeader().GetBuffer());
    if (m_pRootNode) {
        int32_t depth = -1;
        m_pRootNode->Write(text, depth, m_bCompressed);
    }
    // A text longer than a file that can be opened again is not saved.
    return !text.HasGrowthFailed() && text.GetLength() <= CXmlDocument::GetFileTextLimit();
}

bool CQuillmarDoc::StoreText(CXmlTextSink& sink) {
    CXmlBufferedOutput out(sink);
    const CXmlString& header = m_xmlDoc.GetHeader();
    out.Append(header.GetBuffer(), header.GetLength());
    if (m_pRootNode) {
        int32_t depth = -1;
        m_pRootNode->Write(out, depth, m_bCompressed);
    }
    // Refused past the length of a file that can be opened again, which a
    // string built by SerializeStore can always hold.
    const bool complete = !out.Failed() && out.GetLength() <= CXmlDocument::GetFileTextLimit();
    return out.Flush() && complete;
}

void CQuillmarDoc::MakeBackup() {
    if (!m_bAutoBackup) {
        return;
    }
    // The file under the document's current path (for Save As the old path,
    // not the destination) is copied before anything is written.
    const std::string path = m_strPathName;
    std::tm now{};
    if (!m_platform.ReadLocalTime(now)) {
        return;
    }
    const std::string backup = MakeBackupName(path, now);
    if (!backup.empty()) {
        // A failed copy is not reported; the save goes on.
        m_platform.CopyFileReplacing(path, backup);
    }
}

// ---- Option commands ------------------------------------------------------

void CQuillmarDoc::OnEditCompressedSave() {
    m_bCompressed = !m_bCompressed;
    m_platform.WriteSettingInt(SettingsSection(), CStringTable::Get(IDS_SETTING_COMPRESSION),
                               m_bCompressed ? 1 : 0);
}

void CQuillmarDoc::OnUpdateEditCompressedSave(CCmdUI& cmdUI) const {
    cmdUI.Enable(true);
    cmdUI.SetCheck(m_bCompressed ? 1 : 0);
}

void CQuillmarDoc::OnEditAutoBackup() {
    m_bAutoBackup = !m_bAutoBackup;
    m_platform.WriteSettingInt(SettingsSection(), CStringTable::Get(IDS_SETTING_AUTO_BACKUP),
                               m_bAutoBackup ? 1 : 0);
}

void CQuillmarDoc::OnUpdateEditAutoBackup(CCmdUI& cmdUI) const {
    cmdUI.Enable(true);
    cmdUI.SetCheck(m_bAutoBackup ? 1 : 0);
}
