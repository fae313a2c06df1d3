// The merge report: what the merge did to each plan, watched through the
// document's merge observer.
#include "document/MergeReport.h"
#include "cli/ConsoleDocument.h"
#include "support/TestFiles.h"
#include "xml/XmlNode.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr const char* kLoaded = R"(<RATEFILE>
  <CUSTOMER><CONTRACTNUM>C1</CONTRACTNUM>
    <INSURANCEPLAN><PLANKEY>K1</PLANKEY><PLANDESC>d1</PLANDESC><DPKEY>p1</DPKEY></INSURANCEPLAN>
    <INSURANCEPLAN><PLANKEY>K5</PLANKEY><PLANDESC>old5</PLANDESC><DPKEY>q5</DPKEY>
      <EXPIRATIONDATE>03/14/2025</EXPIRATIONDATE></INSURANCEPLAN>
    <INSURANCEPLAN><PLANKEY>K5</PLANKEY><PLANDESC>d5</PLANDESC><DPKEY>p5</DPKEY>
      <EXPIRATIONDATE>03/15/2025</EXPIRATIONDATE></INSURANCEPLAN>
    <INSURANCEPLAN><PLANKEY>K6</PLANKEY><PLANDESC>d6</PLANDESC><DPKEY>p6</DPKEY>
      <EXPIRATIONDATE>1/1/2020</EXPIRATIONDATE></INSURANCEPLAN>
  </CUSTOMER>
  <CUSTOMER><CONTRACTNUM>C2</CONTRACTNUM>
    <INSURANCEPLAN><PLANKEY>K1</PLANKEY><PLANDESC>d2</PLANDESC><DPKEY>p2</DPKEY></INSURANCEPLAN>
    <INSURANCEPLAN><PLANKEY>K2</PLANKEY><PLANDESC>d3</PLANDESC><DPKEY>p3</DPKEY></INSURANCEPLAN>
  </CUSTOMER>
  <CUSTOMER><CONTRACTNUM>C3</CONTRACTNUM>
    <INSURANCEPLAN><PLANKEY>K9</PLANKEY><PLANDESC>d9</PLANDESC><DPKEY>p9</DPKEY></INSURANCEPLAN>
  </CUSTOMER>
</RATEFILE>)";

constexpr const char* kIncoming = R"(<RATEFILE>
  <CUSTOMER><CONTRACTNUM>C1</CONTRACTNUM>
    <INSURANCEPLAN><PLANKEY>K1</PLANKEY><PLANDESC>new1</PLANDESC><DPKEY></DPKEY></INSURANCEPLAN>
    <INSURANCEPLAN><PLANKEY>K5</PLANKEY><PLANDESC>new5</PLANDESC><DPKEY>v5</DPKEY></INSURANCEPLAN>
    <INSURANCEPLAN><PLANKEY>K6</PLANKEY><PLANDESC>new6</PLANDESC><DPKEY>v6</DPKEY></INSURANCEPLAN>
  </CUSTOMER>
  <CUSTOMER><CONTRACTNUM>C2</CONTRACTNUM>
    <INSURANCEPLAN><PLANKEY>K1</PLANKEY><PLANDESC>new1b</PLANDESC><DPKEY>v1</DPKEY></INSURANCEPLAN>
    <INSURANCEPLAN><PLANKEY>K3</PLANKEY><PLANDESC>new3</PLANDESC></INSURANCEPLAN>
  </CUSTOMER>
  <CUSTOMER><CONTRACTNUM>C4</CONTRACTNUM>
    <INSURANCEPLAN><PLANKEY>K6</PLANKEY><PLANDESC>new6b</PLANDESC><DPKEY>w6</DPKEY></INSURANCEPLAN>
  </CUSTOMER>
</RATEFILE>)";

class MergeReportTest : public ::testing::Test {
protected:
    CTestFolder m_folder;
    CMergeReport m_report;
    CConsoleDocument m_base{{false, CCliDate{3, 15, 2025}}};

