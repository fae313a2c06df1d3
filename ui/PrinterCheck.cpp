#include "ui/PrinterCheck.h"

#if defined(__WXGTK__) && defined(QUILLMAR_HAVE_CUPS)

#include <cups/cups.h>

bool PrinterExists(const std::string& name) {
    // GTK prints to the print system's queues (its other printers are
    // virtual, such as "Print to File", and are never chosen without the
    // dialog). CUPS answers at once when its server is down, and looks for
    // printers on the network for a second at most.
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    const bool found =
        name.empty() ? count > 0 : cupsGetDest(name.c_str(), nullptr, count, dests) != nullptr;
    cupsFreeDests(count, dests);
    return found;
}

#else

bool PrinterExists(const std::string&) {
    return true;
}

#endif
