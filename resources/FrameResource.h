// The main frame's shared resource IDR_MAINFRAME beyond its strings: the menu
// bar, the accelerator table, the toolbar and the status bar's panes. Kept as
// plain data so that the window toolkit only builds what is described here.
#pragma once

#include <span>

// One item of a drop-down menu; a separator has no text.
struct CMenuItemResource {
    const char* pszText; // "&" marks the access key, "\t" leads the shortcut shown
    int nCommand;
    bool IsSeparator() const { return pszText == nullptr; }
};

struct CMenuResource {
    const char* pszTitle;
    std::span<const CMenuItemResource> items;
};

// The menu bar, menu by menu, in order.
std::span<const CMenuResource> MainFrameMenus();

// Modifier bits of an accelerator.
constexpr int kAccelCtrl = 1;
constexpr int kAccelShift = 2;
constexpr int kAccelAlt = 4;

// Keys of the accelerator table that are not letters (virtual-key codes).
constexpr int kKeyBackspace = 0x08;
constexpr int kKeyInsert = 0x2D;
constexpr int kKeyDelete = 0x2E;
constexpr int kKeyF3 = 0x72;

struct CAcceleratorResource {
    int nModifiers;
    int nKey; // an upper-case letter, or one of the key codes above
    int nCommand;
};

// The accelerator table: every key that runs a command.
std::span<const CAcceleratorResource> MainFrameAccelerators();

// The picture of a toolbar button.
enum class ToolPicture { kNew, kOpen, kSave, kCut, kCopy, kPaste, kDelete, kPrint };

// One toolbar button; a separator has the command ID_SEPARATOR.
struct CToolResource {
    int nCommand;
    ToolPicture picture;
};

// The toolbar's buttons and separators, left to right.
std::span<const CToolResource> MainFrameToolbar();

// The status bar's panes, left to right: the message pane (ID_SEPARATOR) and
// the key-state indicators, whose string-table entries give their texts.
std::span<const int> MainFrameIndicators();
