// Files for tests: a fresh folder per test, and whole-file reads and writes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// A new empty folder under the system's temporary folder, removed with its
// content when the object goes.
class CTestFolder {
public:
    CTestFolder();
    CTestFolder(const CTestFolder&) = delete;
    CTestFolder& operator=(const CTestFolder&) = delete;
    ~CTestFolder();

    const std::filesystem::path& Path() const { return m_path; }
    // The full path of name inside the folder.
    std::string File(const std::string& name) const;
    // The names of the files in the folder, sorted.
    std::vector<std::string> List() const;

private:
    std::filesystem::path m_path;
};

void WriteFileText(const std::string& path, const std::string& text);
// The file's bytes; empty when it cannot be read.
std::string ReadFileText(const std::string& path);

// Path of a file in the source tree, such as "samples/rates.xml".
std::string SourceFile(const std::string& relative);
