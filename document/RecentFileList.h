// CRecentFileList: the most recently opened or saved files, newest first, kept
// in the per-user settings under "Recent File List" as "File1" to "File4".
#pragma once

#include <string>
#include <vector>

class CPlatform;

class CRecentFileList {
public:
    static constexpr int kMaxEntries = 4;
    static constexpr const char* kSection = "Recent File List";

    explicit CRecentFileList(CPlatform& platform);

    // Replaces the list by the one in the settings.
    void ReadList();
    // Stores the list in the settings; unused entries are stored empty.
    void WriteList() const;

    // Puts path first; an entry for the same path moves up instead of
    // appearing twice, and the oldest entry drops out beyond kMaxEntries.
    void Add(const std::string& path);
    void Remove(int index);

    int GetSize() const { return static_cast<int>(m_entries.size()); }
    // The path of entry index, or an empty text when there is none.
    std::string GetAt(int index) const;
    const std::vector<std::string>& GetEntries() const { return m_entries; }

private:
    static std::string EntryName(int index);

    CPlatform& m_platform;
    std::vector<std::string> m_entries;
};
