// The merge command, its driver, the header items and the pairing of
// customers by contract number.
#include "support/MergeFixture.h"

#include "resources/Resource.h"
#include "resources/StringTable.h"

namespace {

constexpr const char* kNoMatch = "No PLANKEY's matched.";

std::string Summary(int imported, int matched) {
    return CStringTable::Format(IDS_MERGE_SUMMARY,
                                {std::to_string(imported), std::to_string(matched)});
}

class MergeTest : public MergeFixture {};

// Notes how many messages had been shown when the view was updated.
class COrderView : public CRecordingView {
public:
    explicit COrderView(const CFakePlatform& platform) : m_platform(platform) {}
    size_t m_nMessagesAtUpdate = 0;
    void OnUpdate(CView* sender, CUpdateHint hint) override {
        m_nMessagesAtUpdate = m_platform.m_messages.size();
        CRecordingView::OnUpdate(sender, hint);
    }

private:
    const CFakePlatform& m_platform;
};

} // namespace

TEST_F(MergeTest, MergeNeedsALoadedRateFile) {
    CFakeCmdUI cmdUI;
    ASSERT_TRUE(m_doc->DoNew());
    m_doc->OnUpdateFileMerge(cmdUI);
    EXPECT_FALSE(cmdUI.m_bEnabled);

    m_doc->OnFileMerge();
    ASSERT_EQ(1u, m_platform.m_messages.size());
    EXPECT_EQ(CStringTable::Get(IDS_MERGE_NO_RATE_FILE), m_platform.m_messages[0].strText);
    EXPECT_EQ(MsgIcon::Information, m_platform.m_messages[0].icon);
    EXPECT_TRUE(m_platform.m_dialogs.empty());
    EXPECT_FALSE(m_doc->IsModified());

    Load("<ratefile></ratefile>"); // the root's own name is compared exactly
    m_doc->OnUpdateFileMerge(cmdUI);
    EXPECT_FALSE(cmdUI.m_bEnabled);

    Load("<RATEFILE></RATEFILE>");
    m_doc->OnUpdateFileMerge(cmdUI);
    EXPECT_TRUE(cmdUI.m_bEnabled);
}

TEST_F(MergeTest, CancelledDialogChangesNothing) {
    Load("<RATEFILE><CUSTOMER><CONTRACTNUM>1</CONTRACTNUM></CUSTOMER></RATEFILE>");
    const std::string before = Tree();
    m_doc->OnFileMerge();
    ASSERT_EQ(1u, m_platform.m_dialogs.size());
    const CFileDialogSpec& spec = m_platform.m_dialogs[0];
    EXPECT_TRUE(spec.bOpen);
    EXPECT_TRUE(spec.bMustExist);
    EXPECT_EQ("xml", spec.strDefaultExt);
    EXPECT_EQ("", spec.strFileName);
    EXPECT_EQ("XML Files (*.xml)|*.xml|All Files (*.*)|*.*||", spec.strFilter);
    EXPECT_EQ(before, Tree());
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_TRUE(m_platform.m_messages.empty());
    EXPECT_TRUE(m_view.m_calls.empty());
}

TEST_F(MergeTest, CommandMarksModifiedThenShowsTheSummaryThenRebuildsTheViews) {
    Load("<RATEFILE><CUSTOMER><CONTRACTNUM>1</CONTRACTNUM><INSURANCEPLAN><PLANKEY>K</PLANKEY>"
         "<PLANDESC>mine</PLANDESC></INSURANCEPLAN></CUSTOMER></RATEFILE>");
    COrderView order(m_platform);
    m_doc->AddView(order);
    m_platform.m_chosenFiles.push_back(
        Incoming("<RATEFILE><CUSTOMER><CONTRACTNUM>1</CONTRACTNUM><INSURANCEPLAN><PLANKEY>K"
                 "</PLANKEY><PLANDESC>vendor</PLANDESC></INSURANCEPLAN></CUSTOMER></RATEFILE>"));
    m_doc->OnFileMerge();
    EXPECT_TRUE(m_doc->IsModified());
    ASSERT_EQ(1u, m_platform.m_messages.size());
    EXPECT_EQ(Summary(1, 1), m_platform.m_messages[0].strText);
    EXPECT_EQ(MsgIcon::Information, m_platform.m_messages[0].icon);
    ASSERT_EQ(1u, order.m_calls.size());
    EXPECT_EQ(nullptr, order.m_calls[0].pSender);
    EXPECT_EQ(-1, order.m_calls[0].hint.GetValue());
    EXPECT_EQ(1u, order.m_nMessagesAtUpdate) << "the views hear of the merge after the summary";
    EXPECT_EQ(1u, m_view.m_calls.size());
}

