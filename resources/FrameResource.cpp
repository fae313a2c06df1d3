#include "resources/FrameResource.h"

#include "resources/Resource.h"

#include <array>

namespace {

constexpr CMenuItemResource kSeparator{nullptr, ID_SEPARATOR};

constexpr std::array kFileMenu{
    CMenuItemResource{"&New\tCtrl+N", ID_FILE_NEW},
    CMenuItemResource{"&Open...\tCtrl+O", ID_FILE_OPEN},
    CMenuItemResource{"&Save\tCtrl+S", ID_FILE_SAVE},
    CMenuItemResource{"Save &As...", ID_FILE_SAVE_AS},
    kSeparator,
    CMenuItemResource{"&Merge...", ID_FILE_MERGE},
    kSeparator,
    CMenuItemResource{"&Print...\tCtrl+P", ID_FILE_PRINT},
    CMenuItemResource{"P&rint Setup...", ID_FILE_PRINT_SETUP},
    kSeparator,
    CMenuItemResource{"Sen&d...", ID_FILE_SEND_MAIL},
    kSeparator,
    CMenuItemResource{"Recent File", ID_FILE_MRU_FILE1},
    kSeparator,
    CMenuItemResource{"E&xit", ID_APP_EXIT},
};

constexpr std::array kEditMenu{
    CMenuItemResource{"&Undo\tCtrl+Z", ID_EDIT_UNDO},
    kSeparator,
    CMenuItemResource{"Cu&t\tCtrl+X", ID_EDIT_CUT},
    CMenuItemResource{"&Copy\tCtrl+C", ID_EDIT_COPY},
    CMenuItemResource{"&Paste\tCtrl+V", ID_EDIT_PASTE},
    CMenuItemResource{"&Delete", ID_EDIT_DELETE},
    kSeparator,
    CMenuItemResource{"C&ompressed XML Save", ID_EDIT_COMPRESSED_SAVE},
    CMenuItemResource{"Auto-Backup Saved Files", ID_EDIT_AUTO_BACKUP},
    kSeparator,
    CMenuItemResource{"&Find...\tCtrl+F", ID_EDIT_FIND},
    CMenuItemResource{"Find &Next\tF3", ID_EDIT_FIND_NEXT},
    CMenuItemResource{"Find &Previous\tShift+F3", ID_EDIT_FIND_PREVIOUS},
    CMenuItemResource{"&Go To...\tCtrl+G", ID_EDIT_GOTO},
};

constexpr std::array kViewMenu{
    CMenuItemResource{"&Toolbar", ID_VIEW_TOOLBAR},
    CMenuItemResource{"&Status Bar", ID_VIEW_STATUS_BAR},
    kSeparator,
    CMenuItemResource{"&Keep Place After Edits", ID_VIEW_KEEP_PLACE},
    CMenuItemResource{"&Merge Report", ID_VIEW_MERGE_REPORT},
};

constexpr std::array kHelpMenu{
    CMenuItemResource{"&About Quillmar...", ID_APP_ABOUT},
};

constexpr std::array kMenus{
    CMenuResource{"&File", kFileMenu},
    CMenuResource{"&Edit", kEditMenu},
    CMenuResource{"&View", kViewMenu},
    CMenuResource{"&Help", kHelpMenu},
};

constexpr std::array kAccelerators{
    CAcceleratorResource{kAccelCtrl, 'N', ID_FILE_NEW},
    CAcceleratorResource{kAccelCtrl, 'O', ID_FILE_OPEN},
    CAcceleratorResource{kAccelCtrl, 'S', ID_FILE_SAVE},
    CAcceleratorResource{kAccelCtrl, 'P', ID_FILE_PRINT},
    CAcceleratorResource{kAccelCtrl, 'Z', ID_EDIT_UNDO},
    CAcceleratorResource{kAccelAlt, kKeyBackspace, ID_EDIT_UNDO},
    CAcceleratorResource{kAccelCtrl, 'X', ID_EDIT_CUT},
    CAcceleratorResource{kAccelShift, kKeyDelete, ID_EDIT_CUT},
    CAcceleratorResource{kAccelCtrl, 'C', ID_EDIT_COPY},
    CAcceleratorResource{kAccelCtrl, kKeyInsert, ID_EDIT_COPY},
    CAcceleratorResource{kAccelCtrl, 'V', ID_EDIT_PASTE},
    CAcceleratorResource{kAccelShift, kKeyInsert, ID_EDIT_PASTE},
    CAcceleratorResource{kAccelCtrl, 'F', ID_EDIT_FIND},
    CAcceleratorResource{0, kKeyF3, ID_EDIT_FIND_NEXT},
    CAcceleratorResource{kAccelShift, kKeyF3, ID_EDIT_FIND_PREVIOUS},
    CAcceleratorResource{kAccelCtrl, 'G', ID_EDIT_GOTO},
};

constexpr std::array kToolbar{
    CToolResource{ID_FILE_NEW, ToolPicture::kNew},
    CToolResource{ID_FILE_OPEN, ToolPicture::kOpen},
    CToolResource{ID_FILE_SAVE, ToolPicture::kSave},
    CToolResource{ID_SEPARATOR, ToolPicture::kNew},
    CToolResource{ID_EDIT_CUT, ToolPicture::kCut},
    CToolResource{ID_EDIT_COPY, ToolPicture::kCopy},
    CToolResource{ID_EDIT_PASTE, ToolPicture::kPaste},
    CToolResource{ID_SEPARATOR, ToolPicture::kNew},
    CToolResource{ID_EDIT_DELETE, ToolPicture::kDelete},
    CToolResource{ID_SEPARATOR, ToolPicture::kNew},
    CToolResource{ID_FILE_PRINT, ToolPicture::kPrint},
};

constexpr std::array kIndicators{
    ID_SEPARATOR,
    ID_INDICATOR_CAPS,
    ID_INDICATOR_NUM,
    ID_INDICATOR_SCRL,
};

} // namespace

std::span<const CMenuResource> MainFrameMenus() {
    return kMenus;
}

std::span<const CAcceleratorResource> MainFrameAccelerators() {
    return kAccelerators;
}

std::span<const CToolResource> MainFrameToolbar() {
    return kToolbar;
}

std::span<const int> MainFrameIndicators() {
    return kIndicators;
}
