// The local date and time from the standard library's clock, for platforms
// that have no clock of their own to offer.
#pragma once

#include <ctime>

// False when the clock or the conversion to local time fails.
bool ReadLocalClock(std::tm& local);
