// What the benchmarks share: timing, peak memory, child processes that
// measure one subject each, and the ratio report.
#pragma once

#include "RateFileGenerator.h"

#include <chrono>
#include <map>
#include <string>
#include <vector>

using Figures = std::map<std::string, double>;

class CStopwatch {
public:
    double Seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    }

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

struct CBenchOptions {
    double dSizeMb = 100;
    int nRuns = 3;
    std::string strFile;   // use this file instead of generating one
    std::string strFolder; // where generated files go
    bool bKeepFiles = false;
};

CBenchOptions ParseBenchOptions(int argc, char** argv);

// The path of a rate file of the chosen size, generated unless one was given.
std::string PrepareRateFile(const CBenchOptions& options, const std::string& name, int delivery);

// Peak resident memory of this process so far, in MB.
double PeakMemoryMb();

// Prints one figure for the parent process to collect.
void ReportValue(const char* key, double value);

// Runs the program with the arguments several times and keeps the lowest
// value of every figure it reports, and of "process_seconds" (its wall time)
// and "process_peak_mb" (its peak resident memory).
Figures BestOf(int runs, const std::string& program, const std::vector<std::string>& arguments);

// Prints value, reference and their ratio; a limit above 0 is a target.
bool CheckRatio(const char* label, double value, double reference, double limit);

// Prints value, reference and their ratio against a target on the value
// itself, in unit: for figures whose target is absolute, with a reference
// that makes them comparable across machines.
bool CheckLimit(const char* label, double value, double reference, double limit, const char* unit);
