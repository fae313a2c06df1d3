// Plan matching: incoming plans replace the loaded ones and carry the user's
// values over by plan key from plans that have not expired.
#include "support/MergeFixture.h"

namespace {

class PlanMatchingTest : public MergeFixture {
protected:
    // A rate file with one customer, number 1, holding body.
    static std::string OneCustomer(const std::string& body) {
        return "<RATEFILE><CUSTOMER><CONTRACTNUM>1</CONTRACTNUM>" + body + "</CUSTOMER></RATEFILE>";
    }
    static std::string Plan(const std::string& key, const std::string& dpKey,
                            const std::string& desc, const std::string& expires = "") {
        std::string plan = "<INSURANCEPLAN><PLANKEY>" + key + "</PLANKEY>";
        if (!dpKey.empty()) {
            plan += "<DPKEY>" + (dpKey == "-" ? std::string() : dpKey) + "</DPKEY>";
        }
        if (!desc.empty()) {
            plan += "<PLANDESC>" + desc + "</PLANDESC>";
        }
        if (!expires.empty()) {
            plan += "<EXPIRATIONDATE>" + expires + "</EXPIRATIONDATE>";
        }
        return plan + "</INSURANCEPLAN>";
    }
};

} // namespace

TEST_F(PlanMatchingTest, UndatedLoadedPlanGivesItsValuesAndMakesWayForTheIncomingPlan) {
    Load(OneCustomer(Plan("K", "D1", "mine") + "<NAME>Shop</NAME>"));
    Merge(OneCustomer(Plan("K", "vendor", "vendor desc") + "<NAME>Shop</NAME>"));
    EXPECT_EQ("CUSTOMER\n  CONTRACTNUM = 1\n  NAME = Shop\n"
              "  INSURANCEPLAN\n    PLANKEY = K\n    DPKEY = D1\n    PLANDESC = mine\n",
              Customer(0));
    EXPECT_EQ(1, m_doc->GetPlansImported());
    EXPECT_EQ(1, m_doc->GetPlansMatched());
}

TEST_F(PlanMatchingTest, PlanExpiresOnTheDayAfterItsDate) {
    // Today is 15 March 2025.
    Load("<RATEFILE>"
         "<CUSTOMER><CONTRACTNUM>1</CONTRACTNUM>" +
         Plan("K", "D1", "today", "03/15/2025") +
         "</CUSTOMER>"
         "<CUSTOMER><CONTRACTNUM>2</CONTRACTNUM>" +
         Plan("L", "D2", "yesterday", "3-14-2025") +
         "</CUSTOMER>"
         "</RATEFILE>");
    Merge("<RATEFILE>"
          "<CUSTOMER><CONTRACTNUM>1</CONTRACTNUM>" +
          Plan("K", "new", "new") +
          "</CUSTOMER>"
          "<CUSTOMER><CONTRACTNUM>2</CONTRACTNUM>" +
          Plan("L", "new", "new") +
          "</CUSTOMER>"
          "</RATEFILE>");
    EXPECT_EQ("CUSTOMER\n  CONTRACTNUM = 1\n"
              "  INSURANCEPLAN\n    PLANKEY = K\n    DPKEY = D1\n    PLANDESC = today\n",
              Customer(0));
    EXPECT_EQ("CUSTOMER\n  CONTRACTNUM = 2\n"
              "  INSURANCEPLAN\n    PLANKEY = L\n    DPKEY = new\n    PLANDESC = new\n",
              Customer(1))
        << "the expired plan gives nothing and is removed all the same";
    EXPECT_EQ(2, m_doc->GetPlansImported());
    EXPECT_EQ(1, m_doc->GetPlansMatched());
}

