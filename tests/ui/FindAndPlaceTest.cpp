// Finding, going to a key, the shown place and keeping it, as a user meets
// them on the real frame: the find window's own controls, the Go To box, the
// status bar's notes, the tree's expansion and the detail pane.
#include "support/GuiTest.h"

#include "document/NodeSearch.h"
#include "resources/Resource.h"
#include "ui/NodeFinder.h"

#include <gmock/gmock.h>
#include <wx/app.h>
#include <wx/fdrepdlg.h>
#include <wx/radiobox.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/textdlg.h>

using ::testing::ElementsAre;

namespace {

constexpr const char* kIdle = "For Help, press F1";
constexpr const char* kWrappedEnd = "Passed the end of the rate file; continued from the top.";
constexpr const char* kWrappedTop = "Passed the top of the rate file; continued from the end.";

// The next delivery of kSmallRateFile: plan A-2 dropped, A-3 new.
const char* const kDelivery = R"(<RATEFILE><HEADER><FILEVERSION>3.02</FILEVERSION></HEADER>
  <CUSTOMER><CONTRACTNUM>100</CONTRACTNUM><CUSTOMERNAME>Alpha Motors</CUSTOMERNAME>
    <INSURANCEPLAN><PLANKEY>A-3</PLANKEY><DPKEY></DPKEY><PLANDESC>New plan</PLANDESC>
      <EXPIRATIONDATE>12/31/2031</EXPIRATIONDATE></INSURANCEPLAN>
    <INSURANCEPLAN><PLANKEY>A-1</PLANKEY><DPKEY></DPKEY><PLANDESC>Vendor text</PLANDESC>
      <EXPIRATIONDATE>12/31/2031</EXPIRATIONDATE></INSURANCEPLAN></CUSTOMER>
  <CUSTOMER><CONTRACTNUM>200</CONTRACTNUM>
    <INSURANCEPLAN><PLANKEY>B-1</PLANKEY><DPKEY></DPKEY><PLANDESC>GAP</PLANDESC>
      <EXPIRATIONDATE>12/31/2031</EXPIRATIONDATE></INSURANCEPLAN></CUSTOMER>
</RATEFILE>)";

class FindAndPlaceTest : public GuiTest {
protected:
    std::string Status() const {
        return std::string(Frame().GetStatusBar()->GetStatusText(0).utf8_str());
    }
    // The place display's first line: where the shown element stands.
    std::string Place() const {
        const wxString text = Detail().GetPlaceText()->GetValue();
        return std::string(text.BeforeFirst('\n').utf8_str());
    }
    std::string SelectedLabel() const {
        const wxTreeItemId item = Tree().GetSelection();
        return item.IsOk() ? Label(item) : "(none)";
    }
    // Types text into the find window, chooses the direction and presses
    // its Find button.
    void FindInWindow(const std::string& text, bool down) {
        Frame().RunCommand(ID_EDIT_FIND);
        wxFindReplaceDialog* window = Frame().GetFinder().GetFindWindow();
        ASSERT_NE(nullptr, window);
        ASSERT_TRUE(window->IsShown());
        wxTextCtrl* box = nullptr;
        wxRadioBox* direction = nullptr;
        for (wxWindow* child : window->GetChildren()) {
            box = box ? box : dynamic_cast<wxTextCtrl*>(child);
            direction = direction ? direction : dynamic_cast<wxRadioBox*>(child);
        }
        ASSERT_NE(nullptr, box);
        ASSERT_NE(nullptr, direction);
        box->SetValue(wxString::FromUTF8(text));
        direction->SetSelection(down ? 1 : 0);
        wxCommandEvent click(wxEVT_BUTTON, wxID_FIND);
        click.SetEventObject(window);
        window->GetEventHandler()->ProcessEvent(click);
        ProcessEvents();
    }
    // Edit, Go To, with key typed into its box and OK pressed.
    void GoTo(const std::string& key) {
        bool answered = false;
        wxTheApp->CallAfter([&] {
            for (wxWindow* window : wxTopLevelWindows) {
                if (auto* box = dynamic_cast<wxTextEntryDialog*>(window)) {
                    box->SetValue(wxString::FromUTF8(key));
                    box->EndModal(wxID_OK);
                    answered = true;
                }
            }
        });
        Frame().RunCommand(ID_EDIT_GOTO);
        ProcessEvents();
        ASSERT_TRUE(answered) << "the Go To box did not show";
    }
    void SetKeepPlace(bool on) {
        if (MenuChecked(ID_VIEW_KEEP_PLACE) != on) {
            Frame().RunCommand(ID_VIEW_KEEP_PLACE);
        }
        ASSERT_EQ(on, MenuChecked(ID_VIEW_KEEP_PLACE));
    }
};