TEST_F(MergeTest, WrongRootIsRefusedAndLeavesTheTreeButNotTheModifiedFlag) {
    Load("<RATEFILE><CUSTOMER><CONTRACTNUM>1</CONTRACTNUM></CUSTOMER></RATEFILE>");
    Merge("<RATEFILE><CUSTOMER><CONTRACTNUM>1</CONTRACTNUM><INSURANCEPLAN><PLANKEY>K</PLANKEY>"
          "</INSURANCEPLAN></CUSTOMER></RATEFILE>");
    ASSERT_EQ(1, m_doc->GetPlansImported());
    const std::string before = Tree();
    m_platform.m_messages.clear();
    m_view.m_calls.clear();

    m_platform.m_chosenFiles.push_back(
        Incoming("<RATES><CUSTOMER></CUSTOMER></RATES>", "wrong.xml"));
    m_doc->SetModifiedFlag(false);
    m_doc->OnFileMerge();
    ASSERT_EQ(1u, m_platform.m_messages.size());
    EXPECT_EQ(CStringTable::Get(IDS_MERGE_INVALID_FILE), m_platform.m_messages[0].strText);
    EXPECT_EQ(MsgIcon::Information, m_platform.m_messages[0].icon);
    EXPECT_EQ(before, Tree());
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_TRUE(m_view.m_calls.empty());
    EXPECT_EQ(1, m_doc->GetPlansImported()) << "the state of the last merge stays";
    EXPECT_EQ(1u, m_doc->GetPlanValues().size());
}

TEST_F(MergeTest, UnreadableIncomingFileEndsSilently) {
    Load("<RATEFILE><CUSTOMER><CONTRACTNUM>1</CONTRACTNUM></CUSTOMER></RATEFILE>");
    const std::string before = Tree();
    for (const std::string& path :
         {m_folder.File("missing.xml"),
          Incoming("<RATEFILE><CUSTOMER><CONTRACTNUM>1</CONTRACTNUM>", "damaged.xml"),
          Incoming("", "empty.xml")}) {
        m_platform.m_chosenFiles.push_back(path);
        m_doc->SetModifiedFlag(false);
        m_doc->OnFileMerge();
        EXPECT_TRUE(m_doc->IsModified()) << path;
    }
    EXPECT_TRUE(m_platform.m_messages.empty());
    EXPECT_EQ(before, Tree());
    EXPECT_TRUE(m_view.m_calls.empty());
}

TEST_F(MergeTest, FileWithoutCustomersAndHeaderStillEndsWithTheNoMatchMessage) {
    Load("<RATEFILE><CUSTOMER><CONTRACTNUM>1</CONTRACTNUM></CUSTOMER></RATEFILE>");
    const std::string before = Tree();
    Merge("<RATEFILE><OTHER>ignored</OTHER></RATEFILE>");
    ASSERT_EQ(1u, m_platform.m_messages.size());
    EXPECT_EQ(0u, m_platform.m_messages[0].strText.find(kNoMatch));
    EXPECT_EQ(CStringTable::Get(IDS_MERGE_NO_MATCH), m_platform.m_messages[0].strText);
    EXPECT_EQ(before, Tree());
    ASSERT_EQ(1u, m_view.m_calls.size());
    EXPECT_EQ(-1, m_view.m_calls[0].hint.GetValue());
}