TEST_F(PlanMatchingTest, TheFirstUnexpiredPlanWithTheKeyGivesTheValues) {
    Load(OneCustomer(Plan("K", "old", "old", "12/31/2020") + Plan("K", "D2", "current") +
                     Plan("K", "D3", "later")));
    Merge(OneCustomer(Plan("K", "v", "v")));
    EXPECT_EQ("CUSTOMER\n  CONTRACTNUM = 1\n"
              "  INSURANCEPLAN\n    PLANKEY = K\n    DPKEY = D2\n    PLANDESC = current\n",
              Customer(0));
}

TEST_F(PlanMatchingTest, UnreadableExpirationDatesCountAsExpired) {
    Load("<RATEFILE>"
         "<CUSTOMER><CONTRACTNUM>1</CONTRACTNUM>" +
         Plan("A", "D", "d", "20301231") +
         "</CUSTOMER>"
         "<CUSTOMER><CONTRACTNUM>2</CONTRACTNUM>" +
         Plan("B", "D", "d", "12/31/30") +
         "</CUSTOMER>"
         "<CUSTOMER><CONTRACTNUM>3</CONTRACTNUM>" +
         Plan("C", "D", "d", "12/2030") +
         "</CUSTOMER>"
         "</RATEFILE>");
    Merge("<RATEFILE>"
          "<CUSTOMER><CONTRACTNUM>1</CONTRACTNUM>" +
          Plan("A", "v", "v") +
          "</CUSTOMER>"
          "<CUSTOMER><CONTRACTNUM>2</CONTRACTNUM>" +
          Plan("B", "v", "v") +
          "</CUSTOMER>"
          "<CUSTOMER><CONTRACTNUM>3</CONTRACTNUM>" +
          Plan("C", "v", "v") +
          "</CUSTOMER>"
          "</RATEFILE>");
    EXPECT_EQ(0, m_doc->GetPlansMatched());
    EXPECT_EQ(3, m_doc->GetPlansImported());
}

TEST_F(PlanMatchingTest, WithoutAClockTodayIsZeroAndDatedPlansStillGiveTheirValues) {
    m_platform.m_bClockWorks = false;
    Load(OneCustomer(Plan("K", "D1", "mine", "01/01/2001")));
    Merge(OneCustomer(Plan("K", "v", "v")));
    EXPECT_EQ(1, m_doc->GetPlansMatched());
}

TEST_F(PlanMatchingTest, EmptyValuesAreNotCarriedAndMissingElementsNotCreated) {
    Load(OneCustomer(Plan("K", "-", "mine") + Plan("L", "D2", "theirs")));
    Merge(OneCustomer(Plan("K", "vendor", "vendor") + "<INSURANCEPLAN><PLANKEY>L</PLANKEY>"
                                                      "</INSURANCEPLAN>"));
    EXPECT_EQ("CUSTOMER\n  CONTRACTNUM = 1\n"
              "  INSURANCEPLAN\n    PLANKEY = K\n    DPKEY = vendor\n    PLANDESC = mine\n"
              "  INSURANCEPLAN\n    PLANKEY = L\n",
              Customer(0));
    EXPECT_EQ(2, m_doc->GetPlansMatched()) << "an empty DPKEY still counts as a match";
}

