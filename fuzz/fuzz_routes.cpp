// Route networks: the input is split into a node file and a link file (the first two bytes give
// the node file's length). A network that fails is empty; one that loads has no more segments than
// its links and points allow, each between points the files hold.
#include "fuzzcommon.h"
#include "mapview/map.h"

#include <cmath>
#include <set>

namespace {

float FloatAt(const QByteArray& bytes, qsizetype at)
{
    uint32_t raw = 0;
    for (int i = 3; i >= 0; --i)
        raw = raw << 8 | static_cast<unsigned char>(bytes[at + i]);
    float value;
    std::memcpy(&value, &raw, 4);
    return value;
}

// Bit patterns, so that NaN compares equal to itself.
uint32_t Bits(float value)
{
    uint32_t raw;
    std::memcpy(&raw, &value, 4);
    return raw;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const QByteArray input = fuzz::Bytes(data + 2, size - 2);
    const qsizetype split = std::min<qsizetype>(data[0] | (data[1] << 8), input.size());
    const QByteArray nodes = input.left(split);
    const QByteArray links = input.mid(split);
    const QString base = fuzz::WriteScratchFile(QStringLiteral("route/net.nde"), nodes);
    fuzz::WriteScratchFile(QStringLiteral("route/net.wp"), links);

    RouteList list{{1, 2, 3, 4}};
    QString reason;
    if (!CMap::LoadRouteNetwork(base, list, &reason)) {
        FUZZ_CHECK(!reason.isEmpty());
        FUZZ_CHECK(list.empty());
        return 0;
    }
    // Each link gives at most one segment per intermediate point plus one; a link is 16 bytes and
    // a point 12, so the link file bounds the count.
    FUZZ_CHECK(qint64(list.size()) <= std::max<qint64>(links.size() / 12, 0) + 1);

    // Every end point is a node (X at 0, Z at 8 of its 12 bytes) or a point of the link file.
    std::set<std::pair<uint32_t, uint32_t>> known;
    for (qsizetype at = 4; at + 12 <= nodes.size(); at += 12)
        known.insert({Bits(FloatAt(nodes, at)), Bits(FloatAt(nodes, at + 8))});
    for (qsizetype at = 0; at + 12 <= links.size(); ++at)
        known.insert({Bits(FloatAt(links, at)), Bits(FloatAt(links, at + 8))});
    for (const RouteSegment& s : list) {
        FUZZ_CHECK(known.count({Bits(s.X1), Bits(s.Z1)}) == 1);
        FUZZ_CHECK(known.count({Bits(s.X2), Bits(s.Z2)}) == 1);
    }
    return 0;
}
