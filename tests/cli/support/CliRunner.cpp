#include "support/CliRunner.h"

#include "support/TestFiles.h"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::vector<char*> Argv(const std::string& program, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    return argv;
}

// File actions that a spawn owns for its life.
class CFileActions {
public:
    CFileActions() { posix_spawn_file_actions_init(&m_actions); }
    CFileActions(const CFileActions&) = delete;
    CFileActions& operator=(const CFileActions&) = delete;
    ~CFileActions() { posix_spawn_file_actions_destroy(&m_actions); }
    posix_spawn_file_actions_t* Get() { return &m_actions; }
    void Open(int fd, const std::string& path, int flags) {
        posix_spawn_file_actions_addopen(&m_actions, fd, path.c_str(), flags, 0600);
    }

private:
    posix_spawn_file_actions_t m_actions;
};

pid_t Spawn(const std::string& program, const std::vector<std::string>& args,
            CFileActions& actions) {
    std::vector<char*> argv = Argv(program, args);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], actions.Get(), nullptr, argv.data(), environ) != 0) {
        return -1;
    }
    return pid;
}

CCliRun Wait(pid_t pid) {
    CCliRun run;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error("waitpid failed");
        }
    }
    if (WIFEXITED(status)) {
        run.nStatus = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        run.nSignal = WTERMSIG(status);
    }
    return run;
}

} // namespace

std::string CliPath() {
    return QUILLMAR_CLI_PATH;
}

CCliRun RunCli(const std::vector<std::string>& args, const CCliOptions& options) {
    return RunProgram(CliPath(), args, options);
}

CCliRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                   const CCliOptions& options) {
    const CTestFolder capture;
    const std::string out = capture.File("stdout");
    const std::string err = capture.File("stderr");
    CFileActions actions;
    actions.Open(STDIN_FILENO, options.strStdinFile.empty() ? "/dev/null" : options.strStdinFile,
                 O_RDONLY);
    actions.Open(STDOUT_FILENO, options.strStdoutFile.empty() ? out : options.strStdoutFile,
                 O_WRONLY | O_CREAT | O_TRUNC);
    actions.Open(STDERR_FILENO, err, O_WRONLY | O_CREAT | O_TRUNC);
    if (!options.strWorkingDir.empty()) {
        posix_spawn_file_actions_addchdir_np(actions.Get(), options.strWorkingDir.c_str());
    }
    const pid_t pid = Spawn(program, args, actions);
    if (pid < 0) {
        throw std::runtime_error("cannot start " + program);
    }
    CCliRun run = Wait(pid);
    run.strOut = ReadFileText(out);
    run.strErr = ReadFileText(err);
    return run;
}

pid_t StartCli(const std::vector<std::string>& args) {
    CFileActions actions;
    actions.Open(STDIN_FILENO, "/dev/null", O_RDONLY);
    actions.Open(STDOUT_FILENO, "/dev/null", O_WRONLY);
    actions.Open(STDERR_FILENO, "/dev/null", O_WRONLY);
    return Spawn(CliPath(), args, actions);
}

CCliRun WaitCli(pid_t pid) {
    return Wait(pid);
}
