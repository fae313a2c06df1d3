// The subcommands of quillmar-cli. Each returns the program's exit status.
#pragma once

#include "cli/CommandLine.h"

// Loads FILE and prints "ROOT: n customers, m plans".
int RunCheck(const CCommandLine& line);
// Prints the outline of FILE as the tree pane shows it.
int RunTree(const CCommandLine& line);
// Writes FILE in the indented or the compressed form, to OUT or to standard
// output.
int RunFormat(const CCommandLine& line);
// Merges INCOMING into BASE, prints the summary and writes the result to OUT.
int RunMerge(const CCommandLine& line);
// Renders the printed listing of FILE into a PDF file.
int RunPrint(const CCommandLine& line);
