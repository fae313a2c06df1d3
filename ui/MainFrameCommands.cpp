// The main frame's commands: the menu items, toolbar buttons and keys, their
// enabled states and check marks, and what the frame keeps up to date while
// idle.
#include "ui/MainFrame.h"

#include "document/Platform.h"
#include "document/QuillmarDoc.h"
#include "resources/FrameResource.h"
#include "resources/Resource.h"
#include "resources/StringTable.h"
#include "ui/CommandIds.h"
#include "ui/DesktopPlatform.h"
#include "ui/LeftView.h"
#include "ui/MergeReportKeeper.h"
#include "ui/NodeFinder.h"
#include "ui/PathText.h"
#include "ui/QuillmarView.h"
#include "ui/RecentFileNames.h"
#include "ui/WxCmdUI.h"
#include "xml/XmlNode.h"

#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

namespace {

// A long command: the busy cursor and a message in the status bar until it
// ends. Dialogs and message boxes on the way suspend the cursor themselves.
class CBusyStatus {
public:
    CBusyStatus(wxStatusBar* statusBar, int messageId) : m_pStatusBar(statusBar) {
        if (m_pStatusBar) {
            m_pStatusBar->SetStatusText(CStringTable::Get(messageId), 0);
        }
    }
    CBusyStatus(const CBusyStatus&) = delete;
    CBusyStatus& operator=(const CBusyStatus&) = delete;
    ~CBusyStatus() {
        if (m_pStatusBar) {
            m_pStatusBar->SetStatusText(CMainFrame::IdleMessage(), 0);
        }
    }

private:
    wxBusyCursor m_cursor;
    wxStatusBar* m_pStatusBar;
};

// A command during which the document may destroy elements before it tells
// the panes (a merge, whose summary is shown first; a load, whose error
// message is): the panes and the merge report touch no element until they
// hear of the new tree.
class CNodeAccessPause {
public:
    CNodeAccessPause(CLeftView* tree, CQuillmarView* detail, CMergeReportKeeper& report)
        : m_pTree(tree), m_pDetail(detail), m_report(report) {
        if (m_pTree) {
            m_pTree->SuspendNodeAccess();
        }
        if (m_pDetail) {
            m_pDetail->SuspendNodeAccess();
        }
        m_report.Suspend();
    }
    CNodeAccessPause(const CNodeAccessPause&) = delete;
    CNodeAccessPause& operator=(const CNodeAccessPause&) = delete;
    ~CNodeAccessPause() {
        if (m_pTree) {
            m_pTree->ResumeNodeAccess();
        }
        if (m_pDetail) {
            m_pDetail->ResumeNodeAccess();
        }
        m_report.Resume();
    }

private:
    CLeftView* m_pTree;
    CQuillmarView* m_pDetail;
    CMergeReportKeeper& m_report;
};

constexpr int kRecentFileCommands[] = {ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE2, ID_FILE_MRU_FILE3,
                                       ID_FILE_MRU_FILE4};

// Whether the mode of a lock key is on. Only the X server and Windows tell;
// elsewhere (Wayland) the indicators stay blank.
bool IsKeyModeOn(wxKeyCode key) {
#if defined(__WXGTK__) && defined(__UNIX__)
    if (wxGetDisplayInfo().type != wxDisplayX11) {
        return false;
    }
#endif
    return wxGetKeyState(key);
}

char PathSeparator() {
    return static_cast<char>(wxFileName::GetPathSeparator());
}

} // namespace

