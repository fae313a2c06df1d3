// While a message box of the document is up after it replaced or pruned the
// tree (the merge's summary, a load's error), the panes still hold items and
// a shown element from before. Nothing that runs in the box's message loop
// (repaints, command updates, clicks) may touch those elements.
#include "support/GuiTest.h"

#include "resources/Resource.h"

#include <gmock/gmock.h>
#include <wx/button.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

class MergeWhileMessageUpTest : public GuiTest {
protected:
    struct CSeenWhileUp {
        bool bChecked = false;
        std::string strCaption;
        bool bDeleteInMenu = true;
        bool bDeleteOnToolbar = true;
        std::string strSelectedName = "unset";
        bool bExpanded = true;
        std::vector<std::string> tree;
    };

    // Records what the panes show and offer while the box is up, after a
    // repaint and the idle updates a modal loop would run.
    void WatchTheBox(CSeenWhileUp& seen, const wxTreeItemId& collapsed) {
        m_platform->m_whileBoxUp = [this, &seen, collapsed](const CShownBox&) {
            Frame().Refresh();
            Frame().Update();
            ProcessEvents();
            seen.bChecked = true;
            seen.strCaption = Detail().GetCaption().utf8_str();
            seen.bDeleteInMenu = MenuEnabled(ID_EDIT_DELETE);
            seen.bDeleteOnToolbar = ToolEnabled(ID_EDIT_DELETE);
            seen.strSelectedName = Tree().GetSelectedNodeName();
            Tree().Expand(collapsed);
            seen.bExpanded = Tree().IsExpanded(collapsed);
            // A click on Set in the box's loop changes nothing either.
            Detail().OnSet();
            seen.tree = VisibleTree();
        };
    }
};

TEST_F(MergeWhileMessageUpTest, PanesLeaveTheMergedAwayElementsAloneUntilTheBoxCloses) {
    StartWith(m_folder.Write("rates.xml", kSmallRateFile));
    // The plan "Disability" is not in the delivery: the merge removes it.
    const wxTreeItemId plan = FindItem({"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Disability"});
    Tree().Expand(plan);
    const wxTreeItemId dpKey =
        FindItem({"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Disability", "DPKEY"});
    Select(dpKey);
    ASSERT_EQ("DPKEY:", std::string(Detail().GetCaption().utf8_str()));
    Select(plan);
    ASSERT_TRUE(MenuEnabled(ID_EDIT_DELETE));
    const wxTreeItemId header = FindItem({"RATEFILE", "HEADER"});
    ASSERT_FALSE(Tree().IsExpanded(header));

    CSeenWhileUp seen;
    WatchTheBox(seen, header);
    m_platform->m_chosenFiles.push_back(
        m_folder.Write("new.xml", R"(<RATEFILE><CUSTOMER><CONTRACTNUM>100</CONTRACTNUM>
        <INSURANCEPLAN><PLANKEY>A-1</PLANKEY><PLANDESC>x</PLANDESC>
        <EXPIRATIONDATE>12/31/2031</EXPIRATIONDATE></INSURANCEPLAN></CUSTOMER></RATEFILE>)"));
    Frame().RunCommand(ID_FILE_MERGE);
    ProcessEvents();

    ASSERT_TRUE(seen.bChecked);
    EXPECT_THAT(m_platform->m_boxes.back().strText, HasSubstr("merged together"));
    // While the box was up: the old picture, and nothing offered on it.
    EXPECT_EQ("INSURANCEPLAN:", seen.strCaption);
    EXPECT_FALSE(seen.bDeleteInMenu);
    EXPECT_FALSE(seen.bDeleteOnToolbar);
    EXPECT_EQ("", seen.strSelectedName);
    EXPECT_FALSE(seen.bExpanded);
    EXPECT_GT(seen.tree.size(), 1u) << "the tree is rebuilt only after the box";
    // Once it closed: the merged tree, collapsed, and an empty detail pane.
    EXPECT_THAT(VisibleTree(), ElementsAre("RATEFILE [2] +"));
    EXPECT_EQ("Text:", std::string(Detail().GetCaption().utf8_str()));
    EXPECT_FALSE(MenuEnabled(ID_EDIT_DELETE));
    EXPECT_THAT(ChildLabels(FindItem({"RATEFILE", "CUSTOMER"})),
                ElementsAre("CONTRACTNUM", "CUSTOMERNAME", "INSURANCEPLAN - Credit Life"));
}

TEST_F(MergeWhileMessageUpTest, PanesWorkAgainAfterAMergeThatChangedNothing) {
    StartWith(m_folder.Write("rates.xml", kSmallRateFile));
    Select(FindItem({"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Disability"}));
    m_platform->m_chosenFiles.push_back(m_folder.Write("wrong.xml", "<OTHER></OTHER>"));
    Frame().RunCommand(ID_FILE_MERGE);
    ProcessEvents();
    EXPECT_THAT(m_platform->m_boxes.back().strText, HasSubstr("not a valid Veltrane XML"));
    EXPECT_TRUE(MenuEnabled(ID_EDIT_DELETE));
    EXPECT_EQ("INSURANCEPLAN", Tree().GetSelectedNodeName());
}

TEST_F(MergeWhileMessageUpTest, LoadErrorBoxComesAfterTheOldTreeIsGone) {
    StartWith(m_folder.Write("rates.xml", kSmallRateFile));
    const wxTreeItemId plan = FindItem({"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Credit Life"});
    Select(FindItem({"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Credit Life", "PLANDESC"}));
    Select(plan);
    const wxTreeItemId header = FindItem({"RATEFILE", "HEADER"});

    CSeenWhileUp seen;
    WatchTheBox(seen, header);
    m_platform->m_chosenFiles.push_back(
        m_folder.Write("broken.xml", "<RATEFILE><CUSTOMER><CONTRACTNUM>9</CONTRACTNUM>"));
    Frame().RunCommand(ID_FILE_OPEN);
    ProcessEvents();

    ASSERT_TRUE(seen.bChecked);
    EXPECT_EQ(0u, m_platform->m_boxes.back().strText.find("Error reading XML file."));
    EXPECT_FALSE(seen.bDeleteInMenu);
    EXPECT_EQ("", seen.strSelectedName);
    EXPECT_FALSE(seen.bExpanded);
    // Merge's update reads the new root, not the old one.
    EXPECT_EQ("broken.xml - Quillmar", Frame().GetTitle());
    EXPECT_THAT(ExpandedTree(),
                ElementsAre("RATEFILE [2]", "  CUSTOMER [1]", "    CONTRACTNUM [0]"));
}

} // namespace
