// quillmar-cli check, the exit statuses of damaged, empty, missing and wrong
// files, and the program's help, version and usage errors.
#include "support/CliRunner.h"
#include "support/TestFiles.h"

#include "resources/Resource.h"
#include "resources/StringTable.h"

#include <gtest/gtest.h>

namespace {

class CheckCommandTest : public ::testing::Test {
protected:
    CTestFolder m_folder;

    std::string File(const std::string& name, const std::string& text) {
        const std::string path = m_folder.File(name);
        WriteFileText(path, text);
        return path;
    }
    // The line check reports for a load error of path, with where reading
    // stopped (":LINE:COLUMN") when the reader knows it.
    static std::string LoadError(const std::string& path, int code, int message,
                                 const std::string& position = {}) {
        return "quillmar-cli: " + path + position + ": error " + std::to_string(code) + ": " +
               CStringTable::Get(message) + "\n";
    }
};

} // namespace

TEST_F(CheckCommandTest, CountsCustomersAndPlans) {
    CCliRun run = RunCli({"check", SourceFile("samples/rates.xml")});
    EXPECT_EQ(0, run.nStatus);
    EXPECT_EQ("RATEFILE: 5 customers, 9 plans\n", run.strOut);
    EXPECT_EQ("", run.strErr);

    run = RunCli({"check", SourceFile("samples/rates-new.xml")});
    EXPECT_EQ(0, run.nStatus);
    EXPECT_EQ("RATEFILE: 5 customers, 10 plans\n", run.strOut);

    // Children are found as the merge finds them: letter case ignored.
    run = RunCli(
        {"check", File("one.xml", "<RATEFILE><customer><InsurancePlan></InsurancePlan></customer>"
                                  "<HEADER></HEADER></RATEFILE>")});
    EXPECT_EQ(0, run.nStatus);
    EXPECT_EQ("RATEFILE: 1 customer, 1 plan\n", run.strOut);

    run = RunCli({"check", File("none.xml", "<RATEFILE></RATEFILE>")});
    EXPECT_EQ("RATEFILE: 0 customers, 0 plans\n", run.strOut);
}

TEST_F(CheckCommandTest, LoadErrorsGiveTheirCodeAndMessage) {
    const std::string mismatch = File("mismatch.xml", "<RATEFILE><HEADER>x</RATEFILE>");
    CCliRun run = RunCli({"check", mismatch});
    EXPECT_EQ(1, run.nStatus);
    EXPECT_EQ("", run.strOut);
    // Reading stopped at the end tag that does not close <HEADER>.
    EXPECT_EQ(LoadError(mismatch, 1, IDS_LOAD_TAG_MISMATCH, ":1:20"), run.strErr);

    // A tree is built up to the damage, but the tool never works on it.
    const std::string unclosed = File("unclosed.xml", "<RATEFILE><CUSTOMER></CUSTOMER><HEADER");
    run = RunCli({"check", unclosed});
    EXPECT_EQ(1, run.nStatus);
    EXPECT_EQ(LoadError(unclosed, 2, IDS_LOAD_TAG_NOT_CLOSED, ":1:32"), run.strErr);
    EXPECT_EQ("Error reading XML file.  A tag may have not been closed properly.",
              std::string(CStringTable::Get(IDS_LOAD_TAG_NOT_CLOSED)));

    const std::string text = File("text.xml", "<?xml version=\"1.0\"?>just text");
    run = RunCli({"check", text});
    EXPECT_EQ(1, run.nStatus);
    EXPECT_EQ(LoadError(text, 4, IDS_LOAD_NO_ROOT), run.strErr);
}