void CMainFrame::BindCommands() {
    const auto onCommand = [this](int command, auto handler) {
        Bind(
            wxEVT_MENU, [handler](wxCommandEvent&) { handler(); }, WxIdFromCommand(command));
    };
    const auto onUpdate = [this](int command, auto handler) {
        Bind(wxEVT_UPDATE_UI, handler, WxIdFromCommand(command));
    };

    onCommand(ID_FILE_NEW, [this] {
        CNodeAccessPause pause(m_pLeftView, m_pDetailView, *m_pMergeReport);
        m_doc.DoNew();
        SyncWithDocument();
    });
    onCommand(ID_FILE_OPEN, [this] {
        CBusyStatus busy(m_wndStatusBar, IDS_STATUS_OPENING);
        CNodeAccessPause pause(m_pLeftView, m_pDetailView, *m_pMergeReport);
        m_doc.OnFileOpen();
        SyncWithDocument();
    });
    onCommand(ID_FILE_SAVE, [this] {
        CBusyStatus busy(m_wndStatusBar, IDS_STATUS_SAVING);
        m_doc.DoSave();
        SyncWithDocument();
    });
    onCommand(ID_FILE_SAVE_AS, [this] {
        CBusyStatus busy(m_wndStatusBar, IDS_STATUS_SAVING);
        m_doc.OnFileSaveAs();
        SyncWithDocument();
    });
    onCommand(ID_FILE_MERGE, [this] {
        CBusyStatus busy(m_wndStatusBar, IDS_STATUS_MERGING);
        CNodeAccessPause pause(m_pLeftView, m_pDetailView, *m_pMergeReport);
        m_doc.OnFileMerge();
    });
    onCommand(ID_FILE_PRINT, [this] { OnFilePrint(); });
    onCommand(ID_FILE_PRINT_DIRECT, [this] { PrintDirect(); });
    onCommand(ID_FILE_PRINT_SETUP, [this] { m_platform.ShowPrintSetup(); });
    onCommand(ID_FILE_SEND_MAIL, [this] { m_doc.DoSendMail(); });
    for (int index = 0; index < static_cast<int>(std::size(kRecentFileCommands)); ++index) {
        onCommand(kRecentFileCommands[index], [this, index] { OnOpenRecentFile(index); });
        onUpdate(kRecentFileCommands[index], [this, index](wxUpdateUIEvent& event) {
            event.Enable(index < m_doc.GetRecentFileList().GetSize());
        });
    }
    onCommand(ID_APP_EXIT, [this] { Close(); });
    onCommand(ID_EDIT_DELETE, [this] { OnDelete(); });
    onCommand(ID_EDIT_COMPRESSED_SAVE, [this] { m_doc.OnEditCompressedSave(); });
    onCommand(ID_EDIT_AUTO_BACKUP, [this] { m_doc.OnEditAutoBackup(); });
    onCommand(ID_EDIT_FIND, [this] { m_pFinder->OpenFindWindow(); });
    onCommand(ID_EDIT_FIND_NEXT, [this] { m_pFinder->FindAgain(true); });
    onCommand(ID_EDIT_FIND_PREVIOUS, [this] { m_pFinder->FindAgain(false); });
    onCommand(ID_EDIT_GOTO, [this] { m_pFinder->AskAndGoTo(); });
    onCommand(ID_VIEW_KEEP_PLACE, [this] { OnViewKeepPlace(); });
    onCommand(ID_VIEW_TOOLBAR, [this] {
        m_wndToolBar->Show(!m_wndToolBar->IsShown());
        SendSizeEvent();
    });
    onCommand(ID_VIEW_STATUS_BAR, [this] {
        m_wndStatusBar->Show(!m_wndStatusBar->IsShown());
        SendSizeEvent();
    });
    onCommand(ID_APP_ABOUT, [this] {
        if (m_onAppAbout) {
            m_onAppAbout();
        }
    });
    onCommand(ID_HELP, [this] { OnHelp(); });
    onCommand(ID_VIEW_MERGE_REPORT, [this] { OnViewMergeReport(); });

    // Commands nobody handles: disabled in the menu and on the toolbar.
    for (const int command : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE}) {
        onUpdate(command, [](wxUpdateUIEvent& event) { event.Enable(false); });
    }
    onUpdate(ID_EDIT_DELETE, [this](wxUpdateUIEvent& event) { OnUpdateDelete(event); });
    onUpdate(ID_FILE_MERGE, [this](wxUpdateUIEvent& event) {
        CWxCmdUI cmdUI(event);
        m_doc.OnUpdateFileMerge(cmdUI);
    });
    onUpdate(ID_EDIT_COMPRESSED_SAVE, [this](wxUpdateUIEvent& event) {
        CWxCmdUI cmdUI(event);
        m_doc.OnUpdateEditCompressedSave(cmdUI);
    });
    onUpdate(ID_EDIT_AUTO_BACKUP, [this](wxUpdateUIEvent& event) {
        CWxCmdUI cmdUI(event);
        m_doc.OnUpdateEditAutoBackup(cmdUI);
    });
    onUpdate(ID_EDIT_FIND, [this](wxUpdateUIEvent& event) { OnUpdateEditFind(event); });
    onUpdate(ID_EDIT_FIND_NEXT, [this](wxUpdateUIEvent& event) { OnUpdateEditFindNext(event); });
    onUpdate(ID_EDIT_FIND_PREVIOUS,
             [this](wxUpdateUIEvent& event) { OnUpdateEditFindPrevious(event); });
    onUpdate(ID_EDIT_GOTO, [this](wxUpdateUIEvent& event) { OnUpdateEditGoTo(event); });
    onUpdate(ID_VIEW_KEEP_PLACE, [this](wxUpdateUIEvent& event) { OnUpdateViewKeepPlace(event); });
    onUpdate(ID_VIEW_TOOLBAR,
             [this](wxUpdateUIEvent& event) { event.Check(m_wndToolBar->IsShown()); });
    onUpdate(ID_VIEW_STATUS_BAR,
             [this](wxUpdateUIEvent& event) { event.Check(m_wndStatusBar->IsShown()); });
    onUpdate(ID_VIEW_MERGE_REPORT,
             [this](wxUpdateUIEvent& event) { OnUpdateViewMergeReport(event); });

    Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
    Bind(wxEVT_DROP_FILES, &CMainFrame::OnDropFiles, this);
    Bind(wxEVT_IDLE, &CMainFrame::OnIdle, this);
}

