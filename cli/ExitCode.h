// The exit status of quillmar-cli.
#pragma once

enum ExitCode : int {
    kExitOk = 0,
    // A file could not be read, is damaged, or is not a rate file.
    kExitBadFile = 1,
    // The command line is wrong.
    kExitUsage = 2,
    // An output could not be written; its destination was left as it was.
    kExitWriteFailed = 3,
    // Something unexpected stopped the program, such as running out of
    // memory; the message went to standard error.
    kExitInternalError = 4,
};
