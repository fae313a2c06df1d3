// The command line of quillmar-cli: a subcommand, its files and its options.
#pragma once

#include <optional>
#include <string>
#include <vector>

// kPrint stays last: tables of the subcommands are sized by it.
enum class CliCommand { kHelp, kVersion, kCheck, kTree, kFormat, kMerge, kPrint };

// A calendar date given on the command line, already checked.
struct CCliDate {
    int nMonth = 0;
    int nDay = 0;
    int nYear = 0;
};

struct CCommandLine {
    CliCommand command = CliCommand::kHelp;
    // The files named by position: FILE, or BASE and INCOMING.
    std::vector<std::string> files;
    std::optional<std::string> output; // -o
    std::optional<std::string> report; // --report
    std::optional<std::string> pdf;    // --pdf
    std::optional<CCliDate> today;     // --today
    bool bCompressed = false;
    bool bBackup = false;
};

struct CParsedCommandLine {
    std::optional<CCommandLine> line;
    // Why the command line is wrong, when it is.
    std::string strError;
    // The subcommand named, when one was, for its usage line.
    std::optional<CliCommand> named;
};

// Parses the arguments after the program's name. Options may stand before,
// between and after the files; "--" ends the options, so that a file whose
// name begins with "-" can be named; "-" itself stands for standard input
// or output (at most one file may be "-"). An option's value is the next argument
// whatever it begins with, or follows "=" in the same argument.
CParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

// Reads MM/DD/YYYY (one or two digits for month and day, four for the year)
// into a real calendar date.
std::optional<CCliDate> ParseCliDate(const std::string& text);

// "usage: quillmar-cli ..." for one subcommand, or for all of them.
std::string UsageText(std::optional<CliCommand> command);
// The text of --help.
std::string HelpText();
// The text of --version.
std::string VersionText();
