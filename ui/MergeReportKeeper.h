// CMergeReportKeeper: the report of the last merge in this document and its
// window. It watches every merge of the document and keeps the report until
// the document gets a new tree; it keeps the window in step with the tree:
// the rows of a plan that is about to be deleted go first, a merge replaces
// the rows, and while the document changes its tree out of sight the window
// shows nothing.
#pragma once

#include "document/MergeReport.h"
#include "document/View.h"

#include <wx/weakref.h>

#include <functional>

class CMergeReportWindow;
class CPlatform;
class CTextCodec;
class CXmlNode;
class wxWindow;

class CMergeReportKeeper : public CView {
public:
    CMergeReportKeeper(CQuillmarDoc& doc, const CTextCodec& codec, CPlatform& platform);
    ~CMergeReportKeeper() override;

    // Whether a merge has run in this document, so that there is a report.
    bool HasReport() const { return m_report.HasRun(); }
    const CMergeReport& GetReport() const { return m_report; }
    // The window, once it has been opened; null before.
    CMergeReportWindow* GetWindow() const { return m_pWindow.get(); }

    // Opens the window over parent (made the first time), with every row.
    void OpenWindow(wxWindow* parent, std::function<void(const CXmlNode*)> reveal);

    // node (a plan, or any element) is about to be destroyed.
    void ForgetNode(const CXmlNode* node);
    // The document may destroy nodes before it tells its views: the window
    // shows nothing until Resume.
    void Suspend();
    void Resume();

    void OnUpdate(CView* sender, CUpdateHint hint) override;

private:
    // Shows the report's rows afresh.
    void ReloadWindow();

    CQuillmarDoc& m_doc;
    const CTextCodec& m_codec;
    CPlatform& m_platform;
    CMergeReport m_report;
    // Null once the window is destroyed (with the main frame).
    wxWeakRef<CMergeReportWindow> m_pWindow;
    // The report's rows that the window shows.
    uint64_t m_nShownGeneration = 0;
    bool m_bSuspended = false;
};
