// File names with blanks, quotes, leading dashes and bytes outside ASCII, in
// every subcommand: the tool passes names through untouched.
#include "support/CliRunner.h"
#include "support/EngineText.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// A folder and file names that a shell would need quoting for; "\xe9" is
// é in Windows-1252 (not valid UTF-8), "\xc3\xbc" is ü in UTF-8.
const std::string kFolder = "-odd \"folder\" 'x' caf\xe9";
const std::string kBase = "-base \"q\" \xc3\xbc.xml";
const std::string kIncoming = "--incoming 'a b'.xml";

class OddPathsTest : public ::testing::Test {
protected:
    CTestFolder m_root;
    fs::path m_folder;
    CCliOptions m_here;

    void SetUp() override {
        m_folder = m_root.Path() / kFolder;
        fs::create_directory(m_folder);
        fs::copy_file(SourceFile("samples/rates.xml"), m_folder / kBase);
        fs::copy_file(SourceFile("samples/rates-new.xml"), m_folder / kIncoming);
        m_here.strWorkingDir = m_folder.string();
    }
    std::string InFolder(const std::string& name) const { return (m_folder / name).string(); }
};

} // namespace

TEST_F(OddPathsTest, CheckAndTreeTakeAnyName) {
    // Relative names that begin with a dash follow "--".
    CCliRun run = RunCli({"check", "--", kBase}, m_here);
    EXPECT_EQ(0, run.nStatus) << run.strErr;
    EXPECT_EQ("RATEFILE: 5 customers, 9 plans\n", run.strOut);

    run = RunCli({"tree", InFolder(kIncoming)});
    EXPECT_EQ(0, run.nStatus) << run.strErr;
    EXPECT_EQ(0u, run.strOut.find("RATEFILE\n  HEADER\n"));

    // Without "--" such a name is taken for an option.
    run = RunCli({"check", kBase}, m_here);
    EXPECT_EQ(2, run.nStatus);
    // Messages name the file as given.
    run = RunCli({"check", "--", "-missing \xe9.xml"}, m_here);
    EXPECT_EQ(1, run.nStatus);
    EXPECT_EQ("quillmar-cli: -missing \xe9.xml: Failed to open document.\n", run.strErr);
}

TEST_F(OddPathsTest, FormatAndPrintWriteAnyName) {
    const std::string out = "-out \"1\" \xe9.xml";
    CCliRun run = RunCli({"format", "-o", out, "--", kBase}, m_here);
    EXPECT_EQ(0, run.nStatus) << run.strErr;
    EXPECT_EQ(SavedText(InFolder(kBase), false), ReadFileText(InFolder(out)));

    const std::string pdf = "-listing '\xc3\xbc'.pdf";
    run = RunCli({"print", "--pdf", pdf, InFolder(kBase)}, m_here);
    EXPECT_EQ(0, run.nStatus) << run.strErr;
    EXPECT_EQ(0u, ReadFileText(InFolder(pdf)).find("%PDF-"));
}

TEST_F(OddPathsTest, MergeReadsAndWritesAnyName) {
    const std::string report = "-report \"r\".csv";
    const CCliRun run = RunCli({"merge", "-o", kBase, "--backup", "--today", "03/15/2025",
                                "--report", report, "--", kBase, kIncoming},
                               m_here);
    EXPECT_EQ(0, run.nStatus) << run.strErr;
    EXPECT_NE(std::string::npos, run.strOut.find("Plans imported from the merged rate file: 10"));
    EXPECT_EQ(ReadFileText(SourceFile("tests/cli/data/rates-merge-report.csv")),
              ReadFileText(InFolder(report)));
    // The backup takes its time stamp before the name's first ".".
    int backups = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(m_folder)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("-base \"q\" \xc3\xbc-03152025-", 0) == 0) {
            ++backups;
            EXPECT_EQ(ReadFileText(SourceFile("samples/rates.xml")),
                      ReadFileText(entry.path().string()));
        }
    }
    EXPECT_EQ(1, backups);
}
