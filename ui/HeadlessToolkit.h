// The toolkit started in-process by a program that drives the application
// itself instead of running its message loop: the GUI tests and the desktop
// benchmark. Each starts the application's start-up on a platform of its
// own, then acts on the real frame and panes.
#pragma once

#include <wx/evtloop.h>

#include <memory>

class wxApp;

class CHeadlessToolkit {
public:
    // Starts the toolkit with app (which the toolkit owns from then on) and
    // makes an event loop active that the program drives.
    CHeadlessToolkit(wxApp* app, const char* programName);
    CHeadlessToolkit(const CHeadlessToolkit&) = delete;
    CHeadlessToolkit& operator=(const CHeadlessToolkit&) = delete;
    // Ends the application (closing its frame) and the toolkit.
    ~CHeadlessToolkit();

    bool IsStarted() const { return m_bStarted; }

private:
    bool m_bStarted = false;
    std::unique_ptr<wxGUIEventLoop> m_loop;
};

// Runs the events that are waiting and the idle processing after them, as
// the message loop would between two user actions.
void ProcessEvents();
