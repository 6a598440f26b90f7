#pragma once
// Counts what the code under test takes from operator new while a probe is armed: the largest
// single request, the most held at once and the number of requests; it can also make one request
// fail, as when memory runs out. Include in exactly one file of a test executable (it replaces the
// global operator new and delete). QByteArray storage comes from malloc and is not counted; the
// readers' own structures (vectors, strings, records) are.

#include <cstddef>
#include <cstdlib>
#include <new>

namespace probe {

struct State {
    bool Armed = false;
    size_t Largest = 0;
    long long Held = 0;
    long long Peak = 0;
    long long Requests = 0;
    long long FailingRequest = -1; // this request (counted from 0) throws std::bad_alloc
};

inline State& Current()
{
    static State state;
    return state;
}

// Each block carries its size in front, so that delete knows what it gives back.
constexpr size_t kHeader = alignof(std::max_align_t);

// Only requests that may throw are counted and made to fail: a nothrow request (a sort's scratch
// buffer) has its own way out.
inline void* Take(size_t size, bool mayThrow = true)
{
    State& s = Current();
    if (s.Armed && mayThrow && s.Requests++ == s.FailingRequest)
        throw std::bad_alloc();
    void* raw = std::malloc(size + kHeader);
    if (!raw)
        throw std::bad_alloc();
    *static_cast<size_t*>(raw) = size;
    if (s.Armed) {
        if (size > s.Largest)
            s.Largest = size;
        s.Held += static_cast<long long>(size);
        if (s.Held > s.Peak)
            s.Peak = s.Held;
    }
    return static_cast<char*>(raw) + kHeader;
}

inline void Give(void* block)
{
    if (!block)
        return;
    void* raw = static_cast<char*>(block) - kHeader;
    State& s = Current();
    if (s.Armed)
        s.Held -= static_cast<long long>(*static_cast<size_t*>(raw));
    std::free(raw);
}

// Arms the probe for its lifetime; with `failingRequest`, that request fails.
class Scope {
public:
    explicit Scope(long long failingRequest = -1) { Current() = State{true, 0, 0, 0, 0, failingRequest}; }
    ~Scope() { Current().Armed = false; }
    size_t Largest() const { return Current().Largest; }
    long long Peak() const { return Current().Peak; }
    long long Requests() const { return Current().Requests; }
};

} // namespace probe

void* operator new(size_t size) { return probe::Take(size); }
void* operator new[](size_t size) { return probe::Take(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    try {
        return probe::Take(size, false);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* block) noexcept { probe::Give(block); }
void operator delete[](void* block) noexcept { probe::Give(block); }
void operator delete(void* block, size_t) noexcept { probe::Give(block); }
void operator delete[](void* block, size_t) noexcept { probe::Give(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { probe::Give(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { probe::Give(block); }
