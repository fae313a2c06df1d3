// CCmdUI: the user-interface state of one command (menu item, toolbar
// button), set by the command's update handler.
#pragma once

class CCmdUI {
public:
    virtual ~CCmdUI() = default;
    virtual void Enable(bool on) = 0;
    // 0 unchecked, 1 checked.
    virtual void SetCheck(int check) = 0;
};
