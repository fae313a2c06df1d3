#include "BenchSupport.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

CBenchOptions ParseBenchOptions(int argc, char** argv) {
    CBenchOptions options;
    const char* tmp = std::getenv("TMPDIR");
    options.strFolder = tmp && *tmp ? tmp : "/tmp";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--size-mb" && hasValue) {
            options.dSizeMb = std::atof(argv[++i]);
        } else if (arg == "--runs" && hasValue) {
            options.nRuns = std::atoi(argv[++i]);
        } else if (arg == "--file" && hasValue) {
            options.strFile = argv[++i];
        } else if (arg == "--folder" && hasValue) {
            options.strFolder = argv[++i];
        } else if (arg == "--keep") {
            options.bKeepFiles = true;
        } else {
            std::fprintf(
                stderr,
                "usage: %s [--size-mb N] [--runs N] [--file PATH] [--folder DIR] [--keep]\n",
                argv[0]);
            std::exit(2);
        }
    }
    if (options.nRuns < 1) {
        options.nRuns = 1;
    }
    return options;
}

std::string PrepareRateFile(const CBenchOptions& options, const std::string& name, int delivery) {
    if (!options.strFile.empty() && delivery == 0) {
        return options.strFile;
    }
    const std::string path = options.strFolder + "/quillmar-" + name + "-" +
                             std::to_string(static_cast<long>(options.dSizeMb)) + "mb-" +
                             std::to_string(delivery) + ".xml";
    RateFileOptions generate;
    generate.nTargetBytes = static_cast<std::size_t>(options.dSizeMb * 1024 * 1024);
    generate.nDelivery = delivery;
    CStopwatch watch;
    const long plans = WriteRateFile(path, generate);
    if (plans < 0) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return "";
    }
    std::printf("generated %s: %.0f MB, %ld plans (%.1f s)\n", path.c_str(), options.dSizeMb, plans,
                watch.Seconds());
    return path;
}

double PeakMemoryMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void ReportValue(const char* key, double value) {
    std::printf("%s=%.6f\n", key, value);
    std::fflush(stdout);
}

namespace {

Figures RunOnce(const std::string& program, const std::vector<std::string>& arguments) {
    Figures figures;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return figures;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    CStopwatch watch;
    const int spawned =
        posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    std::string output;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0) {
        output.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeEnds[0]);
    int status = 0;
    rusage usage{};
    if (spawned == 0) {
        wait4(child, &status, 0, &usage);
    }
    // Every run reports its wall time and the child's peak memory as well.
    figures["process_seconds"] = watch.Seconds();
    figures["process_peak_mb"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    if (spawned != 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "measurement failed: %s %s\n", program.c_str(),
                     arguments.empty() ? "" : arguments.back().c_str());
        return figures;
    }
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = output.find('\n', start);
        if (end == std::string::npos) {
            end = output.size();
        }
        const std::string line = output.substr(start, end - start);
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) {
            figures[line.substr(0, equals)] = std::atof(line.c_str() + equals + 1);
        } else if (!line.empty()) {
            std::printf("%s\n", line.c_str());
        }
        start = end + 1;
    }
    return figures;
}

} // namespace

Figures BestOf(int runs, const std::string& program, const std::vector<std::string>& arguments) {
    Figures best;
    for (int run = 0; run < runs; ++run) {
        const Figures figures = RunOnce(program, arguments);
        for (const auto& [key, value] : figures) {
            auto found = best.find(key);
            if (found == best.end() || value < found->second) {
                best[key] = value;
            }
        }
    }
    return best;
}

bool CheckRatio(const char* label, double value, double reference, double limit) {
    const double ratio = reference > 0 ? value / reference : 0;
    const bool met = limit <= 0 || (reference > 0 && ratio <= limit);
    if (limit > 0) {
        std::printf("%-48s %10.3f / %10.3f = %5.2fx  (target <= %.2fx)  %s\n", label, value,
                    reference, ratio, limit, met ? "met" : "MISSED");
    } else {
        std::printf("%-48s %10.3f / %10.3f = %5.2fx\n", label, value, reference, ratio);
    }
    return met;
}

bool CheckLimit(const char* label, double value, double reference, double limit, const char* unit) {
    const double ratio = reference > 0 ? value / reference : 0;
    const bool met = value <= limit;
    std::printf("%-48s %10.3f / %10.3f = %5.3fx  (target <= %g %s)  %s\n", label, value, reference,
                ratio, limit, unit, met ? "met" : "MISSED");
    return met;
}
