// The merge report: what the merge did to each plan, watched through the
// document's merge observer.
#include "cli/MergeReport.h"
#include "cli/ConsoleDocument.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {

using Row = CMergeReport::CRow;

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
        for (const Row& row : m_report.BuildRows(m_base.Doc().m_pRootNode)) {
            lines.push_back(row.strContractNum + " " + row.strPlanKey + " " + row.strOutcome +
                            " | " + row.old.strPlanDesc + "/" + row.old.strDpKey + " | " +
                            row.now.strPlanDesc + "/" + row.now.strDpKey + " | " +
                            row.delivered.strPlanDesc + "/" + row.delivered.strDpKey);
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
              m_report.BuildCsv(m_base.Doc().m_pRootNode));
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