TEST_F(CheckCommandTest, LoadErrorsSayWhereReadingStopped) {
    struct Case {
        const char* text;
        int code;
        int message;
        const char* position; // "" when the reader knows no position
    };
    const Case cases[] = {
        // A child's start tag without '>': its '<', lines counted by LF
        // (a CR before it is not a column of the line).
        {"<RATEFILE>\r\n<CUSTOMER></CUSTOMER>\n  <HEADER", 2, IDS_LOAD_TAG_NOT_CLOSED, ":3:3"},
        // A "<!" construct without '>'.
        {"<A>\n<!-- never closed", 2, IDS_LOAD_TAG_NOT_CLOSED, ":2:1"},
        // Columns count bytes: the "\xc3\xa9" before the tag is two.
        {"<A>\xc3\xa9<B", 2, IDS_LOAD_TAG_NOT_CLOSED, ":1:6"},
        // An end tag missing: the start tag of the innermost element left
        // open.
        {"<A>\n <B>text\n", 1, IDS_LOAD_TAG_MISMATCH, ":2:2"},
        // The root's start tag cannot be read.
        {"\n\n<RATEFILE", 1, IDS_LOAD_TAG_MISMATCH, ":3:1"},
        // No root element: no position.
        {"<?xml version=\"1.0\"?>\njust text", 4, IDS_LOAD_NO_ROOT, ""},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string path = File("case" + std::to_string(index++) + ".xml", c.text);
        const CCliRun run = RunCli({"check", path});
        EXPECT_EQ(1, run.nStatus);
        EXPECT_EQ(LoadError(path, c.code, c.message, c.position), run.strErr);
    }
}

TEST_F(CheckCommandTest, EmptyMissingAndFolderPathsFail) {
    // The desktop application opens an empty file without reading it; read,
    // it holds no root element.
    const std::string empty = File("empty.xml", "");
    CCliRun run = RunCli({"check", empty});
    EXPECT_EQ(1, run.nStatus);
    EXPECT_EQ(LoadError(empty, 4, IDS_LOAD_NO_ROOT), run.strErr);

    const std::string missing = m_folder.File("missing.xml");
    run = RunCli({"check", missing});
    EXPECT_EQ(1, run.nStatus);
    EXPECT_EQ("quillmar-cli: " + missing + ": Failed to open document.\n", run.strErr);

    run = RunCli({"check", m_folder.Path().string()});
    EXPECT_EQ(1, run.nStatus);
    EXPECT_EQ("quillmar-cli: " + m_folder.Path().string() + ": Failed to open document.\n",
              run.strErr);
}

TEST_F(CheckCommandTest, AWrongRootIsNoRateFile) {
    const std::string wrong = File("wrong.xml", "<PRICELIST><CUSTOMER></CUSTOMER></PRICELIST>");
    CCliRun run = RunCli({"check", wrong});
    EXPECT_EQ(1, run.nStatus);
    EXPECT_EQ("", run.strOut);
    EXPECT_EQ("quillmar-cli: " + wrong +
                  ": not a rate file: its root element is <PRICELIST>, not <RATEFILE>.\n",
              run.strErr);
    // Root names are compared exactly.
    run = RunCli({"check", File("lower.xml", "<ratefile></ratefile>")});
    EXPECT_EQ(1, run.nStatus);
}

TEST_F(CheckCommandTest, HelpVersionAndUsageErrors) {
    CCliRun run = RunCli({"--version"});
    EXPECT_EQ(0, run.nStatus);
    EXPECT_EQ("quillmar-cli 3.01.12092003\n", run.strOut);

    run = RunCli({"--help"});
    EXPECT_EQ(0, run.nStatus);
    EXPECT_EQ(0u, run.strOut.find("usage: quillmar-cli check FILE\n"));
    EXPECT_NE(std::string::npos, run.strOut.find("Exit status:"));
    EXPECT_EQ("", run.strErr);

    run = RunCli({});
    EXPECT_EQ(2, run.nStatus);
    EXPECT_EQ("", run.strOut);
    EXPECT_EQ(0u, run.strErr.find("quillmar-cli: no command given\nusage: quillmar-cli check"));

    run = RunCli({"check"});
    EXPECT_EQ(2, run.nStatus);
    EXPECT_EQ("quillmar-cli: a file is missing\nusage: quillmar-cli check FILE\n"
              "Try 'quillmar-cli --help' for more information.\n",
              run.strErr);

    run = RunCli({"merge", "a.xml", "b.xml", "-o", "c.xml", "--today", "2025-03-15"});
    EXPECT_EQ(2, run.nStatus);
    EXPECT_NE(std::string::npos, run.strErr.find("usage: quillmar-cli merge BASE INCOMING -o OUT"));

    run = RunCli({"frobnicate"});
    EXPECT_EQ(2, run.nStatus);
}
