// The command line: subcommands, files, options and their values.
#include "cli/CommandLine.h"

#include <gtest/gtest.h>

namespace {

CParsedCommandLine Parse(std::vector<std::string> args) {
    return ParseCommandLine(args);
}

CCommandLine Valid(std::vector<std::string> args) {
    const CParsedCommandLine parsed = ParseCommandLine(args);
    EXPECT_TRUE(parsed.line.has_value()) << parsed.strError;
    return parsed.line.value_or(CCommandLine{});
}

std::string ErrorOf(std::vector<std::string> args) {
    const CParsedCommandLine parsed = ParseCommandLine(args);
    EXPECT_FALSE(parsed.line.has_value());
    return parsed.strError;
}

} // namespace

TEST(CommandLineTest, OptionsStandAnywhereAndTakeTheirValues) {
    const CCommandLine line =
        Valid({"merge", "--backup", "base.xml", "-o", "out.xml", "new.xml", "--today", "03/15/2025",
               "--report=report.csv", "--compressed"});
    EXPECT_EQ(CliCommand::kMerge, line.command);
    EXPECT_EQ((std::vector<std::string>{"base.xml", "new.xml"}), line.files);
    EXPECT_EQ("out.xml", line.output.value_or(""));
    EXPECT_EQ("report.csv", line.report.value_or(""));
    ASSERT_TRUE(line.today.has_value());
    EXPECT_EQ(3, line.today->nMonth);
    EXPECT_EQ(15, line.today->nDay);
    EXPECT_EQ(2025, line.today->nYear);
    EXPECT_TRUE(line.bBackup);
    EXPECT_TRUE(line.bCompressed);

    const CCommandLine format = Valid({"format", "in.xml"});
    EXPECT_FALSE(format.output.has_value());
    EXPECT_FALSE(format.bCompressed);
}

TEST(CommandLineTest, NamesBeginningWithADashAreReachable) {
    // An option's value is taken whatever it begins with...
    EXPECT_EQ("-out.xml", Valid({"format", "in.xml", "-o", "-out.xml"}).output.value_or(""));
    EXPECT_EQ("-o.pdf", Valid({"print", "in.xml", "--pdf", "-o.pdf"}).pdf.value_or(""));
    // ...and after "--" every argument is a file.
    EXPECT_EQ((std::vector<std::string>{"-in.xml"}), Valid({"check", "--", "-in.xml"}).files);
    EXPECT_EQ((std::vector<std::string>{"--", "-x"}),
              Valid({"merge", "-o", "o.xml", "--", "--", "-x"}).files);
    // A lone "-" stands for standard input (the tool reads it) or output,
    // also after "--"; a name with blanks or quotes is a file name.
    EXPECT_EQ((std::vector<std::string>{"-"}), Valid({"tree", "-"}).files);
    EXPECT_EQ((std::vector<std::string>{"-"}), Valid({"check", "--", "-"}).files);
    EXPECT_EQ("-", Valid({"format", "-", "-o", "-"}).output.value_or(""));
    EXPECT_EQ((std::vector<std::string>{"a \"b\" 'c'.xml"}),
              Valid({"tree", "a \"b\" 'c'.xml"}).files);
}

TEST(CommandLineTest, HelpAndVersionWinWherever) {
    EXPECT_EQ(CliCommand::kHelp, Valid({"--help"}).command);
    EXPECT_EQ(CliCommand::kHelp, Valid({"-h"}).command);
    EXPECT_EQ(CliCommand::kHelp, Valid({"merge", "--help"}).command);
    EXPECT_EQ(CliCommand::kVersion, Valid({"--version"}).command);
    EXPECT_EQ(CliCommand::kVersion, Valid({"check", "x.xml", "--version"}).command);
    // After "--" they are file names.
    EXPECT_EQ((std::vector<std::string>{"--help"}), Valid({"check", "--", "--help"}).files);
}

