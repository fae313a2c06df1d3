// quillmar-cli merge: the merge of File, Merge from the command line, its
// summary, its result and report, backups, and the ways it can fail.
#include "support/CliRunner.h"
#include "support/EngineText.h"
#include "support/TestFiles.h"
#include "support/TreeDump.h"

#include "resources/Resource.h"
#include "resources/StringTable.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kToday = "03/15/2025";

class MergeCommandTest : public ::testing::Test {
protected:
    CTestFolder m_folder;
    std::string m_base;
    std::string m_incoming;
    std::string m_out;

    void SetUp() override {
        m_base = m_folder.File("rates.xml");
        m_incoming = m_folder.File("rates-new.xml");
        m_out = m_folder.File("merged.xml");
        fs::copy_file(SourceFile("samples/rates.xml"), m_base);
        fs::copy_file(SourceFile("samples/rates-new.xml"), m_incoming);
    }

    std::string File(const std::string& name, const std::string& text) {
        const std::string path = m_folder.File(name);
        WriteFileText(path, text);
        return path;
    }

    CCliRun Merge(std::vector<std::string> extra = {}) {
        std::vector<std::string> args{"merge", m_base, m_incoming, "-o", m_out, "--today", kToday};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunCli(args);
    }

    // The files of the folder whose names begin with prefix.
    std::vector<std::string> FilesStartingWith(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& name : m_folder.List()) {
            if (name.rfind(prefix, 0) == 0) {
                found.push_back(name);
            }
        }
        return found;
    }

    static std::string Summary(int imported, int matched) {
        return CStringTable::Format(IDS_MERGE_SUMMARY,
                                    {std::to_string(imported), std::to_string(matched)}) +
               "\n";
    }
};

} // namespace

TEST_F(MergeCommandTest, SampleDeliveryMergesAsWorkedOutByHand) {
    const std::string expected = SourceFile("tests/document/data/rates-merged.xml");
    const CCliRun run = Merge({"--report", m_folder.File("report.csv")});
    EXPECT_EQ(0, run.nStatus);
    EXPECT_EQ(Summary(10, 6), run.strOut);
    EXPECT_EQ("", run.strErr);
    EXPECT_EQ(DumpFile(expected), DumpFile(m_out));
    // Written as a save writes it: the declaration, then the indented form.
    EXPECT_EQ(SavedText(expected, false), ReadFileText(m_out));
    EXPECT_EQ(ReadFileText(SourceFile("tests/cli/data/rates-merge-report.csv")),
              ReadFileText(m_folder.File("report.csv")));
    // The inputs are untouched, and no backup was asked for.
    EXPECT_EQ(ReadFileText(SourceFile("samples/rates.xml")), ReadFileText(m_base));
    EXPECT_EQ((std::vector<std::string>{"merged.xml", "rates-new.xml", "rates.xml", "report.csv"}),
              m_folder.List());
}

TEST_F(MergeCommandTest, TodayDecidesWhichPlansHaveExpired) {
    CCliRun run = Merge({"--today", "01/01/2032"});
    EXPECT_EQ(2, run.nStatus) << "--today twice";

    run = RunCli({"merge", m_base, m_incoming, "-o", m_out, "--today", "01/01/2032"});
    EXPECT_EQ(0, run.nStatus);
    // Only Pinecrest's undated GAP plan is still valid.
    EXPECT_EQ(Summary(10, 1), run.strOut);

    // A plan expires on the day after its expiration date (12/31/2024 here).
    const std::string report = m_folder.File("report.csv");
    run = RunCli(
        {"merge", m_base, m_incoming, "-o", m_out, "--today", "12/31/2024", "--report", report});
    EXPECT_EQ(Summary(10, 7), run.strOut);
    EXPECT_NE(std::string::npos, ReadFileText(report).find("40117,BW-AH-14R,carried over,"));
}

TEST_F(MergeCommandTest, CompressedResultAndResultOverTheBase) {
    CCliRun run =
        RunCli({"merge", m_base, m_incoming, "-o", m_base, "--today", kToday, "--compressed"});
    EXPECT_EQ(0, run.nStatus);
    const std::string expected = SourceFile("tests/document/data/rates-merged.xml");
    EXPECT_EQ(SavedText(expected, true), ReadFileText(m_base));
    EXPECT_EQ((std::vector<std::string>{"rates-new.xml", "rates.xml"}), m_folder.List());
}

TEST_F(MergeCommandTest, BackupKeepsTheFileThatTheResultReplaces) {
    const std::string before = ReadFileText(m_base);
    CCliRun run =
        RunCli({"merge", m_base, m_incoming, "-o", m_base, "--today", kToday, "--backup"});
    EXPECT_EQ(0, run.nStatus);
    // rates-MMDDYYYY-HHMMSS.xml, dated by --today, timed by the clock.
    std::vector<std::string> backups = FilesStartingWith("rates-03152025-");
    ASSERT_EQ(1u, backups.size());
    EXPECT_EQ(std::string("rates-03152025-hhmmss.xml").size(), backups[0].size());
    EXPECT_EQ(before, ReadFileText(m_folder.File(backups[0])));
    EXPECT_EQ(DumpFile(SourceFile("tests/document/data/rates-merged.xml")), DumpFile(m_base));

    // The backup is of the file OUT replaces, not of BASE...
    const std::string out = File("out.xml", "previous result");
    run = RunCli({"merge", m_incoming, m_incoming, "-o", out, "--backup"});
    EXPECT_EQ(0, run.nStatus);
    backups = FilesStartingWith("out-");
    ASSERT_EQ(1u, backups.size());
    EXPECT_EQ("previous result", ReadFileText(m_folder.File(backups[0])));
    EXPECT_EQ(1u, FilesStartingWith("rates-new").size());

    // ...and there is none when OUT is a new file.
    run = RunCli({"merge", m_incoming, m_incoming, "-o", m_folder.File("fresh.xml"), "--backup"});
    EXPECT_EQ(0, run.nStatus);
    EXPECT_EQ((std::vector<std::string>{"fresh.xml"}), FilesStartingWith("fresh"));
}

