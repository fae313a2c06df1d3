// Keys under which children are found: a name trimmed of blanks and tabs at
// both ends, with the letters A-Z lowered.
#pragma once

#include "xml/XmlString.h"

#include <cstdint>
#include <cstring>

struct XmlKeyRange {
    const char* pBegin;
    int32_t nLength;
};

inline bool IsKeyBlank(char c) {
    return c == ' ' || c == '\t';
}

inline char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

// The part of a name that its key is made of, before lowering.
inline XmlKeyRange PreparedKeyRange(const char* name, int32_t length) {
    int32_t begin = 0;
    while (begin < length && IsKeyBlank(name[begin])) {
        ++begin;
    }
    while (length > begin && IsKeyBlank(name[length - 1])) {
        --length;
    }
    return {name + begin, length - begin};
}

// Whether a name range, lowered, equals an already lowered key.
inline bool LoweredEquals(XmlKeyRange range, const char* lowered, int32_t length) {
    if (range.nLength != length) {
        return false;
    }
    for (int32_t i = 0; i < length; ++i) {
        if (LowerAscii(range.pBegin[i]) != lowered[i]) {
            return false;
        }
    }
    return true;
}

// Whether length bytes at a and b are the same; for the short names and keys
// of a file, without a call. Longer runs are compared as two words that may
// overlap.
inline bool SameBytes(const char* a, const char* b, int32_t length) {
    const auto same = [a, b](int32_t at, auto word) {
        decltype(word) x = 0;
        decltype(word) y = 0;
        std::memcpy(&x, a + at, sizeof word);
        std::memcpy(&y, b + at, sizeof word);
        return x == y;
    };
    if (length >= 8) {
        for (int32_t at = 0; at + 8 < length; at += 8) {
            if (!same(at, uint64_t{})) {
                return false;
            }
        }
        return same(length - 8, uint64_t{});
    }
    if (length >= 4) {
        return same(0, uint32_t{}) && same(length - 4, uint32_t{});
    }
    for (int32_t i = 0; i < length; ++i) {
        if (a[i] != b[i]) {
            return false;
        }
    }
    return true;
}

// The key of a name, prepared once: a lookup that is made for many nodes
// (the merge looks up the same few names in every plan) then neither copies
// nor lowers the name again. Looking up a CXmlKey finds exactly what looking
// up the name it was made from finds.
class CXmlKey {
public:
    explicit CXmlKey(const char* name) {
        if (name) {
            const size_t length = std::strlen(name);
            Prepare(name, length > INT32_MAX ? INT32_MAX : static_cast<int32_t>(length));
        }
    }
    explicit CXmlKey(const CXmlString& name) { Prepare(name.GetBuffer(), name.GetLength()); }

    const char* GetBuffer() const { return m_strKey.GetBuffer(); }
    int32_t GetLength() const { return m_strKey.GetLength(); }
    // The key with a-z raised, which a name written in upper case equals;
    // kept for keys of the length of a file's element names, null for
    // longer ones.
    const char* GetUpperBuffer() const { return m_bUpper ? m_upper : nullptr; }
    // An empty key finds no child.
    bool IsEmpty() const { return m_strKey.IsEmpty(); }

private:
    static constexpr int32_t kUpperSize = 16;

    void Prepare(const char* name, int32_t length) {
        const XmlKeyRange range = PreparedKeyRange(name, length);
        m_strKey.Append(range.pBegin, range.nLength);
        m_strKey.MakeLower();
        const int32_t keyLength = m_strKey.GetLength();
        if (keyLength < kUpperSize) {
            const char* key = m_strKey.GetBuffer();
            for (int32_t i = 0; i < keyLength; ++i) {
                m_upper[i] =
                    (key[i] >= 'a' && key[i] <= 'z') ? static_cast<char>(key[i] - 32) : key[i];
            }
            m_upper[keyLength] = '\0';
            m_bUpper = true;
        }
    }

    CXmlString m_strKey;
    char m_upper[kUpperSize] = {};
    bool m_bUpper = false;
};
