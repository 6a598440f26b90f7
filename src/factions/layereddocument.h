#pragma once
// The layered image document that faction files are stored in, held whole in memory so that it
// can be written back exactly as it was read, except for channel data that a caller replaces.
// Numbers the program computes with are kept in host order; everything it does not interpret stays
// as the file's bytes. All multi-byte numbers in the file are big-endian.

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

struct ChannelRecord {
    std::array<unsigned char, 2> Identifier{}; // raw
    uint32_t Length = 0;                       // bytes of Data, compression code included
    QByteArray Data;
};

struct LayerRecord {
    std::array<unsigned char, 16> Rectangle{}; // top, left, bottom, right: raw
    std::vector<ChannelRecord> Channels;       // the file's channel count is Channels.size()
    std::array<unsigned char, 4> BlendSignature{};
    std::array<unsigned char, 4> BlendKey{};
    unsigned char Opacity = 0;
    unsigned char Clipping = 0;
    unsigned char Flags = 0;
    unsigned char Filler = 0;
    uint32_t ExtraLength = 0;                  // E: mask, blending ranges and name block with their lengths
    std::array<unsigned char, 4> MaskLength{}; // raw; 0 in faction files
    QByteArray MaskData;                       // kept verbatim when a layer has a mask
    QByteArray BlendingRanges;
    QByteArray NameBlock;                 // length byte, name, pad and any further extra data
    std::vector<QByteArray> TaggedBlocks; // "8BIM" blocks that follow the record, verbatim

    int32_t Top() const;
    int32_t Left() const;
    int32_t Bottom() const;
    int32_t Right() const;
    // The 34 fixed bytes, 6 per channel record and the extra data, as the record occupies the file.
    int64_t RecordSize() const;
    // True when the name block holds exactly `name`: its length byte, then those characters.
    bool HasName(const QByteArray& name) const;
};

class CLayeredDocument {
public:
    std::array<unsigned char, 26> Header{}; // raw
    QByteArray ColourModeData;              // empty in faction files
    QByteArray ImageResources;
    uint32_t LayerSectionLength = 0;
    uint32_t LayerInfoLength = 0;
    uint16_t LayerCount = 0;
    std::vector<LayerRecord> Layers;
    // Bytes the source counted in the layer information after the channel data (0 to 3): many
    // image programs align the section this way. Written back in place so strict readers stay in step.
    QByteArray LayerInfoPad;
    std::array<unsigned char, 4> GlobalMaskLength{}; // raw
    QByteArray TrailingData;                         // to the end of the file: the flattened picture

    // Reads a whole document. A file that cannot be read, is longer than any faction file
    // (filelimits.h), is truncated, has a length that runs past its section or the file, has a
    // layer count with the top bit set, or needs more memory than there is fails with a reason and
    // leaves this object unchanged.
    bool ReadDocument(const QString& fileName, QString* reason = nullptr);
    bool Parse(const QByteArray& bytes, QString* reason = nullptr);
    // Writes the document in the order it was read; the save is atomic.
    bool WriteDocument(const QString& fileName, QString* reason = nullptr) const;
    QByteArray Serialize() const;

    // The first layer whose name is exactly `name`, or -1.
    int FindLayer(const QByteArray& name) const;
    // Replaces one channel's data (compression code included) and its length.
    void SetChannelData(int layer, int channel, QByteArray data);
    // Recomputes LayerInfoLength and LayerSectionLength after channel data changed, keeping the
    // source's alignment of the layer information (and so its pad) and whatever the layer section
    // holds beyond the layer information.
    void RecomputeLengths();

private:
    bool ParseBytes(const QByteArray& bytes, QString* reason);
    int64_t ContentLength() const; // layer count, records, tagged blocks and channel data
    int PadAlignment() const;
    int m_alignment = 1;
};
