#include "document/LocalClock.h"

bool ReadLocalClock(std::tm& local) {
    const std::time_t now = std::time(nullptr);
    if (now == static_cast<std::time_t>(-1)) {
        return false;
    }
    // The program runs on one thread, so the shared result of localtime is safe.
    const std::tm* converted = std::localtime(&now);
    if (!converted) {
        return false;
    }
    local = *converted;
    return true;
}
