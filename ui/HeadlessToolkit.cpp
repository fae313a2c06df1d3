#include "ui/HeadlessToolkit.h"

#include "ui/QuillmarApp.h"

#include <wx/app.h>
#include <wx/init.h>

#include <cstdio>

CHeadlessToolkit::CHeadlessToolkit(wxApp* app, const char* programName) {
    wxApp::SetInstance(app);
    // The toolkit keeps argv for as long as it runs.
    static int argc = 1;
    static char name[64] = {};
    static char* argv[] = {name, nullptr};
    std::snprintf(name, sizeof name, "%s", programName);
    m_bStarted = wxEntryStart(argc, argv) && wxTheApp->CallOnInit();
    if (m_bStarted) {
        m_loop = std::make_unique<wxGUIEventLoop>();
        wxEventLoopBase::SetActive(m_loop.get());
    }
}

CHeadlessToolkit::~CHeadlessToolkit() {
    if (!m_bStarted) {
        return;
    }
    static_cast<CQuillmarApp*>(wxTheApp)->ExitInstance();
    ProcessEvents();
    wxEventLoopBase::SetActive(nullptr);
    m_loop.reset();
    wxTheApp->OnExit();
    wxEntryCleanup();
}

void ProcessEvents() {
    for (int round = 0; round < 5; ++round) {
        wxTheApp->ProcessPendingEvents();
        wxEventLoopBase* loop = wxEventLoopBase::GetActive();
        for (int i = 0; loop && i < 1000 && loop->Pending(); ++i) {
            loop->Dispatch();
        }
        wxTheApp->ProcessIdle();
    }
}
