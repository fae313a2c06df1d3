#include "document/SafeFileWriter.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Removes the temporary file unless the write was committed.
class CTempFileGuard {
public:
    CTempFileGuard() = default;
    CTempFileGuard(const CTempFileGuard&) = delete;
    CTempFileGuard& operator=(const CTempFileGuard&) = delete;
    ~CTempFileGuard() {
        if (!m_path.empty()) {
            std::error_code ignored;
            fs::remove(m_path, ignored);
        }
    }
    void Track(const fs::path& path) { m_path = path; }
    void Commit() { m_path.clear(); }

private:
    fs::path m_path;
};

// Creates a file of a new name beside target, opened for writing; the name
// is left in temp. Null when no such file can be created.
FilePtr CreateTempBeside(const fs::path& target, fs::path& temp) {
    fs::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string suffix = ".~" + std::to_string(random() % 1000000) + ".tmp";
        temp = folder / (target.filename().string() + suffix);
        // "x": fail rather than reuse a file that exists already.
        if (std::FILE* file = std::fopen(temp.string().c_str(), "wbx")) {
            return FilePtr(file);
        }
        std::error_code ec;
        if (!fs::exists(temp, ec)) {
            return nullptr; // not a name clash: the folder cannot take the file
        }
    }
    return nullptr;
}

} // namespace

bool WriteFileReplacing(const std::string& path, const char* bytes, std::size_t size) {
    std::error_code ec;
    fs::path target(path);
    if (fs::is_symlink(target, ec)) {
        target = fs::canonical(target, ec);
        if (ec) {
            return false;
        }
    }
    const fs::file_status status = fs::status(target, ec);
    const bool replacing = fs::exists(status);
    if (replacing) {
        constexpr fs::perms kAnyWrite =
            fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
        if (!fs::is_regular_file(status) || (status.permissions() & kAnyWrite) == fs::perms::none) {
            return false;
        }
    }

    fs::path temp;
    CTempFileGuard guard;
    FilePtr file = CreateTempBeside(target, temp);
    if (!file) {
        return false;
    }
    guard.Track(temp);
    // Until it is complete the temporary file is its owner's alone: a save
    // that is cut short must not leave the content where others may read it
    // when the file it replaces is private.
    const fs::perms created = fs::status(temp, ec).permissions();
    const bool knowsCreated = !ec;
    fs::permissions(temp, fs::perms::owner_read | fs::perms::owner_write, ec);

    const bool written = size == 0 || std::fwrite(bytes, 1, size, file.get()) == size;
    const bool flushed = std::fflush(file.get()) == 0;
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !flushed || !closed) {
        return false;
    }

    // The new file keeps the access rights of the one it replaces, and a
    // file that replaces none gets those every new file gets.
    if (replacing) {
        fs::permissions(temp, status.permissions(), ec);
    } else if (knowsCreated) {
        fs::permissions(temp, created, ec);
    }
    fs::rename(temp, target, ec);
    if (ec) {
        return false;
    }
    guard.Commit();
    return true;
}