    void Merge(const std::string& loaded, const std::string& incoming) {
        const std::string loadedPath = m_folder.File("loaded.xml");
        const std::string incomingPath = m_folder.File("incoming.xml");
        WriteFileText(loadedPath, loaded);
        WriteFileText(incomingPath, incoming);
        ASSERT_TRUE(m_base.Open(loadedPath));
        m_base.Doc().SetMergeObserver(&m_report);
        m_base.Platform().QueueChosenFile(incomingPath);
        m_base.Doc().OnFileMerge();
        m_base.Doc().SetMergeObserver(nullptr);
        ASSERT_EQ(1u, m_base.Platform().TakeMessages().size());
    }

    // "contract plan outcome | old desc/dp | new desc/dp | delivered desc/dp"
    std::vector<std::string> Rows() const {
        std::vector<std::string> lines;
        for (const CMergeReportRow& row : m_report.Rows()) {
            const auto field = [&](ReportColumn column) {
                return std::string(m_report.Field(row, column));
            };
            using C = ReportColumn;
            lines.push_back(field(C::kContractNum) + " " + field(C::kPlanKey) + " " +
                            field(C::kOutcome) + " | " + field(C::kOldPlanDesc) + "/" +
                            field(C::kOldDpKey) + " | " + field(C::kNewPlanDesc) + "/" +
                            field(C::kNewDpKey) + " | " + field(C::kDeliveredPlanDesc) + "/" +
                            field(C::kDeliveredDpKey));
        }
        return lines;
    }
};

} // namespace

TEST_F(MergeReportTest, EveryPlanOfTheResultAndEveryRemovedPlanHasItsRow) {
    Merge(kLoaded, kIncoming);
    EXPECT_EQ((std::vector<std::string>{
                  // Pair C1: values found, found on the second try, all expired.
                  "C1 K1 carried over | d1/p1 | d1/p1 | new1/",
                  "C1 K5 carried over | d5/p5 | d5/p5 | new5/v5",
                  "C1 K6 not carried because expired | d6/p6 | new6/v6 | new6/v6",
                  "C1 K1 removed | d1/p1 | / | /",
                  "C1 K5 removed | old5/q5 | / | /",
                  "C1 K5 removed | d5/p5 | / | /",
                  "C1 K6 removed | d6/p6 | / | /",
                  // Pair C2: K1 was carried by the pair before, so the loaded
                  // plan stays and the incoming one takes the remembered values.
                  "C2 K1 kept from an earlier pairing | d2/p2 | d2/p2 | /",
                  "C2 K1 carried over | d1/p1 | d1/p1 | new1b/v1",
                  "C2 K3 no match | / | new3/ | new3/",
                  "C2 K2 removed | d3/p3 | / | /",
                  // A customer the delivery does not have.
                  "C3 K9 unchanged | d9/p9 | d9/p9 | /",
                  // A new customer: remembered values of an expired key.
                  "C4 K6 not carried because expired | d6/p6 | new6b/w6 | new6b/w6",
              }),
              Rows());
}

TEST_F(MergeReportTest, WithoutAPairingEveryPlanIsUnchanged) {
    Merge(kLoaded, "<RATEFILE><HEADER><VENDOR>V</VENDOR></HEADER></RATEFILE>");
    const std::vector<std::string> rows = Rows();
    ASSERT_EQ(7u, rows.size());
    for (const std::string& row : rows) {
        EXPECT_NE(std::string::npos, row.find(" unchanged | ")) << row;
    }
}

TEST_F(MergeReportTest, CsvHasAHeaderAndQuotesWhatNeedsIt) {
    Merge("<RATEFILE><CUSTOMER><CONTRACTNUM>1,2</CONTRACTNUM><INSURANCEPLAN>"
          "<PLANKEY>=SUM(A1)</PLANKEY><PLANDESC>say \"hi\"</PLANDESC></INSURANCEPLAN>"
          "</CUSTOMER></RATEFILE>",
          "<RATEFILE></RATEFILE>");
    EXPECT_EQ("CONTRACTNUM,PLANKEY,OUTCOME,OLD PLANDESC,NEW PLANDESC,OLD DPKEY,NEW DPKEY,"
              "DELIVERED PLANDESC,DELIVERED DPKEY\r\n"
              "\"1,2\",'=SUM(A1),unchanged,\"say \"\"hi\"\"\",\"say \"\"hi\"\"\",,,,\r\n",
              m_report.BuildCsv());
}

