#include "support/TestFiles.h"

#include "document/FilePath.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

CTestFolder::CTestFolder() {
    static std::atomic<int> counter{0};
    std::random_device seed;
    const fs::path base = fs::temp_directory_path();
    for (int attempt = 0; attempt < 16; ++attempt) {
        fs::path candidate = base / ("quillmar-doc-test-" + std::to_string(seed()) + "-" +
                                     std::to_string(counter++));
        if (fs::create_directory(candidate)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a test folder");
}

CTestFolder::~CTestFolder() {
    std::error_code ignored;
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(m_path, ignored);
}

std::string CTestFolder::File(const std::string& name) const {
    return FileName(m_path / FilePath(name));
}

std::vector<std::string> CTestFolder::List() const {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(m_path)) {
        names.push_back(FileName(entry.path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

void WriteFileText(const std::string& path, const std::string& text) {
    std::ofstream file(FilePath(path), std::ios::binary | std::ios::trunc);
    file << text;
}

std::string ReadFileText(const std::string& path) {
    std::ifstream file(FilePath(path), std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

std::string SourceFile(const std::string& relative) {
    return (fs::path(QUILLMAR_SOURCE_DIR) / relative).string();
}
