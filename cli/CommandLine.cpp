#include "cli/CommandLine.h"

#include "document/Date.h"
#include "document/FilePath.h"
#include "resources/Version.h"

#include <array>
#include <cctype>
#include <string_view>

namespace {

struct CommandName {
    std::string_view name;
    CliCommand command;
    int nFiles;
};

constexpr std::array kCommands{
    CommandName{"check", CliCommand::kCheck, 1},   CommandName{"tree", CliCommand::kTree, 1},
    CommandName{"format", CliCommand::kFormat, 1}, CommandName{"merge", CliCommand::kMerge, 2},
    CommandName{"print", CliCommand::kPrint, 1},
};

constexpr size_t kCommandCount = static_cast<size_t>(CliCommand::kPrint) + 1;

enum class OptionId { kOutput, kCompressed, kBackup, kToday, kReport, kPdf };

struct OptionSpec {
    std::string_view name;
    OptionId id;
    bool bTakesValue;
    // The subcommands that take the option.
    std::array<bool, kCommandCount> allowed;
};

constexpr std::array<bool, kCommandCount> For(std::initializer_list<CliCommand> commands) {
    std::array<bool, kCommandCount> allowed{};
    for (CliCommand command : commands) {
        allowed[static_cast<size_t>(command)] = true;
    }
    return allowed;
}

const std::array kOptions{
    OptionSpec{"-o", OptionId::kOutput, true, For({CliCommand::kFormat, CliCommand::kMerge})},
    OptionSpec{"--compressed", OptionId::kCompressed, false,
               For({CliCommand::kFormat, CliCommand::kMerge})},
    OptionSpec{"--backup", OptionId::kBackup, false, For({CliCommand::kMerge})},
    OptionSpec{"--today", OptionId::kToday, true, For({CliCommand::kMerge})},
    OptionSpec{"--report", OptionId::kReport, true, For({CliCommand::kMerge})},
    OptionSpec{"--pdf", OptionId::kPdf, true, For({CliCommand::kPrint})},
};

const CommandName* FindCommand(std::string_view name) {
    for (const CommandName& entry : kCommands) {
        if (entry.name == name) {
            return &entry;
        }
    }
    return nullptr;
}

const OptionSpec* FindOption(std::string_view name) {
    for (const OptionSpec& option : kOptions) {
        if (option.name == name) {
            return &option;
        }
    }
    return nullptr;
}

std::string_view CommandNameOf(CliCommand command) {
    for (const CommandName& entry : kCommands) {
        if (entry.command == command) {
            return entry.name;
        }
    }
    return {};
}

bool IsHelp(std::string_view arg) {
    return arg == "--help" || arg == "-h";
}

// Reads a decimal number of minDigits to maxDigits digits and nothing else.
std::optional<int> ReadNumber(std::string_view text, size_t minDigits, size_t maxDigits) {
    if (text.size() < minDigits || text.size() > maxDigits) {
        return std::nullopt;
    }
    int value = 0;
    for (char digit : text) {
        if (!std::isdigit(static_cast<unsigned char>(digit))) {
            return std::nullopt;
        }
        value = value * 10 + (digit - '0');
    }
    return value;
}

std::string SamePathKey(const std::string& path) {
    return AbsoluteFileName(path);
}

// Sets the option's value in line; false (with error) when it was given before.
bool Store(CCommandLine& line, const OptionSpec& option, const std::string& value,
           std::string& error) {
    auto storeText = [&](std::optional<std::string>& slot) {
        if (slot) {
            error = "option " + std::string(option.name) + " is given twice";
            return false;
        }
        slot = value;
        return true;
    };
    switch (option.id) {
    case OptionId::kOutput:
        return storeText(line.output);
    case OptionId::kReport:
        return storeText(line.report);
    case OptionId::kPdf:
        return storeText(line.pdf);
    case OptionId::kCompressed:
        line.bCompressed = true;
        return true;
    case OptionId::kBackup:
        line.bBackup = true;
        return true;
    case OptionId::kToday:
        if (line.today) {
            error = "option --today is given twice";
            return false;
        }
        line.today = ParseCliDate(value);
        if (!line.today) {
            error = "--today needs a real date written MM/DD/YYYY, not '" + value + "'";
            return false;
        }
        return true;
    }
    return false;
}

// What a complete command line of the subcommand still lacks, if anything.
std::string Missing(const CCommandLine& line, int files) {
    if (static_cast<int>(line.files.size()) < files) {
        return line.command == CliCommand::kMerge && line.files.size() == 1
                   ? "the incoming file is missing"
                   : "a file is missing";
    }
    if (static_cast<int>(line.files.size()) > files) {
        return "too many files: '" + line.files[static_cast<size_t>(files)] + "'";
    }
    if (line.command == CliCommand::kMerge && !line.output) {
        return "merge needs -o OUT";
    }
    if (line.command == CliCommand::kPrint && !line.pdf) {
        return "print needs --pdf OUT.pdf";
    }
    if (line.command == CliCommand::kMerge && line.report &&
        SamePathKey(*line.report) == SamePathKey(*line.output)) {
        return "the report and the merged file must be different files";
    }
    return {};
}

} // namespace

