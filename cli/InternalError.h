// The last guard of quillmar-cli: an exception that nothing else expected
// ends the program with its own exit status and its message on standard
// error, so that a script can tell it from a damaged file.
#pragma once

#include <functional>

// Runs body and returns its exit status; an exception out of body is
// reported as "internal error: MESSAGE" and gives kExitInternalError.
int RunReportingInternalErrors(const std::function<int()>& body);
