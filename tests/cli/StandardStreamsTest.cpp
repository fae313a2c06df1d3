// "-" as a file: standard input for the files read, standard output for -o,
// --report and --pdf, and "./-" for a file really named "-".
#include "support/CliRunner.h"
#include "support/EngineText.h"
#include "support/TestFiles.h"

#include "resources/Resource.h"
#include "resources/StringTable.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kDashFile = "<RATEFILE><CUSTOMER></CUSTOMER></RATEFILE>";

class StandardStreamsTest : public ::testing::Test {
protected:
    CTestFolder m_folder;
    CCliOptions m_here;

    void SetUp() override {
        fs::copy_file(SourceFile("samples/rates.xml"), m_folder.File("rates.xml"));
        fs::copy_file(SourceFile("samples/rates-new.xml"), m_folder.File("rates-new.xml"));
        WriteFileText(m_folder.File("-"), kDashFile);
        WriteFileText(m_folder.File("damaged.xml"), "<RATEFILE>\n<CUSTOMER>");
        WriteFileText(m_folder.File("empty.xml"), "");
        m_here.strWorkingDir = m_folder.Path().string();
    }
    CCliRun Run(const std::vector<std::string>& args, const std::string& input = {}) const {
        CCliOptions options = m_here;
        options.strStdinFile = input.empty() ? std::string() : m_folder.File(input);
        return RunCli(args, options);
    }
};

} // namespace

TEST_F(StandardStreamsTest, DashReadsStandardInputAndWritesStandardOutput) {
    const std::string rates = m_folder.File("rates.xml");
    const std::vector<std::string> today = {"--today", "03/15/2025"};
    // The same commands on files, for what the streams must give.
    const CCliRun check = Run({"check", "rates.xml"});
    const CCliRun tree = Run({"tree", "rates.xml"});
    const CCliRun merge = Run({"merge", "rates.xml", "rates-new.xml", "-o", "merged.xml", today[0],
                               today[1], "--report", "merged.csv"});
    ASSERT_EQ(0, merge.nStatus) << merge.strErr;
    const std::string merged = ReadFileText(m_folder.File("merged.xml"));
    const std::string report = ReadFileText(m_folder.File("merged.csv"));
    ASSERT_FALSE(merged.empty());
    ASSERT_FALSE(report.empty());

    struct Case {
        std::vector<std::string> args;
        std::string input; // the file standard input reads, in the folder
        int status;
        std::string out;
        std::string err;
    };
    const std::string noRoot = "quillmar-cli: standard input: error 4: " +
                               std::string(CStringTable::Get(IDS_LOAD_NO_ROOT)) + "\n";
    const std::string mismatch = "quillmar-cli: standard input:2:1: error 1: " +
                                 std::string(CStringTable::Get(IDS_LOAD_TAG_MISMATCH)) + "\n";
    const std::vector<Case> cases = {
        {{"check", "-"}, "rates.xml", 0, check.strOut, ""},
        {{"tree", "-"}, "rates.xml", 0, tree.strOut, ""},
        // A file named "-" is reached by its path.
        {{"check", "./-"}, "rates.xml", 0, "RATEFILE: 1 customer, 0 plans\n", ""},
        {{"format", "-"}, "rates.xml", 0, SavedText(rates, false), ""},
        {{"format", "-", "--compressed", "-o", "-"}, "rates.xml", 0, SavedText(rates, true), ""},
        {{"format", "rates.xml", "-o", "-"}, "", 0, SavedText(rates, false), ""},
        // The merged file alone on standard output, the summary with the
        // messages; nothing to back up.
        {{"merge", "rates.xml", "-", "-o", "-", "--backup", today[0], today[1]},
         "rates-new.xml",
         0,
         merged,
         "quillmar-cli: " + merge.strOut},
        {{"merge", "-", "rates-new.xml", "-o", "-", today[0], today[1]},
         "rates.xml",
         0,
         merged,
         "quillmar-cli: " + merge.strOut},
        // The report alone on standard output, the merged file where -o says.
        {{"merge", "rates.xml", "rates-new.xml", "-o", "merged.xml", "--report", "-", today[0],
          today[1]},
         "",
         0,
         report,
         "quillmar-cli: " + merge.strOut},
        {{"merge", "rates.xml", "rates-new.xml", "-o", "-", "--report", "-"},
         "",
         2,
         "",
         "quillmar-cli: standard output ('-') can be written only once\n"
         "usage: " +
             std::string("quillmar-cli merge BASE INCOMING -o OUT [--today MM/DD/YYYY] "
                         "[--compressed] [--backup] [--report REPORT.csv]\n") +
             "Try 'quillmar-cli --help' for more information.\n"},
        // Messages name standard input.
        {{"check", "-"}, "damaged.xml", 1, "", mismatch},
        {{"format", "-"}, "empty.xml", 1, "", noRoot},
        {{"check", "-"}, "", 1, "", noRoot},
        // Standard input can be read once.
        {{"merge", "-", "-", "-o", "-"},
         "rates.xml",
         2,
         "",
         "quillmar-cli: standard input ('-') can be read only once\n"
         "usage: " +
             std::string("quillmar-cli merge BASE INCOMING -o OUT [--today MM/DD/YYYY] "
                         "[--compressed] [--backup] [--report REPORT.csv]\n") +
             "Try 'quillmar-cli --help' for more information.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args) + " < " + c.input);
        const CCliRun run = Run(c.args, c.input);
        EXPECT_EQ(c.status, run.nStatus);
        EXPECT_EQ(c.out, run.strOut);
        EXPECT_EQ(c.err, run.strErr);
    }
    // The listing as PDF on standard output.
    const CCliRun listing = Run({"print", "rates.xml", "--pdf", "-"});
    EXPECT_EQ(0, listing.nStatus) << listing.strErr;
    EXPECT_EQ("%PDF-", listing.strOut.substr(0, 5));
    EXPECT_EQ("", listing.strErr);
    // The file named "-" was never written, and no other file was made.
    EXPECT_EQ(kDashFile, ReadFileText(m_folder.File("-")));
    EXPECT_EQ((std::vector<std::string>{"-", "damaged.xml", "empty.xml", "merged.csv", "merged.xml",
                                        "rates-new.xml", "rates.xml"}),
              m_folder.List());
}
