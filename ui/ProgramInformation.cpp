#include "ui/ProgramInformation.h"

#include "resources/Version.h"

namespace {

constexpr const char* kHelpText = R"(usage: quillmar [FILE]
       quillmar -p FILE
       quillmar -pt FILE PRINTER DRIVER PORT
       quillmar -Unregister [-Embedding]
       quillmar --help | --version

Opens, edits, merges and prints XML insurance rate files (Rate Document) in a
window: the file's tree on the left, the selected element's text on the right.

  FILE           Opens FILE as File, Open does; without it, a new document.
  -p FILE        Prints FILE on the default printer without the print dialog
                 and ends.
  -pt FILE PRINTER DRIVER PORT
                 Prints FILE on the named printer and ends.
  -Unregister, -Unregserver
                 Removes the user's own desktop entry and file associations of
                 Quillmar, says so in a message and ends; with -Embedding
                 without the message.
  --help         Prints this text and ends.
  --version      Prints the version and ends.

A switch begins with "-" or "/"; "p" and "pt" are written in lower case, the
others in any case.

The two save options and the recent-file list are kept in
~/.config/Quillmar/Quillmar.conf. quillmar-cli works on rate files without a
display.
)";

} // namespace

std::optional<std::string> ProgramInformation(const std::vector<std::string>& args) {
    if (args.empty()) {
        return std::nullopt;
    }
    if (args[0] == "--help") {
        return std::string(kHelpText);
    }
    if (args[0] == "--version") {
        return std::string("quillmar ") + version::kFileVersion + "\n";
    }
    return std::nullopt;
}
