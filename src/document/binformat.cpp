#include "document/binformat.h"

#include "document/binreader.h"

#include <QtEndian>
#include <cstring>
#include <string_view>

#include <unordered_map>

namespace {

// Turns the stored records into the document's: names become catalogue indices (noted when the
// catalogue does not hold them), everything else is taken as stored.
class CDocumentSink {
public:
    CDocumentSink(const C3DObjectsList& catalogue, ReadRecords& records, ReadNumbering numbering)
        : m_catalogue(catalogue), m_records(records), m_numbering(numbering)
    {
    }

    void TemplateList(int32_t, int32_t count) { m_records.Templates.reserve(static_cast<size_t>(count)); }
    void Template(int32_t number, const StoredTemplate& stored)
    {
        const int32_t documentNumber = m_numbering.FirstTemplate + number;
        CPopTemplate& tmpl = m_records.Templates.emplace_back();
        tmpl.TypeCode = stored.TypeCode;
        tmpl.ApproximationObject = Reference(stored.Approximation, documentNumber);
        tmpl.BaseObject = Reference(stored.Base, documentNumber);
        tmpl.RouteObject = stored.HasRoute ? Reference(stored.Route, documentNumber) : NoObjectIndex;
        tmpl.Objects.reserve(static_cast<size_t>(std::max(stored.ObjectCount, 0)));
    }
    void TemplateObject(int32_t templateNumber, int32_t number, const StoredObject& stored)
    {
        m_records.Templates.back().Objects.push_back(
            {stored.X, stored.Z, stored.Heading,
             Index(stored.Name, m_numbering.FirstTemplate + templateNumber, number)});
    }
    void KeysiteList(int32_t count) { m_records.Keysites.reserve(static_cast<size_t>(count)); }
    void Keysite(int32_t, const StoredKeysite& stored)
    {
        m_records.Keysites.push_back({stored.TemplateNumber, stored.X, stored.Z});
    }
    void AirbaseList(int32_t count) { m_records.Airbases.reserve(static_cast<size_t>(count)); }
    void Airbase(int32_t number, const StoredAirbase& stored)
    {
        m_records.Airbases.push_back({stored.X, stored.Z, Index(stored.Name, -1, m_numbering.FirstAirbase + number)});
    }
    void SamList(int32_t count) { m_records.Sams.reserve(static_cast<size_t>(count)); }
    void Sam(int32_t, const StoredSam& stored) { m_records.Sams.push_back({stored.X, stored.Z}); }

private:
    int32_t Reference(const StoredReference& reference, int32_t templateNumber)
    {
        return reference.Presence == 0 ? NoObjectIndex : Index(reference.Name, templateNumber, -1);
    }

    int32_t Index(std::string_view stored, int32_t templateNumber, int32_t objectNumber)
    {
        // The stored characters end at the first zero byte.
        const std::string_view name = stored.substr(0, std::min(stored.size(), stored.find('\0')));
        int32_t index = m_catalogue.ExactIndexOf(name);
        if (index < 0 && m_catalogue.Count() > 0) {
            // Another spelling costs a comparison under the locale: once per distinct name.
            auto [at, added] = m_otherSpellings.try_emplace(std::string(name), MissingObjectIndex);
            if (added)
                at->second = m_catalogue.IndexOf(name);
            index = at->second;
        }
        if (index < 0) {
            index = MissingObjectIndex;
            m_records.Missing.Add(templateNumber, objectNumber, name);
        }
        return index;
    }

    const C3DObjectsList& m_catalogue;
    ReadRecords& m_records;
    ReadNumbering m_numbering;
    std::unordered_map<std::string, int32_t> m_otherSpellings;
};

// The name written for a record's object index: the catalogue's (no name for an absent
// reference, INVALID_OBJECT for an index the catalogue lacks), or the one a file stored.
class CNameSource {
public:
    explicit CNameSource(const C3DObjectsList& catalogue) : m_names(catalogue.Names()), m_catalogue(true) { }
    CNameSource(std::span<const std::string> names, bool catalogue) : m_names(names), m_catalogue(catalogue) { }

    std::string_view NameOf(int32_t index) const
    {
        if (!m_catalogue)
            return m_names[static_cast<size_t>(index)];
        if (index == NoObjectIndex)
            return {};
        if (index < 0 || static_cast<size_t>(index) >= m_names.size())
            return kInvalidObject;
        return m_names[static_cast<size_t>(index)];
    }

private:
    static constexpr std::string_view kInvalidObject = "INVALID_OBJECT";
    std::span<const std::string> m_names;
    bool m_catalogue;
};

// The templates as the document keeps them, each with its own objects.
struct DocumentTemplates {
    std::span<const CPopTemplate> Templates;

    size_t size() const { return Templates.size(); }
    const CPopTemplate& Head(size_t t) const { return Templates[t]; }
    std::span<const CThreeDObject> Objects(size_t t) const { return Templates[t].Objects; }
};

// The templates of a snapshot, their objects in one array.
struct SnapshotTemplates {
    const MapSnapshot& Snapshot;

