// CTextArena: texts kept once, back to back in large blocks, and handed out
// as views that stay valid for the arena's life: no text has a heap block of
// its own, and adding never moves what is already there.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

class CTextArena {
public:
    // A copy of text inside the arena.
    std::string_view Add(std::string_view text) {
        if (text.empty()) {
            return {};
        }
        if (m_blocks.empty() || m_nFree < text.size()) {
            const size_t size = text.size() > kBlockSize ? text.size() : kBlockSize;
            m_blocks.push_back(std::make_unique_for_overwrite<char[]>(size));
            m_nUsed = 0;
            m_nFree = size;
        }
        char* place = m_blocks.back().get() + m_nUsed;
        std::memcpy(place, text.data(), text.size());
        m_nUsed += text.size();
        m_nFree -= text.size();
        return {place, text.size()};
    }

    void Clear() {
        m_blocks.clear();
        m_nUsed = 0;
        m_nFree = 0;
    }

private:
    static constexpr size_t kBlockSize = size_t{1} << 20;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    size_t m_nUsed = 0;
    size_t m_nFree = 0;
};
