#include "document/RecentFileList.h"

#include "document/Platform.h"

#include <algorithm>

CRecentFileList::CRecentFileList(CPlatform& platform) : m_platform(platform) {}

std::string CRecentFileList::EntryName(int index) {
    return "File" + std::to_string(index + 1);
}

void CRecentFileList::ReadList() {
    m_entries.clear();
    for (int index = 0; index < kMaxEntries; ++index) {
        std::string path = m_platform.ReadSettingString(kSection, EntryName(index), "");
        if (!path.empty() &&
            std::find(m_entries.begin(), m_entries.end(), path) == m_entries.end()) {
            m_entries.push_back(std::move(path));
        }
    }
}

void CRecentFileList::WriteList() const {
    for (int index = 0; index < kMaxEntries; ++index) {
        m_platform.WriteSettingString(kSection, EntryName(index), GetAt(index));
    }
}

void CRecentFileList::Add(const std::string& path) {
    if (path.empty()) {
        return;
    }
    std::erase(m_entries, path);
    m_entries.insert(m_entries.begin(), path);
    if (m_entries.size() > static_cast<size_t>(kMaxEntries)) {
        m_entries.resize(kMaxEntries);
    }
}

void CRecentFileList::Remove(int index) {
    if (index >= 0 && index < GetSize()) {
        m_entries.erase(m_entries.begin() + index);
    }
}

std::string CRecentFileList::GetAt(int index) const {
    return index >= 0 && index < GetSize() ? m_entries[static_cast<size_t>(index)] : std::string();
}
