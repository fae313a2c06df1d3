// CWxCmdUI: a command's user-interface state set through a wx update event,
// so that the document's update handlers set menu items and toolbar buttons.
#pragma once

#include "document/CmdUI.h"

#include <wx/event.h>

class CWxCmdUI : public CCmdUI {
public:
    explicit CWxCmdUI(wxUpdateUIEvent& event) : m_event(event) {}
    void Enable(bool on) override { m_event.Enable(on); }
    void SetCheck(int check) override { m_event.Check(check != 0); }

private:
    wxUpdateUIEvent& m_event;
};
