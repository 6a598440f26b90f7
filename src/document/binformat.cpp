#include "document/binformat.h"

#include "document/binreader.h"

#include <QtEndian>
#include <cstring>

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

// The name written for a record's object index: the catalogue's, or the one a file stored.
class CNameSource {
public:
    explicit CNameSource(const C3DObjectsList& catalogue) : m_catalogue(&catalogue) { }
    explicit CNameSource(std::span<const std::string> names) : m_names(names) { }

    const std::string& NameOf(int32_t index) const
    {
        return m_catalogue ? m_catalogue->NameOf(index) : m_names[static_cast<size_t>(index)];
    }

private:
    const C3DObjectsList* m_catalogue = nullptr;
    std::span<const std::string> m_names;
};

// Sizes as written, to reserve the buffer once.
qsizetype NameBytes(const CNameSource& catalogue, int32_t index)
{
    return 4 + static_cast<qsizetype>(catalogue.NameOf(index).size());
}

qsizetype ReferenceBytes(const CNameSource& catalogue, int32_t index)
{
    return index == NoObjectIndex ? 4 : 4 + NameBytes(catalogue, index);
}

qsizetype TemplateListBytes(const CNameSource& catalogue, std::span<const CPopTemplate> templates,
                            bool withRouteObjects)
{
    qsizetype bytes = 4;
    for (const CPopTemplate& tmpl : templates) {
        bytes += 8 + ReferenceBytes(catalogue, tmpl.ApproximationObject) + ReferenceBytes(catalogue, tmpl.BaseObject)
            + (withRouteObjects ? ReferenceBytes(catalogue, tmpl.RouteObject) : 0);
        for (const CThreeDObject& object : tmpl.Objects)
            bytes += 12 + NameBytes(catalogue, object.ObjectIndex);
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
    void Name(const std::string& name)
    {
        Int32(static_cast<int32_t>(name.size()));
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
void PutReference(CBufferWriter& writer, const CNameSource& catalogue, int32_t index)
{
    if (index == NoObjectIndex) {
        writer.Int32(0);
        return;
    }
    writer.Int32(1);
    writer.Name(catalogue.NameOf(index));
}

void PutTemplateList(CBufferWriter& writer, const CNameSource& catalogue, std::span<const CPopTemplate> templates,
                     bool withRouteObjects)
{
    const auto count = static_cast<int32_t>(templates.size());
    writer.Int32(withRouteObjects ? -count : count);
    for (const CPopTemplate& tmpl : templates) {
        writer.Int32(static_cast<int32_t>(tmpl.Objects.size()));
        writer.Int32(tmpl.TypeCode);
        PutReference(writer, catalogue, tmpl.ApproximationObject);
        PutReference(writer, catalogue, tmpl.BaseObject);
        if (withRouteObjects)
            PutReference(writer, catalogue, tmpl.RouteObject);
        for (const CThreeDObject& object : tmpl.Objects) {
            writer.Float(object.X);
            writer.Float(object.Z);
            writer.Float(object.Heading);
            writer.Name(catalogue.NameOf(object.ObjectIndex));
        }
    }
}

QByteArray WriteListWith(const CNameSource& catalogue, std::span<const CPopTemplate> templates, bool withRouteObjects)
{
    CBufferWriter writer(TemplateListBytes(catalogue, templates, withRouteObjects));
    PutTemplateList(writer, catalogue, templates, withRouteObjects);
    return writer.Bytes();
}

QByteArray WriteMapWith(const CNameSource& catalogue, const MapRecordsView& records, bool withRouteObjects)
{
    qsizetype bytes = TemplateListBytes(catalogue, records.Templates, withRouteObjects) + 12
        + 12 * static_cast<qsizetype>(records.Keysites.size()) + 8 * static_cast<qsizetype>(records.Sams.size());
    for (const CAirbasePlacement& airbase : records.Airbases)
        bytes += 8 + NameBytes(catalogue, airbase.ObjectIndex);
    CBufferWriter writer(bytes);
    PutTemplateList(writer, catalogue, records.Templates, withRouteObjects);
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
        writer.Name(catalogue.NameOf(airbase.ObjectIndex));
    }
    writer.Int32(static_cast<int32_t>(records.Sams.size()));
    for (const CSAMPlacement& sam : records.Sams) {
        writer.Float(sam.X);
        writer.Float(sam.Z);
    }
    return writer.Bytes();
}

} // namespace

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
    return WriteListWith(CNameSource(catalogue), templates, withRouteObjects);
}

QByteArray WriteTemplateList(std::span<const std::string> names, std::span<const CPopTemplate> templates,
                             bool withRouteObjects)
{
    return WriteListWith(CNameSource(names), templates, withRouteObjects);
}

QByteArray WriteMapFile(const C3DObjectsList& catalogue, const MapRecordsView& records, bool withRouteObjects)
{
    return WriteMapWith(CNameSource(catalogue), records, withRouteObjects);
}

QByteArray WriteMapFile(std::span<const std::string> names, const MapRecordsView& records, bool withRouteObjects)
{
    return WriteMapWith(CNameSource(names), records, withRouteObjects);
}