std::optional<CCliDate> ParseCliDate(const std::string& text) {
    const size_t first = text.find('/');
    const size_t second = first == std::string::npos ? first : text.find('/', first + 1);
    if (second == std::string::npos) {
        return std::nullopt;
    }
    const std::string_view view(text);
    const auto month = ReadNumber(view.substr(0, first), 1, 2);
    const auto day = ReadNumber(view.substr(first + 1, second - first - 1), 1, 2);
    const auto year = ReadNumber(view.substr(second + 1), 4, 4);
    if (!month || !day || !year || *month < 1 || *month > 12 || *year < 1 || *day < 1 ||
        *day > CDate::DaysInMonth(*month, *year)) {
        return std::nullopt;
    }
    return CCliDate{*month, *day, *year};
}

CParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CParsedCommandLine result;
    if (args.empty()) {
        result.strError = "no command given";
        return result;
    }
    CCommandLine line;
    if (IsHelp(args[0]) || args[0] == "--version") {
        line.command = IsHelp(args[0]) ? CliCommand::kHelp : CliCommand::kVersion;
        result.line = line;
        return result;
    }
    const CommandName* command = FindCommand(args[0]);
    if (!command) {
        result.strError = "unknown command '" + args[0] + "'";
        return result;
    }
    line.command = command->command;
    result.named = command->command;

    bool optionsEnded = false;
    for (size_t index = 1; index < args.size(); ++index) {
        const std::string& arg = args[index];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            line.files.push_back(arg);
            continue;
        }
        if (IsHelp(arg) || arg == "--version") {
            CCommandLine other;
            other.command = IsHelp(arg) ? CliCommand::kHelp : CliCommand::kVersion;
            result.line = other;
            return result;
        }
        std::string name = arg;
        std::optional<std::string> inlineValue;
        if (const size_t equals = arg.find('='); arg.rfind("--", 0) == 0 && equals != arg.npos) {
            name = arg.substr(0, equals);
            inlineValue = arg.substr(equals + 1);
        }
        const OptionSpec* option = FindOption(name);
        if (!option) {
            result.strError = "unknown option '" + name + "'";
            return result;
        }
        if (!option->allowed[static_cast<size_t>(line.command)]) {
            result.strError =
                "option " + name + " does not apply to " + std::string(CommandNameOf(line.command));
            return result;
        }
        std::string value;
        if (option->bTakesValue) {
            if (inlineValue) {
                value = *inlineValue;
            } else if (index + 1 < args.size()) {
                value = args[++index];
            } else {
                result.strError = "option " + name + " needs a value";
                return result;
            }
            if (value.empty()) {
                result.strError = "option " + name + " needs a value that is not empty";
                return result;
            }
        } else if (inlineValue) {
            result.strError = "option " + name + " takes no value";
            return result;
        }
        if (!Store(line, *option, value, result.strError)) {
            return result;
        }
    }
    int fromStdin = 0;
    for (const std::string& file : line.files) {
        if (file.empty()) {
            result.strError = "a file name is empty";
            return result;
        }
        fromStdin += file == "-" ? 1 : 0;
    }
    if (fromStdin > 1) {
        result.strError = "standard input ('-') can be read only once";
        return result;
    }
    if (line.output && line.report && *line.output == "-" && *line.report == "-") {
        result.strError = "standard output ('-') can be written only once";
        return result;
    }
    result.strError = Missing(line, command->nFiles);
    if (result.strError.empty()) {
        result.line = line;
    }
    return result;
}

