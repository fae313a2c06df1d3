// Names derived from a document's path: its file name and its backup name.
// Both '/' and '\' end a folder name.
#pragma once

#include <ctime>
#include <string>

// The part of path after its last folder separator.
std::string FileNameOf(const std::string& path);

// The name of the backup copy of the file at path, taken at the local time
// when: the time stamp "-%m%d%Y-%H%M%S" is inserted before the first "." of
// the file's name that is not the name's first character. Empty when the
// file's name has no such "." (no backup is made then).
std::string MakeBackupName(const std::string& path, const std::tm& when);
