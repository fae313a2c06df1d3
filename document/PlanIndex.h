// CPlanIndex: the merge's records by plan key. A merge looks up every plan
// key it meets, a hundred thousand and more in a large file: the index is an
// open-addressing hash table (linear probing) whose slots hold a key's hash
// and its record's place, so that a lookup reads one slot in the common case
// and the record itself only to confirm a match, and an insert allocates
// nothing of its own.
#pragma once

#include "document/PlanValues.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

class CPlanIndex {
public:
    using Records = std::vector<std::unique_ptr<CPlanValues>>;
    static constexpr size_t npos = static_cast<size_t>(-1);

    // The table maps the plan keys of records to the records' places.
    explicit CPlanIndex(const Records& records) : m_records(records) {}
    CPlanIndex(const CPlanIndex&) = delete;
    CPlanIndex& operator=(const CPlanIndex&) = delete;

    // The hash of key in the table, for callers that look a key up more than
    // once.
    static uint32_t Hash(std::string_view key);
    // The place of the record with key, or npos; hash is Hash(key).
    size_t Find(std::string_view key, uint32_t hash) const;
    size_t Find(std::string_view key) const { return Find(key, Hash(key)); }
    // Hash-table insert of the record at place under its plan key, unless a
    // record with that key is in the table already: the first one inserted
    // counts. The record's key must stay as it is until Clear. hash is the
    // Hash of the key.
    void Insert(size_t place, uint32_t hash);
    // Makes room for records records in all, so that inserting that many
    // rehashes the table at most once more.
    void Reserve(size_t records);
    void Clear();

private:
    struct Slot {
        uint32_t nHash;
        uint32_t nPlace; // kFree: the slot is free
    };
    static constexpr uint32_t kFree = UINT32_MAX;

    std::string_view KeyAt(uint32_t place) const;
    // The slot of key, or the free slot where an insert would put it.
    size_t FindSlot(std::string_view key, uint32_t hash) const;
    void Grow();
    void Rebuild(int bits);

    const Records& m_records;
    std::vector<Slot> m_slots; // a power of two of them, or none
    int m_nSlotBits = 0;
    size_t m_nCount = 0;
};
