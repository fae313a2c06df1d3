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
    const Slot& slot = m_slots[FindSlot(key, hash)];
    return slot.nPlace == kFree ? npos : slot.nPlace;
}

size_t CPlanIndex::FindSlot(std::string_view key, uint32_t hash) const {
    return ProbeSlots(hash, m_nSlotBits, [&](size_t at) {
        const Slot& slot = m_slots[at];
        return slot.nPlace == kFree || (slot.nHash == hash && KeyAt(slot.nPlace) == key);
    });
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
    Slot& slot = m_slots[FindSlot(KeyAt(static_cast<uint32_t>(place)), hash)];
    if (slot.nPlace == kFree) {
        slot = {hash, static_cast<uint32_t>(place)};
        ++m_nCount;
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
    m_slots = Rehashed(
        m_slots, bits, Slot{0, kFree}, [](const Slot& slot) { return slot.nPlace != kFree; },
        [](const Slot& slot) { return slot.nHash; });
    m_nSlotBits = bits;
}

void CPlanIndex::Clear() {
    std::vector<Slot>().swap(m_slots);
    m_nSlotBits = 0;
    m_nCount = 0;
}