TEST(CommandLineTest, WrongCommandLinesSayWhatIsWrong) {
    EXPECT_EQ("no command given", ErrorOf({}));
    EXPECT_EQ("unknown command 'chek'", ErrorOf({"chek", "x.xml"}));
    EXPECT_EQ("unknown option '--fast'", ErrorOf({"check", "x.xml", "--fast"}));
    EXPECT_EQ("option --compressed does not apply to check",
              ErrorOf({"check", "x.xml", "--compressed"}));
    EXPECT_EQ("option --today does not apply to format",
              ErrorOf({"format", "x.xml", "--today", "01/01/2025"}));
    EXPECT_EQ("option -o needs a value", ErrorOf({"format", "x.xml", "-o"}));
    EXPECT_EQ("standard input ('-') can be read only once",
              ErrorOf({"merge", "-", "-", "-o", "out.xml"}));
    EXPECT_EQ("option --report needs a value that is not empty",
              ErrorOf({"merge", "a", "b", "-o", "c", "--report="}));
    EXPECT_EQ("option --backup takes no value", ErrorOf({"merge", "a", "b", "--backup=yes"}));
    EXPECT_EQ("option -o is given twice", ErrorOf({"format", "x", "-o", "a", "-o", "b"}));
    EXPECT_EQ("a file is missing", ErrorOf({"check"}));
    EXPECT_EQ("the incoming file is missing", ErrorOf({"merge", "a.xml", "-o", "o.xml"}));
    EXPECT_EQ("too many files: 'b.xml'", ErrorOf({"tree", "a.xml", "b.xml"}));
    EXPECT_EQ("merge needs -o OUT", ErrorOf({"merge", "a.xml", "b.xml"}));
    EXPECT_EQ("print needs --pdf OUT.pdf", ErrorOf({"print", "a.xml"}));
    EXPECT_EQ("a file name is empty", ErrorOf({"check", ""}));
    EXPECT_EQ("the report and the merged file must be different files",
              ErrorOf({"merge", "a.xml", "b.xml", "-o", "out.csv", "--report", "./out.csv"}));
}

TEST(CommandLineTest, TodayMustBeARealDate) {
    EXPECT_TRUE(ParseCliDate("02/29/2024").has_value());
    EXPECT_TRUE(ParseCliDate("3/5/2025").has_value());
    EXPECT_TRUE(ParseCliDate("12/31/9999").has_value());
    for (const char* wrong : {"02/29/2023", "13/01/2025", "00/10/2025", "04/31/2025", "01/00/2025",
                              "03/15/25", "03-15-2025", "2025/03/15", "03/15/2025x", "a3/15/2025",
                              "03//2025", "", "/ /", "03/15/+025"}) {
        EXPECT_FALSE(ParseCliDate(wrong).has_value()) << wrong;
    }
    EXPECT_EQ("--today needs a real date written MM/DD/YYYY, not '02/30/2025'",
              ErrorOf({"merge", "a", "b", "-o", "c", "--today", "02/30/2025"}));
}

TEST(CommandLineTest, UsageNamesTheSubcommandOrAllOfThem) {
    EXPECT_EQ("usage: quillmar-cli print FILE --pdf OUT.pdf\n", UsageText(CliCommand::kPrint));
    const std::string all = UsageText(std::nullopt);
    for (const char* part : {"usage: quillmar-cli check FILE\n", "quillmar-cli tree FILE\n",
                             "[--today MM/DD/YYYY]", "--help | --version"}) {
        EXPECT_NE(std::string::npos, all.find(part)) << part;
    }
    EXPECT_EQ(0u, HelpText().find(all));
    EXPECT_EQ("quillmar-cli 3.01.12092003\n", VersionText());
    EXPECT_EQ(CliCommand::kMerge, Parse({"merge", "a"}).named.value_or(CliCommand::kHelp));
    EXPECT_FALSE(Parse({"bogus"}).named.has_value());
}
