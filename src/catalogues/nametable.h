#pragma once
// Byte-exact lookup of names by open addressing in one flat array: a Map BIN file names a 3D
// object in every record, and nearly every stored name is spelt exactly as the catalogue spells it.

#include <cstdint>
#include <cstring>
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

    // Eight bytes at a time (the last eight overlapping), each mixed in by a multiply.
    static uint64_t Hash(std::string_view name)
    {
        const char* p = name.data();
        const size_t size = name.size();
        uint64_t hash = (size + 1) * kMultiplier;
        if (size >= 8) {
            const char* last = p + size - 8;
            for (; p < last; p += 8)
                hash = Mix(hash, Load<uint64_t>(p));
            hash = Mix(hash, Load<uint64_t>(last));
        } else if (size >= 4) {
            hash = Mix(hash, uint64_t(Load<uint32_t>(p)) << 32 | Load<uint32_t>(p + size - 4));
        } else if (size > 0) {
            const auto byte = [p](size_t i) { return uint64_t(static_cast<unsigned char>(p[i])); };
            hash = Mix(hash, byte(0) << 16 | byte(size / 2) << 8 | byte(size - 1));
        }
        // Every bit of the hash reaches the low bits that pick the slot.
        hash ^= hash >> 33;
        hash *= 0xFF51AFD7ED558CCDull;
        hash ^= hash >> 33;
        hash *= 0xC4CEB9FE1A85EC53ull;
        return hash ^ (hash >> 33);
    }

private:
    static constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    static uint64_t Mix(uint64_t hash, uint64_t chunk)
    {
        hash = (hash ^ chunk) * kMultiplier;
        return (hash << 27) | (hash >> 37);
    }
    template <typename T>
    static T Load(const char* p)
    {
        T value;
        std::memcpy(&value, p, sizeof value);
        return value;
    }

    struct Slot {
        int32_t Index = -1;
        uint32_t Hash = 0; // the low bits of the name's hash, to skip most comparisons
    };
    std::vector<Slot> m_slots; // a power of two, at most half full
    size_t m_mask = 0;
};
