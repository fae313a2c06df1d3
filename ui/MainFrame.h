// CMainFrame: the application's only top-level window: the menu bar, the
// toolbar, the status bar with its key-state indicators, and a splitter with
// the tree pane on the left (300 pixels at first) and the detail pane on the
// right. It carries out the menu commands, handing them to the document, the
// panes and the platform, and owns the Delete and Help commands.
#pragma once

#include "ui/DocumentEncoding.h"

#include <wx/frame.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CDesktopPlatform;
class CLeftView;
class CNodeFinder;
class CMergeReportKeeper;
class CQuillmarDoc;
class CQuillmarView;
class wxSplitterWindow;
class wxStatusBar;
class wxToolBar;

class CMainFrame : public wxFrame {
public:
    CMainFrame(CQuillmarDoc& doc, CDesktopPlatform& platform);
    ~CMainFrame() override;

    // The tree pane, when the splitter's left pane is one.
    CLeftView* GetLeftPane() const;
    CQuillmarView* GetDetailPane() const { return m_pDetailView; }
    // Find, Find Next, Find Previous and Go To.
    CNodeFinder& GetFinder() const { return *m_pFinder; }
    wxSplitterWindow* GetSplitter() const { return m_wndSplitter; }
    const CTextCodec& GetCodec() const { return m_encoding.GetCodec(); }
    // The report of the last merge in this document, and its window.
    CMergeReportKeeper& GetMergeReport() const { return *m_pMergeReport; }

    // The Help, About Quillmar command is the application's.
    void SetAboutHandler(std::function<void()> handler) { m_onAppAbout = std::move(handler); }

    // Runs a command as its menu item or toolbar button would.
    void RunCommand(int command);

    void OnDelete();
    void OnHelp();

    // Prints the document on the default printer, or on the printer named,
    // without the print dialog; true when it was printed.
    bool PrintDirect(const std::string& printer = {}, const std::string& driver = {},
                     const std::string& port = {});

    // Opens files dropped on the window one after the other.
    void OpenDroppedFiles(const wxArrayString& files);

    // Brings the title, the recent-file list and the key-state indicators up
    // to date with the document and the keyboard; done when idle.
    void SyncWithDocument();

    // The status bar's idle text.
    static wxString IdleMessage();

private:
    bool OnCreateClient();
    bool CreateToolBarFromResource();
    bool CreateStatusBarFromResource();
    void CreateMenuBarFromResource();
    void SetAcceleratorsFromResource();
    void BindCommands();

    void OnUpdateDelete(wxUpdateUIEvent& event);
    // Find, Find Next, Find Previous and Go To: while there is a tree.
    bool HasTreeToSearch() const;
    void OnUpdateEditFind(wxUpdateUIEvent& event);
    void OnUpdateEditFindNext(wxUpdateUIEvent& event);
    void OnUpdateEditFindPrevious(wxUpdateUIEvent& event);
    void OnUpdateEditGoTo(wxUpdateUIEvent& event);
    // View, Keep Place After Edits: an option kept in the settings.
    void OnViewKeepPlace();
    void OnUpdateViewKeepPlace(wxUpdateUIEvent& event);
    void OnViewMergeReport();
    void OnUpdateViewMergeReport(wxUpdateUIEvent& event);
    void OnFilePrint();
    void OnOpenRecentFile(int index);
    void UpdateRecentFileMenu();
    void UpdateIndicators();
    void OnClose(wxCloseEvent& event);
    void OnDropFiles(wxDropFilesEvent& event);
    void OnIdle(wxIdleEvent& event);

    CQuillmarDoc& m_doc;
    CDesktopPlatform& m_platform;
    // Decides the texts' encoding before the panes hear of a new tree: it
    // watches the document first.
    CDocumentEncoding m_encoding;
    std::unique_ptr<CMergeReportKeeper> m_pMergeReport;

    wxSplitterWindow* m_wndSplitter = nullptr;
    wxStatusBar* m_wndStatusBar = nullptr;
    wxToolBar* m_wndToolBar = nullptr;
    CLeftView* m_pLeftView = nullptr;
    CQuillmarView* m_pDetailView = nullptr;
    std::unique_ptr<CNodeFinder> m_pFinder;

    std::function<void()> m_onAppAbout;
    std::vector<std::string> m_shownRecentFiles;
    bool m_bRecentFilesShown = false;
    std::vector<bool> m_indicatorsOn;
};