TEST_F(FindAndPlaceTest, FindGoesOnForwardsAndBackwardsAndWrapsWithANote) {
    StartWith(m_folder.Write("rates.xml", kSmallRateFile));
    enum Action { kWindowDown, kWindowUp, kNext, kPrevious };
    struct Step {
        Action action;
        const char* text;
        const char* place; // of the element found, or where the selection stays
        const char* status;
    };
    const Step steps[] = {
        // Into branches no one has opened yet.
        {kWindowDown, "a-", "CONTRACTNUM 100 / PLANKEY A-1 / PLANKEY", kIdle},
        {kNext, nullptr, "CONTRACTNUM 100 / PLANKEY A-2 / PLANKEY", kIdle},
        {kNext, nullptr, "CONTRACTNUM 100 / PLANKEY A-1 / PLANKEY", kWrappedEnd},
        {kPrevious, nullptr, "CONTRACTNUM 100 / PLANKEY A-2 / PLANKEY", kWrappedTop},
        {kPrevious, nullptr, "CONTRACTNUM 100 / PLANKEY A-1 / PLANKEY", kIdle},
        {kWindowUp, "gap", "CONTRACTNUM 200 / PLANKEY B-1 / PLANDESC", kWrappedTop},
        // Names count too; letter case is ignored.
        {kWindowDown, "customername", "CONTRACTNUM 100 / CUSTOMERNAME", kWrappedEnd},
        {kWindowDown, "ALPHA", "CONTRACTNUM 100 / CUSTOMERNAME", kWrappedEnd},
        {kWindowDown, "no such text", "CONTRACTNUM 100 / CUSTOMERNAME",
         "Cannot find \"no such text\"."},
        {kNext, nullptr, "CONTRACTNUM 100 / CUSTOMERNAME", "Cannot find \"no such text\"."},
        // An empty text does nothing.
        {kWindowDown, "", "CONTRACTNUM 100 / CUSTOMERNAME", "Cannot find \"no such text\"."},
    };
    for (const Step& step : steps) {
        const std::string before = Place();
        switch (step.action) {
        case kWindowDown:
        case kWindowUp:
            FindInWindow(step.text, step.action == kWindowDown);
            break;
        case kNext:
            Frame().RunCommand(ID_EDIT_FIND_NEXT);
            break;
        case kPrevious:
            Frame().RunCommand(ID_EDIT_FIND_PREVIOUS);
            break;
        }
        ProcessEvents();
        const std::string what = (step.text ? step.text : "again") + std::string(" from ") + before;
        EXPECT_EQ(step.place, Place()) << what;
        EXPECT_EQ(step.status, Status()) << what;
    }
    // The last element found is shown as a click shows it: the caption,
    // the text, its item selected with its ancestors open.
    EXPECT_EQ("CUSTOMERNAME:", std::string(Detail().GetCaption().utf8_str()));
    EXPECT_EQ("Alpha Motors", EditText());
    EXPECT_EQ("CUSTOMERNAME", Tree().GetSelectedNodeName());
    EXPECT_TRUE(Tree().IsVisible(Tree().GetSelection()));
    // No box was shown for the texts not found.
    EXPECT_TRUE(m_platform->m_boxes.empty());
}

TEST_F(FindAndPlaceTest, FindMatchesTextsAsShownInTheFilesCharacterSet) {
    // A Windows-1252 file: "Caf\xE9" reads Café.
    StartWith(m_folder.Write("cp1252.xml", "<RATEFILE><CUSTOMER><CONTRACTNUM>7</CONTRACTNUM>"
                                           "<CUSTOMERNAME>Caf\xE9 &amp; Bar &lt;1&gt;"
                                           "</CUSTOMERNAME></CUSTOMER></RATEFILE>"));
    struct Case {
        const char* text; // UTF-8, as typed
        const char* place;
        const char* status;
    };
    const Case cases[] = {
        {"CAF\xC3\x89", "CONTRACTNUM 7 / CUSTOMERNAME", kIdle},
        {"& bar <1>", "CONTRACTNUM 7 / CUSTOMERNAME", kWrappedEnd},
        {"\xCE\xA9", "CONTRACTNUM 7 / CUSTOMERNAME",
         "Cannot find \"\xCE\xA9\": this rate file's character set cannot hold \"\xCE\xA9\"."},
    };
    for (const Case& c : cases) {
        FindInWindow(c.text, true);
        EXPECT_EQ(c.place, Place()) << c.text;
        EXPECT_EQ(c.status, Status()) << c.text;
    }
}

