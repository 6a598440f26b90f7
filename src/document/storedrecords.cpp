#include "document/storedrecords.h"

#include "document/binreader.h"
#include "platform/filelimits.h"
#include "platform/fileread.h"

#include <unordered_map>

namespace {

class CStoredSink {
public:
    explicit CStoredSink(StoredRecords& records) : m_records(records) { }

    void TemplateList(int32_t countField, int32_t count)
    {
        m_records.WithRouteObjects = countField < 0;
        m_records.Templates.reserve(static_cast<size_t>(count));
    }
    void Template(int32_t, const StoredTemplate& stored)
    {
        CPopTemplate& tmpl = m_records.Templates.emplace_back();
        tmpl.TypeCode = stored.TypeCode;
        tmpl.ApproximationObject = Reference(stored.Approximation);
        tmpl.BaseObject = Reference(stored.Base);
        tmpl.RouteObject = stored.HasRoute ? Reference(stored.Route) : NoObjectIndex;
        tmpl.Objects.reserve(static_cast<size_t>(std::max(stored.ObjectCount, 0)));
    }
    void TemplateObject(int32_t, int32_t, const StoredObject& stored)
    {
        m_records.Templates.back().Objects.push_back({stored.X, stored.Z, stored.Heading, Index(stored.Name)});
    }
    void KeysiteList(int32_t count) { m_records.Keysites.reserve(static_cast<size_t>(count)); }
    void Keysite(int32_t, const StoredKeysite& stored)
    {
        m_records.Keysites.push_back({stored.TemplateNumber, stored.X, stored.Z});
    }
    void AirbaseList(int32_t count) { m_records.Airbases.reserve(static_cast<size_t>(count)); }
    void Airbase(int32_t, const StoredAirbase& stored)
    {
        m_records.Airbases.push_back({stored.X, stored.Z, Index(stored.Name)});
    }
    void SamList(int32_t count) { m_records.Sams.reserve(static_cast<size_t>(count)); }
    void Sam(int32_t, const StoredSam& stored) { m_records.Sams.push_back({stored.X, stored.Z}); }

private:
    int32_t Reference(const StoredReference& reference)
    {
        return reference.Presence == 0 ? NoObjectIndex : Index(reference.Name);
    }
    // Each distinct name is kept once; the views point into the reader's bytes, alive for the read.
    int32_t Index(std::string_view name)
    {
        auto [at, added] = m_indices.try_emplace(name, 0);
        if (added)
            at->second = m_records.AddName(name);
        return at->second;
    }

    StoredRecords& m_records;
    std::unordered_map<std::string_view, int32_t> m_indices;
};

} // namespace

const std::string& StoredRecords::NameOf(int32_t index) const
{
    static const std::string kNone;
    return index >= 0 && static_cast<size_t>(index) < Names.size() ? Names[static_cast<size_t>(index)] : kNone;
}

int32_t StoredRecords::AddName(std::string_view name)
{
    Names.emplace_back(name);
    return static_cast<int32_t>(Names.size() - 1);
}

QByteArray StoredRecords::Write() const
{
    if (TemplateListOnly)
        return WriteTemplateList(Names, Templates, WithRouteObjects);
    return WriteMapFile(Names, View(), WithRouteObjects);
}

bool ReadStoredRecords(CByteReader& reader, bool templateListOnly, StoredRecords& records)
{
    StoredRecords read;
    read.TemplateListOnly = templateListOnly;
    CStoredSink sink(read);
    const bool ok = !reader.Failed() && (templateListOnly ? ReadTemplateList(reader, sink) : ReadMapFile(reader, sink));
    if (ok)
        records = std::move(read);
    return ok;
}

bool LoadStoredRecords(const QString& path, bool templateListOnly, StoredRecords& records, QString* error)
{
    return GuardAllocation(error, [&] {
        CFileReader reader(path, templateListOnly ? FileLimits::TemplateSource : FileLimits::MapBin);
        if (ReadStoredRecords(reader, templateListOnly, records))
            return true;
        if (error)
            *error = reader.Error();
        return false;
    });
}
