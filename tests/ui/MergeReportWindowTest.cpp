// The merge report window on the real frame: View, Merge Report after File,
// Merge of the bundled samples, its rows against the command-line tool's
// report of the same merge, the filter, the sort, a double-click, Save As
// CSV, and the window after a delete, an edit, a second merge and File, New.
#include "support/GuiTest.h"

#include "document/MergeReport.h"
#include "resources/Resource.h"
#include "ui/CommandIds.h"
#include "ui/MergeReportKeeper.h"
#include "ui/MergeReportList.h"
#include "ui/MergeReportWindow.h"
#include "xml/XmlNode.h"

#include <gmock/gmock.h>
#include <wx/choice.h>

#include <algorithm>
#include <sstream>

using ::testing::ElementsAre;

namespace {

const std::string kSource = QUILLMAR_SOURCE_DIR;

// The lines of a CSV text without its header; CR LF line ends.
std::vector<std::string> CsvLines(const std::string& csv) {
    std::vector<std::string> lines;
    size_t start = csv.find("\r\n") + 2;
    for (size_t end; (end = csv.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(csv.substr(start, end - start));
    }
    return lines;
}

class MergeReportWindowTest : public GuiTest {
protected:
    std::string m_cliReport;

    void SetUp() override {
        GuiTest::SetUp();
        m_cliReport = ReadFileBytes(kSource + "/tests/cli/data/rates-merge-report.csv");
        StartWith(m_folder.Write("rates.xml", ReadFileBytes(kSource + "/samples/rates.xml")));
    }

    void Merge() {
        m_platform->m_chosenFiles.push_back(kSource + "/samples/rates-new.xml");
        Frame().RunCommand(ID_FILE_MERGE);
        ProcessEvents();
    }
    CMergeReportWindow* Window() const { return Frame().GetMergeReport().GetWindow(); }
    CMergeReportList& List() const { return Window()->GetList(); }
    void OpenReport() {
        Frame().RunCommand(ID_VIEW_MERGE_REPORT);
        ProcessEvents();
        ASSERT_NE(nullptr, Window());
        ASSERT_TRUE(Window()->IsShown());
    }
    std::string Text(long line, ReportColumn column) const {
        return std::string(List().GetLineText(line, column).utf8_str());
    }
    // The lines the list shows, in the CSV file's form.
    std::vector<std::string> ShownLines() const {
        std::vector<std::string> lines;
        for (long line = 0; line < List().GetItemCount(); ++line) {
            std::string csv;
            for (int column = 0; column < kReportColumnCount; ++column) {
                csv += (column ? "," : "") +
                       CMergeReport::CsvField(Text(line, static_cast<ReportColumn>(column)));
            }
            lines.push_back(csv);
        }
        return lines;
    }
    void ChooseFilter(int choice) {
        Window()->GetFilter().SetSelection(choice);
        wxCommandEvent event(wxEVT_CHOICE, Window()->GetFilter().GetId());
        event.SetInt(choice);
        event.SetEventObject(&Window()->GetFilter());
        Window()->GetFilter().ProcessWindowEvent(event);
    }
    void ClickHeading(ReportColumn column) {
        wxListEvent event(wxEVT_LIST_COL_CLICK, List().GetId());
        event.m_col = static_cast<int>(column);
        event.SetEventObject(&List());
        List().ProcessWindowEvent(event);
    }
    void DoubleClick(long line) {
        wxListEvent event(wxEVT_LIST_ITEM_ACTIVATED, List().GetId());
        event.m_itemIndex = line;
        event.SetEventObject(&List());
        List().ProcessWindowEvent(event);
        ProcessEvents();
    }
    long LineOf(const std::string& planKey, const std::string& outcome) const {
        for (long line = 0; line < List().GetItemCount(); ++line) {
            if (Text(line, ReportColumn::kPlanKey) == planKey &&
                Text(line, ReportColumn::kOutcome) == outcome) {
                return line;
            }
        }
        return -1;
    }
};

TEST_F(MergeReportWindowTest, IsOfferedOnceAMergeHasRunInThisDocument) {
    EXPECT_FALSE(MenuEnabled(ID_VIEW_MERGE_REPORT));
    EXPECT_EQ("&Merge Report", MenuLabel(ID_VIEW_MERGE_REPORT));
    Merge();
    // The summary stays as it is; the report waits to be asked for.
    ASSERT_EQ(1u, m_platform->m_boxes.size());
    EXPECT_EQ(0u, m_platform->m_boxes[0].strText.find("The two rate files are now merged"));
    EXPECT_EQ(nullptr, Window());
    EXPECT_TRUE(MenuEnabled(ID_VIEW_MERGE_REPORT));
    OpenReport();
    m_platform->m_answers.push_back(MsgAnswer::No);
    Frame().RunCommand(ID_FILE_NEW);
    ProcessEvents();
    EXPECT_FALSE(MenuEnabled(ID_VIEW_MERGE_REPORT));
    EXPECT_FALSE(Window()->IsShown());
    EXPECT_EQ(0, List().GetItemCount());
}

TEST_F(MergeReportWindowTest, ShowsTheCommandLineReportsRowsAndSavesItsCsv) {
    Merge();
    OpenReport();
    EXPECT_EQ(CsvLines(m_cliReport), ShownLines());
    const std::string saved = m_folder.File("review.csv");
    m_platform->m_chosenFiles.push_back(saved);
    Window()->SaveAsCsv();
    ASSERT_EQ(2u, m_platform->m_fileDialogs.size());
    EXPECT_FALSE(m_platform->m_fileDialogs.back().bOpen);
    EXPECT_EQ("csv", m_platform->m_fileDialogs.back().strDefaultExt);
    EXPECT_EQ(m_cliReport, ReadFileBytes(saved));
}

TEST_F(MergeReportWindowTest, FiltersByEachOutcome) {
    Merge();
    OpenReport();
    const std::vector<std::string> all = CsvLines(m_cliReport);
    const std::span<const MergeOutcome> outcomes = AllOutcomes();
    for (int choice = 0; choice <= static_cast<int>(outcomes.size()); ++choice) {
        ChooseFilter(choice);
        std::vector<std::string> expected;
        for (const std::string& line : all) {
            // The third field; the sample's keys hold no commas.
            const size_t start = line.find(',', line.find(',') + 1) + 1;
            const std::string outcome = line.substr(start, line.find(',', start) - start);
            if (choice == 0 || outcome == OutcomeText(outcomes[choice - 1])) {
                expected.push_back(line);
            }
        }
        // No plan of the samples is kept from an earlier pairing.
        EXPECT_EQ(choice == 5, expected.empty()) << "choice " << choice;
        EXPECT_EQ(expected, ShownLines()) << "choice " << choice;
    }
}

TEST_F(MergeReportWindowTest, SortsByAnyColumnBothWays) {
    Merge();
    OpenReport();
    const std::vector<std::string> all = CsvLines(m_cliReport);
    const auto lower = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return text;
    };
    for (int column = 0; column < kReportColumnCount; ++column) {
        for (const bool ascending : {true, false}) {
            ClickHeading(static_cast<ReportColumn>(column));
            std::vector<std::string> texts;
            for (long line = 0; line < List().GetItemCount(); ++line) {
                texts.push_back(lower(Text(line, static_cast<ReportColumn>(column))));
            }
            std::vector<std::string> sorted = texts;
            std::stable_sort(sorted.begin(), sorted.end());
            if (!ascending) {
                std::reverse(sorted.begin(), sorted.end());
            }
            EXPECT_EQ(sorted, texts) << "column " << column << (ascending ? " up" : " down");
            std::vector<std::string> lines = ShownLines();
            std::vector<std::string> expected = all;
            std::sort(lines.begin(), lines.end());
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(expected, lines);
        }
    }
}

TEST_F(MergeReportWindowTest, DoubleClickShowsThePlanOrTheRemovedPlansCustomer) {
    Merge();
    OpenReport();
    struct Case {
        const char* planKey;
        const char* outcome;
        const char* selectedLabel;
        const char* caption;
    };
    const Case cases[] = {
        {"BW-CL-60", "carried over", "INSURANCEPLAN - Credit Life 60 mo - front desk",
         "INSURANCEPLAN:"},
        {"BW-AH-14R", "not carried because expired",
         "INSURANCEPLAN - Disability 14 Day Retroactive", "INSURANCEPLAN:"},
        {"BW-AH-14R", "removed", "CUSTOMER", "CUSTOMER:"},
    };
    for (const Case& test : cases) {
        const long line = LineOf(test.planKey, test.outcome);
        ASSERT_GE(line, 0) << test.planKey;
        DoubleClick(line);
        const wxTreeItemId selected = Tree().GetSelection();
        ASSERT_TRUE(selected.IsOk()) << test.planKey;
        EXPECT_EQ(test.selectedLabel, Label(selected));
        CXmlNode* node = Tree().GetItemNode(selected);
        ASSERT_NE(nullptr, node);
        EXPECT_EQ(node, Tree().GetSelectedNode());
        const CXmlNode* customer =
            std::string(test.selectedLabel) == "CUSTOMER" ? node : node->GetParent();
        EXPECT_EQ("40117", std::string(customer->GetChildText("CONTRACTNUM", 0).GetBuffer()));
        EXPECT_TRUE(Tree().IsVisible(selected));
        EXPECT_EQ(test.caption, std::string(Detail().GetCaption().utf8_str()));
    }
}

TEST_F(MergeReportWindowTest, FollowsADeleteAnEditAndASecondMerge) {
    Merge();
    OpenReport();
    const long line = LineOf("BW-CL-60", "carried over");
    ASSERT_GE(line, 0);
    const int before = List().GetItemCount();
    DoubleClick(line);

    // An edit: the new value shows, the old one stays.
    Select(FindItem(
        {"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Credit Life 60 mo - front desk", "PLANDESC"}));
    TypeText("Reviewed");
    PressSet();
    ProcessEvents();
    EXPECT_EQ("Reviewed", Text(LineOf("BW-CL-60", "carried over"), ReportColumn::kNewPlanDesc));
    EXPECT_EQ("Credit Life 60 mo - front desk",
              Text(LineOf("BW-CL-60", "carried over"), ReportColumn::kOldPlanDesc));

    // A delete: the plan's row goes, the rest stay.
    Select(FindItem({"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Reviewed"}));
    m_platform->m_answers.push_back(MsgAnswer::Yes);
    Frame().RunCommand(ID_EDIT_DELETE);
    ProcessEvents();
    EXPECT_EQ(before - 1, List().GetItemCount());
    EXPECT_EQ(-1, LineOf("BW-CL-60", "carried over"));
    std::vector<std::string> expected = CsvLines(m_cliReport);
    std::erase_if(expected, [](const std::string& row) {
        return row.rfind("40117,BW-CL-60,carried over,", 0) == 0;
    });
    EXPECT_EQ(expected, ShownLines());

    // A second merge: while its summary is up the window shows nothing, then
    // the new merge's rows.
    int shownWhileBoxUp = -1;
    m_platform->m_whileBoxUp = [&](const CShownBox&) { shownWhileBoxUp = List().GetItemCount(); };
    Merge();
    EXPECT_EQ(0, shownWhileBoxUp);
    EXPECT_TRUE(Window()->IsShown());
    const CMergeReport& report = Frame().GetMergeReport().GetReport();
    EXPECT_EQ(CsvLines(report.BuildCsv()), ShownLines());
    // The plan deleted is not there to carry its values.
    EXPECT_GE(LineOf("BW-CL-60", "no match"), 0);
}

} // namespace

TEST_F(MergeReportWindowTest, ReportsOnWhatWasReadOfADamagedFile) {
    // The file ends inside its second customer: the tree keeps what was read.
    std::string damaged = ReadFileBytes(kSource + "/samples/rates.xml");
    damaged.resize(damaged.find("<CONTRACTNUM>40122"));
    m_platform->m_chosenFiles.push_back(m_folder.Write("damaged.xml", damaged));
    Frame().RunCommand(ID_FILE_OPEN);
    ProcessEvents();
    ASSERT_NE(nullptr, Doc().m_pRootNode);
    Merge();
    OpenReport();
    // Every row's plan is one of the tree's, and the double-click finds it.
    ASSERT_GT(List().GetItemCount(), 0);
    for (long line = 0; line < List().GetItemCount(); ++line) {
        const CMergeReportRow* row = List().RowAt(line);
        ASSERT_NE(nullptr, row);
        DoubleClick(line);
        EXPECT_EQ(row->pPlan ? row->pPlan : row->pCustomer, Tree().GetSelectedNode())
            << Text(line, ReportColumn::kPlanKey);
    }
    EXPECT_EQ(CsvLines(Frame().GetMergeReport().GetReport().BuildCsv()), ShownLines());
}
