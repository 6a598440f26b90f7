#include "factions/packbits.h"

#include <algorithm>
#include <cstring>

namespace {

void AppendLiterals(QByteArray& out, const unsigned char* bytes, qsizetype count)
{
    while (count > 0) {
        const qsizetype n = std::min<qsizetype>(count, 128);
        out.append(static_cast<char>(n - 1));
        out.append(reinterpret_cast<const char*>(bytes), n);
        bytes += n;
        count -= n;
    }
}

void AppendRun(QByteArray& out, unsigned char value, qsizetype count)
{
    while (count > 0) {
        const qsizetype n = std::min<qsizetype>(count, 128);
        if (n == 1)
            out.append('\0'); // a lone byte cannot be a repeat packet
        else
            out.append(static_cast<char>(static_cast<unsigned char>(257 - n)));
        out.append(static_cast<char>(value));
        count -= n;
    }
}

} // namespace

QByteArray PackRow(const unsigned char* row, int32_t length)
{
    QByteArray out;
    if (length <= 0)
        return out;
    out.reserve(length + length / 128 + 2);

    // Pending literals are always a contiguous stretch of the row, so they are kept as an offset.
    qsizetype literalStart = 0;
    qsizetype literalCount = 0;
    unsigned char previous = row[0];
    qsizetype run = 1;
    for (qsizetype at = 1; at < length; ++at) {
        const unsigned char byte = row[at];
        if (byte == previous) {
            ++run;
            continue;
        }
        if (run == 1) {
            ++literalCount;
        } else {
            AppendLiterals(out, row + literalStart, literalCount);
            AppendRun(out, previous, run);
            literalCount = 0;
        }
        if (literalCount == 129) {
            AppendLiterals(out, row + literalStart, 128);
            literalStart += 128;
            literalCount = 1;
        }
        if (literalCount == 0)
            literalStart = at;
        previous = byte;
        run = 1;
    }
    if (run == 1) {
        ++literalCount;
        AppendLiterals(out, row + literalStart, literalCount);
    } else {
        AppendLiterals(out, row + literalStart, literalCount);
        AppendRun(out, previous, run);
    }
    return out;
}

QByteArray PackChannel(const unsigned char* pixels, int32_t rowCount, int32_t rowLength)
{
    if (rowCount < 0 || rowLength < 0)
        return QByteArray();
    QByteArray out;
    out.reserve(2 + 2 * qsizetype(rowCount) + qsizetype(rowCount) * (rowLength / 8 + 2));
    out.append('\0');
    out.append('\1');
    out.append(2 * qsizetype(rowCount), '\0');
    for (int32_t r = 0; r < rowCount; ++r) {
        const QByteArray packed = PackRow(pixels + qsizetype(r) * rowLength, rowLength);
        if (packed.size() > 0xFFFF)
            return QByteArray();
        const qsizetype slot = 2 + 2 * qsizetype(r);
        out[slot] = static_cast<char>(packed.size() >> 8);
        out[slot + 1] = static_cast<char>(packed.size() & 0xFF);
        out.append(packed);
    }
    return out;
}

void UnpackRow(const unsigned char* packed, int64_t packedLength, unsigned char* out, int32_t width)
{
    int64_t in = 0;
    int64_t filled = 0;
    while (in < packedLength && filled < width) {
        const unsigned header = packed[in++];
        if (header < 128) {
            int64_t n = std::min<int64_t>(header + 1, packedLength - in);
            const int64_t kept = std::min<int64_t>(n, width - filled);
            std::memcpy(out + filled, packed + in, static_cast<size_t>(kept));
            in += n;
            filled += kept;
        } else {
            if (in >= packedLength)
                break;
            const unsigned char value = packed[in++];
            const int64_t n = std::min<int64_t>(257 - header, width - filled);
            std::memset(out + filled, value, static_cast<size_t>(n));
            filled += n;
        }
    }
}