    size_t size() const { return Snapshot.Templates.size(); }
    const MapSnapshot::Template& Head(size_t t) const { return Snapshot.Templates[t]; }
    std::span<const CThreeDObject> Objects(size_t t) const
    {
        const MapSnapshot::Template& tmpl = Snapshot.Templates[t];
        return std::span<const CThreeDObject>(Snapshot.Objects).subspan(tmpl.FirstObject, tmpl.ObjectCount);
    }
};

// Sizes as written, to size the buffer once.
qsizetype NameBytes(const CNameSource& names, int32_t index)
{
    return 4 + static_cast<qsizetype>(names.NameOf(index).size());
}

qsizetype ReferenceBytes(const CNameSource& names, int32_t index)
{
    return index == NoObjectIndex ? 4 : 4 + NameBytes(names, index);
}

template <typename Templates>
qsizetype TemplateListBytes(const CNameSource& names, const Templates& templates, bool withRouteObjects)
{
    qsizetype bytes = 4;
    for (size_t t = 0; t < templates.size(); ++t) {
        const auto& tmpl = templates.Head(t);
        bytes += 8 + ReferenceBytes(names, tmpl.ApproximationObject) + ReferenceBytes(names, tmpl.BaseObject)
            + (withRouteObjects ? ReferenceBytes(names, tmpl.RouteObject) : 0);
        const std::span<const CThreeDObject> objects = templates.Objects(t);
        bytes += 12 * static_cast<qsizetype>(objects.size());
        for (const CThreeDObject& object : objects)
            bytes += NameBytes(names, object.ObjectIndex);
    }
    return bytes;
}

// Writes into a buffer sized beforehand to the exact length of what is written.
class CBufferWriter {
public:
    explicit CBufferWriter(qsizetype bytes) : m_bytes(bytes, Qt::Uninitialized), m_at(m_bytes.data()) { }

    void Int32(int32_t value)
    {
        const int32_t raw = qToLittleEndian(value);
        std::memcpy(m_at, &raw, 4);
        m_at += 4;
    }
    void Float(float value)
    {
        uint32_t raw;
        std::memcpy(&raw, &value, 4);
        raw = qToLittleEndian(raw);
        std::memcpy(m_at, &raw, 4);
        m_at += 4;
    }
    void Name(std::string_view name)
    {
        Int32(static_cast<int32_t>(name.size()));
        // An empty name may have no characters to point at; memcpy must not be given none.
        if (!name.empty())
            std::memcpy(m_at, name.data(), name.size());
        m_at += name.size();
    }
    QByteArray Bytes()
    {
        Q_ASSERT(m_at == m_bytes.data() + m_bytes.size());
        return std::move(m_bytes);
    }

private:
    QByteArray m_bytes;
    char* m_at;
};

// The presence value written is always 1.
void PutReference(CBufferWriter& writer, const CNameSource& names, int32_t index)
{
    if (index == NoObjectIndex) {
        writer.Int32(0);
        return;
    }
    writer.Int32(1);
    writer.Name(names.NameOf(index));
}

template <typename Templates>
void PutTemplateList(CBufferWriter& writer, const CNameSource& names, const Templates& templates, bool withRouteObjects)
{
    const auto count = static_cast<int32_t>(templates.size());
    writer.Int32(withRouteObjects ? -count : count);
    for (size_t t = 0; t < templates.size(); ++t) {
        const auto& tmpl = templates.Head(t);
        const std::span<const CThreeDObject> objects = templates.Objects(t);
        writer.Int32(static_cast<int32_t>(objects.size()));
        writer.Int32(tmpl.TypeCode);
        PutReference(writer, names, tmpl.ApproximationObject);
        PutReference(writer, names, tmpl.BaseObject);
        if (withRouteObjects)
            PutReference(writer, names, tmpl.RouteObject);
        for (const CThreeDObject& object : objects) {
            writer.Float(object.X);
            writer.Float(object.Z);
            writer.Float(object.Heading);
            writer.Name(names.NameOf(object.ObjectIndex));
        }
    }
}

template <typename Templates>
QByteArray WriteListWith(const CNameSource& names, const Templates& templates, bool withRouteObjects)
{
    CBufferWriter writer(TemplateListBytes(names, templates, withRouteObjects));
    PutTemplateList(writer, names, templates, withRouteObjects);
    return writer.Bytes();
}

template <typename Templates>
QByteArray WriteMapWith(const CNameSource& names, const Templates& templates, const MapRecordsView& records,
                        bool withRouteObjects)
{
    qsizetype bytes = TemplateListBytes(names, templates, withRouteObjects) + 12
        + 12 * static_cast<qsizetype>(records.Keysites.size()) + 8 * static_cast<qsizetype>(records.Sams.size());
    for (const CAirbasePlacement& airbase : records.Airbases)
        bytes += 8 + NameBytes(names, airbase.ObjectIndex);
    CBufferWriter writer(bytes);
    PutTemplateList(writer, names, templates, withRouteObjects);
    writer.Int32(static_cast<int32_t>(records.Keysites.size()));
    for (const CKeysitePlacement& keysite : records.Keysites) {
        writer.Int32(keysite.TemplateNumber);
        writer.Float(keysite.X);
        writer.Float(keysite.Z);
    }
    writer.Int32(static_cast<int32_t>(records.Airbases.size()));
    for (const CAirbasePlacement& airbase : records.Airbases) {
        writer.Float(airbase.X);
        writer.Float(airbase.Z);
        writer.Name(names.NameOf(airbase.ObjectIndex));
    }
    writer.Int32(static_cast<int32_t>(records.Sams.size()));
    for (const CSAMPlacement& sam : records.Sams) {
        writer.Float(sam.X);
        writer.Float(sam.Z);
    }
    return writer.Bytes();
}

// Counts what the reader walks over.
class CCountingSink {
public:
    explicit CCountingSink(MapCounts& counts) : m_counts(counts) { }
    void TemplateList(int32_t, int32_t count) { m_counts.Templates = count; }
    void Template(int32_t, const StoredTemplate&) { }
    void TemplateObject(int32_t, int32_t, const StoredObject&) { ++m_counts.Objects; }
    void KeysiteList(int32_t count) { m_counts.Keysites = count; }
    void Keysite(int32_t, const StoredKeysite&) { }
    void AirbaseList(int32_t count) { m_counts.Airbases = count; }
    void Airbase(int32_t, const StoredAirbase&) { }
    void SamList(int32_t count) { m_counts.Sams = count; }
    void Sam(int32_t, const StoredSam&) { }

private:
    MapCounts& m_counts;
};

} // namespace

