// The main frame's layout as a user meets it: the splitter, the menus with
// their items, access keys, shortcuts, separators and check marks, the
// accelerators, the toolbar and the status bar.
#include "support/GuiTest.h"

#include "resources/Resource.h"
#include "ui/Artwork.h"
#include "ui/CommandIds.h"

#include <gmock/gmock.h>
#include <wx/accel.h>
#include <wx/artprov.h>
#include <wx/menu.h>
#include <wx/splitter.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>

using ::testing::ElementsAre;

namespace {

class MainFrameMenuTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        ASSERT_TRUE(Start());
    }
    // The items of menu index: their labels, "-" for a separator.
    std::vector<std::string> MenuItems(size_t index) const {
        std::vector<std::string> items;
        for (const wxMenuItem* item : Frame().GetMenuBar()->GetMenu(index)->GetMenuItems()) {
            items.push_back(item->IsSeparator() ? "-"
                                                : std::string(item->GetItemLabel().utf8_str()));
        }
        return items;
    }
    int AcceleratorCommand(int flags, int key) const {
        const wxAcceleratorTable* table = Frame().GetAcceleratorTable();
        wxKeyEvent event(wxEVT_KEY_DOWN);
        event.m_keyCode = key;
        event.SetControlDown((flags & wxACCEL_CTRL) != 0);
        event.SetShiftDown((flags & wxACCEL_SHIFT) != 0);
        event.SetAltDown((flags & wxACCEL_ALT) != 0);
        const int id = table->GetCommand(event);
        return id == -1 ? -1 : CommandFromWxId(id);
    }
};

TEST_F(MainFrameMenuTest, SplitterHasTheTreeOnTheLeftThreeHundredPixelsWide) {
    wxSplitterWindow* splitter = Frame().GetSplitter();
    ASSERT_TRUE(splitter->IsSplit());
    EXPECT_EQ(wxSPLIT_VERTICAL, splitter->GetSplitMode());
    EXPECT_EQ(static_cast<wxWindow*>(&Tree()), splitter->GetWindow1());
    EXPECT_EQ(static_cast<wxWindow*>(&Detail()), splitter->GetWindow2());
    EXPECT_EQ(300, splitter->GetSashPosition());
}

TEST_F(MainFrameMenuTest, MenuBarHasFourMenusInOrder) {
    wxMenuBar* bar = Frame().GetMenuBar();
    ASSERT_EQ(4u, bar->GetMenuCount());
    EXPECT_EQ("&File", std::string(bar->GetMenuLabel(0).utf8_str()));
    EXPECT_EQ("&Edit", std::string(bar->GetMenuLabel(1).utf8_str()));
    EXPECT_EQ("&View", std::string(bar->GetMenuLabel(2).utf8_str()));
    EXPECT_EQ("&Help", std::string(bar->GetMenuLabel(3).utf8_str()));
}

TEST_F(MainFrameMenuTest, FileMenuItems) {
    EXPECT_THAT(MenuItems(0),
                ElementsAre("&New\tCtrl+N", "&Open...\tCtrl+O", "&Save\tCtrl+S", "Save &As...", "-",
                            "&Merge...", "-", "&Print...\tCtrl+P", "P&rint Setup...", "-",
                            "Sen&d...", "-", "Recent File", "-", "E&xit"));
    EXPECT_FALSE(MenuEnabled(ID_FILE_MRU_FILE1));
}

TEST_F(MainFrameMenuTest, EditMenuItems) {
    EXPECT_THAT(MenuItems(1),
                ElementsAre("&Undo\tCtrl+Z", "-", "Cu&t\tCtrl+X", "&Copy\tCtrl+C", "&Paste\tCtrl+V",
                            "&Delete", "-", "C&ompressed XML Save", "Auto-Backup Saved Files",
                            // Added after the items above.
                            "-", "&Find...\tCtrl+F", "Find &Next\tF3", "Find &Previous\tShift+F3",
                            "&Go To...\tCtrl+G"));
}

