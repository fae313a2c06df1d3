// The program's entry point: the application object of the toolkit.
#include "ui/QuillmarApp.h"

#ifdef __WXMSW__

wxIMPLEMENT_APP(CQuillmarApp);

#else

#include "ui/ProgramInformation.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

wxIMPLEMENT_APP_NO_MAIN(CQuillmarApp);

int main(int argc, char** argv) {
    // "--help" and "--version" are answered before the toolkit opens the
    // display, so they work where there is none.
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (const std::optional<std::string> text = ProgramInformation(args)) {
        std::fputs(text->c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    wxDISABLE_DEBUG_SUPPORT();
    return wxEntry(argc, argv);
}

#endif