void CMainFrame::RunCommand(int command) {
    wxCommandEvent event(wxEVT_MENU, WxIdFromCommand(command));
    event.SetEventObject(this);
    ProcessWindowEvent(event);
}

void CMainFrame::OnUpdateDelete(wxUpdateUIEvent& event) {
    CLeftView* pane = GetLeftPane();
    if (!pane) {
        return;
    }
    CWxCmdUI cmdUI(event);
    cmdUI.Enable(pane->GetSelectedNodeName() == "INSURANCEPLAN");
}

bool CMainFrame::HasTreeToSearch() const {
    return m_doc.m_pRootNode != nullptr && m_pLeftView->IsTreeFilled();
}

void CMainFrame::OnUpdateEditFind(wxUpdateUIEvent& event) {
    event.Enable(HasTreeToSearch());
}

void CMainFrame::OnUpdateEditFindNext(wxUpdateUIEvent& event) {
    event.Enable(HasTreeToSearch());
}

void CMainFrame::OnUpdateEditFindPrevious(wxUpdateUIEvent& event) {
    event.Enable(HasTreeToSearch());
}

void CMainFrame::OnUpdateEditGoTo(wxUpdateUIEvent& event) {
    event.Enable(HasTreeToSearch());
}

void CMainFrame::OnViewKeepPlace() {
    const bool keep = !m_pLeftView->IsKeepPlace();
    m_pLeftView->SetKeepPlace(keep);
    m_platform.WriteSettingInt(CStringTable::Get(IDS_SETTINGS_SECTION),
                               CStringTable::Get(IDS_SETTING_KEEP_PLACE), keep ? 1 : 0);
}

void CMainFrame::OnUpdateViewKeepPlace(wxUpdateUIEvent& event) {
    event.Enable(true);
    event.Check(m_pLeftView->IsKeepPlace());
}

void CMainFrame::OnDelete() {
    if (m_platform.ShowMessage(CStringTable::Get(IDS_CONFIRM_DELETE_PLAN), MsgIcon::Question,
                               MsgButtons::YesNo) != MsgAnswer::Yes) {
        return;
    }
    CLeftView* pane = GetLeftPane();
    if (!pane) {
        return;
    }
    // The report lets go of the plan before it is destroyed.
    if (const CXmlNode* going = pane->GetSelectedNode(); going && going->GetParent()) {
        m_pMergeReport->ForgetNode(going);
    }
    if (!pane->DeleteSelectedPlan()) {
        m_platform.ShowMessage(CStringTable::Get(IDS_DELETE_PLAN_FAILED), MsgIcon::None,
                               MsgButtons::Ok);
    }
}

void CMainFrame::OnViewMergeReport() {
    m_pMergeReport->OpenWindow(this, [this](const CXmlNode* node) {
        CLeftView* pane = GetLeftPane();
        // The tree pane shows the document's own elements.
        if (pane && pane->RevealNode(const_cast<CXmlNode*>(node))) {
            Raise();
        }
    });
}

void CMainFrame::OnUpdateViewMergeReport(wxUpdateUIEvent& event) {
    CWxCmdUI cmdUI(event);
    cmdUI.Enable(m_pMergeReport->HasReport());
}

void CMainFrame::OnHelp() {
    m_platform.ShowCaptionedMessage(CStringTable::Get(IDS_HELP_TEXT),
                                    CStringTable::Get(IDS_HELP_CAPTION), MsgIcon::Information,
                                    MsgButtons::Ok);
}

void CMainFrame::OnFilePrint() {
    CBusyStatus busy(m_wndStatusBar, IDS_STATUS_PRINTING);
    CPrintJobSpec spec;
    spec.bShowDialog = true;
    spec.strJobName = m_doc.GetTitle();
    spec.pCodec = &m_encoding.GetCodec();
    m_platform.RunPrintJob(spec, [this](CPrintDevice& device) { m_doc.PrintListing(&device); });
}

bool CMainFrame::PrintDirect(const std::string& printer, const std::string& driver,
                             const std::string& port) {
    CBusyStatus busy(m_wndStatusBar, IDS_STATUS_PRINTING);
    CPrintJobSpec spec;
    spec.bShowDialog = false;
    spec.strPrinterName = printer;
    spec.strDriverName = driver;
    spec.strPortName = port;
    spec.strJobName = m_doc.GetTitle();
    spec.pCodec = &m_encoding.GetCodec();
    return m_platform.RunPrintJob(spec,
                                  [this](CPrintDevice& device) { m_doc.PrintListing(&device); });
}

