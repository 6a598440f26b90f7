#pragma once
// Record positions as one 64-bit key each, and a flat table from key to a number (the first
// record at a position, or how many records stand there). Open addressing in one array: the
// checks look up every placement of a file, and a node per entry would cost more than the rest
// of the check.

#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace positions {

// No key: a position that is not a number takes part in no comparison.
inline constexpr uint64_t NoKey = ~uint64_t(0);

// X and Z side by side; 0 and -0 are the same position.
inline uint64_t Key(float x, float z)
{
    if (!(x - x == 0.0f) || !(z - z == 0.0f)) // NaN or infinite
        return NoKey;
    const float fx = x == 0 ? 0.0f : x;
    const float fz = z == 0 ? 0.0f : z;
    return (uint64_t(std::bit_cast<uint32_t>(fx)) << 32) | std::bit_cast<uint32_t>(fz);
}

} // namespace positions

// `Value` is a number, or a struct of numbers; a value equal to Value{} counts as none.
template <typename Value>
class CPositionMap {
public:
    explicit CPositionMap(size_t expected = 0) { Rebuild(expected); }

    // The value kept for `key`, Value{} when there is none.
    Value Find(uint64_t key) const
    {
        for (size_t slot = Hash(key) & m_mask;; slot = (slot + 1) & m_mask) {
            if (m_keys[slot] == key)
                return m_values[slot];
            if (m_keys[slot] == positions::NoKey)
                return Value{};
        }
    }
    // The value kept for `key`, made Value{} when the key is new.
    Value& operator[](uint64_t key)
    {
        size_t slot = Hash(key) & m_mask;
        for (; m_keys[slot] != positions::NoKey; slot = (slot + 1) & m_mask) {
            if (m_keys[slot] == key)
                return m_values[slot];
        }
        if ((m_used + 1) * 2 > m_keys.size()) {
            Grow();
            return (*this)[key];
        }
        ++m_used;
        m_keys[slot] = key;
        m_values[slot] = Value{};
        return m_values[slot];
    }
    // Room for `expected` keys, the keys whose value is Value{} dropped.
    void Rebuild(size_t expected)
    {
        size_t size = 16;
        while (size < expected * 2 + 2)
            size *= 2;
        std::vector<uint64_t> keys(size, positions::NoKey);
        std::vector<Value> values(size, Value{});
        keys.swap(m_keys);
        values.swap(m_values);
        m_mask = size - 1;
        m_used = 0;
        for (size_t i = 0; i < keys.size(); ++i) {
            if (keys[i] != positions::NoKey && !(values[i] == Value{}))
                (*this)[keys[i]] = values[i];
        }
    }

private:
    static size_t Hash(uint64_t key)
    {
        key ^= key >> 33;
        key *= 0xff51afd7ed558ccdull;
        key ^= key >> 33;
        return static_cast<size_t>(key);
    }
    void Grow() { Rebuild(m_used * 2 + 8); }

    std::vector<uint64_t> m_keys;
    std::vector<Value> m_values;
    size_t m_mask = 0;
    size_t m_used = 0;
};

using CPositionTable = CPositionMap<int32_t>;
