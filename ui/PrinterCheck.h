// Whether a print job started without the print dialog has a printer to go
// to. Asked before the toolkit's print call: on GTK that call waits, without
// end, for its printer list while the print system is down, and with no
// printer at all it ends as if the user had cancelled.
#pragma once

#include <string>

// True when the printer named exists, or, for an empty name, when any
// printer does. Where the platform's print call reports a missing printer
// itself (Windows), always true.
bool PrinterExists(const std::string& name);
