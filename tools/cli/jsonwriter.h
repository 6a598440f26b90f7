#pragma once
// JSON text written as it goes: the core's JSON text handed to standard output in pieces of a few
// dozen kilobytes.

#include "cli.h"

#include "document/jsontext.h"

namespace cli {

using json::Array;

class CJsonWriter : public CJsonText {
public:
    CJsonWriter() { m_text.reserve(kFlushAt + 4096); }
    ~CJsonWriter() override { Flush(); }

    void Flush()
    {
        PrintBytes(m_text.data(), m_text.size());
        m_text.clear();
    }

protected:
    void Gathered() override
    {
        if (m_text.size() >= kFlushAt)
            Flush();
    }

private:
    static constexpr size_t kFlushAt = 64 * 1024;
};

} // namespace cli
