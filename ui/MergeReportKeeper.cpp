#include "ui/MergeReportKeeper.h"

#include "document/QuillmarDoc.h"
#include "ui/MergeReportWindow.h"

CMergeReportKeeper::CMergeReportKeeper(CQuillmarDoc& doc, const CTextCodec& codec,
                                       CPlatform& platform)
    : m_doc(doc), m_codec(codec), m_platform(platform) {
    m_doc.AddView(*this);
    m_doc.SetMergeObserver(&m_report);
}

CMergeReportKeeper::~CMergeReportKeeper() {
    // The window shows the report, which goes with the keeper.
    if (m_pWindow) {
        m_pWindow->Suspend();
        m_pWindow->Hide();
        m_pWindow->Destroy();
    }
    m_doc.SetMergeObserver(nullptr);
    m_doc.RemoveView(*this);
}

void CMergeReportKeeper::OpenWindow(wxWindow* parent, std::function<void(const CXmlNode*)> reveal) {
    if (!HasReport()) {
        return;
    }
    if (!m_pWindow) {
        m_pWindow =
            new CMergeReportWindow(parent, m_report, m_codec, m_platform, std::move(reveal));
    }
    ReloadWindow();
    m_pWindow->Show();
    m_pWindow->Raise();
}

void CMergeReportKeeper::ForgetNode(const CXmlNode* node) {
    if (m_report.ForgetNode(node) > 0 && m_pWindow) {
        m_pWindow->DropGone();
    }
}

void CMergeReportKeeper::Suspend() {
    m_bSuspended = true;
    if (m_pWindow) {
        m_pWindow->Suspend();
    }
}

void CMergeReportKeeper::Resume() {
    m_bSuspended = false;
    if (!m_pWindow) {
        return;
    }
    if (HasReport()) {
        ReloadWindow();
    } else {
        m_pWindow->Hide();
    }
}

void CMergeReportKeeper::OnUpdate(CView*, CUpdateHint hint) {
    if (hint.IsNode()) {
        return;
    }
    if (hint.GetValue() == 0) {
        // A new tree: nothing has been merged into it.
        m_report.Clear();
        if (m_pWindow) {
            m_pWindow->Suspend();
            m_pWindow->Hide();
        }
        return;
    }
    if (!m_pWindow || m_bSuspended) {
        return;
    }
    if (m_report.GetGeneration() != m_nShownGeneration) {
        // A merge made new rows.
        ReloadWindow();
    } else {
        // Texts changed (a committed edit), or a plan went whose rows were
        // forgotten before.
        m_pWindow->RefreshTexts();
    }
}

void CMergeReportKeeper::ReloadWindow() {
    if (m_pWindow) {
        m_pWindow->Reload();
        m_nShownGeneration = m_report.GetGeneration();
    }
}
