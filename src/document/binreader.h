#pragma once
// The one reader of the Map BIN format and of its first section, the template list (the whole of
// a template file). It walks the bytes, checks every count against what remains before anything
// is reserved, and hands each record to a sink exactly as stored: presence values as read, names
// as all the bytes of the file's counted run. The document's sink (binformat.h) turns names into
// catalogue indices; a sink that keeps the bytes gives the file's raw records.
//
// A sink has these members, called in file order (`number` is the record's position in the file):
//   void TemplateList(int32_t countField, int32_t count);  // count = |countField|, known to fit
//   void Template(int32_t number, const StoredTemplate&);  // then its objects
//   void TemplateObject(int32_t templateNumber, int32_t number, const StoredObject&);
//   void KeysiteList(int32_t count);                       // count >= 0, known to fit; likewise below
//   void Keysite(int32_t number, const StoredKeysite&);
//   void AirbaseList(int32_t count);
//   void Airbase(int32_t number, const StoredAirbase&);
//   void SamList(int32_t count);
//   void Sam(int32_t number, const StoredSam&);
// Names are views into the reader's bytes. A damaged file stops the walk at the first fault, with
// the reader's reason ("unexpected end of data at offset 12"); what the sink was given up to then
// must be thrown away.

#include "platform/streams.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string_view>

struct StoredReference {
    int32_t Presence = 0;  // anything but 0 means a name follows
    std::string_view Name; // empty when absent
};

struct StoredTemplate {
    int32_t ObjectCount = 0; // as stored; a negative count holds no objects
    int32_t TypeCode = 0;
    StoredReference Approximation;
    StoredReference Base;
    StoredReference Route;
    bool HasRoute = false; // the extended variant (a negative template count field)
};

struct StoredObject {
    float X = 0;
    float Z = 0;
    float Heading = 0;
    std::string_view Name;
};

struct StoredKeysite {
    int32_t TemplateNumber;
    float X;
    float Z;
};

struct StoredAirbase {
    float X = 0;
    float Z = 0;
    std::string_view Name;
};

struct StoredSam {
    float X;
    float Z;
};

namespace binreader {

// Smallest encodings, used to refuse counts that the remaining bytes cannot hold.
constexpr qint64 kMinTemplateBytes = 16; // count, type, two absent references
constexpr qint64 kMinObjectBytes = 16;   // X, Z, heading, name length
constexpr qint64 kKeysiteBytes = 12;
constexpr qint64 kMinAirbaseBytes = 12;
constexpr qint64 kSamBytes = 8;

// The `length` bytes of a counted name whose length was just read; fails like ReadString.
inline bool NameBytes(CByteReader& reader, int32_t length, std::string_view& name)
{
    if (length < 0 || length > reader.Remaining()) {
        std::string ignored;
        reader.ReadString(length, ignored); // fails with the reason
        return false;
    }
    name = std::string_view(reader.Current(), static_cast<size_t>(length));
    reader.Advance(length);
    return true;
}

inline bool CountedName(CByteReader& reader, std::string_view& name)
{
    int32_t length = 0;
    return reader.GetInt32(length) && NameBytes(reader, length, name);
}

inline bool Reference(CByteReader& reader, StoredReference& reference)
{
    if (!reader.GetInt32(reference.Presence))
        return false;
    return reference.Presence == 0 || CountedName(reader, reference.Name);
}

// Floats, then a counted name: a template object (three floats) or an airbase (two). The fixed
// part is checked once; a record cut short is read field by field, so that the reason names the
// field where the data ends.
template <size_t Floats>
bool FloatsAndName(CByteReader& reader, const std::array<float*, Floats>& values, std::string_view& name)
{
    constexpr qint64 fixed = 4 * Floats + 4;
    if (!reader.Failed() && reader.Remaining() >= fixed) {
        const char* at = reader.Current();
        for (size_t i = 0; i < Floats; ++i)
            *values[i] = CByteReader::LoadFloat(at + 4 * i);
        const int32_t length = CByteReader::LoadInt32(at + 4 * Floats);
        reader.Advance(fixed);
        return NameBytes(reader, length, name);
    }
    for (float* value : values)
        reader.ReadFloat(*value);
    return CountedName(reader, name);
}

// A list count and the check that its records can be there; a count that cannot be read or
// cannot fit fails the reader. A negative count is a list of no records.
inline bool ListCount(CByteReader& reader, qint64 recordBytes, const char* what, int32_t& count)
{
    count = 0;
    reader.GetInt32(count);
    if (!reader.CanHold(count, recordBytes, what))
        return false;
    count = std::max(count, 0);
    return true;
}

} // namespace binreader

// Reads a template list, in either variant (chosen by the sign of its count field).
template <typename Sink>
bool ReadTemplateList(CByteReader& reader, Sink& sink)
{
    using namespace binreader;
    int32_t countField = 0;
    if (!reader.GetInt32(countField))
        return false;
    if (countField == std::numeric_limits<int32_t>::min()) {
        reader.Fail(QStringLiteral("template count -2147483648 at offset 0 cannot be negated"));
        return false;
    }
    const bool extended = countField < 0;
    const int32_t count = extended ? -countField : countField;
    if (!reader.CanHold(count, kMinTemplateBytes + (extended ? 4 : 0), "template"))
        return false;
    sink.TemplateList(countField, count);
    for (int32_t t = 0; t < count; ++t) {
        StoredTemplate stored;
        stored.HasRoute = extended;
        reader.GetInt32(stored.ObjectCount);
        reader.GetInt32(stored.TypeCode);
        if (!Reference(reader, stored.Approximation) || !Reference(reader, stored.Base)
            || (extended && !Reference(reader, stored.Route))
            || !reader.CanHold(stored.ObjectCount, kMinObjectBytes, "template object"))
            return false;
        sink.Template(t, stored);
        for (int32_t o = 0; o < stored.ObjectCount; ++o) {
            StoredObject object;
            if (!FloatsAndName<3>(reader, {&object.X, &object.Z, &object.Heading}, object.Name))
                return false;
            sink.TemplateObject(t, o, object);
        }
    }
    return !reader.Failed();
}

// Reads a whole Map BIN file; whatever follows the SAM section is never looked at.
template <typename Sink>
bool ReadMapFile(CByteReader& reader, Sink& sink)
{
    using namespace binreader;
    if (!ReadTemplateList(reader, sink))
        return false;

    int32_t count = 0;
    if (!ListCount(reader, kKeysiteBytes, "keysite", count))
        return false;
    sink.KeysiteList(count);
    for (int32_t i = 0; i < count; ++i) { // all of them known to be there
        const char* at = reader.Current();
        sink.Keysite(
            i,
            StoredKeysite{CByteReader::LoadInt32(at), CByteReader::LoadFloat(at + 4), CByteReader::LoadFloat(at + 8)});
        reader.Advance(kKeysiteBytes);
    }

    if (!ListCount(reader, kMinAirbaseBytes, "airbase", count))
        return false;
    sink.AirbaseList(count);
    for (int32_t i = 0; i < count; ++i) {
        StoredAirbase airbase;
        if (!FloatsAndName<2>(reader, {&airbase.X, &airbase.Z}, airbase.Name))
            return false;
        sink.Airbase(i, airbase);
    }

    if (!ListCount(reader, kSamBytes, "SAM", count))
        return false;
    sink.SamList(count);
    for (int32_t i = 0; i < count; ++i) {
        const char* at = reader.Current();
        sink.Sam(i, StoredSam{CByteReader::LoadFloat(at), CByteReader::LoadFloat(at + 4)});
        reader.Advance(kSamBytes);
    }
    return !reader.Failed();
}