TEST_F(FindAndPlaceTest, CancelledFindLeavesTheSelectionAndSaysSo) {
    std::string big = "<RATEFILE>";
    for (int i = 0; i < 3 * kFindPollInterval; ++i) {
        big += "<E>x</E>";
    }
    big += "<E>needle</E></RATEFILE>";
    StartWith(m_folder.Write("big.xml", big));
    Frame().GetFinder().SetCancelProbe([] { return true; }); // Esc held down
    FindInWindow("needle", true);
    EXPECT_EQ("Find cancelled.", Status());
    EXPECT_EQ("(none)", SelectedLabel());
    Frame().GetFinder().SetCancelProbe({});
    Frame().RunCommand(ID_EDIT_FIND_NEXT);
    EXPECT_EQ("E", SelectedLabel());
    EXPECT_EQ("needle", EditText());
}

TEST_F(FindAndPlaceTest, GoToReachesACustomerOrAPlanByItsKey) {
    StartWith(m_folder.Write("rates.xml", R"(<RATEFILE>
        <CUSTOMER><CONTRACTNUM>100</CONTRACTNUM><CUSTOMERNAME>Alpha</CUSTOMERNAME>
          <INSURANCEPLAN><PLANKEY>A-1</PLANKEY><PLANDESC>One</PLANDESC></INSURANCEPLAN>
          <INSURANCEPLAN><PLANKEY>A-2</PLANKEY><PLANDESC>Two</PLANDESC></INSURANCEPLAN>
        </CUSTOMER>
        <CUSTOMER><CONTRACTNUM>200</CONTRACTNUM>
          <INSURANCEPLAN><PLANKEY>A-1</PLANKEY><PLANDESC>Twin</PLANDESC></INSURANCEPLAN>
        </CUSTOMER></RATEFILE>)"));
    struct Case {
        const char* key;
        const char* place;
        const char* status;
    };
    const Case cases[] = {
        {"200", "CONTRACTNUM 200", kIdle},
        {" A-2 ", "CONTRACTNUM 100 / PLANKEY A-2", kIdle},
        // A key two plans have: the first, then the other, then round.
        {"A-1", "CONTRACTNUM 100 / PLANKEY A-1", kIdle},
        {"A-1", "CONTRACTNUM 200 / PLANKEY A-1", kIdle},
        {"A-1", "CONTRACTNUM 100 / PLANKEY A-1", kIdle},
        // Keys are compared exactly.
        {"a-1", "CONTRACTNUM 100 / PLANKEY A-1", "Cannot find \"a-1\"."},
        {"10", "CONTRACTNUM 100 / PLANKEY A-1", "Cannot find \"10\"."},
        {"100", "CONTRACTNUM 100 / CUSTOMERNAME Alpha", kIdle},
    };
    for (const Case& c : cases) {
        GoTo(c.key);
        EXPECT_EQ(c.place, Place()) << c.key;
        EXPECT_EQ(c.status, Status()) << c.key;
    }
    EXPECT_EQ("CUSTOMER:", std::string(Detail().GetCaption().utf8_str()));
    // The index follows the tree: a deleted plan is not gone to.
    GoTo("A-2");
    m_platform->m_answers.push_back(MsgAnswer::Yes);
    Frame().RunCommand(ID_EDIT_DELETE);
    ProcessEvents();
    GoTo("A-2");
    EXPECT_EQ("Cannot find \"A-2\".", Status());
}

TEST_F(FindAndPlaceTest, PlaceAndTooltipTellWhereAnElementStands) {
    const std::string longVendor(120, 'v');
    StartWith(m_folder.Write("rates.xml", R"(<RATEFILE><HEADER><VENDOR>)" + longVendor +
                                              R"(</VENDOR><FILEVERSION>3.01</FILEVERSION></HEADER>
        <CUSTOMER><CONTRACTNUM>10-4471</CONTRACTNUM><CUSTOMERNAME>Alpha &amp; Sons</CUSTOMERNAME>
          <INSURANCEPLAN><PLANKEY>GAP-60</PLANKEY><DPKEY>)" +
                                              longVendor + R"(</DPKEY><PLANDESC>GAP</PLANDESC>
          </INSURANCEPLAN></CUSTOMER>
        <CUSTOMER><INSURANCEPLAN><PLANDESC>Orphan</PLANDESC></INSURANCEPLAN></CUSTOMER>
        </RATEFILE>)"));
    struct Case {
        std::vector<std::string> labels;
        std::string shown; // the whole place display
        std::string tooltip;
    };
    const Case cases[] = {
        {{"RATEFILE"}, "RATEFILE", ""},
        // A read-only value too wide for the edit box is shown whole.
        {{"RATEFILE", "HEADER", "VENDOR"}, "HEADER / VENDOR\n\n" + longVendor, ""},
        {{"RATEFILE", "HEADER", "FILEVERSION"}, "HEADER / FILEVERSION", ""},
        {{"RATEFILE", "CUSTOMER"},
         "CONTRACTNUM 10-4471 / CUSTOMERNAME Alpha & Sons",
         "CONTRACTNUM 10-4471 / CUSTOMERNAME Alpha & Sons"},
        {{"RATEFILE", "CUSTOMER", "INSURANCEPLAN - GAP"},
         "CONTRACTNUM 10-4471 / PLANKEY GAP-60",
         ""},
        {{"RATEFILE", "CUSTOMER", "INSURANCEPLAN - GAP", "PLANDESC"},
         "CONTRACTNUM 10-4471 / PLANKEY GAP-60 / PLANDESC",
         ""},
        // An editable value scrolls in its own box.
        {{"RATEFILE", "CUSTOMER", "INSURANCEPLAN - GAP", "DPKEY"},
         "CONTRACTNUM 10-4471 / PLANKEY GAP-60 / DPKEY",
         ""},
    };
    for (const Case& c : cases) {
        const wxTreeItemId item = FindItem(c.labels);
        ASSERT_TRUE(item.IsOk()) << c.labels.back();
        Select(item);
        EXPECT_EQ(c.shown, std::string(Detail().GetPlaceText()->GetValue().utf8_str()))
            << c.labels.back();
        wxTreeEvent hover(wxEVT_TREE_ITEM_GETTOOLTIP, &Tree(), item);
        Tree().GetEventHandler()->ProcessEvent(hover);
        EXPECT_EQ(c.tooltip, std::string(hover.GetToolTip().utf8_str())) << c.labels.back();
    }
    // The second customer has no contract number.
    Tree().Expand(Tree().GetRootItem());
    const wxTreeItemId second = Tree().GetLastChild(Tree().GetRootItem());
    EXPECT_EQ("CUSTOMER", std::string(Tree().ItemToolTip(second).utf8_str()));
    Tree().Expand(second);
    Select(Tree().GetLastChild(second));
    EXPECT_EQ("CUSTOMER / INSURANCEPLAN", Place());
    // The labels, the caption and the idle message are as they were; the
    // display is read-only and empty once nothing is shown.
    EXPECT_EQ("INSURANCEPLAN - Orphan", SelectedLabel());
    EXPECT_EQ(kIdle, Status());
    EXPECT_FALSE(Detail().GetPlaceText()->IsEditable());
    Frame().RunCommand(ID_FILE_NEW);
    ProcessEvents();
    EXPECT_EQ("", std::string(Detail().GetPlaceText()->GetValue().utf8_str()));
}

TEST_F(FindAndPlaceTest, KeepPlaceSelectsTheElementAgainAfterSetMergeAndDelete) {
    enum Action { kSet, kMerge, kDelete };
    struct Case {
        bool keepPlace;
        Action action;
        std::vector<std::string> select;
        std::vector<std::string> visible; // the tree afterwards
        std::string caption;              // the detail pane afterwards
    };
    const std::vector<std::string> collapsed{"RATEFILE [2] +"};
    const std::vector<std::string> firstCustomerOpen{
        "RATEFILE [2]",        "  HEADER [3] +",       "  CUSTOMER [1]",
        "    CONTRACTNUM [0]", "    CUSTOMERNAME [0]", "    INSURANCEPLAN - Disability [4] + *",
        "  CUSTOMER [1] +"};
    const Case cases[] = {
        {false,
         kSet,
         {"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Credit Life", "PLANDESC"},
         collapsed,
         "PLANDESC:"},
        {true,
         kSet,
         {"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Credit Life", "PLANDESC"},
         {"RATEFILE [2]", "  HEADER [3] +", "  CUSTOMER [1]", "    CONTRACTNUM [0]",
          "    CUSTOMERNAME [0]", "    INSURANCEPLAN - Credit Life revised [4]", "      DPKEY [0]",
          "      EXPIRATIONDATE [0]", "      PLANDESC [0] *", "      PLANKEY [0]",
          "    INSURANCEPLAN - Disability [4] +", "  CUSTOMER [1] +"},
         "PLANDESC:"},
        {false,
         kMerge,
         {"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Credit Life", "PLANKEY"},
         collapsed,
         "Text:"},
        // The same plan key under the same contract number.
        {true,
         kMerge,
         {"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Credit Life", "PLANKEY"},
         {"RATEFILE [2]", "  HEADER [3] +", "  CUSTOMER [1]", "    CONTRACTNUM [0]",
          "    CUSTOMERNAME [0]", "    INSURANCEPLAN - New plan [4] +",
          "    INSURANCEPLAN - Credit Life [4]", "      DPKEY [0]", "      EXPIRATIONDATE [0]",
          "      PLANDESC [0]", "      PLANKEY [0] *", "  CUSTOMER [1] +"},
         "PLANKEY:"},
        // A plan the delivery dropped: its customer.
        {true,
         kMerge,
         {"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Disability"},
         {"RATEFILE [2]", "  HEADER [3] +", "  CUSTOMER [1] + *", "  CUSTOMER [1] +"},
         "CUSTOMER:"},
        {false,
         kDelete,
         {"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Credit Life"},
         firstCustomerOpen,
         "Text:"},
        // The next plan of the customer, shown.
        {true,
         kDelete,
         {"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Credit Life"},
         firstCustomerOpen,
         "INSURANCEPLAN:"},
    };
    for (const Case& c : cases) {
        const std::string what = (c.keepPlace ? "on, " : "off, ") + c.select.back() + " " +
                                 std::to_string(static_cast<int>(c.action));
        StartWith(m_folder.Write("rates.xml", kSmallRateFile));
        SetKeepPlace(c.keepPlace);
        Select(FindItem(c.select));
        switch (c.action) {
        case kSet:
            TypeText("Credit Life revised");
            PressSet();
            break;
        case kMerge:
            m_platform->m_chosenFiles.push_back(m_folder.Write("new.xml", kDelivery));
            Frame().RunCommand(ID_FILE_MERGE);
            break;
        case kDelete:
            m_platform->m_answers.push_back(MsgAnswer::Yes);
            Frame().RunCommand(ID_EDIT_DELETE);
            break;
        }
        ProcessEvents();
        EXPECT_EQ(c.visible, VisibleTree()) << what;
        EXPECT_EQ(c.caption, std::string(Detail().GetCaption().utf8_str())) << what;
    }
}

TEST_F(FindAndPlaceTest, KeepPlaceIsAnOptionKeptInTheSettingsOffByDefault) {
    const std::pair<std::string, std::string> entry{"Settings", "KeepPlace"};
    ASSERT_TRUE(Start());
    EXPECT_FALSE(MenuChecked(ID_VIEW_KEEP_PLACE));
    EXPECT_EQ("&Keep Place After Edits", MenuLabel(ID_VIEW_KEEP_PLACE));
    Frame().RunCommand(ID_VIEW_KEEP_PLACE);
    EXPECT_EQ(1, m_platform->m_ints[entry]);
    // Read again at the next start.
    ASSERT_TRUE(Start());
    EXPECT_TRUE(MenuChecked(ID_VIEW_KEEP_PLACE));
    Frame().RunCommand(ID_VIEW_KEEP_PLACE);
    EXPECT_EQ(0, m_platform->m_ints[entry]);
    EXPECT_FALSE(MenuChecked(ID_VIEW_KEEP_PLACE));
}

} // namespace
