#include "ui/QuillmarApp.h"

#include "document/Platform.h"
#include "document/QuillmarDoc.h"
#include "resources/Resource.h"
#include "resources/StringTable.h"
#include "ui/AboutDlg.h"
#include "ui/MainFrame.h"
#include "ui/PathText.h"
#include "ui/ShellRegistration.h"
#include "ui/WxPlatform.h"

#include <cstdio>
#include <string>
#include <vector>

CQuillmarApp::CQuillmarApp() {
    // The application's name is the string table's: "Quillmar".
    SetAppName(CStringTable::Get(AFX_IDS_APP_TITLE));
}

CQuillmarApp::~CQuillmarApp() = default;

void CQuillmarApp::SetPlatform(std::unique_ptr<CDesktopPlatform> platform) {
    m_pPlatform = std::move(platform);
}

bool CQuillmarApp::Initialize(int& argc, wxChar** argv) {
    // The toolkit takes its own options out of argv: the command line is
    // read first.
    std::vector<std::string> params;
    for (int i = 1; i < argc; ++i) {
        params.push_back(PathToBytes(argv[i]));
    }
    const auto command = ParseCommandLine(params).m_nShellCommand;
    if (wxApp::Initialize(argc, argv)) {
        return true;
    }
    if (command == CCommandLineInfo::FilePrint || command == CCommandLineInfo::FilePrintTo) {
        std::fprintf(stderr, "quillmar: %s\n", CStringTable::Get(AFX_IDP_FAILED_TO_START_PRINT));
    }
    return false;
}

bool CQuillmarApp::OnInit() {
    // The command line is the program's own: wx's parser is not run, as it
    // would take "-p" for one of its options.
    SetPlatform(std::make_unique<CWxPlatform>());
    std::vector<std::string> params;
    for (int i = 1; i < argc; ++i) {
        params.push_back(PathToBytes(argv[i]));
    }
    if (!InitInstance(ParseCommandLine(params))) {
        // Start-up has done all there is to do: end once the loop runs.
        CallAfter([this] { ExitMainLoop(); });
    }
    return true;
}

int CQuillmarApp::OnRun() {
    const int code = wxApp::OnRun();
    return m_nExitCode != 0 ? m_nExitCode : code;
}

int CQuillmarApp::OnExit() {
    ExitInstance();
    return wxApp::OnExit();
}

void CQuillmarApp::ExitInstance() {
    // The panes leave the document before it goes.
    if (m_pMainFrame && IsScheduledForDestruction(m_pMainFrame)) {
        DeletePendingObjects();
    } else {
        delete m_pMainFrame;
    }
    m_pMainFrame = nullptr;
    m_pDocument.reset();
}

bool CQuillmarApp::InitInstance(const CCommandLineInfo& cmdInfo) {
    // The settings live under the vendor's key.
    SetRegistryKey("Veltrane");

    // The document reads its options and the recent-file list (4 entries)
    // when it is made; the frame builds the splitter with both panes.
    m_pDocument = std::make_unique<CQuillmarDoc>(*m_pPlatform);
    m_pMainFrame = new CMainFrame(*m_pDocument, *m_pPlatform);
    m_pMainFrame->Bind(wxEVT_DESTROY, [this](wxWindowDestroyEvent& event) {
        if (event.GetEventObject() == m_pMainFrame) {
            m_pMainFrame = nullptr;
        }
        event.Skip();
    });
    m_pMainFrame->SetAboutHandler([this] { OnAppAbout(); });
    SetTopWindow(m_pMainFrame);

    RegisterShellFileTypes();

    if (!ProcessShellCommand(cmdInfo)) {
        return false;
    }

    m_pMainFrame->Show(true);
    m_pMainFrame->Update();
    m_pMainFrame->DragAcceptFiles(true);
    return true;
}

bool CQuillmarApp::ProcessShellCommand(const CCommandLineInfo& cmdInfo) {
    switch (cmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
    case CCommandLineInfo::FileDDE:
    case CCommandLineInfo::FileNothing:
        // Without the shell's conversations a "dde" or embedded start is a
        // plain start with a new document.
        if (!m_pDocument->DoNew()) {
            m_nExitCode = 1;
            return false;
        }
        return true;

    case CCommandLineInfo::FileOpen:
        if (!m_pDocument->DoOpen(cmdInfo.m_strFileName)) {
            m_nExitCode = 1;
            return false;
        }
        return true;

    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo: {
        // Printed with the main window hidden, and the program ends; a file
        // that cannot be opened has been reported and ends it too.
        bool printed = m_pDocument->DoOpen(cmdInfo.m_strFileName);
        if (printed) {
            m_pMainFrame->SyncWithDocument();
            printed = m_pMainFrame->PrintDirect(cmdInfo.m_strPrinterName, cmdInfo.m_strDriverName,
                                                cmdInfo.m_strPortName);
        }
        m_nExitCode = printed ? 0 : 1;
        ExitInstance();
        return false;
    }

    case CCommandLineInfo::AppUnregister: {
        const bool removed = UnregisterShellFileTypes();
#ifdef __WXMSW__
        const int done = AFX_IDP_UNREG_DONE;
        const int failure = AFX_IDP_UNREG_FAILURE;
#else
        // Here the settings are a file of the user's configuration, which
        // also holds the recent-file list; unregistering the file types
        // leaves it, and the message says so.
        const int done = IDS_UNREG_DONE_SETTINGS_KEPT;
        const int failure = IDS_UNREG_FAILURE_SETTINGS_KEPT;
#endif
        if (!cmdInfo.m_bRunEmbedded) {
            m_pPlatform->ShowMessage(CStringTable::Get(removed ? done : failure),
                                     removed ? MsgIcon::Information : MsgIcon::Exclamation,
                                     MsgButtons::Ok);
        }
        m_nExitCode = removed ? 0 : 1;
        ExitInstance();
        return false;
    }
    }
    return true;
}

void CQuillmarApp::OnAppAbout() {
    CAboutDlg aboutDlg(m_pMainFrame);
    aboutDlg.ShowModal();
}
