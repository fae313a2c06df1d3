// CQuillmarApp: the application. It points the settings at the vendor's key,
// makes the document and the main frame, carries out the command line, shows
// the main window and answers Help, About Quillmar with the About box.
#pragma once

#include "ui/CommandLineInfo.h"

#include <wx/app.h>

#include <memory>

class CDesktopPlatform;
class CMainFrame;
class CQuillmarDoc;

class CQuillmarApp : public wxApp {
public:
    CQuillmarApp();
    ~CQuillmarApp() override;

    // Starts the toolkit. Without a display a print switch's failure is
    // told on standard error, as there is no message box to show it.
    bool Initialize(int& argc, wxChar** argv) override;
    // The wx platform and the command line of the process.
    bool OnInit() override;
    int OnRun() override;
    int OnExit() override;

    // The start-up, on the platform given with SetPlatform. False when the
    // program is to end at once: the command line's work is done (printing,
    // removing the registration) or its file could not be opened.
    bool InitInstance(const CCommandLineInfo& cmdInfo);
    void OnAppAbout();

    void SetPlatform(std::unique_ptr<CDesktopPlatform> platform);
    CMainFrame* GetMainFrame() const { return m_pMainFrame; }
    CQuillmarDoc* GetDocument() const { return m_pDocument.get(); }
    // The process's exit code once start-up has ended the program: 0 when
    // its work was done, 1 when it failed.
    int GetExitCode() const { return m_nExitCode; }
    // Closes the main window at once and lets the document go; for a run
    // that ends, and for tests that start the application again.
    void ExitInstance();

private:
    bool ProcessShellCommand(const CCommandLineInfo& cmdInfo);

    std::unique_ptr<CDesktopPlatform> m_pPlatform;
    std::unique_ptr<CQuillmarDoc> m_pDocument;
    CMainFrame* m_pMainFrame = nullptr;
    int m_nExitCode = 0;
};

wxDECLARE_APP(CQuillmarApp);
