#include "document/binformat.h"

#include "document/binreader.h"

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
            {stored.X, stored.Z, stored.Heading, Index(stored.Name, m_numbering.FirstTemplate + templateNumber, number)});
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

// Sizes as written, to reserve the buffer once.
qsizetype NameBytes(const C3DObjectsList& catalogue, int32_t index)
{
    return 4 + static_cast<qsizetype>(catalogue.NameOf(index).size());
}

qsizetype ReferenceBytes(const C3DObjectsList& catalogue, int32_t index)
{
    return index == NoObjectIndex ? 4 : 4 + NameBytes(catalogue, index);
}

qsizetype TemplateListBytes(const C3DObjectsList& catalogue, std::span<const CPopTemplate> templates,
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

void PutName(CByteWriter& writer, const std::string& name)
{
    writer.PutInt32(static_cast<int32_t>(name.size()));
    writer.PutBytes(name);
}

// The presence value written is always 1.
void PutReference(CByteWriter& writer, const C3DObjectsList& catalogue, int32_t index)
{
    if (index == NoObjectIndex) {
        writer.PutInt32(0);
        return;
    }
    writer.PutInt32(1);
    PutName(writer, catalogue.NameOf(index));
}

void PutTemplateList(CByteWriter& writer, const C3DObjectsList& catalogue, std::span<const CPopTemplate> templates,
                     bool withRouteObjects)
{
    const auto count = static_cast<int32_t>(templates.size());
    writer.PutInt32(withRouteObjects ? -count : count);
    for (const CPopTemplate& tmpl : templates) {
        writer.PutInt32(static_cast<int32_t>(tmpl.Objects.size()));
        writer.PutInt32(tmpl.TypeCode);
        PutReference(writer, catalogue, tmpl.ApproximationObject);
        PutReference(writer, catalogue, tmpl.BaseObject);
        if (withRouteObjects)
            PutReference(writer, catalogue, tmpl.RouteObject);
        for (const CThreeDObject& object : tmpl.Objects) {
            writer.PutFloat(object.X);
            writer.PutFloat(object.Z);
            writer.PutFloat(object.Heading);
            PutName(writer, catalogue.NameOf(object.ObjectIndex));
        }
    }
}

} // namespace

bool ReadTemplateRecords(CByteReader& reader, const C3DObjectsList& catalogue, ReadRecords& records,
                         ReadNumbering numbering)
{
    CDocumentSink sink(catalogue, records, numbering);
    return !reader.Failed() && ReadTemplateList(reader, sink);
}

bool ReadMapRecords(CByteReader& reader, const C3DObjectsList& catalogue, ReadRecords& records,
                    ReadNumbering numbering)
{
    CDocumentSink sink(catalogue, records, numbering);
    return !reader.Failed() && ReadMapFile(reader, sink);
}

QByteArray WriteTemplateList(const C3DObjectsList& catalogue, std::span<const CPopTemplate> templates,
                             bool withRouteObjects)
{
    CByteWriter writer;
    writer.Reserve(TemplateListBytes(catalogue, templates, withRouteObjects));
    PutTemplateList(writer, catalogue, templates, withRouteObjects);
    return writer.Bytes();
}

QByteArray WriteMapFile(const C3DObjectsList& catalogue, const MapRecordsView& records, bool withRouteObjects)
{
    qsizetype bytes = TemplateListBytes(catalogue, records.Templates, withRouteObjects) + 12
        + 12 * static_cast<qsizetype>(records.Keysites.size()) + 8 * static_cast<qsizetype>(records.Sams.size());
    for (const CAirbasePlacement& airbase : records.Airbases)
        bytes += 8 + NameBytes(catalogue, airbase.ObjectIndex);
    CByteWriter writer;
    writer.Reserve(bytes);
    PutTemplateList(writer, catalogue, records.Templates, withRouteObjects);
    writer.PutInt32(static_cast<int32_t>(records.Keysites.size()));
    for (const CKeysitePlacement& keysite : records.Keysites) {
        writer.PutInt32(keysite.TemplateNumber);
        writer.PutFloat(keysite.X);
        writer.PutFloat(keysite.Z);
    }
    writer.PutInt32(static_cast<int32_t>(records.Airbases.size()));
    for (const CAirbasePlacement& airbase : records.Airbases) {
        writer.PutFloat(airbase.X);
        writer.PutFloat(airbase.Z);
        PutName(writer, catalogue.NameOf(airbase.ObjectIndex));
    }
    writer.PutInt32(static_cast<int32_t>(records.Sams.size()));
    for (const CSAMPlacement& sam : records.Sams) {
        writer.PutFloat(sam.X);
        writer.PutFloat(sam.Z);
    }
    return writer.Bytes();
}
