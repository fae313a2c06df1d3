// Keys as a user presses them on the real window: F1, Delete, the lock keys
// and Enter in the detail pane's edit box.
#include "support/GuiTest.h"

#include "resources/Resource.h"

#include <gmock/gmock.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

using ::testing::ElementsAre;

namespace {

class KeyboardTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        StartWith(m_folder.Write("rates.xml", kSmallRateFile));
        Frame().Raise();
        ProcessEvents();
    }
    // Gives window the keyboard; false when it did not get it (then keys
    // would go elsewhere). Focusing an edit box selects its text, so a
    // window that has the keyboard is left alone.
    bool Focus(wxWindow* window) {
        if (wxWindow::FindFocus() != window) {
            window->SetFocus();
        }
        return WaitFor([window] { return wxWindow::FindFocus() == window; });
    }
    void Press(int key, int modifiers = wxMOD_NONE) {
        wxUIActionSimulator keyboard;
        keyboard.Char(key, modifiers);
    }
    // Keys arrive in order: once F1's help box is up, every key pressed
    // before it has been handled.
    bool PressF1AndWaitForHelp() {
        const size_t boxes = m_platform->m_boxes.size();
        Press(WXK_F1);
        return WaitFor([this, boxes] { return m_platform->m_boxes.size() > boxes; });
    }
};

TEST_F(KeyboardTest, F1ShowsTheHelpText) {
    ASSERT_TRUE(Focus(&Tree()));
    ASSERT_TRUE(PressF1AndWaitForHelp());
    ASSERT_EQ(1u, m_platform->m_boxes.size());
    EXPECT_EQ("Quillmar Help Text", m_platform->m_boxes.front().strCaption);
}

TEST_F(KeyboardTest, DeleteKeyDoesNotRunTheDeleteCommand) {
    Select(FindItem({"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Credit Life"}));
    ASSERT_TRUE(MenuEnabled(ID_EDIT_DELETE));
    ASSERT_TRUE(Focus(&Tree()));
    Press(WXK_DELETE);
    ASSERT_TRUE(PressF1AndWaitForHelp());
    // The help box is the only box: no question was asked.
    ASSERT_EQ(1u, m_platform->m_boxes.size());
    EXPECT_EQ("Quillmar Help Text", m_platform->m_boxes.front().strCaption);
    EXPECT_THAT(ChildLabels(FindItem({"RATEFILE", "CUSTOMER"})),
                ElementsAre("CONTRACTNUM", "CUSTOMERNAME", "INSURANCEPLAN - Credit Life",
                            "INSURANCEPLAN - Disability"));
    EXPECT_FALSE(Doc().IsModified());
}

TEST_F(KeyboardTest, EnterInTheEditBoxCommitsNothing) {
    Select(FindItem({"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Credit Life", "DPKEY"}));
    wxTextCtrl* edit = Detail().GetEdit();
    ASSERT_TRUE(Focus(edit));
    edit->SetInsertionPointEnd();
    // The box has the keyboard: a letter typed at its end lands in it.
    Press('Z', wxMOD_SHIFT);
    ASSERT_TRUE(WaitFor([this] { return EditText() == "D1Z"; })) << EditText();
    Press(WXK_RETURN);
    ASSERT_TRUE(PressF1AndWaitForHelp());
    EXPECT_FALSE(Doc().IsModified());
    const CXmlNode* plan =
        Doc().m_pRootNode->FindChild("CUSTOMER", 0)->FindChild("INSURANCEPLAN", 0);
    EXPECT_STREQ("D1", plan->FindChild("DPKEY", 0)->TextRef().GetBuffer());
    EXPECT_EQ("D1Z", EditText());
}

TEST_F(KeyboardTest, CapsLockIndicatorFollowsTheKey) {
    wxStatusBar* statusBar = Frame().GetStatusBar();
    ASSERT_EQ("", statusBar->GetStatusText(1));
    ASSERT_TRUE(Focus(&Tree()));
    Press(WXK_CAPITAL);
    EXPECT_TRUE(WaitFor([statusBar] { return statusBar->GetStatusText(1) == "CAP"; }));
    Press(WXK_CAPITAL); // and off again
    EXPECT_TRUE(WaitFor([statusBar] { return statusBar->GetStatusText(1).empty(); }));
}

} // namespace