TEST_F(MainFrameMenuTest, ViewAndHelpMenuItems) {
    EXPECT_THAT(MenuItems(2), ElementsAre("&Toolbar", "&Status Bar", "-", "&Keep Place After Edits",
                                          "&Merge Report"));
    EXPECT_THAT(MenuItems(3), ElementsAre("&About Quillmar..."));
    EXPECT_TRUE(MenuChecked(ID_VIEW_TOOLBAR));
    EXPECT_TRUE(MenuChecked(ID_VIEW_STATUS_BAR));
}

TEST_F(MainFrameMenuTest, MenuItemsCarryTheirStatusBarPrompts) {
    wxMenuBar* bar = Frame().GetMenuBar();
    EXPECT_EQ("Create a new document", bar->GetHelpString(WxIdFromCommand(ID_FILE_NEW)));
    EXPECT_EQ("Merges a new ratefile with the loaded ratefile.",
              bar->GetHelpString(WxIdFromCommand(ID_FILE_MERGE)));
    EXPECT_EQ("Save the file in a compressed format to save space.",
              bar->GetHelpString(WxIdFromCommand(ID_EDIT_COMPRESSED_SAVE)));
    EXPECT_EQ("Display program information, version number and copyright",
              bar->GetHelpString(WxIdFromCommand(ID_APP_ABOUT)));
}

TEST_F(MainFrameMenuTest, ClipboardCommandsAndUndoAreAlwaysDisabled) {
    for (const int command : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE}) {
        EXPECT_FALSE(MenuEnabled(command)) << command;
    }
    for (const int command : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE}) {
        EXPECT_FALSE(ToolEnabled(command)) << command;
    }
    // Also with the focus in the detail pane's edit box of an editable value.
    StartWith(m_folder.Write("rates.xml", kSmallRateFile));
    Select(FindItem({"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Credit Life", "DPKEY"}));
    Detail().GetEdit()->SetFocus();
    ProcessEvents();
    for (const int command : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE}) {
        EXPECT_FALSE(MenuEnabled(command)) << command;
    }
    EXPECT_FALSE(ToolEnabled(ID_EDIT_PASTE));
}

TEST_F(MainFrameMenuTest, AcceleratorTableAndNoKeyForDelete) {
    EXPECT_EQ(ID_FILE_NEW, AcceleratorCommand(wxACCEL_CTRL, 'N'));
    EXPECT_EQ(ID_FILE_OPEN, AcceleratorCommand(wxACCEL_CTRL, 'O'));
    EXPECT_EQ(ID_FILE_SAVE, AcceleratorCommand(wxACCEL_CTRL, 'S'));
    EXPECT_EQ(ID_FILE_PRINT, AcceleratorCommand(wxACCEL_CTRL, 'P'));
    EXPECT_EQ(ID_EDIT_UNDO, AcceleratorCommand(wxACCEL_CTRL, 'Z'));
    EXPECT_EQ(ID_EDIT_UNDO, AcceleratorCommand(wxACCEL_ALT, WXK_BACK));
    EXPECT_EQ(ID_EDIT_CUT, AcceleratorCommand(wxACCEL_CTRL, 'X'));
    EXPECT_EQ(ID_EDIT_CUT, AcceleratorCommand(wxACCEL_SHIFT, WXK_DELETE));
    EXPECT_EQ(ID_EDIT_COPY, AcceleratorCommand(wxACCEL_CTRL, 'C'));
    EXPECT_EQ(ID_EDIT_COPY, AcceleratorCommand(wxACCEL_CTRL, WXK_INSERT));
    EXPECT_EQ(ID_EDIT_PASTE, AcceleratorCommand(wxACCEL_CTRL, 'V'));
    EXPECT_EQ(ID_EDIT_PASTE, AcceleratorCommand(wxACCEL_SHIFT, WXK_INSERT));
    EXPECT_EQ(ID_HELP, AcceleratorCommand(wxACCEL_NORMAL, WXK_F1));
    EXPECT_EQ(ID_EDIT_FIND, AcceleratorCommand(wxACCEL_CTRL, 'F'));
    EXPECT_EQ(ID_EDIT_FIND_NEXT, AcceleratorCommand(wxACCEL_NORMAL, WXK_F3));
    EXPECT_EQ(ID_EDIT_FIND_PREVIOUS, AcceleratorCommand(wxACCEL_SHIFT, WXK_F3));
    EXPECT_EQ(ID_EDIT_GOTO, AcceleratorCommand(wxACCEL_CTRL, 'G'));
    EXPECT_EQ(-1, AcceleratorCommand(wxACCEL_NORMAL, WXK_DELETE));
    EXPECT_EQ(-1, AcceleratorCommand(wxACCEL_CTRL, 'D'));
    EXPECT_EQ(-1, AcceleratorCommand(wxACCEL_SHIFT, WXK_F1));
}

