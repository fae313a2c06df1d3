#include "document/FilePath.h"

#include <string_view>

namespace fs = std::filesystem;

fs::path FilePath(const std::string& name) {
#ifdef _WIN32
    return {std::u8string_view(reinterpret_cast<const char8_t*>(name.data()), name.size())};
#else
    return {name};
#endif
}

std::string FileName(const fs::path& path) {
#ifdef _WIN32
    const std::u8string bytes = path.u8string();
    return std::string(bytes.begin(), bytes.end());
#else
    return path.string();
#endif
}

std::string AbsoluteFileName(const std::string& name) {
    std::error_code ec;
    const fs::path full = fs::absolute(FilePath(name), ec);
    return ec ? name : FileName(full.lexically_normal());
}