void CMainFrame::OnOpenRecentFile(int index) {
    CBusyStatus busy(m_wndStatusBar, IDS_STATUS_OPENING);
    CNodeAccessPause pause(m_pLeftView, m_pDetailView, *m_pMergeReport);
    m_doc.OnOpenRecentFile(index);
    SyncWithDocument();
}

void CMainFrame::OpenDroppedFiles(const wxArrayString& files) {
    for (const wxString& file : files) {
        CBusyStatus busy(m_wndStatusBar, IDS_STATUS_OPENING);
        CNodeAccessPause pause(m_pLeftView, m_pDetailView, *m_pMergeReport);
        m_doc.DoOpen(PathToBytes(file));
        SyncWithDocument();
    }
}

void CMainFrame::OnDropFiles(wxDropFilesEvent& event) {
    wxArrayString files;
    for (int i = 0; i < event.GetNumberOfFiles(); ++i) {
        files.push_back(event.GetFiles()[i]);
    }
    Raise();
    OpenDroppedFiles(files);
}

void CMainFrame::OnClose(wxCloseEvent& event) {
    if (event.CanVeto() && !m_doc.SaveModified()) {
        event.Veto();
        return;
    }
    m_doc.GetRecentFileList().WriteList();
    Destroy();
}

void CMainFrame::OnIdle(wxIdleEvent& event) {
    SyncWithDocument();
    event.Skip();
}

void CMainFrame::SyncWithDocument() {
    const wxString title = MessageText(m_doc.GetFrameTitle());
    if (GetTitle() != title) {
        SetTitle(title);
    }
    UpdateRecentFileMenu();
    UpdateIndicators();
}

void CMainFrame::UpdateRecentFileMenu() {
    const std::vector<std::string>& entries = m_doc.GetRecentFileList().GetEntries();
    if (m_bRecentFilesShown && entries == m_shownRecentFiles) {
        return;
    }
    wxMenuBar* menuBar = GetMenuBar();
    if (!menuBar) {
        return;
    }
    // The entries stand where the "Recent File" item stands.
    wxMenu* menu = nullptr;
    size_t position = 0;
    for (const int command : kRecentFileCommands) {
        wxMenu* owner = nullptr;
        wxMenuItem* item = menuBar->FindItem(WxIdFromCommand(command), &owner);
        if (!item || !owner) {
            continue;
        }
        size_t itemPosition = 0;
        owner->FindChildItem(item->GetId(), &itemPosition);
        if (!menu) {
            menu = owner;
            position = itemPosition;
        }
        owner->Destroy(item);
    }
    if (!menu) {
        return;
    }
    const std::string folder = PathToBytes(wxGetCwd());
    if (entries.empty()) {
        const int id = WxIdFromCommand(ID_FILE_MRU_FILE1);
        menu->Insert(position, id, wxString::FromUTF8(CStringTable::Get(IDS_RECENT_FILE)),
                     wxString::FromUTF8(CStringTable::GetField(ID_FILE_MRU_FILE1, 0)));
        menu->Enable(id, false);
    }
    for (size_t i = 0; i < entries.size() && i < std::size(kRecentFileCommands); ++i) {
        const int command = kRecentFileCommands[i];
        const std::string text =
            RecentFileMenuText(static_cast<int>(i), entries[i], folder, PathSeparator());
        menu->Insert(position + i, WxIdFromCommand(command), PathFromBytes(text),
                     wxString::FromUTF8(CStringTable::GetField(command, 0)));
    }
    m_shownRecentFiles = entries;
    m_bRecentFilesShown = true;
}

void CMainFrame::UpdateIndicators() {
    if (!m_wndStatusBar) {
        return;
    }
    const std::span<const int> indicators = MainFrameIndicators();
    for (size_t pane = 0; pane < indicators.size(); ++pane) {
        wxKeyCode key;
        switch (indicators[pane]) {
        case ID_INDICATOR_CAPS:
            key = WXK_CAPITAL;
            break;
        case ID_INDICATOR_NUM:
            key = WXK_NUMLOCK;
            break;
        case ID_INDICATOR_SCRL:
            key = WXK_SCROLL;
            break;
        default:
            continue;
        }
        // The indicator's text shows while the key's mode is on.
        const bool on = IsKeyModeOn(key);
        if (on != m_indicatorsOn[pane] ||
            m_wndStatusBar->GetStatusText(static_cast<int>(pane)).empty() == on) {
            m_indicatorsOn[pane] = on;
            m_wndStatusBar->SetStatusText(on ? CStringTable::Get(indicators[pane]) : "",
                                          static_cast<int>(pane));
        }
    }
}