TEST(CsvFieldTest, QuotesAndDefusesFormulas) {
    EXPECT_EQ("plain text", CMergeReport::CsvField("plain text"));
    EXPECT_EQ("", CMergeReport::CsvField(""));
    EXPECT_EQ("\"a,b\"", CMergeReport::CsvField("a,b"));
    EXPECT_EQ("\"line\nbreak\"", CMergeReport::CsvField("line\nbreak"));
    EXPECT_EQ("\" padded \"", CMergeReport::CsvField(" padded "));
    EXPECT_EQ("'+1", CMergeReport::CsvField("+1"));
    EXPECT_EQ("'-x", CMergeReport::CsvField("-x"));
    EXPECT_EQ("'@cmd", CMergeReport::CsvField("@cmd"));
    EXPECT_EQ("\"'=1,2\"", CMergeReport::CsvField("=1,2"));
    EXPECT_EQ("a-b=c", CMergeReport::CsvField("a-b=c"));
    EXPECT_EQ("caf\xe9", CMergeReport::CsvField("caf\xe9"));
}

TEST_F(MergeReportTest, KeepsTheOldValuesAndForgetsWhatIsDestroyed) {
    Merge(kLoaded, kIncoming);
    CXmlNode* root = m_base.Doc().m_pRootNode;
    CXmlNode* c1 = root->FindChild("CUSTOMER", 0);
    CXmlNode* carried = c1->FindChild("INSURANCEPLAN", 0);
    // An edit after the merge: the new value shows, the old one stays.
    carried->FindChild("PLANDESC", 0)->SetText("edited");
    CXmlNode* c3 = root->FindChild("CUSTOMER", 2);
    c3->FindChild("INSURANCEPLAN", 0)->FindChild("PLANDESC", 0)->SetText("edited too");
    std::vector<std::string> rows = Rows();
    EXPECT_EQ("C1 K1 carried over | d1/p1 | edited/p1 | new1/", rows[0]);
    EXPECT_EQ("C3 K9 unchanged | d9/p9 | edited too/p9 | /", rows[11]);

    // A plan and a customer about to go: their rows are marked gone and
    // left out of the CSV.
    const size_t before = m_report.Rows().size();
    EXPECT_EQ(1u, m_report.ForgetNode(carried));
    c1->RemoveChild(carried);
    EXPECT_EQ(1u, m_report.ForgetNode(c3));
    root->RemoveChild(c3);
    EXPECT_EQ(0u, m_report.ForgetNode(c3));
    ASSERT_EQ(before, m_report.Rows().size());
    EXPECT_TRUE(m_report.Rows()[0].bGone);
    const std::string csv = m_report.BuildCsv();
    EXPECT_EQ(std::string::npos, csv.find("edited"));
    EXPECT_EQ(before + 1 - 2, static_cast<size_t>(std::count(csv.begin(), csv.end(), '\n')));

    // The next merge starts a new report.
    const std::string next = m_folder.File("next.xml");
    WriteFileText(next, "<RATEFILE><CUSTOMER><CONTRACTNUM>C2</CONTRACTNUM></CUSTOMER></RATEFILE>");
    m_base.Doc().SetMergeObserver(&m_report);
    m_base.Platform().QueueChosenFile(next);
    m_base.Doc().OnFileMerge();
    m_base.Doc().SetMergeObserver(nullptr);
    EXPECT_EQ((std::vector<std::string>{
                  "C1 K5 unchanged | d5/p5 | d5/p5 | /",
                  "C1 K6 unchanged | new6/v6 | new6/v6 | /",
                  "C2 K1 removed | d2/p2 | / | /",
                  "C2 K1 removed | d1/p1 | / | /",
                  "C2 K3 removed | new3/ | / | /",
                  "C4 K6 unchanged | new6b/w6 | new6b/w6 | /",
              }),
              Rows());
    m_report.Clear();
    EXPECT_FALSE(m_report.HasRun());
    EXPECT_TRUE(m_report.Rows().empty());
}
