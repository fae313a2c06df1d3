// Keys under which children are found: a name trimmed of blanks and tabs at
// both ends, with the letters A-Z lowered.
#pragma once

#include <cstdint>

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
