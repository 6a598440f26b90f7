#include "factions/layereddocument.h"

#include "platform/atomicsave.h"
#include "platform/fileread.h"
#include "platform/streams.h"

#include <QtEndian>
#include <cstring>

namespace {

// Big-endian reads over a bounds-checked cursor: every length is checked against the bytes that
// remain before anything is allocated, and the first failure sticks with its offset.
class Cursor {
public:
    explicit Cursor(const QByteArray& bytes) : m_bytes(bytes), m_reader(bytes) { }

    CByteReader& Reader() { return m_reader; }
    bool Failed() const { return m_reader.Failed(); }
    qint64 Position() const { return m_reader.Position(); }
    qint64 Remaining() const { return m_reader.Remaining(); }

    bool Bytes(void* out, qint64 length)
    {
        const qint64 at = m_reader.Position();
        if (!m_reader.Skip(length))
            return false;
        if (length > 0)
            std::memcpy(out, m_bytes.constData() + at, static_cast<size_t>(length));
        return true;
    }
    bool Block(QByteArray& out, qint64 length, const char* what)
    {
        if (Failed())
            return false;
        if (length < 0 || length > Remaining()) {
            m_reader.Fail(QStringLiteral("%1 of %2 bytes at offset %3 runs past the end of the file")
                              .arg(QLatin1String(what))
                              .arg(length)
                              .arg(Position()));
            return false;
        }
        out = m_bytes.mid(Position(), length);
        return m_reader.Skip(length);
    }
    template <size_t N>
    bool Raw(std::array<unsigned char, N>& out)
    {
        return Bytes(out.data(), N);
    }
    bool U8(unsigned char& value) { return Bytes(&value, 1); }
    bool U16(uint16_t& value)
    {
        unsigned char b[2];
        if (!Bytes(b, 2))
            return false;
        value = qFromBigEndian<uint16_t>(b);
        return true;
    }
    bool U32(uint32_t& value)
    {
        unsigned char b[4];
        if (!Bytes(b, 4))
            return false;
        value = qFromBigEndian<uint32_t>(b);
        return true;
    }
    // True when the bytes at the cursor begin with `signature`.
    bool Peek(QByteArrayView signature) const
    {
        return QByteArrayView(m_bytes).sliced(Position()).startsWith(signature);
    }
    bool Fail(const QString& reason)
    {
        m_reader.Fail(reason);
        return false;
    }

private:
    const QByteArray& m_bytes;
    CByteReader m_reader;
};

void Put16(QByteArray& out, uint16_t value)
{
    char bytes[2];
    qToBigEndian(value, bytes);
    out.append(bytes, 2);
}

void Put32(QByteArray& out, uint32_t value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

template <size_t N>
void PutRaw(QByteArray& out, const std::array<unsigned char, N>& raw)
{
    out.append(reinterpret_cast<const char*>(raw.data()), N);
}

int32_t RawInt(const std::array<unsigned char, 16>& rect, int index)
{
    return qFromBigEndian<int32_t>(rect.data() + 4 * index);
}

bool ReadLayer(Cursor& in, LayerRecord& layer)
{
    uint16_t channelCount = 0;
    if (!in.Raw(layer.Rectangle) || !in.U16(channelCount))
        return false;
    if (!in.Reader().CanHold(channelCount, 6, "channel"))
        return false;
    layer.Channels.resize(channelCount);
    for (ChannelRecord& channel : layer.Channels) {
        if (!in.Raw(channel.Identifier) || !in.U32(channel.Length))
            return false;
    }
    if (!in.Raw(layer.BlendSignature) || !in.Raw(layer.BlendKey) || !in.U8(layer.Opacity) || !in.U8(layer.Clipping)
        || !in.U8(layer.Flags) || !in.U8(layer.Filler) || !in.U32(layer.ExtraLength))
        return false;
    const qint64 extraStart = in.Position();
    if (layer.ExtraLength > in.Remaining())
        return in.Fail(QStringLiteral("layer extra data of %1 bytes at offset %2 runs past the end of the file")
                           .arg(layer.ExtraLength)
                           .arg(extraStart));
    uint32_t maskLength = 0;
    uint32_t rangesLength = 0;
    if (!in.Raw(layer.MaskLength))
        return false;
    maskLength = qFromBigEndian<uint32_t>(layer.MaskLength.data());
    if (qint64(maskLength) + 8 > layer.ExtraLength)
        return in.Fail(QStringLiteral("layer mask data of %1 bytes at offset %2 runs past the layer's extra data")
                           .arg(maskLength)
                           .arg(in.Position()));
    if (!in.Block(layer.MaskData, maskLength, "layer mask data") || !in.U32(rangesLength))
        return false;
    const qint64 nameLength = qint64(layer.ExtraLength) - 8 - maskLength - rangesLength;
    if (nameLength < 0)
        return in.Fail(QStringLiteral("blending ranges of %1 bytes at offset %2 run past the layer's extra data")
                           .arg(rangesLength)
                           .arg(in.Position()));
    if (!in.Block(layer.BlendingRanges, rangesLength, "blending ranges")
        || !in.Block(layer.NameBlock, nameLength, "layer name"))
        return false;

    // Blocks that follow the record itself; each length counts the block from its signature on.
    while (in.Peek("8BIM")) {
        const qint64 at = in.Position();
        if (in.Remaining() < 12)
            return in.Fail(QStringLiteral("tagged block at offset %1 is cut short").arg(at));
        char head[12];
        in.Bytes(head, 12);
        const uint32_t length = qFromBigEndian<uint32_t>(head + 8);
        if (length < 12)
            return in.Fail(QStringLiteral("tagged block at offset %1 declares %2 bytes").arg(at).arg(length));
        if (length - 12 > in.Remaining())
            return in.Fail(QStringLiteral("tagged block of %1 bytes at offset %2 runs past the end of the file")
                               .arg(length)
                               .arg(at));
        QByteArray rest;
        in.Block(rest, length - 12, "tagged block");
        layer.TaggedBlocks.push_back(QByteArray(head, 12) + rest);
    }
    return !in.Failed();
}

} // namespace

int32_t LayerRecord::Top() const { return RawInt(Rectangle, 0); }
int32_t LayerRecord::Left() const { return RawInt(Rectangle, 1); }
int32_t LayerRecord::Bottom() const { return RawInt(Rectangle, 2); }
int32_t LayerRecord::Right() const { return RawInt(Rectangle, 3); }

int64_t LayerRecord::RecordSize() const { return 34 + 6 * int64_t(Channels.size()) + ExtraLength; }

bool LayerRecord::HasName(const QByteArray& name) const
{
    return NameBlock.size() > name.size() && static_cast<unsigned char>(NameBlock[0]) == name.size()
        && NameBlock.mid(1, name.size()) == name;
}

bool CLayeredDocument::ReadDocument(const QString& fileName, QString* reason)
{
    return GuardAllocation(reason, [&] {
        QByteArray bytes;
        return ReadWholeFile(fileName, FileLimits::FactionFile, bytes, reason) && Parse(bytes, reason);
    });
}

bool CLayeredDocument::Parse(const QByteArray& bytes, QString* reason)
{
    return GuardAllocation(reason, [&] { return ParseBytes(bytes, reason); });
}

bool CLayeredDocument::ParseBytes(const QByteArray& bytes, QString* reason)
{
    CLayeredDocument doc;
    Cursor in(bytes);
    uint32_t length = 0;
    in.Raw(doc.Header);
    in.U32(length);
    in.Block(doc.ColourModeData, length, "colour mode data");
    in.U32(length);
    in.Block(doc.ImageResources, length, "image resources");
    in.U32(doc.LayerSectionLength);
    const qint64 sectionStart = in.Position();
    if (!in.Failed() && doc.LayerSectionLength > in.Remaining())
        in.Fail(QStringLiteral("layer section of %1 bytes at offset %2 runs past the end of the file")
                    .arg(doc.LayerSectionLength)
                    .arg(sectionStart));
    in.U32(doc.LayerInfoLength);
    const qint64 infoStart = in.Position();
    if (!in.Failed() && qint64(doc.LayerInfoLength) + 4 > doc.LayerSectionLength)
        in.Fail(QStringLiteral("layer information of %1 bytes at offset %2 runs past its section of %3 bytes")
                    .arg(doc.LayerInfoLength)
                    .arg(infoStart)
                    .arg(doc.LayerSectionLength));
    in.U16(doc.LayerCount);
    if (!in.Failed() && (doc.LayerCount & 0x8000u))
        in.Fail(QStringLiteral("layer count 0x%1 at offset %2 has its top bit set")
                    .arg(doc.LayerCount, 4, 16, QLatin1Char('0'))
                    .arg(infoStart));
    if (!in.Failed() && in.Reader().CanHold(doc.LayerCount, 34, "layer")) {
        doc.Layers.resize(doc.LayerCount);
        for (LayerRecord& layer : doc.Layers) {
            if (!ReadLayer(in, layer))
                break;
        }
    }
    for (LayerRecord& layer : doc.Layers) {
        for (ChannelRecord& channel : layer.Channels) {
            if (!in.Block(channel.Data, channel.Length, "channel data"))
                break;
        }
    }
    if (!in.Failed()) {
        const qint64 pad = qint64(doc.LayerInfoLength) - doc.ContentLength();
        if (pad < 0 || pad > 3)
            in.Fail(QStringLiteral("layer information length %1 does not match its %2 bytes of layers")
                        .arg(doc.LayerInfoLength)
                        .arg(doc.ContentLength()));
        else
            in.Block(doc.LayerInfoPad, pad, "layer information pad");
    }
    in.Raw(doc.GlobalMaskLength);
    if (in.Failed()) {
        if (reason)
            *reason = in.Reader().Error();
        return false;
    }
    in.Block(doc.TrailingData, in.Remaining(), "trailing data");
    if (!doc.LayerInfoPad.isEmpty())
        doc.m_alignment = doc.LayerInfoLength % 4 == 0 ? 4 : doc.LayerInfoLength % 2 == 0 ? 2 : 1;
    *this = std::move(doc);
    return true;
}

QByteArray CLayeredDocument::Serialize() const
{
    QByteArray out;
    qsizetype size =
        26 + 12 + ColourModeData.size() + ImageResources.size() + 4 + 2 + LayerInfoPad.size() + 4 + TrailingData.size();
    for (const LayerRecord& layer : Layers) {
        size += layer.RecordSize();
        for (const QByteArray& block : layer.TaggedBlocks)
            size += block.size();
        for (const ChannelRecord& channel : layer.Channels)
            size += channel.Data.size();
    }
    out.reserve(size);

    PutRaw(out, Header);
    Put32(out, uint32_t(ColourModeData.size()));
    out.append(ColourModeData);
    Put32(out, uint32_t(ImageResources.size()));
    out.append(ImageResources);
    Put32(out, LayerSectionLength);
    Put32(out, LayerInfoLength);
    Put16(out, LayerCount);
    for (const LayerRecord& layer : Layers) {
        PutRaw(out, layer.Rectangle);
        Put16(out, uint16_t(layer.Channels.size()));
        for (const ChannelRecord& channel : layer.Channels) {
            PutRaw(out, channel.Identifier);
            Put32(out, channel.Length);
        }
        PutRaw(out, layer.BlendSignature);
        PutRaw(out, layer.BlendKey);
        out.append(static_cast<char>(layer.Opacity));
        out.append(static_cast<char>(layer.Clipping));
        out.append(static_cast<char>(layer.Flags));
        out.append(static_cast<char>(layer.Filler));
        Put32(out, layer.ExtraLength);
        PutRaw(out, layer.MaskLength);
        out.append(layer.MaskData);
        Put32(out, uint32_t(layer.BlendingRanges.size()));
        out.append(layer.BlendingRanges);
        out.append(layer.NameBlock);
        for (const QByteArray& block : layer.TaggedBlocks)
            out.append(block);
    }
    for (const LayerRecord& layer : Layers) {
        for (const ChannelRecord& channel : layer.Channels)
            out.append(channel.Data);
    }
    out.append(LayerInfoPad);
    PutRaw(out, GlobalMaskLength);
    out.append(TrailingData);
    return out;
}

bool CLayeredDocument::WriteDocument(const QString& fileName, QString* reason) const
{
    return SaveFileAtomically(fileName, Serialize(), reason);
}

int CLayeredDocument::FindLayer(const QByteArray& name) const
{
    for (size_t i = 0; i < Layers.size(); ++i) {
        if (Layers[i].HasName(name))
            return int(i);
    }
    return -1;
}

void CLayeredDocument::SetChannelData(int layer, int channel, QByteArray data)
{
    ChannelRecord& record = Layers[size_t(layer)].Channels[size_t(channel)];
    record.Length = uint32_t(data.size());
    record.Data = std::move(data);
}

int64_t CLayeredDocument::ContentLength() const
{
    int64_t length = 2;
    for (const LayerRecord& layer : Layers) {
        length += layer.RecordSize();
        for (const QByteArray& block : layer.TaggedBlocks)
            length += block.size();
        for (const ChannelRecord& channel : layer.Channels)
            length += channel.Length;
    }
    return length;
}

void CLayeredDocument::RecomputeLengths()
{
    const int64_t content = ContentLength();
    if (m_alignment > 1) {
        const int padCount = int((m_alignment - content % m_alignment) % m_alignment);
        LayerInfoPad = LayerInfoPad.left(padCount);
        LayerInfoPad.append(padCount - LayerInfoPad.size(), '\0');
    }
    const int64_t info = content + LayerInfoPad.size();
    // Whatever the section holds after the layer information (global mask, further blocks) keeps its size.
    const int64_t section = int64_t(LayerSectionLength) + (info - int64_t(LayerInfoLength));
    LayerInfoLength = uint32_t(info);
    LayerSectionLength = uint32_t(section);
}
