#include "catalogues/nametable.h"

#include <cstring>

uint64_t CNameTable::Hash(std::string_view name)
{
    // Eight bytes at a time, each mixed by a multiply; names are a few dozen bytes at most.
    constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    uint64_t hash = name.size() * kMultiplier;
    const char* p = name.data();
    size_t left = name.size();
    while (left >= 8) {
        uint64_t chunk;
        std::memcpy(&chunk, p, 8);
        hash = (hash ^ chunk) * kMultiplier;
        hash ^= hash >> 29;
        p += 8;
        left -= 8;
    }
    uint64_t tail = 0;
    std::memcpy(&tail, p, left);
    hash = (hash ^ tail) * kMultiplier;
    return hash ^ (hash >> 32);
}

void CNameTable::Build(const std::vector<std::string>& names)
{
    size_t size = 16;
    while (size < names.size() * 2)
        size *= 2;
    std::vector<Slot> slots(size);
    const size_t mask = size - 1;
    for (size_t i = 0; i < names.size(); ++i) {
        const uint64_t hash = Hash(names[i]);
        size_t slot = hash & mask;
        bool present = false;
        while (slots[slot].Index >= 0 && !present) {
            present = slots[slot].Hash == static_cast<uint32_t>(hash) && names[static_cast<size_t>(slots[slot].Index)] == names[i];
            slot = (slot + 1) & mask;
        }
        if (!present)
            slots[slot] = {static_cast<int32_t>(i), static_cast<uint32_t>(hash)};
    }
    m_slots.swap(slots);
    m_mask = mask;
}
