#include "document/binformat.h"

#include "platform/streams.h"

#include <algorithm>
#include <limits>

namespace {

// Smallest encodings, used to refuse counts that the remaining bytes cannot hold.
constexpr qint64 kMinTemplateBytes = 16; // count, type, two absent references
constexpr qint64 kMinObjectBytes = 16;   // X, Z, heading, name length
constexpr qint64 kKeysiteBytes = 12;
constexpr qint64 kMinAirbaseBytes = 12;
constexpr qint64 kSamBytes = 8;

// Resolves the names of one record, noting those the catalogue does not hold.
struct NameResolver {
    CByteReader& Reader;
    const C3DObjectsList* Catalogue;
    CMissingNames* Missing;

    int32_t CountedName(int32_t templateNumber, int32_t objectNumber)
    {
        int32_t length = 0;
        std::string name;
        Reader.ReadInt32(length);
        Reader.ReadString(length, name);
        if (Reader.Failed())
            return MissingObjectIndex;
        const int32_t index = Catalogue->IndexOf(name);
        if (index == MissingObjectIndex && Missing)
            Missing->Add(templateNumber, objectNumber, name);
        return index;
    }

    // Any presence value other than 0 means a name follows.
    int32_t ObjectReference(int32_t templateNumber)
    {
        int32_t presence = 0;
        if (!Reader.ReadInt32(presence) || presence == 0)
            return NoObjectIndex;
        return CountedName(templateNumber, -1);
    }
};

void WriteCountedName(CWriter& writer, const std::string& name)
{
    writer.WriteInt32(static_cast<int32_t>(name.size()));
    writer.WriteString(name, false);
}

void WriteObjectReference(CWriter& writer, const C3DObjectsList* catalogue, int32_t index)
{
    if (index == NoObjectIndex) {
        writer.WriteInt32(0);
        return;
    }
    writer.WriteInt32(1);
    WriteCountedName(writer, catalogue->NameOf(index));
}

} // namespace

bool ReadTemplateList(CByteReader& reader, const C3DObjectsList* catalogue, const CPopTemplatesTypesList* types,
                      TemplateList& templates, const ReadNumbering& numbering)
{
    NameResolver names{reader, catalogue, numbering.Missing};
    int32_t countField = 0;
    if (!reader.ReadInt32(countField))
        return false;
    if (countField == std::numeric_limits<int32_t>::min()) {
        reader.Fail(QStringLiteral("template count -2147483648 at offset 0 cannot be negated"));
        return false;
    }
    const bool extended = countField < 0;
    const int32_t count = extended ? -countField : countField;
    if (!reader.CanHold(count, kMinTemplateBytes + (extended ? 4 : 0), "template"))
        return false;
    templates.reserve(templates.size() + static_cast<size_t>(count)); // bounded by the bytes left
    for (int32_t t = 0; t < count && !reader.Failed(); ++t) {
        auto tmpl = std::make_unique<CPopTemplate>(catalogue, types);
        int32_t objects = 0;
        reader.ReadInt32(objects);
        reader.ReadInt32(tmpl->TypeCode);
        const int32_t number = numbering.FirstTemplate + t;
        tmpl->ApproximationObject = names.ObjectReference(number);
        tmpl->BaseObject = names.ObjectReference(number);
        tmpl->RouteObject = extended ? names.ObjectReference(number) : NoObjectIndex;
        if (!reader.CanHold(objects, kMinObjectBytes, "template object"))
            break;
        tmpl->Objects.reserve(static_cast<size_t>(std::max(objects, 0)));
        for (int32_t o = 0; o < objects && !reader.Failed(); ++o) {
            auto object = std::make_unique<CThreeDObject>(catalogue);
            reader.ReadFloat(object->X);
            reader.ReadFloat(object->Z);
            reader.ReadFloat(object->Heading);
            object->ObjectIndex = names.CountedName(number, o);
            tmpl->Objects.push_back(std::move(object));
        }
        templates.push_back(std::move(tmpl));
    }
    return !reader.Failed();
}

bool ReadMapFile(CByteReader& reader, const C3DObjectsList* catalogue, const CPopTemplatesTypesList* types,
                 ParsedMapFile& file, const ReadNumbering& numbering)
{
    if (!ReadTemplateList(reader, catalogue, types, file.Templates, numbering))
        return false;
    NameResolver names{reader, catalogue, numbering.Missing};

    int32_t count = 0;
    reader.ReadInt32(count);
    if (!reader.CanHold(count, kKeysiteBytes, "keysite"))
        return false;
    file.Keysites.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int32_t i = 0; i < count && !reader.Failed(); ++i) {
        ParsedKeysite keysite{-1, 0, 0};
        reader.ReadInt32(keysite.TemplateNumber);
        reader.ReadFloat(keysite.X);
        reader.ReadFloat(keysite.Z);
        file.Keysites.push_back(keysite);
    }

    count = 0;
    reader.ReadInt32(count);
    if (!reader.CanHold(count, kMinAirbaseBytes, "airbase"))
        return false;
    file.Airbases.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int32_t i = 0; i < count && !reader.Failed(); ++i) {
        auto airbase = std::make_unique<CAirbasePlacement>(catalogue);
        reader.ReadFloat(airbase->X);
        reader.ReadFloat(airbase->Z);
        airbase->ObjectIndex = names.CountedName(-1, numbering.FirstAirbase + i);
        file.Airbases.push_back(std::move(airbase));
    }

    count = 0;
    reader.ReadInt32(count);
    if (!reader.CanHold(count, kSamBytes, "SAM"))
        return false;
    file.SAMs.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int32_t i = 0; i < count && !reader.Failed(); ++i) {
        auto sam = std::make_unique<CSAMPlacement>();
        reader.ReadFloat(sam->X);
        reader.ReadFloat(sam->Z);
        file.SAMs.push_back(std::move(sam));
    }
    return !reader.Failed();
}

void WriteTemplate(CWriter& writer, const CPopTemplate& tmpl, bool withRouteObjects)
{
    const C3DObjectsList* catalogue = tmpl.Catalogue();
    writer.WriteInt32(static_cast<int32_t>(tmpl.Objects.size()));
    writer.WriteInt32(tmpl.TypeCode);
    WriteObjectReference(writer, catalogue, tmpl.ApproximationObject);
    WriteObjectReference(writer, catalogue, tmpl.BaseObject);
    if (withRouteObjects)
        WriteObjectReference(writer, catalogue, tmpl.RouteObject);
    for (const auto& object : tmpl.Objects) {
        writer.WriteFloat(object->X);
        writer.WriteFloat(object->Z);
        writer.WriteFloat(object->Heading);
        WriteCountedName(writer, catalogue->NameOf(object->ObjectIndex));
    }
}