TEST_F(MainFrameMenuTest, ToolbarButtonsInOrderWithSeparators) {
    wxToolBar* toolBar = Frame().GetToolBar();
    std::vector<std::string> tools;
    for (size_t i = 0; i < toolBar->GetToolsCount(); ++i) {
        const wxToolBarToolBase* tool = toolBar->GetToolByPos(static_cast<int>(i));
        if (tool->IsSeparator()) {
            tools.push_back("-");
        } else {
            tools.push_back(std::to_string(CommandFromWxId(tool->GetId())) + " " +
                            std::string(tool->GetShortHelp().utf8_str()) + " / " +
                            std::string(tool->GetLongHelp().utf8_str()));
            EXPECT_TRUE(tool->GetNormalBitmap().IsOk());
            EXPECT_EQ(16, tool->GetNormalBitmap().GetWidth());
        }
    }
    EXPECT_THAT(tools,
                ElementsAre("57600 New / Create a new document",
                            "57601 Open / Open an existing document",
                            "57603 Save / Save the active document", "-",
                            "57635 Cut / Cut the selection and put it on the Clipboard",
                            "57634 Copy / Copy the selection and put it on the Clipboard",
                            "57637 Paste / Insert Clipboard contents", "-", "32773 Delete / Delete",
                            "-", "57607 Print / Print the active document"));
}

TEST_F(MainFrameMenuTest, DeleteButtonIsTheThemesPictureOrADarkRedCross) {
    const wxImage button = Frame()
                               .GetToolBar()
                               ->FindById(WxIdFromCommand(ID_EDIT_DELETE))
                               ->GetNormalBitmap()
                               .ConvertToImage();
    const wxSize size(16, 16);
    ASSERT_EQ(size, button.GetSize());
    const wxBitmapBundle themed =
        wxArtProvider::HasNativeProvider()
            ? wxArtProvider::GetBitmapBundle(wxART_DELETE, wxART_TOOLBAR, size)
            : wxBitmapBundle();
    const wxImage expected =
        (themed.IsOk() ? themed : DeleteBitmap(size)).GetBitmap(size).ConvertToImage();
    EXPECT_EQ(0, memcmp(expected.GetData(), button.GetData(), 16 * 16 * 3));

    // The cross: the centre is ink, the middle of the top edge is clear.
    const wxImage cross = DeleteBitmap(size).GetBitmap(size).ConvertToImage();
    EXPECT_EQ(128, cross.GetRed(8, 8));
    EXPECT_EQ(0, cross.GetGreen(8, 8));
    ASSERT_TRUE(cross.HasAlpha());
    EXPECT_GT(cross.GetAlpha(8, 8), 200);
    EXPECT_EQ(0, cross.GetAlpha(8, 0));
}

TEST_F(MainFrameMenuTest, StatusBarHasTheMessagePaneAndThreeIndicators) {
    wxStatusBar* statusBar = Frame().GetStatusBar();
    ASSERT_EQ(4, statusBar->GetFieldsCount());
    EXPECT_EQ("For Help, press F1", statusBar->GetStatusText(0));
    // Under the test display no lock key is on.
    for (int pane = 1; pane < 4; ++pane) {
        EXPECT_EQ("", statusBar->GetStatusText(pane)) << pane;
        wxRect rect;
        statusBar->GetFieldRect(pane, rect);
        EXPECT_GT(rect.width, statusBar->GetTextExtent("SCRL").x) << pane;
    }
}

TEST_F(MainFrameMenuTest, WindowTitleFollowsTheDocument) {
    EXPECT_EQ("Untitled - Quillmar", Frame().GetTitle());
    StartWith(m_folder.Write("rates.xml", kSmallRateFile));
    EXPECT_EQ("rates.xml - Quillmar", Frame().GetTitle());
}

} // namespace
