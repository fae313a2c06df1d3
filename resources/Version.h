// The version data of the executables: what the desktop application's
// version resource and the command-line tool's --version report.
#pragma once

namespace version {

inline constexpr int kMajor = 3;
inline constexpr int kMinor = 1;
inline constexpr int kRevision = 0;
inline constexpr int kBuild = 1;
inline constexpr const char* kFileVersion = "3.01.12092003";
inline constexpr const char* kProductVersion = "3.01";

} // namespace version
