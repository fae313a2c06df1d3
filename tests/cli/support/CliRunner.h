// Runs the built quillmar-cli as a user would: a separate process with its
// own arguments (no shell in between), standard input empty unless a file is
// given for it, standard output and standard error captured.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

struct CCliRun {
    // The exit status, or -1 when the program did not exit normally.
    int nStatus = -1;
    // The signal that ended the program, or 0.
    int nSignal = 0;
    std::string strOut;
    std::string strErr;
};

struct CCliOptions {
    // The working folder of the program; the test's own when empty.
    std::string strWorkingDir;
    // A file standard output goes to instead of being captured, such as
    // "/dev/full".
    std::string strStdoutFile;
    // A file standard input reads from; /dev/null when empty.
    std::string strStdinFile;
};

// The path of the program under test.
std::string CliPath();

CCliRun RunCli(const std::vector<std::string>& args, const CCliOptions& options = {});

// Runs another program, found on the search path, the same way.
CCliRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                   const CCliOptions& options = {});

// Starts the program without waiting for it; its output goes to /dev/null.
// Returns its process id, or -1.
pid_t StartCli(const std::vector<std::string>& args);
// Waits for a program started by StartCli.
CCliRun WaitCli(pid_t pid);
