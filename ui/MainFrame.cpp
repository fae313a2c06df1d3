// The main frame's creation: the splitter with both panes, the menu bar, the
// accelerators, the toolbar and the status bar.
#include "ui/MainFrame.h"

#include "document/QuillmarDoc.h"
#include "resources/FrameResource.h"
#include "resources/Resource.h"
#include "resources/StringTable.h"
#include "ui/Artwork.h"
#include "ui/CommandIds.h"
#include "ui/DesktopPlatform.h"
#include "ui/LeftView.h"
#include "ui/MergeReportKeeper.h"
#include "ui/NodeFinder.h"
#include "ui/QuillmarView.h"

#include <wx/accel.h>
#include <wx/menu.h>
#include <wx/splitter.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>

#include <vector>

namespace {

constexpr int kLeftColumnWidth = 300;
constexpr int kToolPictureSize = 16;

bool IsCheckItem(int command) {
    return command == ID_EDIT_COMPRESSED_SAVE || command == ID_EDIT_AUTO_BACKUP ||
           command == ID_VIEW_TOOLBAR || command == ID_VIEW_STATUS_BAR ||
           command == ID_VIEW_KEEP_PLACE;
}

// The prompt of a command: its string-table entry before the line feed.
wxString Prompt(int command) {
    return wxString::FromUTF8(CStringTable::GetField(command, 0));
}

wxString Tooltip(int command) {
    return wxString::FromUTF8(CStringTable::GetField(command, 1));
}

int WxKey(int key) {
    switch (key) {
    case kKeyBackspace:
        return WXK_BACK;
    case kKeyInsert:
        return WXK_INSERT;
    case kKeyDelete:
        return WXK_DELETE;
    case kKeyF3:
        return WXK_F3;
    default:
        return key;
    }
}

int WxAccelFlags(int modifiers) {
    int flags = wxACCEL_NORMAL;
    if (modifiers & kAccelCtrl) {
        flags |= wxACCEL_CTRL;
    }
    if (modifiers & kAccelShift) {
        flags |= wxACCEL_SHIFT;
    }
    if (modifiers & kAccelAlt) {
        flags |= wxACCEL_ALT;
    }
    return flags;
}

} // namespace

CMainFrame::CMainFrame(CQuillmarDoc& doc, CDesktopPlatform& platform)
    : wxFrame(nullptr, wxID_ANY, CStringTable::Get(AFX_IDS_APP_TITLE), wxDefaultPosition,
              wxSize(960, 640)),
      m_doc(doc), m_platform(platform) {
    SetIcons(ApplicationIcons());
    m_doc.AddView(m_encoding);
    m_pMergeReport = std::make_unique<CMergeReportKeeper>(m_doc, m_encoding.GetCodec(), m_platform);
    OnCreateClient();
    m_pFinder = std::make_unique<CNodeFinder>(*this, m_doc, *m_pLeftView, m_encoding.GetCodec());
    m_pLeftView->SetKeepPlace(m_platform.ReadSettingInt(CStringTable::Get(IDS_SETTINGS_SECTION),
                                                        CStringTable::Get(IDS_SETTING_KEEP_PLACE),
                                                        0) != 0);
    CreateMenuBarFromResource();
    SetAcceleratorsFromResource();
    CreateToolBarFromResource();
    CreateStatusBarFromResource();
    BindCommands();
    SyncWithDocument();
}

CMainFrame::~CMainFrame() {
    m_pFinder.reset();
    m_pMergeReport.reset();
    m_doc.RemoveView(m_encoding);
}

bool CMainFrame::OnCreateClient() {
    m_wndSplitter = new wxSplitterWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                         wxSP_3D | wxSP_LIVE_UPDATE);
    m_pLeftView = new CLeftView(m_wndSplitter, m_doc, m_encoding.GetCodec());
    m_pDetailView = new CQuillmarView(m_wndSplitter, m_doc, m_encoding.GetCodec(), m_platform);
    // The splitter bar can be dragged, but neither pane can be closed.
    m_wndSplitter->SetMinimumPaneSize(20);
    m_wndSplitter->SetSashGravity(0.0);
    return m_wndSplitter->SplitVertically(m_pLeftView, m_pDetailView, kLeftColumnWidth);
}

