// How the File menu shows the recent-file list: "&1 " and the file's name,
// shortened to at most 30 characters.
#pragma once

#include <string>

constexpr std::size_t kRecentNameMaxLength = 30;

// path shortened to at most maxLength characters: unchanged when it fits;
// else its first folder (or root), "...", and as many of its last folders as
// fit, with the file's name; the file's name alone when even that is too
// long. separator is the system's folder separator.
std::string AbbreviateName(const std::string& path, std::size_t maxLength, char separator);

// The menu text of entry index (0-based) of the list: the number as access
// key, then the name, without its folder when the file is in currentFolder,
// shortened, with "&" doubled so that it shows as itself.
std::string RecentFileMenuText(int index, const std::string& path, const std::string& currentFolder,
                               char separator);
