#include "ui/RecentFileNames.h"

#include <vector>

namespace {

std::vector<std::string> Split(const std::string& path, char separator) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    while (true) {
        const std::string::size_type end = path.find(separator, start);
        parts.push_back(path.substr(start, end - start));
        if (end == std::string::npos) {
            return parts;
        }
        start = end + 1;
    }
}

} // namespace

std::string AbbreviateName(const std::string& path, std::size_t maxLength, char separator) {
    if (path.size() <= maxLength) {
        return path;
    }
    const std::vector<std::string> parts = Split(path, separator);
    const std::string& name = parts.back();
    if (parts.size() < 3 || name.size() > maxLength) {
        return name; // the name is shown whole, however long
    }
    // The first part is the root ("" before a leading separator, or a drive).
    const std::string head = parts.front() + separator + "...";
    for (std::size_t first = 2; first < parts.size(); ++first) {
        std::string candidate = head;
        for (std::size_t i = first; i < parts.size(); ++i) {
            candidate += separator;
            candidate += parts[i];
        }
        if (candidate.size() <= maxLength) {
            return candidate;
        }
    }
    return name;
}

std::string RecentFileMenuText(int index, const std::string& path, const std::string& currentFolder,
                               char separator) {
    std::string name = path;
    const std::string::size_type slash = path.find_last_of(separator);
    if (slash != std::string::npos && !currentFolder.empty()) {
        std::string folder = currentFolder;
        while (folder.size() > 1 && folder.back() == separator) {
            folder.pop_back();
        }
        if (path.substr(0, slash) == folder) {
            name = path.substr(slash + 1);
        }
    }
    name = AbbreviateName(name, kRecentNameMaxLength, separator);
    // Appended, not "&" + std::string: GCC 12 warns falsely of overlapping
    // copies in the latter.
    std::string text = "&";
    text += std::to_string(index + 1);
    text += ' ';
    for (const char c : name) {
        text += c;
        if (c == '&') {
            text += '&';
        }
    }
    return text;
}