bool CountMapRecords(CByteReader& reader, MapCounts& counts)
{
    CCountingSink sink(counts);
    return !reader.Failed() && ReadMapFile(reader, sink);
}

bool ReadTemplateRecords(CByteReader& reader, const C3DObjectsList& catalogue, ReadRecords& records,
                         ReadNumbering numbering)
{
    CDocumentSink sink(catalogue, records, numbering);
    return !reader.Failed() && ReadTemplateList(reader, sink);
}

bool ReadMapRecords(CByteReader& reader, const C3DObjectsList& catalogue, ReadRecords& records, ReadNumbering numbering)
{
    CDocumentSink sink(catalogue, records, numbering);
    return !reader.Failed() && ReadMapFile(reader, sink);
}

QByteArray WriteTemplateList(const C3DObjectsList& catalogue, std::span<const CPopTemplate> templates,
                             bool withRouteObjects)
{
    return WriteListWith(CNameSource(catalogue), DocumentTemplates{templates}, withRouteObjects);
}

QByteArray WriteTemplateList(std::span<const std::string> names, std::span<const CPopTemplate> templates,
                             bool withRouteObjects)
{
    return WriteListWith(CNameSource(names, false), DocumentTemplates{templates}, withRouteObjects);
}

QByteArray WriteMapFile(const C3DObjectsList& catalogue, const MapRecordsView& records, bool withRouteObjects)
{
    return WriteMapWith(CNameSource(catalogue), DocumentTemplates{records.Templates}, records, withRouteObjects);
}

QByteArray WriteMapFile(std::span<const std::string> names, const MapRecordsView& records, bool withRouteObjects)
{
    return WriteMapWith(CNameSource(names, false), DocumentTemplates{records.Templates}, records, withRouteObjects);
}

MapSnapshot SnapshotOf(const C3DObjectsList& catalogue, const MapRecordsView& records)
{
    MapSnapshot snapshot;
    snapshot.Names = catalogue.Names();
    snapshot.Templates.reserve(records.Templates.size());
    size_t objects = 0;
    for (const CPopTemplate& tmpl : records.Templates)
        objects += tmpl.Objects.size();
    // Reserved, then appended: each object is written once, in one pass over memory.
    snapshot.Objects.reserve(objects);
    for (const CPopTemplate& tmpl : records.Templates) {
        snapshot.Templates.push_back({tmpl.TypeCode, tmpl.ApproximationObject, tmpl.BaseObject, tmpl.RouteObject,
                                      uint32_t(snapshot.Objects.size()), uint32_t(tmpl.Objects.size())});
        snapshot.Objects.insert(snapshot.Objects.end(), tmpl.Objects.begin(), tmpl.Objects.end());
    }
    snapshot.Keysites.assign(records.Keysites.begin(), records.Keysites.end());
    snapshot.Airbases.assign(records.Airbases.begin(), records.Airbases.end());
    snapshot.Sams.assign(records.Sams.begin(), records.Sams.end());
    return snapshot;
}

QByteArray WriteMapFile(const MapSnapshot& snapshot, bool withRouteObjects)
{
    return WriteMapWith(CNameSource(snapshot.Names, true), SnapshotTemplates{snapshot},
                        {{}, snapshot.Keysites, snapshot.Airbases, snapshot.Sams}, withRouteObjects);
}