TEST_F(PlanMatchingTest, RememberedValuesCrossCustomersWithoutAnotherSearch) {
    Load("<RATEFILE>"
         "<CUSTOMER><CONTRACTNUM>1</CONTRACTNUM>" +
         Plan("K", "D1", "first") +
         "</CUSTOMER>"
         "<CUSTOMER><CONTRACTNUM>2</CONTRACTNUM>" +
         Plan("K", "D2", "second") + Plan("Z", "DZ", "dropped") +
         "</CUSTOMER>"
         "</RATEFILE>");
    Merge("<RATEFILE>"
          "<CUSTOMER><CONTRACTNUM>1</CONTRACTNUM>" +
          Plan("K", "v", "v") +
          "</CUSTOMER>"
          "<CUSTOMER><CONTRACTNUM>2</CONTRACTNUM>" +
          Plan("K", "v", "v") +
          "</CUSTOMER>"
          "</RATEFILE>");
    EXPECT_EQ("CUSTOMER\n  CONTRACTNUM = 2\n"
              "  INSURANCEPLAN\n    PLANKEY = K\n    DPKEY = D2\n    PLANDESC = second\n"
              "  INSURANCEPLAN\n    PLANKEY = K\n    DPKEY = D1\n    PLANDESC = first\n",
              Customer(1));
    EXPECT_EQ(2, m_doc->GetPlansImported());
    EXPECT_EQ(1, m_doc->GetPlansMatched());
    ASSERT_EQ(1u, m_doc->GetPlanValues().size());
    EXPECT_STREQ("K", m_doc->GetPlanValues()[0]->m_strPlanKey.GetBuffer());
    EXPECT_STREQ("D1", m_doc->GetPlanValues()[0]->m_strDpKey.GetBuffer());
}

TEST_F(PlanMatchingTest, KeysWithoutValuesAreRememberedEmpty) {
    Load("<RATEFILE>"
         "<CUSTOMER><CONTRACTNUM>1</CONTRACTNUM></CUSTOMER>"
         "<CUSTOMER><CONTRACTNUM>2</CONTRACTNUM>" +
         Plan("K", "D2", "second") +
         "</CUSTOMER>"
         "</RATEFILE>");
    Merge("<RATEFILE>"
          "<CUSTOMER><CONTRACTNUM>1</CONTRACTNUM>" +
          Plan("K", "v1", "v1") +
          "</CUSTOMER>"
          "<CUSTOMER><CONTRACTNUM>2</CONTRACTNUM>" +
          Plan("K", "v2", "v2") +
          "</CUSTOMER>"
          "</RATEFILE>");
    EXPECT_EQ("CUSTOMER\n  CONTRACTNUM = 2\n"
              "  INSURANCEPLAN\n    PLANKEY = K\n    DPKEY = D2\n    PLANDESC = second\n"
              "  INSURANCEPLAN\n    PLANKEY = K\n    DPKEY = v2\n    PLANDESC = v2\n",
              Customer(1));
    EXPECT_EQ(0, m_doc->GetPlansMatched());
}

TEST_F(PlanMatchingTest, PurgeKeepsOnlyPlansWhoseKeyThisMergeCarried) {
    Load("<RATEFILE>"
         "<CUSTOMER><CONTRACTNUM>1</CONTRACTNUM>" +
         Plan("A", "", "") +
         "</CUSTOMER>"
         "<CUSTOMER><CONTRACTNUM>2</CONTRACTNUM>" +
         Plan("A", "", "") + Plan("B", "", "") + Plan("C", "", "") +
         "</CUSTOMER>"
         "</RATEFILE>");
    Merge("<RATEFILE>"
          "<CUSTOMER><CONTRACTNUM>1</CONTRACTNUM>" +
          Plan("A", "", "") +
          "</CUSTOMER>"
          "<CUSTOMER><CONTRACTNUM>2</CONTRACTNUM>" +
          Plan("C", "", "") +
          "</CUSTOMER>"
          "</RATEFILE>");
    // A stays (an earlier pairing carried it), B goes, C is replaced.
    EXPECT_EQ("CUSTOMER\n  CONTRACTNUM = 2\n"
              "  INSURANCEPLAN\n    PLANKEY = A\n"
              "  INSURANCEPLAN\n    PLANKEY = C\n",
              Customer(1));
}

TEST_F(PlanMatchingTest, FirstPairWithoutIncomingPlansLosesAllItsPlans) {
    Load(OneCustomer("<NAME>x</NAME>" + Plan("A", "D", "d") + Plan("B", "D", "d")));
    Merge(OneCustomer("<NAME>y</NAME>"));
    EXPECT_EQ("CUSTOMER\n  CONTRACTNUM = 1\n  NAME = y\n", Customer(0));
    EXPECT_EQ(0, m_doc->GetPlansImported());
}

