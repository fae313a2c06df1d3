// The tree pane as a user sees it: labels, images, order and expansion
// after open, edit and delete, and what a selection passes on.
#include "support/GuiTest.h"

#include "resources/Resource.h"

#include <gmock/gmock.h>
#include <wx/textctrl.h>

using ::testing::ElementsAre;

namespace {

class TreePaneTest : public GuiTest {};

TEST_F(TreePaneTest, OpenedFileShowsTheRootAloneCollapsedWithNothingSelected) {
    StartWith(m_folder.Write("rates.xml", kSmallRateFile));
    EXPECT_THAT(VisibleTree(), ElementsAre("RATEFILE [2] +"));
    EXPECT_FALSE(Tree().GetSelection().IsOk());
    // Still so once the window has been idle.
    ProcessEvents();
    EXPECT_FALSE(Tree().GetSelection().IsOk());
    EXPECT_EQ("Text:", std::string(Detail().GetCaption().utf8_str()));
}

TEST_F(TreePaneTest, EveryElementHasItsItemWithTheImageOfItsName) {
    StartWith(m_folder.Write("rates.xml", kSmallRateFile));
    EXPECT_THAT(ExpandedTree(),
                ElementsAre("RATEFILE [2]", "  HEADER [3]", "    VENDOR [0]", "    FILEVERSION [0]",
                            "  CUSTOMER [1]", "    CONTRACTNUM [0]", "    CUSTOMERNAME [0]",
                            "    INSURANCEPLAN - Credit Life [4]", "      DPKEY [0]",
                            "      EXPIRATIONDATE [0]", "      PLANDESC [0]", "      PLANKEY [0]",
                            "    INSURANCEPLAN - Disability [4]", "      DPKEY [0]",
                            "      EXPIRATIONDATE [0]", "      PLANDESC [0]", "      PLANKEY [0]",
                            "  CUSTOMER [1]", "    CONTRACTNUM [0]", "    INSURANCEPLAN - GAP [4]",
                            "      DPKEY [0]", "      EXPIRATIONDATE [0]", "      PLANDESC [0]",
                            "      PLANKEY [0]"));
}

TEST_F(TreePaneTest, PlanChildrenAreSortedIgnoringCaseOthersKeepTheFileOrder) {
    StartWith(m_folder.Write("rates.xml", R"(<RATEFILE><CUSTOMER>
        <ZETA>z</ZETA><alpha>a</alpha>
        <INSURANCEPLAN><PLANKEY>k</PLANKEY><rate>r</rate><DPKEY>d</DPKEY><Beta>b</Beta>
          <PLANDESC>Desc</PLANDESC><RATE>R2</RATE></INSURANCEPLAN>
        </CUSTOMER></RATEFILE>)"));
    EXPECT_THAT(ChildLabels(FindItem({"RATEFILE", "CUSTOMER"})),
                ElementsAre("ZETA", "alpha", "INSURANCEPLAN - Desc"));
    // Equal labels (rate, RATE) keep their file order.
    EXPECT_THAT(ChildLabels(FindItem({"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Desc"})),
                ElementsAre("Beta", "DPKEY", "PLANDESC", "PLANKEY", "rate", "RATE"));
}

TEST_F(TreePaneTest, PlanLabelsFollowTheirDescriptionChildFoundLikeAnyChild) {
    StartWith(m_folder.Write("rates.xml", R"(<RATEFILE><CUSTOMER>
        <INSURANCEPLAN><plandesc>lower case</plandesc></INSURANCEPLAN>
        <INSURANCEPLAN><PLANKEY>none</PLANKEY></INSURANCEPLAN>
        <InsurancePlan><PLANDESC>mixed</PLANDESC><B>b</B><A>a</A></InsurancePlan>
        </CUSTOMER></RATEFILE>)"));
    const wxTreeItemId customer = FindItem({"RATEFILE", "CUSTOMER"});
    EXPECT_THAT(ChildLabels(customer),
                ElementsAre("INSURANCEPLAN - lower case", "INSURANCEPLAN - ", "InsurancePlan"));
    // A name in other letter case is an ordinary element: image 0, unsorted.
    const wxTreeItemId mixed = FindItem({"RATEFILE", "CUSTOMER", "InsurancePlan"});
    EXPECT_EQ(0, Tree().GetItemImage(mixed));
    EXPECT_THAT(ChildLabels(mixed), ElementsAre("PLANDESC", "B", "A"));
    Select(mixed);
    EXPECT_FALSE(MenuEnabled(ID_EDIT_DELETE));
}

TEST_F(TreePaneTest, NewDocumentShowsItsRootNode) {
    ASSERT_TRUE(Start());
    EXPECT_THAT(VisibleTree(), ElementsAre("ROOTNODE [0]"));
    Select(Tree().GetRootItem());
    EXPECT_EQ("ROOTNODE:", std::string(Detail().GetCaption().utf8_str()));
    EXPECT_EQ("Root Node Text", EditText());
    EXPECT_FALSE(Detail().GetEdit()->IsEnabled());
}

TEST_F(TreePaneTest, SelectionPassesTheElementToTheDetailPane) {
    StartWith(m_folder.Write("rates.xml", kSmallRateFile));
    Select(FindItem({"RATEFILE", "CUSTOMER", "CUSTOMERNAME"}));
    EXPECT_EQ("CUSTOMERNAME:", std::string(Detail().GetCaption().utf8_str()));
    EXPECT_EQ("Alpha Motors", EditText());
    EXPECT_EQ("CUSTOMERNAME", Tree().GetSelectedNodeName());
}

TEST_F(TreePaneTest, DeletingAPlanRemovesOnlyItsItemAndClearsTheDetailPane) {
    StartWith(m_folder.Write("rates.xml", kSmallRateFile));
    const wxTreeItemId plan = FindItem({"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Credit Life"});
    Tree().Expand(plan);
    Select(plan);
    m_platform->m_answers.push_back(MsgAnswer::Yes);
    Frame().RunCommand(ID_EDIT_DELETE);
    ProcessEvents();

    EXPECT_THAT(ChildLabels(FindItem({"RATEFILE", "CUSTOMER"})),
                ElementsAre("CONTRACTNUM", "CUSTOMERNAME", "INSURANCEPLAN - Disability"));
    // The rest of the tree stays as it was: the first customer open, the
    // header closed.
    EXPECT_TRUE(Tree().IsExpanded(FindItem({"RATEFILE", "CUSTOMER"})));
    EXPECT_FALSE(Tree().IsExpanded(FindItem({"RATEFILE", "HEADER"})));
    EXPECT_EQ("Text:", std::string(Detail().GetCaption().utf8_str()));
    EXPECT_EQ("", EditText());
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(1, Doc().m_pRootNode->FindChild("CUSTOMER", 0)->GetChildCount("INSURANCEPLAN"));
}

TEST_F(TreePaneTest, DeletingTheLastPlanOfACustomerKeepsTheCustomer) {
    StartWith(m_folder.Write("rates.xml", kSmallRateFile));
    const wxTreeItemId root = FindItem({"RATEFILE"});
    ASSERT_TRUE(root.IsOk());
    // The second customer (after the header and the first customer).
    Tree().Expand(root);
    wxTreeItemIdValue cookie;
    wxTreeItemId customer = Tree().GetFirstChild(root, cookie);
    customer = Tree().GetNextChild(root, cookie);
    customer = Tree().GetNextChild(root, cookie);
    ASSERT_EQ("CUSTOMER", Label(customer));
    const std::vector<std::string> before = ChildLabels(customer);
    ASSERT_THAT(before, ElementsAre("CONTRACTNUM", "INSURANCEPLAN - GAP"));
    wxTreeItemId plan = Tree().GetLastChild(customer);
    Select(plan);
    m_platform->m_answers.push_back(MsgAnswer::Yes);
    Frame().RunCommand(ID_EDIT_DELETE);
    ProcessEvents();
    EXPECT_THAT(ChildLabels(customer), ElementsAre("CONTRACTNUM"));
    EXPECT_EQ("Text:", std::string(Detail().GetCaption().utf8_str()));
}

// A rebuild after an edit or a merge, with every branch open and a plan
// selected before it, shows exactly what a fill of the same tree from
// scratch shows: the root alone, collapsed, nothing selected; and opened,
// the same labels, images and buttons, every branch filled anew.
TEST_F(TreePaneTest, RebuildShowsWhatAFreshFillShows) {
    enum Action { kSet, kMerge };
    struct Case {
        Action action;
        std::vector<std::string> select;
    };
    const Case cases[] = {
        {kSet, {"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Credit Life", "PLANDESC"}},
        // The delivery adds a customer before the one it pairs with, and a
        // header field.
        {kMerge, {"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Disability"}},
    };
    const auto views = [this] {
        std::vector<std::vector<std::string>> seen{VisibleTree()};
        Tree().Expand(Tree().GetRootItem());
        seen.push_back(VisibleTree());
        seen.push_back(ExpandedTree());
        return seen;
    };
    for (const Case& c : cases) {
        StartWith(m_folder.Write("rates.xml", kSmallRateFile));
        Tree().ExpandAll();
        Select(FindItem(c.select));
        if (c.action == kSet) {
            TypeText("Credit Life revised");
            PressSet();
        } else {
            m_platform->m_chosenFiles.push_back(m_folder.Write("new.xml", R"(<RATEFILE>
                <HEADER><VENDOR>Veltrane</VENDOR><ISSUED>2026</ISSUED></HEADER>
                <CUSTOMER><CONTRACTNUM>300</CONTRACTNUM></CUSTOMER>
                <CUSTOMER><CONTRACTNUM>100</CONTRACTNUM>
                  <INSURANCEPLAN><PLANKEY>A-1</PLANKEY><PLANDESC>Vendor</PLANDESC>
                  </INSURANCEPLAN></CUSTOMER></RATEFILE>)"));
            Frame().RunCommand(ID_FILE_MERGE);
        }
        ProcessEvents();
        const std::vector<std::vector<std::string>> rebuilt = views();
        EXPECT_EQ(std::vector<std::string>{"RATEFILE [2] +"}, rebuilt.front()) << c.action;
        Tree().OnInitialUpdate();
        EXPECT_EQ(views(), rebuilt) << c.action;
    }
}

#ifdef wxHAS_GENERIC_TREECTRL
// The generic control is given an item's label when the item is first
// painted, not when it is made: the labels of the rows shown are drawn, the
// others wait, and every item reports its label either way.
TEST_F(TreePaneTest, OnlyTheShownRowsGiveTheControlTheirLabels) {
    std::string file = "<RATEFILE>";
    for (int customer = 0; customer < 400; ++customer) {
        file += "<CUSTOMER><CONTRACTNUM>" + std::to_string(customer) + "</CONTRACTNUM></CUSTOMER>";
    }
    StartWith(m_folder.Write("many.xml", file + "</RATEFILE>"));
    const wxTreeItemId root = Tree().GetRootItem();
    Tree().Expand(root);
    ProcessEvents();
    Tree().Update();
    const auto drawnLabel = [this](const wxTreeItemId& item) {
        return std::string(Tree().wxTreeCtrl::GetItemText(item).utf8_str());
    };
    const wxTreeItemId last = Tree().GetLastChild(root);
    int shown = 0;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId item = Tree().GetFirstChild(root, cookie); item.IsOk();
         item = Tree().GetNextChild(root, cookie)) {
        EXPECT_EQ("CUSTOMER", Label(item));
        if (Tree().IsVisible(item)) {
            ++shown;
            EXPECT_EQ("CUSTOMER", drawnLabel(item));
        }
    }
    EXPECT_GT(shown, 0);
    EXPECT_EQ("", drawnLabel(last));
    // Scrolled to the end, the last customer's row is drawn with its label.
    Tree().EnsureVisible(last);
    ProcessEvents();
    Tree().Update();
    ASSERT_TRUE(Tree().IsVisible(last));
    EXPECT_EQ("CUSTOMER", drawnLabel(last));
    // Opened, a customer's children are shown with theirs.
    Tree().Expand(last);
    ProcessEvents();
    Tree().Update();
    EXPECT_EQ("CONTRACTNUM", drawnLabel(Tree().GetLastChild(last)));
}
#endif

TEST_F(TreePaneTest, RootNamedInsurancePlanOffersDeleteButCannotBeDeleted) {
    StartWith(m_folder.Write("plan.xml", "<INSURANCEPLAN><PLANDESC>x</PLANDESC></INSURANCEPLAN>"));
    Select(Tree().GetRootItem());
    EXPECT_TRUE(MenuEnabled(ID_EDIT_DELETE));
    m_platform->m_answers.push_back(MsgAnswer::Yes);
    Frame().RunCommand(ID_EDIT_DELETE);
    EXPECT_EQ("Deletion of Plan Failed!", m_platform->m_boxes.back().strText);
    EXPECT_EQ(MsgIcon::None, m_platform->m_boxes.back().icon);
    EXPECT_THAT(VisibleTree(), ElementsAre("INSURANCEPLAN - x [4] + *"));
    EXPECT_FALSE(Doc().IsModified());
}

TEST_F(TreePaneTest, FileWithoutATreeShowsAnEmptyPane) {
    StartWith(m_folder.Write("empty.xml", "<?xml version=\"1.0\"?> no element here"));
    EXPECT_TRUE(VisibleTree().empty());
    EXPECT_EQ("", Tree().GetSelectedNodeName());
    EXPECT_FALSE(MenuEnabled(ID_EDIT_DELETE));
}

TEST_F(TreePaneTest, PartialTreeOfABrokenFileIsShownAfterTheReadersMessage) {
    StartWith(
        m_folder.Write("broken.xml", "<RATEFILE><HEADER><VENDOR>V</VENDOR></HEADER><CUSTOMER>"));
    ASSERT_FALSE(m_platform->m_boxes.empty());
    EXPECT_EQ(0u, m_platform->m_boxes.front().strText.find("Error reading XML file."));
    EXPECT_EQ(MsgIcon::Stop, m_platform->m_boxes.front().icon);
    ASSERT_EQ(1u, VisibleTree().size());
    EXPECT_EQ("RATEFILE", Label(Tree().GetRootItem()));
}

TEST_F(TreePaneTest, SelectionChangesBeforeAFillAreNotPassedOn) {
    StartWith(m_folder.Write("rates.xml", kSmallRateFile));
    Tree().OnUpdate(nullptr, kHintNewDocument); // empties the tree, as a New does first
    EXPECT_FALSE(Tree().IsTreeFilled());
    EXPECT_EQ("", Tree().GetSelectedNodeName());
    EXPECT_EQ(nullptr, Detail().GetNode());
}

} // namespace
