#include "document/SafeFileWriter.h"

#include "document/FilePath.h"
#include "xml/XmlTextSink.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// Closes a file that a failed write leaves open.
class COpenFile {
public:
    COpenFile(CFileLayer& files, std::FILE* file) : m_files(files), m_pFile(file) {}
    COpenFile(const COpenFile&) = delete;
    COpenFile& operator=(const COpenFile&) = delete;
    ~COpenFile() {
        if (m_pFile) {
            m_files.Close(m_pFile);
        }
    }
    std::FILE* Get() const { return m_pFile; }
    bool Close() {
        std::FILE* file = m_pFile;
        m_pFile = nullptr;
        return m_files.Close(file);
    }

private:
    CFileLayer& m_files;
    std::FILE* m_pFile;
};

// Removes the temporary file unless the write was committed.
class CTempFileGuard {
public:
    explicit CTempFileGuard(CFileLayer& files) : m_files(files) {}
    CTempFileGuard(const CTempFileGuard&) = delete;
    CTempFileGuard& operator=(const CTempFileGuard&) = delete;
    ~CTempFileGuard() {
        if (!m_path.empty()) {
            m_files.Remove(FileName(m_path));
        }
    }
    void Track(const fs::path& path) { m_path = path; }
    void Commit() { m_path.clear(); }

private:
    CFileLayer& m_files;
    fs::path m_path;
};

// Passes the pieces of a text to the file layer, one WriteAll each; after a
// piece fails, nothing more is written.
class CLayerSink : public CXmlTextSink {
public:
    CLayerSink(CFileLayer& files, std::FILE* file) : m_files(files), m_pFile(file) {}
    bool Put(const char* bytes, std::size_t size) override {
        m_bFailed = m_bFailed || !m_files.WriteAll(m_pFile, bytes, size);
        return !m_bFailed;
    }
    bool Failed() const { return m_bFailed; }

private:
    CFileLayer& m_files;
    std::FILE* m_pFile;
    bool m_bFailed = false;
};

fs::path FolderOf(const fs::path& target) {
    const fs::path folder = target.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

// Gives a file the rights a file gets that is created the usual way: read
// and write for all that the process's file mode mask leaves. (On Windows
// the file was created with them.)
void GiveUsualNewFileRights([[maybe_unused]] const fs::path& file) {
#ifndef _WIN32
    // The mask can only be read by setting it; the program does its work on
    // one thread, so nothing else creates a file meanwhile.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    std::error_code ec;
    fs::permissions(file, static_cast<fs::perms>(0666 & ~mask), ec);
#endif
}

// Creates a file of a new name beside target, opened for writing; the name
// is left in temp. Null when no such file can be created.
std::FILE* CreateTempBeside(CFileLayer& files, const fs::path& target, fs::path& temp) {
    const fs::path folder = FolderOf(target);
    // 64 random bits a name: nobody can guess the next name, nor fill the
    // folder with every name that could come.
    std::random_device seed;
    std::mt19937_64 random((static_cast<uint64_t>(seed()) << 32) ^ seed());
    for (int attempt = 0; attempt < 16; ++attempt) {
        char digits[17];
        std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(random()));
        const std::string suffix = std::string(".~") + digits + ".tmp";
        temp = folder / target.filename();
        temp += suffix;
        if (std::FILE* file = files.CreateNew(FileName(temp))) {
            return file;
        }
        std::error_code ec;
        if (!fs::exists(temp, ec)) {
            return nullptr; // not a name clash: the folder cannot take the file
        }
    }
    return nullptr;
}

} // namespace

std::FILE* CFileLayer::CreateNew(const std::string& path) {
#ifdef _WIN32
    // "x": fail rather than reuse a file or follow a link that exists already.
    return std::fopen(path.c_str(), "wbx");
#else
    // O_EXCL: the same, and the file is its owner's alone from the start.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0) {
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        ::close(fd);
    }
    return file;
#endif
}

bool CFileLayer::WriteAll(std::FILE* file, const char* bytes, std::size_t size) {
    const bool written = size == 0 || std::fwrite(bytes, 1, size, file) == size;
    return std::fflush(file) == 0 && written;
}

bool CFileLayer::Sync(std::FILE* file) {
    if (std::fflush(file) != 0) {
        return false;
    }
#ifdef _WIN32
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file)));
    return handle != INVALID_HANDLE_VALUE && ::FlushFileBuffers(handle) != 0;
#else
    return ::fsync(::fileno(file)) == 0;
#endif
}

bool CFileLayer::Close(std::FILE* file) {
    return std::fclose(file) == 0;
}

bool CFileLayer::Rename(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::rename(FilePath(from), FilePath(to), ec);
    return !ec;
}

bool CFileLayer::Remove(const std::string& path) {
    std::error_code ec;
    return fs::remove(FilePath(path), ec);
}

bool CFileLayer::SyncFolder([[maybe_unused]] const std::string& folder) {
#ifdef _WIN32
    // A rename is made durable by the file system itself.
    return true;
#else
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
#endif
}

CFileLayer& CFileLayer::Real() {
    static CFileLayer real;
    return real;
}

bool WriteFileReplacing(const std::string& path, const char* bytes, std::size_t size,
                        CFileLayer& files) {
    return WriteFileReplacing(
        path, [&](CXmlTextSink& sink) { return sink.Put(bytes, size); }, files);
}

bool WriteFileReplacing(const std::string& path, const std::function<bool(CXmlTextSink&)>& write,
                        CFileLayer& files) {
    std::error_code ec;
    fs::path target = FilePath(path);
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
    CTempFileGuard guard(files);
    COpenFile file(files, CreateTempBeside(files, target, temp));
    if (!file.Get()) {
        return false;
    }
    guard.Track(temp);

    CLayerSink sink(files, file.Get());
    if (!write(sink) || sink.Failed()) {
        return false;
    }
    // The new file keeps the access rights of the one it replaces, and a
    // file that replaces none gets those every new file gets. They are set
    // before the data goes to the disk, so that they get there with it.
    if (replacing) {
        fs::permissions(temp, status.permissions(), ec);
    } else {
        GiveUsualNewFileRights(temp);
    }
    // On the disk before it takes the old file's place: after a power cut
    // the file under path is the old one or the complete new one.
    if (!files.Sync(file.Get()) || !file.Close()) {
        return false;
    }
    if (!files.Rename(FileName(temp), FileName(target))) {
        return false;
    }
    guard.Commit();
    // The folder's entry for the new file goes to the disk too. The old file
    // is gone by now, so a folder that cannot be synced (some file systems
    // refuse) does not make the save a failure.
    files.SyncFolder(FileName(FolderOf(target)));
    return true;
}

bool CopyFileReplacing(const std::string& from, const std::string& to) {
    std::error_code ec;
#ifdef _WIN32
    // The Windows standard library has no file identities to compare and
    // takes any destination that exists for the source itself, refusing to
    // overwrite it; a destination that is another file goes first.
    if (fs::exists(FilePath(to), ec) && !fs::equivalent(FilePath(from), FilePath(to), ec) && !ec) {
        fs::remove(FilePath(to), ec);
    }
#endif
    return fs::copy_file(FilePath(from), FilePath(to), fs::copy_options::overwrite_existing, ec) &&
           !ec;
}
