// The detail pane as a user sees it: caption, text and enabled controls for
// each kind of element, and what "Set" commits.
#include "support/GuiTest.h"

#include "resources/Resource.h"

#include <gmock/gmock.h>
#include <wx/button.h>
#include <wx/settings.h>
#include <wx/textctrl.h>

using ::testing::ElementsAre;

namespace {

class DetailPaneTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        StartWith(m_folder.Write("rates.xml", kSmallRateFile));
    }
    std::string Caption() const { return std::string(Detail().GetCaption().utf8_str()); }
    void SelectPlanChild(const std::string& name) {
        Select(FindItem({"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Credit Life", name}));
    }
};

TEST_F(DetailPaneTest, EmptyPaneShowsTextCaptionAndDisabledControls) {
    EXPECT_EQ("Text:", Caption());
    EXPECT_EQ("", EditText());
    EXPECT_FALSE(Detail().GetEdit()->IsEnabled());
    EXPECT_FALSE(Detail().GetSetButton()->IsEnabled());
    EXPECT_EQ("Set", std::string(Detail().GetSetButton()->GetLabel().utf8_str()));
}

TEST_F(DetailPaneTest, ControlsStandAtTheirFixedPlaces) {
    EXPECT_EQ(wxRect(10, 30, 190, 24), Detail().GetEdit()->GetRect());
    EXPECT_EQ(wxRect(210, 30, 60, 24), Detail().GetSetButton()->GetRect());
    EXPECT_EQ(IDC_NODE_TEXT, Detail().GetEdit()->GetId());
    EXPECT_EQ(IDC_SET, Detail().GetSetButton()->GetId());
    EXPECT_EQ(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE), Detail().GetBackgroundColour());
}

TEST_F(DetailPaneTest, FontIsTenPointArialOrTheClosestSansSerif) {
    const wxFont& font = Detail().GetPaneFont();
    EXPECT_EQ(10, font.GetPointSize());
    const wxString face = font.GetFaceName();
    EXPECT_TRUE(face == "Arial" || face == "Liberation Sans" || face == "Arimo" ||
                font.GetFamily() == wxFONTFAMILY_SWISS)
        << face;
    EXPECT_EQ(font.GetPointSize(), Detail().GetEdit()->GetFont().GetPointSize());
    EXPECT_EQ(font.GetPointSize(), Detail().GetSetButton()->GetFont().GetPointSize());
}

TEST_F(DetailPaneTest, PlanKeyIsShownReadOnly) {
    SelectPlanChild("PLANKEY");
    EXPECT_EQ("PLANKEY:", Caption());
    EXPECT_EQ("A-1", EditText());
    EXPECT_FALSE(Detail().GetEdit()->IsEnabled());
    EXPECT_FALSE(Detail().GetSetButton()->IsEnabled());
}

TEST_F(DetailPaneTest, DpKeyAndPlanDescAreEditable) {
    SelectPlanChild("DPKEY");
    EXPECT_EQ("DPKEY:", Caption());
    EXPECT_EQ("D1", EditText());
    EXPECT_TRUE(Detail().GetEdit()->IsEnabled());
    EXPECT_TRUE(Detail().GetSetButton()->IsEnabled());
    SelectPlanChild("PLANDESC");
    EXPECT_EQ("PLANDESC:", Caption());
    EXPECT_TRUE(Detail().GetSetButton()->IsEnabled());
}

TEST_F(DetailPaneTest, ParentElementsShowTheirOwnEmptyTextReadOnly) {
    Select(FindItem({"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Credit Life"}));
    EXPECT_EQ("INSURANCEPLAN:", Caption());
    EXPECT_EQ("", EditText());
    EXPECT_FALSE(Detail().GetSetButton()->IsEnabled());
    Select(FindItem({"RATEFILE"}));
    EXPECT_EQ("RATEFILE:", Caption());
    EXPECT_FALSE(Detail().GetEdit()->IsEnabled());
}