TEST_F(MergeCommandTest, WithoutTheAskedForBackupNothingIsReplaced) {
    const std::string out = File("merged", "no dot in the name");
    const CCliRun run = RunCli({"merge", m_base, m_incoming, "-o", out, "--backup"});
    EXPECT_EQ(3, run.nStatus);
    EXPECT_EQ("no dot in the name", ReadFileText(out));
    EXPECT_NE(std::string::npos, run.strErr.find("gets no backup copy"));
    EXPECT_NE(std::string::npos, run.strErr.find(out + ": Failed to save document.\n"));
}

TEST_F(MergeCommandTest, NoMatchedPlanGivesTheOtherSummary) {
    const std::string other = File("other.xml", "<RATEFILE><CUSTOMER><CONTRACTNUM>9</CONTRACTNUM>"
                                                "<INSURANCEPLAN><PLANKEY>Z</PLANKEY>"
                                                "</INSURANCEPLAN></CUSTOMER></RATEFILE>");
    const CCliRun run = RunCli({"merge", m_base, other, "-o", m_out});
    EXPECT_EQ(0, run.nStatus);
    EXPECT_EQ(std::string(CStringTable::Get(IDS_MERGE_NO_MATCH)) + "\n", run.strOut);
    EXPECT_EQ(0u, run.strOut.find("No PLANKEY's matched."));
    EXPECT_NE(std::string::npos, DumpFile(m_out).find("      PLANKEY = Z\n"));
}

TEST_F(MergeCommandTest, FilesThatAreNoRateFilesAreRefused) {
    const std::string wrong = File("wrong.xml", "<ROOTNODE>Root Node Text</ROOTNODE>");
    CCliRun run = RunCli({"merge", wrong, m_incoming, "-o", m_out});
    EXPECT_EQ(1, run.nStatus);
    EXPECT_EQ("", run.strOut);
    EXPECT_EQ("quillmar-cli: " + wrong + ": " + CStringTable::Get(IDS_MERGE_NO_RATE_FILE) + "\n",
              run.strErr);

    run = RunCli({"merge", m_base, wrong, "-o", m_out});
    EXPECT_EQ(1, run.nStatus);
    EXPECT_EQ("quillmar-cli: " + wrong + ": " + CStringTable::Get(IDS_MERGE_INVALID_FILE) + "\n",
              run.strErr);
    EXPECT_FALSE(fs::exists(m_out));
}

TEST_F(MergeCommandTest, DamagedMissingOrEmptyInputsStopTheMerge) {
    const std::string damaged = File("damaged.xml", "<RATEFILE><CUSTOMER></RATEFILE>");
    const std::string empty = File("empty.xml", "");
    const std::string missing = m_folder.File("missing.xml");
    for (const std::string& input : {damaged, empty, missing}) {
        for (bool asBase : {true, false}) {
            const CCliRun run = RunCli(
                {"merge", asBase ? input : m_base, asBase ? m_incoming : input, "-o", m_out});
            EXPECT_EQ(1, run.nStatus) << input;
            EXPECT_EQ("", run.strOut);
            // The file's name, then where reading stopped when it is known.
            EXPECT_EQ(0u, run.strErr.find("quillmar-cli: " + input + ":")) << run.strErr;
            EXPECT_FALSE(fs::exists(m_out));
        }
    }
    const CCliRun run = RunCli({"merge", m_base, damaged, "-o", m_out});
    EXPECT_EQ("quillmar-cli: " + damaged +
                  ":1:21: error 1: " + CStringTable::Get(IDS_LOAD_TAG_MISMATCH) + "\n",
              run.strErr);
}

TEST_F(MergeCommandTest, UnwritableResultOrReportIsReported) {
    const std::string locked = File("locked.xml", "locked");
    fs::permissions(locked, fs::perms::owner_read);
    CCliRun run = RunCli({"merge", m_base, m_incoming, "-o", locked, "--backup"});
    EXPECT_EQ(3, run.nStatus);
    // The summary still tells what the merge found.
    EXPECT_EQ(0u, run.strOut.find("The two rate files are now merged together."));
    EXPECT_EQ("quillmar-cli: " + locked + ": Failed to save document.\n", run.strErr);
    EXPECT_EQ("locked", ReadFileText(locked));

    const std::string report = m_folder.File("no/such/folder/report.csv");
    run = Merge({"--report", report});
    EXPECT_EQ(3, run.nStatus);
    EXPECT_EQ("quillmar-cli: " + report + ": the report could not be written.\n", run.strErr);
}
