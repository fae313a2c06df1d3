// Writing a file so that it is either replaced as a whole or left as it was.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>

class CXmlTextSink;

// The file operations a safe write is made of. The real ones are the
// default; tests derive from it to make any step fail.
class CFileLayer {
public:
    virtual ~CFileLayer() = default;
    // Creates and opens for writing a file that does not exist yet; a name
    // that exists, as a file or a link, fails instead of being reused. Only
    // the owner may read or write the new file (on Windows: the folder's
    // default rights).
    virtual std::FILE* CreateNew(const std::string& path);
    // Writes all bytes and flushes them to the system.
    virtual bool WriteAll(std::FILE* file, const char* bytes, std::size_t size);
    // Has the system put the file's data on the disk (fsync, FlushFileBuffers).
    virtual bool Sync(std::FILE* file);
    virtual bool Close(std::FILE* file);
    virtual bool Rename(const std::string& from, const std::string& to);
    // Has the system put the folder's list of names on the disk, so that a
    // rename in it outlasts a power cut (POSIX; nothing to do on Windows).
    virtual bool SyncFolder(const std::string& folder);
    virtual bool Remove(const std::string& path);

    static CFileLayer& Real();
};

// Writes size bytes to a new temporary file in the folder of path and, once
// all of them are written, on the disk and the file is closed, puts it in the
// place of path and puts the folder's new entry on the disk too. On failure
// the file at path is unchanged and the temporary file is removed. The
// temporary file gets a new random name beside path (it is never a file or
// link that exists already) and is created so that only its owner may read
// it; it gets path's rights just before it takes path's place. A destination that exists but is not
// a regular file, or carries no write permission, is refused. A symbolic link is followed: the file
// it points to is replaced and the link stays.
bool WriteFileReplacing(const std::string& path, const char* bytes, std::size_t size,
                        CFileLayer& files = CFileLayer::Real());

// The same for a text that write produces in pieces, passing each to the
// sink it is given (each piece goes to CFileLayer::WriteAll): a large file
// is written without being held in memory as a whole. write returns false
// when its text is incomplete; the file at path is replaced only when it
// returns true and every piece was written.
bool WriteFileReplacing(const std::string& path, const std::function<bool(CXmlTextSink&)>& write,
                        CFileLayer& files = CFileLayer::Real());

// Copies the file at from to to, replacing a file that is there; keeps the
// source's access rights. False when nothing or not all of it was copied.
bool CopyFileReplacing(const std::string& from, const std::string& to);