TEST_F(MergeTest, ImportedPlansThatMatchNothingEndWithTheNoMatchMessage) {
    Load("<RATEFILE></RATEFILE>");
    Merge("<RATEFILE><CUSTOMER><CONTRACTNUM>5</CONTRACTNUM><INSURANCEPLAN><PLANKEY>A</PLANKEY>"
          "</INSURANCEPLAN><INSURANCEPLAN><PLANKEY>B</PLANKEY></INSURANCEPLAN></CUSTOMER>"
          "</RATEFILE>");
    EXPECT_EQ(2, m_doc->GetPlansImported());
    EXPECT_EQ(0, m_doc->GetPlansMatched());
    EXPECT_EQ(CStringTable::Get(IDS_MERGE_NO_MATCH), m_platform.m_messages.at(0).strText);
}

TEST_F(MergeTest, HeaderItemsAreTakenOverFieldByField) {
    Load("<RATEFILE><HEADER><A>1</A><B>2</B><C>old<SUB>kept</SUB></C></HEADER></RATEFILE>");
    Merge("<RATEFILE><HEADER><A>10</A><C>30<SUB>not copied</SUB></C><D>4<E>not copied</E></D>"
          "</HEADER><HEADER><F>6</F><a>11</a></HEADER></RATEFILE>");
    EXPECT_EQ("RATEFILE\n"
              "  HEADER\n"
              "    A = 11\n"
              "    B = 2\n"
              "    C = 30\n"
              "      SUB = kept\n"
              "    D = 4\n"
              "    F = 6\n",
              Tree());
}

TEST_F(MergeTest, MissingHeaderIsCreatedAfterTheCustomersAndBeforeNewOnes) {
    Load("<RATEFILE><CUSTOMER><CONTRACTNUM>1</CONTRACTNUM></CUSTOMER></RATEFILE>");
    Merge("<RATEFILE><CUSTOMER><CONTRACTNUM>2</CONTRACTNUM></CUSTOMER>"
          "<HEADER><VERSION>2</VERSION></HEADER></RATEFILE>");
    EXPECT_EQ("RATEFILE\n"
              "  CUSTOMER\n"
              "    CONTRACTNUM = 1\n"
              "  HEADER\n"
              "    VERSION = 2\n"
              "  CUSTOMER\n"
              "    CONTRACTNUM = 2\n",
              Tree());
}

TEST_F(MergeTest, EmptyIncomingHeaderCreatesNoHeader) {
    Load("<RATEFILE></RATEFILE>");
    Merge("<RATEFILE><HEADER></HEADER></RATEFILE>");
    EXPECT_EQ("RATEFILE\n", Tree());
}

TEST_F(MergeTest, CustomersOnlyInTheLoadedFileAreUntouched) {
    const char* loaded =
        "<RATEFILE><CUSTOMER><CONTRACTNUM>1</CONTRACTNUM><NAME>Old</NAME><INSURANCEPLAN>"
        "<PLANKEY>X</PLANKEY><EXPIRATIONDATE>01/01/2001</EXPIRATIONDATE></INSURANCEPLAN>"
        "</CUSTOMER><OTHER>kept</OTHER></RATEFILE>";
    Load(loaded);
    const std::string before = Tree();
    Merge("<RATEFILE><CUSTOMER><CONTRACTNUM>2</CONTRACTNUM></CUSTOMER><OTHER>ignored</OTHER>"
          "</RATEFILE>");
    EXPECT_EQ(before + "  CUSTOMER\n    CONTRACTNUM = 2\n", Tree());
}

