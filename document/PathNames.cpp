#include "document/PathNames.h"

#include <array>

namespace {

// Position of the first character of the file's name within path.
std::string::size_type FileNameStart(const std::string& path) {
    const std::string::size_type separator = path.find_last_of("/\\");
    return separator == std::string::npos ? 0 : separator + 1;
}

} // namespace

std::string FileNameOf(const std::string& path) {
    return path.substr(FileNameStart(path));
}

std::string MakeBackupName(const std::string& path, const std::tm& when) {
    // A "." in a folder name (such as a hidden folder) must not receive the
    // stamp, and neither must the leading "." of a hidden file's name.
    const std::string::size_type nameStart = FileNameStart(path);
    if (nameStart + 1 >= path.size()) {
        return {};
    }
    const std::string::size_type dot = path.find('.', nameStart + 1);
    if (dot == std::string::npos) {
        return {};
    }
    std::array<char, 64> stamp{};
    if (std::strftime(stamp.data(), stamp.size(), "-%m%d%Y-%H%M%S", &when) == 0) {
        return {};
    }
    return path.substr(0, dot) + stamp.data() + path.substr(dot);
}
