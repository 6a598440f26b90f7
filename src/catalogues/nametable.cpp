#include "catalogues/nametable.h"

void CNameTable::Build(const std::vector<std::string>& names)
{
    size_t size = 16;
    while (size < names.size() * 2)
        size *= 2;
    std::vector<Slot> table(size);
    const size_t mask = size - 1;
    for (size_t i = 0; i < names.size(); ++i) {
        const uint64_t hash = Hash(names[i]);
        size_t slot = hash & mask;
        bool present = false;
        while (table[slot].Index >= 0 && !present) {
            present = table[slot].Hash == static_cast<uint32_t>(hash)
                && names[static_cast<size_t>(table[slot].Index)] == names[i];
            slot = (slot + 1) & mask;
        }
        if (!present)
            table[slot] = {static_cast<int32_t>(i), static_cast<uint32_t>(hash)};
    }
    m_slots.swap(table);
    m_mask = mask;
}
