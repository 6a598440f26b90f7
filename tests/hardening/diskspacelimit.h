#pragma once
// A disk that fills up, for the tests of failed saves.

#include <csignal>
#include <sys/resource.h>

// Files may grow to `limit` bytes while it lives, as on a disk with that much space left (the
// limit binds root too, unlike a read-only folder). Writes past it fail instead of signalling.
class DiskSpaceLimit {
public:
    explicit DiskSpaceLimit(rlim_t limit)
    {
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit lower = m_old;
        lower.rlim_cur = limit;
        m_ok = setrlimit(RLIMIT_FSIZE, &lower) == 0;
    }
    ~DiskSpaceLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }
    bool Ok() const { return m_ok; }

private:
    rlimit m_old{};
    void (*m_handler)(int) = nullptr;
    bool m_ok = false;
};