TEST_F(MergeTest, NewCustomerGetsItsContractNumberFirstThenItemsThenPlans) {
    Load("<RATEFILE><CUSTOMER><CONTRACTNUM>1</CONTRACTNUM><INSURANCEPLAN><PLANKEY>K</PLANKEY>"
         "<DPKEY>D1</DPKEY><PLANDESC>mine</PLANDESC></INSURANCEPLAN></CUSTOMER></RATEFILE>");
    Merge("<RATEFILE>"
          "<CUSTOMER><CONTRACTNUM>1</CONTRACTNUM><INSURANCEPLAN><PLANKEY>K</PLANKEY><DPKEY></DPKEY>"
          "<PLANDESC>vendor</PLANDESC></INSURANCEPLAN></CUSTOMER>"
          "<CUSTOMER><NAME>New</NAME><CONTRACTNUM>9</CONTRACTNUM><INSURANCEPLAN><PLANKEY>K"
          "</PLANKEY><DPKEY></DPKEY><PLANDESC>vendor</PLANDESC></INSURANCEPLAN><INSURANCEPLAN>"
          "<PLANKEY>N</PLANKEY></INSURANCEPLAN></CUSTOMER>"
          "</RATEFILE>");
    EXPECT_EQ("CUSTOMER\n"
              "  CONTRACTNUM = 9\n"
              "  NAME = New\n"
              "  INSURANCEPLAN\n"
              "    PLANKEY = K\n"
              "    DPKEY = D1\n"
              "    PLANDESC = mine\n"
              "  INSURANCEPLAN\n"
              "    PLANKEY = N\n",
              Customer(1));
    EXPECT_EQ(3, m_doc->GetPlansImported());
    EXPECT_EQ(1, m_doc->GetPlansMatched()) << "the new customer's plans are never matched";
}

TEST_F(MergeTest, EveryLoadedCustomerWithTheContractNumberIsMerged) {
    Load("<RATEFILE>"
         "<CUSTOMER><CONTRACTNUM>7</CONTRACTNUM><INSURANCEPLAN><PLANKEY>K</PLANKEY><DPKEY>first"
         "</DPKEY></INSURANCEPLAN></CUSTOMER>"
         "<CUSTOMER><CONTRACTNUM>8</CONTRACTNUM></CUSTOMER>"
         "<CUSTOMER><CONTRACTNUM>7</CONTRACTNUM><INSURANCEPLAN><PLANKEY>K</PLANKEY><DPKEY>second"
         "</DPKEY></INSURANCEPLAN></CUSTOMER>"
         "</RATEFILE>");
    Merge("<RATEFILE><CUSTOMER><CONTRACTNUM>7</CONTRACTNUM><INSURANCEPLAN><PLANKEY>K</PLANKEY>"
          "<DPKEY>vendor</DPKEY></INSURANCEPLAN></CUSTOMER></RATEFILE>");
    EXPECT_EQ("CUSTOMER\n  CONTRACTNUM = 7\n  INSURANCEPLAN\n    PLANKEY = K\n    DPKEY = first\n",
              Customer(0));
    // The second pairing takes the remembered values and keeps its own plan.
    EXPECT_EQ("CUSTOMER\n  CONTRACTNUM = 7\n"
              "  INSURANCEPLAN\n    PLANKEY = K\n    DPKEY = second\n"
              "  INSURANCEPLAN\n    PLANKEY = K\n    DPKEY = first\n",
              Customer(2));
    EXPECT_EQ(3, m_doc->m_pRootNode->GetChildCount("CUSTOMER"));
    EXPECT_EQ(2, m_doc->GetPlansImported());
    EXPECT_EQ(1, m_doc->GetPlansMatched());
}

TEST_F(MergeTest, ContractNumbersAreComparedExactly) {
    Load("<RATEFILE><CUSTOMER><CONTRACTNUM>a7</CONTRACTNUM></CUSTOMER></RATEFILE>");
    Merge("<RATEFILE><CUSTOMER><CONTRACTNUM>A7</CONTRACTNUM></CUSTOMER></RATEFILE>");
    EXPECT_EQ(2, m_doc->m_pRootNode->GetChildCount("CUSTOMER"));
}