TEST_F(PlanMatchingTest, ItemsUpdateTheFirstOfTheirNameAndNewOnesComeBeforeThePlans) {
    Load(OneCustomer("<NAME>old</NAME><NAME>second</NAME>" + Plan("A", "", "") +
                     "<STATE>OH<ZIP>kept</ZIP></STATE>"));
    Merge(OneCustomer("<name>mid</name><NAME>new</NAME><STATE>PA<ZIP>not copied</ZIP></STATE>"
                      "<PHONE>555</PHONE>" +
                      Plan("A", "", "")));
    EXPECT_EQ("CUSTOMER\n  CONTRACTNUM = 1\n  NAME = new\n  NAME = second\n"
              "  STATE = PA\n    ZIP = kept\n  PHONE = 555\n"
              "  INSURANCEPLAN\n    PLANKEY = A\n",
              Customer(0));
}

TEST_F(PlanMatchingTest, APlanNamedInOtherLettersIsBothItemAndPlan) {
    Load(OneCustomer("<INSURANCEPLAN><PLANKEY>A</PLANKEY></INSURANCEPLAN>"));
    Merge(OneCustomer("<InsurancePlan>text<PLANKEY>B</PLANKEY></InsurancePlan>"));
    // As an item its text went into the first loaded plan, which the purge
    // then removed; as a plan it was copied with its own name.
    EXPECT_EQ("CUSTOMER\n  CONTRACTNUM = 1\n  InsurancePlan = text\n    PLANKEY = B\n",
              Customer(0));
    EXPECT_EQ(1, m_doc->GetPlansImported());
}

TEST_F(PlanMatchingTest, PlansWithoutKeyPairWithPlansWithoutKey) {
    Load(OneCustomer("<INSURANCEPLAN><DPKEY>D0</DPKEY></INSURANCEPLAN>" + Plan("", "D1", "e")));
    Merge(OneCustomer("<INSURANCEPLAN><DPKEY>v</DPKEY><PLANDESC>v</PLANDESC></INSURANCEPLAN>"));
    EXPECT_EQ("CUSTOMER\n  CONTRACTNUM = 1\n"
              "  INSURANCEPLAN\n    DPKEY = D0\n    PLANDESC = v\n",
              Customer(0));
    EXPECT_EQ(1, m_doc->GetPlansMatched());
}

TEST_F(PlanMatchingTest, PlanKeysAreComparedExactly) {
    Load(OneCustomer(Plan("k", "D1", "mine")));
    Merge(OneCustomer(Plan("K", "v", "v")));
    EXPECT_EQ("CUSTOMER\n  CONTRACTNUM = 1\n"
              "  INSURANCEPLAN\n    PLANKEY = K\n    DPKEY = v\n    PLANDESC = v\n",
              Customer(0));
    EXPECT_EQ(0, m_doc->GetPlansMatched());
}

TEST_F(PlanMatchingTest, CustomerMergedIntoOneOfItsOwnPlansEndsWithOneCopy) {
    Load(OneCustomer(Plan("A", "DA", "a")));
    CXmlNode* customer = m_doc->m_pRootNode->FindChild("CUSTOMER", 0);
    CXmlNode* plan = customer->FindChild("INSURANCEPLAN", 0);
    // The plan is the loaded customer and one of the incoming plans: its copy
    // is added to it, and copies the plan as it is at that moment.
    m_doc->MergePlans(plan, customer);
    EXPECT_EQ("INSURANCEPLAN\n  PLANKEY = A\n  DPKEY = DA\n  PLANDESC = a\n  CONTRACTNUM = 1\n"
              "  INSURANCEPLAN\n    PLANKEY = A\n    DPKEY = DA\n    PLANDESC = a\n"
              "    CONTRACTNUM = 1\n    INSURANCEPLAN\n",
              DumpTree(plan));
    EXPECT_EQ(1, m_doc->GetPlansImported());
}

