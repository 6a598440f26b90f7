#pragma once
// Byte-exact lookup of names by open addressing in one flat array: a Map BIN file names a 3D
// object in every record, and nearly every stored name is spelt exactly as the catalogue spells it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CNameTable {
public:
    // Indexes `names` (positions in that vector); when names repeat, the first position wins.
    void Build(const std::vector<std::string>& names);
    // The position of `name` in the vector given to Build, or -1. `names` must be that vector.
    int32_t Find(const std::vector<std::string>& names, std::string_view name) const
    {
        if (m_slots.empty())
            return -1;
        const uint64_t hash = Hash(name);
        for (size_t slot = hash & m_mask;; slot = (slot + 1) & m_mask) {
            const Slot& entry = m_slots[slot];
            if (entry.Index < 0)
                return -1;
            if (entry.Hash == static_cast<uint32_t>(hash) && names[static_cast<size_t>(entry.Index)] == name)
                return entry.Index;
        }
    }

    static uint64_t Hash(std::string_view name);

private:
    struct Slot {
        int32_t Index = -1;
        uint32_t Hash = 0; // the low bits of the name's hash, to skip most comparisons
    };
    std::vector<Slot> m_slots; // a power of two, at most half full
    size_t m_mask = 0;
};
