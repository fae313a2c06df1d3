// Helpers of the merge's open-addressing hash tables: the hash of a short
// text, the home slot of a hash in a table of 2^bits slots, linear probing
// from there, and rehashing into a larger table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

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

// Linear probing: the first slot, from the home slot of hash onwards and
// round the end of the table, for which stop holds: a lookup stops at its key
// or at a free slot, an insert at a free slot. The table must have such a
// slot.
template <class Stop> size_t ProbeSlots(uint64_t hash, int bits, Stop stop) {
    const size_t mask = (size_t{1} << bits) - 1;
    size_t at = SlotForHash(hash, bits);
    while (!stop(at)) {
        at = (at + 1) & mask;
    }
    return at;
}

// Rehashing: a table of 2^bits slots, free but for the used slots of old
// (isUsed), each inserted at the first free slot from the home slot of its
// hash (hashOf). Made in full beside old, so that running out of memory
// leaves old as it was.
template <class Slot, class IsUsed, class HashOf>
std::vector<Slot> Rehashed(const std::vector<Slot>& old, int bits, const Slot& freeSlot,
                           IsUsed isUsed, HashOf hashOf) {
    std::vector<Slot> slots(size_t{1} << bits, freeSlot);
    for (const Slot& slot : old) {
        if (isUsed(slot)) {
            slots[ProbeSlots(hashOf(slot), bits, [&](size_t at) { return !isUsed(slots[at]); })] =
                slot;
        }
    }
    return slots;
}
