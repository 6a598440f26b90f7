#pragma once
// Builds layered image files byte by byte for the tests, independently of the reader and writer
// under test, so that a mistake shared by both cannot hide.

#include <QByteArray>
#include <cstdint>
#include <vector>

namespace layered {

inline void Be16(QByteArray& out, uint32_t v)
{
    out.append(char(v >> 8));
    out.append(char(v));
}

inline void Be32(QByteArray& out, uint32_t v)
{
    out.append(char(v >> 24));
    out.append(char(v >> 16));
    out.append(char(v >> 8));
    out.append(char(v));
}

// Channel data stored unpacked: code 0, then the bytes.
inline QByteArray RawChannel(const QByteArray& pixels)
{
    QByteArray out;
    Be16(out, 0);
    return out + pixels;
}

// Channel data packed as literal packets only (a different packing from the writer's, and valid).
inline QByteArray LiteralChannel(const QByteArray& pixels, int width, int height)
{
    QByteArray out;
    Be16(out, 1);
    QByteArray rows;
    for (int r = 0; r < height; ++r) {
        QByteArray row;
        for (int at = 0; at < width; at += 128) {
            const int n = qMin(128, width - at);
            row.append(char(n - 1));
            row.append(pixels.mid(r * width + at, n));
        }
        Be16(out, uint32_t(row.size()));
        rows += row;
    }
    return out + rows;
}

struct Layer {
    QByteArray Name = "Background";
    int32_t Top = 0, Left = 0, Bottom = 0, Right = 0;
    std::vector<QByteArray> Channels; // each with its compression code
    QByteArray BlendingRanges = QByteArray(8, '\x11');
    QByteArray ExtraAfterName;    // further extra data counted in E
    QByteArray TaggedAfterRecord; // "8BIM" blocks after the record, outside E
};

struct Document {
    int Width = 4, Height = 3;
    QByteArray ImageResources;
    std::vector<Layer> Layers;
    int Pad = 0;         // bytes counted in the layer information after the channel data
    QByteArray Trailing; // flattened picture
};

// The name as a length byte and characters, padded to a multiple of 4.
inline QByteArray NameBlock(const QByteArray& name)
{
    QByteArray out;
    out.append(char(name.size()));
    out.append(name);
    while (out.size() % 4)
        out.append('\0');
    return out;
}

inline QByteArray Build(const Document& d)
{
    QByteArray out("8BPS");
    Be16(out, 1);
    out.append(6, '\0');
    Be16(out, 3);
    Be32(out, uint32_t(d.Height));
    Be32(out, uint32_t(d.Width));
    Be16(out, 8);
    Be16(out, 3);
    Be32(out, 0);
    Be32(out, uint32_t(d.ImageResources.size()));
    out += d.ImageResources;

    QByteArray info;
    Be16(info, uint32_t(d.Layers.size()));
    QByteArray data;
    for (const Layer& l : d.Layers) {
        Be32(info, uint32_t(l.Top));
        Be32(info, uint32_t(l.Left));
        Be32(info, uint32_t(l.Bottom));
        Be32(info, uint32_t(l.Right));
        Be16(info, uint32_t(l.Channels.size()));
        for (size_t c = 0; c < l.Channels.size(); ++c) {
            Be16(info, c == 3 ? 0xFFFFu : uint32_t(c));
            Be32(info, uint32_t(l.Channels[c].size()));
            data += l.Channels[c];
        }
        info += "8BIMnorm";
        info.append(char(255));
        info.append('\0');
        info.append('\x08');
        info.append('\0');
        const QByteArray name = NameBlock(l.Name);
        Be32(info, uint32_t(8 + l.BlendingRanges.size() + name.size() + l.ExtraAfterName.size()));
        Be32(info, 0);
        Be32(info, uint32_t(l.BlendingRanges.size()));
        info += l.BlendingRanges + name + l.ExtraAfterName + l.TaggedAfterRecord;
    }
    info += data;
    info.append(d.Pad, '\0');
    QByteArray section;
    Be32(section, uint32_t(info.size()));
    section += info;
    Be32(section, 0); // global layer mask
    Be32(out, uint32_t(section.size()));
    out += section;
    return out + d.Trailing;
}

// A flattened picture: code 0 and planar RGB.
inline QByteArray Flattened(int width, int height, char red, char green, char blue)
{
    QByteArray out;
    Be16(out, 0);
    out.append(width * height, red);
    out.append(width * height, green);
    out.append(width * height, blue);
    return out;
}

// A one-layer faction document of w x h sectors whose first channel holds `first`, packed.
inline Document Faction(int w, int h, const QByteArray& first, bool packed = true)
{
    Document d;
    d.Width = w;
    d.Height = h;
    Layer l;
    l.Bottom = h;
    l.Right = w;
    QByteArray second(w * h, '\x40');
    QByteArray third(w * h, '\0');
    for (int i = 0; i < w * h; ++i)
        third[i] = char(255 - static_cast<unsigned char>(first[i]));
    if (packed)
        l.Channels = {LiteralChannel(first, w, h), LiteralChannel(second, w, h), LiteralChannel(third, w, h)};
    else
        l.Channels = {RawChannel(first), RawChannel(second), RawChannel(third)};
    d.Layers.push_back(l);
    d.Trailing = Flattened(w, h, '\x7f', '\x40', '\x7f');
    return d;
}

} // namespace layered
