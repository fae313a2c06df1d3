// The program's entry point: the application object of the toolkit.
#include "ui/QuillmarApp.h"

wxIMPLEMENT_APP(CQuillmarApp);
