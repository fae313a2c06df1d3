#include "document/PlanIndex.h"

#include "document/TextHash.h"

#include <algorithm>
#include <bit>

namespace {

constexpr int kFirstSlotBits = 6;

} // namespace

std::string_view CPlanIndex::KeyAt(uint32_t place) const {
    const CXmlString& key = m_records[place]->m_strPlanKey;
    return {key.GetBuffer(), static_cast<size_t>(key.GetLength())};
}

uint32_t CPlanIndex::Hash(std::string_view key) {
    return HashText(key);
}

size_t CPlanIndex::Find(std::string_view key, uint32_t hash) const {
    if (m_nCount == 0) {
        return npos;
    }
    const size_t mask = m_slots.size() - 1;
    for (size_t at = SlotForHash(hash, m_nSlotBits);; at = (at + 1) & mask) {
        const Slot& slot = m_slots[at];
        if (slot.nPlace == kFree) {
            return npos;
        }
        if (slot.nHash == hash && KeyAt(slot.nPlace) == key) {
            return slot.nPlace;
        }
    }
}

void CPlanIndex::Insert(size_t place, uint32_t hash) {
    // A merge makes one record per plan, far fewer than the slots can count.
    if (place >= kFree) {
        return;
    }
    // At most half the slots are in use, so that a probe ends soon.
    if ((m_nCount + 1) * 2 > m_slots.size()) {
        Grow();
    }
    const std::string_view key = KeyAt(static_cast<uint32_t>(place));
    const size_t mask = m_slots.size() - 1;
    for (size_t at = SlotForHash(hash, m_nSlotBits);; at = (at + 1) & mask) {
        Slot& slot = m_slots[at];
        if (slot.nPlace == kFree) {
            slot = {hash, static_cast<uint32_t>(place)};
            ++m_nCount;
            return;
        }
        if (slot.nHash == hash && KeyAt(slot.nPlace) == key) {
            return;
        }
    }
}

void CPlanIndex::Grow() {
    Rebuild(m_slots.empty() ? kFirstSlotBits : m_nSlotBits + 1);
}

void CPlanIndex::Reserve(size_t records) {
    // A table filled to two thirds of the way to its limit of one half.
    const size_t slots = records + records / 2;
    if (slots > m_slots.size() && records < kFree) {
        Rebuild(std::max(kFirstSlotBits, static_cast<int>(std::bit_width(slots - 1))));
    }
}

void CPlanIndex::Rebuild(int bits) {
    // Made in full before the table changes: running out of memory leaves
    // the index as it was.
    std::vector<Slot> bigger(size_t{1} << bits, Slot{0, kFree});
    m_slots.swap(bigger);
    m_nSlotBits = bits;
    const size_t mask = m_slots.size() - 1;
    for (const Slot& slot : bigger) {
        if (slot.nPlace == kFree) {
            continue;
        }
        size_t at = SlotForHash(slot.nHash, m_nSlotBits);
        while (m_slots[at].nPlace != kFree) {
            at = (at + 1) & mask;
        }
        m_slots[at] = slot;
    }
}

void CPlanIndex::Clear() {
    std::vector<Slot>().swap(m_slots);
    m_nSlotBits = 0;
    m_nCount = 0;
}