TEST_F(PlanMatchingTest, MergingAFileWithItselfKeepsEveryValue) {
    const std::string text = "<RATEFILE><CUSTOMER><CONTRACTNUM>1</CONTRACTNUM>" +
                             Plan("A", "DA", "a", "12/31/2030") + "<NAME>n</NAME>" +
                             Plan("B", "DB", "b", "01/01/2020") + Plan("C", "DC", "c") +
                             "</CUSTOMER></RATEFILE>";
    Load(text);
    Merge(text);
    EXPECT_EQ("CUSTOMER\n  CONTRACTNUM = 1\n  NAME = n\n"
              "  INSURANCEPLAN\n    PLANKEY = A\n    DPKEY = DA\n    PLANDESC = a\n"
              "    EXPIRATIONDATE = 12/31/2030\n"
              "  INSURANCEPLAN\n    PLANKEY = B\n    DPKEY = DB\n    PLANDESC = b\n"
              "    EXPIRATIONDATE = 01/01/2020\n"
              "  INSURANCEPLAN\n    PLANKEY = C\n    DPKEY = DC\n    PLANDESC = c\n",
              Customer(0));
    EXPECT_EQ(3, m_doc->GetPlansImported());
    EXPECT_EQ(2, m_doc->GetPlansMatched()) << "the expired plan is not matched";
}

TEST_F(PlanMatchingTest, HelpersReportWhatTheyFoundAndRemoved) {
    Load(OneCustomer(Plan("A", "DA", "a", "01/01/2020") + Plan("B", "DB", "b") +
                     Plan("A", "DA2", "a2", "1/1/2020")));
    CXmlNode* customer = m_doc->m_pRootNode->FindChild("CUSTOMER", 0);
    CXmlString desc("unchanged");
    CXmlString dpKey("unchanged");
    EXPECT_FALSE(m_doc->FindPlanValues(customer, "A", desc, dpKey));
    EXPECT_STREQ("unchanged", desc.GetBuffer());
    EXPECT_FALSE(m_doc->FindPlanValues(customer, "X", desc, dpKey));
    EXPECT_TRUE(m_doc->FindPlanValues(customer, "B", desc, dpKey));
    EXPECT_STREQ("b", desc.GetBuffer());
    EXPECT_STREQ("DB", dpKey.GetBuffer());

    EXPECT_TRUE(m_doc->RemovePlans(customer, "A"));
    EXPECT_FALSE(m_doc->RemovePlans(customer, "A"));
    EXPECT_EQ("CUSTOMER\n  CONTRACTNUM = 1\n"
              "  INSURANCEPLAN\n    PLANKEY = B\n    DPKEY = DB\n    PLANDESC = b\n",
              Customer(0));
    EXPECT_FALSE(m_doc->RemovePlans(nullptr, "B"));
    EXPECT_FALSE(m_doc->FindPlanValues(nullptr, "B", desc, dpKey));
    m_doc->MergePlans(nullptr, customer);
    m_doc->MergeCustomerItem(customer, nullptr);
    EXPECT_EQ(0, m_doc->GetPlansImported());
}

TEST_F(PlanMatchingTest, ClearPlanValuesEmptiesTheRecords) {
    Load(OneCustomer(Plan("A", "DA", "a")));
    Merge(OneCustomer(Plan("A", "", "") + Plan("B", "", "")));
    ASSERT_EQ(2u, m_doc->GetPlanValues().size());
    EXPECT_STREQ("B", m_doc->GetPlanValues()[1]->m_strPlanKey.GetBuffer());
    EXPECT_TRUE(m_doc->GetPlanValues()[1]->m_strPlanDesc.IsEmpty());
    m_doc->ClearPlanValues();
    EXPECT_TRUE(m_doc->GetPlanValues().empty());
}