TEST_F(DetailPaneTest, OtherLetterCaseOfTheEditableNamesIsReadOnly) {
    StartWith(
        m_folder.Write("case.xml", "<RATEFILE><dpkey>x</dpkey><PlanDesc>y</PlanDesc></RATEFILE>"));
    Select(FindItem({"RATEFILE", "dpkey"}));
    EXPECT_FALSE(Detail().GetEdit()->IsEnabled());
    Select(FindItem({"RATEFILE", "PlanDesc"}));
    EXPECT_FALSE(Detail().GetSetButton()->IsEnabled());
}

TEST_F(DetailPaneTest, SetStoresTheDpKeyMarksModifiedAndRebuildsTheTree) {
    SelectPlanChild("DPKEY");
    TypeText("NEWKEY");
    PressSet();
    EXPECT_TRUE(Doc().IsModified());
    // The tree is rebuilt: collapsed, nothing selected; the pane keeps
    // showing the element.
    EXPECT_THAT(VisibleTree(), ElementsAre("RATEFILE [2] +"));
    EXPECT_FALSE(MenuEnabled(ID_EDIT_DELETE));
    EXPECT_EQ("DPKEY:", Caption());
    EXPECT_EQ("NEWKEY", EditText());
    EXPECT_TRUE(Detail().GetSetButton()->IsEnabled());
    SelectPlanChild("DPKEY");
    EXPECT_EQ("NEWKEY", EditText());
}

TEST_F(DetailPaneTest, SetOfADescriptionChangesThePlansLabel) {
    SelectPlanChild("PLANDESC");
    TypeText("Credit Life 72 mo");
    PressSet();
    EXPECT_THAT(ChildLabels(FindItem({"RATEFILE", "CUSTOMER"})),
                ElementsAre("CONTRACTNUM", "CUSTOMERNAME", "INSURANCEPLAN - Credit Life 72 mo",
                            "INSURANCEPLAN - Disability"));
}

TEST_F(DetailPaneTest, SetWithAnEmptyBoxStoresAnEmptyText) {
    SelectPlanChild("DPKEY");
    TypeText("");
    PressSet();
    SelectPlanChild("DPKEY");
    EXPECT_EQ("", EditText());
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(DetailPaneTest, TypedTextIsStoredExactlyWithoutTrimming) {
    SelectPlanChild("DPKEY");
    TypeText("  a & b <c>  ");
    PressSet();
    const CXmlNode* plan =
        Doc().m_pRootNode->FindChild("CUSTOMER", 0)->FindChild("INSURANCEPLAN", 0);
    EXPECT_STREQ("  a & b <c>  ", plan->FindChild("DPKEY", 0)->TextRef().GetBuffer());
}

TEST_F(DetailPaneTest, DeletingAPlanLeavesThePaneEmptyWhileTheTreeSelectsAnotherItem) {
    const wxTreeItemId plan = FindItem({"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Credit Life"});
    Select(plan);
    m_platform->m_answers.push_back(MsgAnswer::Yes);
    Frame().RunCommand(ID_EDIT_DELETE);
    ProcessEvents();
    EXPECT_EQ("Text:", Caption());
    EXPECT_FALSE(Detail().GetEdit()->IsEnabled());
    const wxTreeItemId selected = Tree().GetSelection();
    ASSERT_TRUE(selected.IsOk());
    EXPECT_EQ("INSURANCEPLAN - Disability", Label(selected));
}

TEST_F(DetailPaneTest, NewDocumentClearsThePane) {
    SelectPlanChild("DPKEY");
    Frame().RunCommand(ID_FILE_NEW);
    ProcessEvents();
    EXPECT_EQ("Text:", Caption());
    EXPECT_EQ(nullptr, Detail().GetNode());
    EXPECT_FALSE(Detail().GetSetButton()->IsEnabled());
}

} // namespace