CLeftView* CMainFrame::GetLeftPane() const {
    return m_wndSplitter ? dynamic_cast<CLeftView*>(m_wndSplitter->GetWindow1()) : nullptr;
}

void CMainFrame::CreateMenuBarFromResource() {
    auto* menuBar = new wxMenuBar;
    for (const CMenuResource& menuResource : MainFrameMenus()) {
        auto* menu = new wxMenu;
        for (const CMenuItemResource& item : menuResource.items) {
            if (item.IsSeparator()) {
                menu->AppendSeparator();
                continue;
            }
            menu->Append(WxIdFromCommand(item.nCommand), wxString::FromUTF8(item.pszText),
                         Prompt(item.nCommand),
                         IsCheckItem(item.nCommand) ? wxITEM_CHECK : wxITEM_NORMAL);
        }
        menuBar->Append(menu, wxString::FromUTF8(menuResource.pszTitle));
    }
    SetMenuBar(menuBar);
    // Commands without a handler are disabled from the start.
    for (const int command : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE,
                              ID_EDIT_DELETE, ID_FILE_MERGE, ID_VIEW_MERGE_REPORT}) {
        menuBar->Enable(WxIdFromCommand(command), false);
    }
}

void CMainFrame::SetAcceleratorsFromResource() {
    std::vector<wxAcceleratorEntry> entries;
    for (const CAcceleratorResource& accelerator : MainFrameAccelerators()) {
        entries.emplace_back(WxAccelFlags(accelerator.nModifiers), WxKey(accelerator.nKey),
                             WxIdFromCommand(accelerator.nCommand));
    }
    // F1 without Shift, Ctrl or Alt asks for help.
    entries.emplace_back(wxACCEL_NORMAL, WXK_F1, WxIdFromCommand(ID_HELP));
    SetAcceleratorTable(wxAcceleratorTable(static_cast<int>(entries.size()), entries.data()));
}

bool CMainFrame::CreateToolBarFromResource() {
    m_wndToolBar = CreateToolBar(wxTB_FLAT | wxTB_HORIZONTAL);
    if (!m_wndToolBar) {
        return false;
    }
    const wxSize pictureSize(kToolPictureSize, kToolPictureSize);
    m_wndToolBar->SetToolBitmapSize(pictureSize);
    for (const CToolResource& tool : MainFrameToolbar()) {
        if (tool.nCommand == ID_SEPARATOR) {
            m_wndToolBar->AddSeparator();
            continue;
        }
        const int id = WxIdFromCommand(tool.nCommand);
        m_wndToolBar->AddTool(id, Tooltip(tool.nCommand), ToolBitmap(tool.picture, pictureSize),
                              Tooltip(tool.nCommand));
        m_wndToolBar->SetToolLongHelp(id, Prompt(tool.nCommand));
    }
    for (const int command : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_DELETE}) {
        m_wndToolBar->EnableTool(WxIdFromCommand(command), false);
    }
    return m_wndToolBar->Realize();
}

bool CMainFrame::CreateStatusBarFromResource() {
    const std::span<const int> indicators = MainFrameIndicators();
    m_wndStatusBar = CreateStatusBar(static_cast<int>(indicators.size()));
    if (!m_wndStatusBar) {
        return false;
    }
    std::vector<int> widths;
    for (const int indicator : indicators) {
        if (indicator == ID_SEPARATOR) {
            widths.push_back(-1); // the message pane takes the rest
        } else {
            // Wide enough for the indicator's text.
            const wxSize text = m_wndStatusBar->GetTextExtent(CStringTable::Get(indicator));
            widths.push_back(text.x + 16);
        }
    }
    m_wndStatusBar->SetStatusWidths(static_cast<int>(widths.size()), widths.data());
    m_wndStatusBar->SetStatusText(IdleMessage(), 0);
    m_indicatorsOn.assign(indicators.size(), false);
    return true;
}

wxString CMainFrame::IdleMessage() {
    return CStringTable::Get(AFX_IDS_IDLEMESSAGE);
}