TEST_F(MergeTest, MissingContractNumberPairsWithMissingOrEmptyOnes) {
    Load("<RATEFILE>"
         "<CUSTOMER><NAME>none</NAME></CUSTOMER>"
         "<CUSTOMER><CONTRACTNUM>3</CONTRACTNUM></CUSTOMER>"
         "<CUSTOMER><CONTRACTNUM></CONTRACTNUM></CUSTOMER>"
         "</RATEFILE>");
    Merge("<RATEFILE><CUSTOMER><STATE>OH</STATE></CUSTOMER></RATEFILE>");
    EXPECT_EQ("CUSTOMER\n  NAME = none\n  STATE = OH\n", Customer(0));
    EXPECT_EQ("CUSTOMER\n  CONTRACTNUM = 3\n", Customer(1));
    EXPECT_EQ("CUSTOMER\n  CONTRACTNUM\n  STATE = OH\n", Customer(2));
    EXPECT_EQ(3, m_doc->m_pRootNode->GetChildCount("CUSTOMER"));
}

TEST_F(MergeTest, MissingContractNumberWithoutPartnerCreatesAnEmptyOne) {
    Load("<RATEFILE><CUSTOMER><CONTRACTNUM>3</CONTRACTNUM></CUSTOMER></RATEFILE>");
    Merge("<RATEFILE><CUSTOMER><STATE>OH</STATE></CUSTOMER></RATEFILE>");
    EXPECT_EQ("CUSTOMER\n  CONTRACTNUM\n  STATE = OH\n", Customer(1));
}

TEST_F(MergeTest, AnIncomingCustomerAddedEarlierPairsWithALaterOneOfTheSameNumber) {
    Load("<RATEFILE></RATEFILE>");
    Merge("<RATEFILE>"
          "<CUSTOMER><CONTRACTNUM>4</CONTRACTNUM><INSURANCEPLAN><PLANKEY>A</PLANKEY>"
          "</INSURANCEPLAN></CUSTOMER>"
          "<CUSTOMER><CONTRACTNUM>4</CONTRACTNUM><INSURANCEPLAN><PLANKEY>B</PLANKEY>"
          "</INSURANCEPLAN></CUSTOMER>"
          "</RATEFILE>");
    // The second incoming customer pairs with the one the first created; A
    // stays because its key was carried by an earlier pairing.
    EXPECT_EQ("RATEFILE\n  CUSTOMER\n    CONTRACTNUM = 4\n"
              "    INSURANCEPLAN\n      PLANKEY = A\n"
              "    INSURANCEPLAN\n      PLANKEY = B\n",
              Tree());
}

TEST_F(MergeTest, MergeStateIsResetByEveryMergeThatPassesTheRootCheck) {
    Load("<RATEFILE><CUSTOMER><CONTRACTNUM>1</CONTRACTNUM><INSURANCEPLAN><PLANKEY>K</PLANKEY>"
         "<PLANDESC>mine</PLANDESC></INSURANCEPLAN></CUSTOMER></RATEFILE>");
    const char* incoming = "<RATEFILE><CUSTOMER><CONTRACTNUM>1</CONTRACTNUM><INSURANCEPLAN>"
                           "<PLANKEY>K</PLANKEY><PLANDESC>vendor</PLANDESC></INSURANCEPLAN>"
                           "</CUSTOMER></RATEFILE>";
    Merge(incoming);
    Merge(incoming);
    EXPECT_EQ(1, m_doc->GetPlansImported());
    EXPECT_EQ(1, m_doc->GetPlansMatched());
    ASSERT_EQ(1u, m_doc->GetPlanValues().size());
    EXPECT_STREQ("mine", m_doc->GetPlanValues()[0]->m_strPlanDesc.GetBuffer());
    EXPECT_EQ((std::vector<std::string>{Summary(1, 1), Summary(1, 1)}), m_platform.MessageTexts());
}
