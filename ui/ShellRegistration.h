// The shell's knowledge of the rate document type "Quillmar.Document"
// ("Rate Document", files ending in ".xml"). On Windows the application
// registers the type for the user at every start, as the framework does; on
// Linux the type comes with the installed desktop entry, and only the user's
// own associations are the program's to remove.
#pragma once

// Registers the document type for the user: the type's name and icon, the
// open, print and print-to commands, and ".xml" when it has no other
// binding. Failures are silent.
void RegisterShellFileTypes();

// Removes what the user's settings hold of the document type; true when all
// of it was removed (or there was nothing to remove).
bool UnregisterShellFileTypes();
