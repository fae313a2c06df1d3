#include "cli/InternalError.h"

#include "cli/ConsoleOutput.h"
#include "cli/ExitCode.h"

#include <exception>
#include <new>
#include <string>

int RunReportingInternalErrors(const std::function<int()>& body) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        PrintError({}, "internal error: out of memory.");
    } catch (const std::exception& error) {
        PrintError({}, std::string("internal error: ") + error.what());
    } catch (...) {
        PrintError({}, "internal error: an unknown exception.");
    }
    return kExitInternalError;
}
