#include "document/binfile.h"

#include "document/binformat.h"
#include "platform/atomicsave.h"
#include "platform/fileread.h"
#include "platform/streams.h"

namespace {

// Makes room for `added` more records, counting from nothing when the list is about to be emptied.
template <typename List>
void Reserve(List& list, size_t added, bool replacing)
{
    list.reserve((replacing ? 0 : list.size()) + added);
}

} // namespace

CBINFile::CBINFile(const C3DObjectsList* catalogue, const CPopTemplatesTypesList* types)
    : m_catalogue(catalogue), m_types(types)
{
}

CBINFile::~CBINFile()
{
    Clear();
}

int CBINFile::Clear()
{
    Keysites.clear(); // first: each keysite releases its template
    Templates.clear();
    Airbases.clear();
    SAMs.clear();
    m_lastReadMissing.Clear();
    return 1;
}

// --- Files -----------------------------------------------------------------------------------

bool CBINFile::Load(const QString& fileName, QString* error)
{
    return GuardAllocation(error, [&] {
        CFileReader reader(fileName, FileLimits::MapBin);
        return LoadFrom(reader, false, error);
    });
}

bool CBINFile::LoadBytes(const QByteArray& bytes, QString* error)
{
    return GuardAllocation(error, [&] {
        CByteReader reader(bytes);
        return LoadFrom(reader, false, error);
    });
}

bool CBINFile::LoadReplacing(const QString& fileName, QString* error)
{
    return GuardAllocation(error, [&] {
        CFileReader reader(fileName, FileLimits::MapBin);
        return LoadFrom(reader, true, error);
    });
}

bool CBINFile::LoadFrom(CByteReader& reader, bool replacing, QString* error)
{
    ParsedMapFile file;
    CMissingNames missing;
    const ReadNumbering numbering{replacing ? 0 : TemplateCount(), replacing ? 0 : AirbaseCount(), &missing};
    if (reader.Failed() || !ReadMapFile(reader, m_catalogue, m_types, file, numbering)) {
        if (error)
            *error = reader.Error();
        return false;
    }
    // Everything that allocates comes before the first change, so that running out of memory
    // leaves the document as it was.
    std::vector<std::unique_ptr<CKeysitePlacement>> keysites;
    keysites.reserve(file.Keysites.size());
    for (size_t i = 0; i < file.Keysites.size(); ++i)
        keysites.push_back(std::make_unique<CKeysitePlacement>(&Templates));
    Reserve(Templates, file.Templates.size(), replacing);
    Reserve(Keysites, keysites.size(), replacing);
    Reserve(Airbases, file.Airbases.size(), replacing);
    Reserve(SAMs, file.SAMs.size(), replacing);

    if (replacing)
        Clear();
    for (auto& tmpl : file.Templates)
        Templates.push_back(std::move(tmpl));
    // Template numbers refer to the whole list as it stands once this file's templates are in.
    for (size_t i = 0; i < keysites.size(); ++i) {
        const ParsedKeysite& parsed = file.Keysites[i];
        CKeysitePlacement& keysite = *keysites[i];
        if (parsed.TemplateNumber >= 0 && static_cast<size_t>(parsed.TemplateNumber) < Templates.size())
            keysite.SetTemplate(Templates[static_cast<size_t>(parsed.TemplateNumber)].get());
        keysite.X = parsed.X;
        keysite.Z = parsed.Z;
        Keysites.push_back(std::move(keysites[i]));
    }
    for (auto& airbase : file.Airbases)
        Airbases.push_back(std::move(airbase));
    for (auto& sam : file.SAMs)
        SAMs.push_back(std::move(sam));
    m_lastReadMissing = std::move(missing);
    return true;
}

QByteArray CBINFile::SaveBytes(bool withRouteObjects) const
{
    CByteWriter writer;
    const int32_t count = static_cast<int32_t>(Templates.size());
    writer.WriteInt32(withRouteObjects ? -count : count);
    for (const auto& tmpl : Templates)
        WriteTemplate(writer, *tmpl, withRouteObjects);

    const auto numbers = TemplateNumbers();
    writer.WriteInt32(static_cast<int32_t>(Keysites.size()));
    for (const auto& keysite : Keysites) {
        const auto found = keysite->Template ? numbers.find(keysite->Template) : numbers.end();
        writer.WriteInt32(found == numbers.end() ? -1 : found->second);
        writer.WriteFloat(keysite->X);
        writer.WriteFloat(keysite->Z);
    }
    writer.WriteInt32(static_cast<int32_t>(Airbases.size()));
    for (const auto& airbase : Airbases) {
        writer.WriteFloat(airbase->X);
        writer.WriteFloat(airbase->Z);
        const std::string name = m_catalogue->NameOf(airbase->ObjectIndex);
        writer.WriteInt32(static_cast<int32_t>(name.size()));
        writer.WriteString(name, false);
    }
    writer.WriteInt32(static_cast<int32_t>(SAMs.size()));
    for (const auto& sam : SAMs) {
        writer.WriteFloat(sam->X);
        writer.WriteFloat(sam->Z);
    }
    return writer.Bytes();
}

bool CBINFile::Save(const QString& fileName, bool withRouteObjects, QString* error) const
{
    return SaveFileAtomically(fileName, SaveBytes(withRouteObjects), error);
}

bool CBINFile::ExportTemplates(const QString& fileName, int first, int last, QString* error) const
{
    if (first < 0 || first > last || last >= TemplateCount()) {
        if (error)
            *error = QStringLiteral("invalid template range %1 to %2 (the document has %3 templates)")
                         .arg(first).arg(last).arg(TemplateCount());
        return false;
    }
    CFileWriter writer(fileName);
    writer.WriteInt32(first - last - 1);
    for (int i = first; i <= last; ++i)
        WriteTemplate(writer, *Templates[static_cast<size_t>(i)], true);
    return writer.Commit(error);
}

bool CBINFile::ImportTemplates(const QString& fileName, QString* error)
{
    return GuardAllocation(error, [&] {
        CFileReader reader(fileName, FileLimits::TemplateSource);
        return ImportFrom(reader, error);
    });
}

bool CBINFile::ImportTemplateBytes(const QByteArray& bytes, QString* error)
{
    return GuardAllocation(error, [&] {
        CByteReader reader(bytes);
        return ImportFrom(reader, error);
    });
}

bool CBINFile::ImportFrom(CByteReader& reader, QString* error)
{
    TemplateList imported;
    CMissingNames missing;
    if (reader.Failed()
        || !ReadTemplateList(reader, m_catalogue, m_types, imported, {TemplateCount(), 0, &missing})) {
        if (error)
            *error = reader.Error();
        return false;
    }
    Reserve(Templates, imported.size(), false);
    for (auto& tmpl : imported)
        Templates.push_back(std::move(tmpl));
    m_lastReadMissing = std::move(missing);
    return true;
}
