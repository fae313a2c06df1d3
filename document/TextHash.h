// The hash of a short text for the merge's flat lookup tables, and where a
// table of 2^bits slots starts looking for it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// FNV-1a: the keys are short, and SlotForHash spreads the hash over a table.
inline uint32_t HashText(std::string_view text) {
    uint32_t hash = 2166136261u;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return hash;
}

// The top bits of the hash multiplied by the golden ratio, which mixes all
// of its bits into them. bits is between 1 and 63.
inline size_t SlotForHash(uint64_t hash, int bits) {
    return static_cast<size_t>((hash * 0x9E3779B97F4A7C15ull) >> (64 - bits));
}