std::string UsageText(std::optional<CliCommand> command) {
    const std::array<std::pair<CliCommand, const char*>, 5> lines{{
        {CliCommand::kCheck, "quillmar-cli check FILE"},
        {CliCommand::kTree, "quillmar-cli tree FILE"},
        {CliCommand::kFormat, "quillmar-cli format FILE [--compressed] [-o OUT]"},
        {CliCommand::kMerge, "quillmar-cli merge BASE INCOMING -o OUT [--today MM/DD/YYYY] "
                             "[--compressed] [--backup] [--report REPORT.csv]"},
        {CliCommand::kPrint, "quillmar-cli print FILE --pdf OUT.pdf"},
    }};
    std::string text;
    for (const auto& [which, usage] : lines) {
        if (!command || *command == which) {
            text += (text.empty() ? "usage: " : "       ");
            text += usage;
            text += '\n';
        }
    }
    if (!command) {
        text += "       quillmar-cli --help | --version\n";
    }
    return text;
}

std::string HelpText() {
    return UsageText(std::nullopt) + R"(
Works on rate files as the Quillmar desktop application does, without a display.

  check FILE     Loads FILE and prints its root's name and its numbers of
                 customers and plans.
  tree FILE      Prints the outline of the tree pane: one element a line, two
                 blanks of indentation per level, plans labelled with their
                 descriptions and their children sorted by label. An
                 outline longer than the longest rate file (2 GB) is not
                 written (exit status 3).
  format FILE    Writes FILE in the indented form (--compressed: the
                 compressed form) to OUT, or to standard output.
  merge BASE INCOMING
                 Merges the newly delivered INCOMING into BASE as File, Merge
                 does, prints the summary and writes the result to OUT (which
                 may be BASE itself).
                   --today MM/DD/YYYY  the date against which plans expire
                                       (default: the local date); it also
                                       dates the backup's name
                   --backup            first copy the file that OUT replaces to
                                       its time-stamped backup name; without
                                       the copy nothing is replaced
                   --report FILE.csv   one row per plan of the result and per
                                       plan removed, with the old and the new
                                       PLANDESC and DPKEY
  print FILE --pdf OUT.pdf
                 Renders the printed listing (60 lines to a page, 11-point
                 Liberation Mono in place of Courier New, US Letter) into a PDF.

  -              As FILE, BASE or INCOMING: standard input (read once); as
                 OUT, REPORT.csv or OUT.pdf: standard output (written once),
                 with merge's summary then going to standard error. A file
                 named "-" is reached as "./-".
  --             Ends the options: the arguments after it are files, even
                 when they begin with "-".

Exit status: 0 done; 1 a file could not be read, is damaged or is not a rate
file; 2 wrong usage; 3 an output could not be written (its destination is left
as it was); 4 internal error (such as running out of memory), its message on
standard error.
)";
}

std::string VersionText() {
    return std::string("quillmar-cli ") + version::kFileVersion + "\n";
}
