// The document's files: Map BIN load and save, template import and export.
#include "document/binfile.h"

#include "document/binformat.h"
#include "platform/atomicsave.h"
#include "platform/fileread.h"
#include "platform/streams.h"

CBINFile::CBINFile(const C3DObjectsList* catalogue, const CPopTemplatesTypesList* types, QObject* parent)
    : QObject(parent), m_catalogue(catalogue), m_types(types)
{
}

CBINFile::~CBINFile() = default;

int CBINFile::Clear()
{
    ReadRecords none;
    TakeRecords(none, true);
    m_lastReadMissing.Clear();
    return 1;
}

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
    ReadRecords records;
    const ReadNumbering numbering{replacing ? 0 : TemplateCount(), replacing ? 0 : AirbaseCount()};
    if (!ReadMapRecords(reader, *m_catalogue, records, numbering)) {
        if (error)
            *error = reader.Error();
        return false;
    }
    TakeRecords(records, replacing);
    m_lastReadMissing = std::move(records.Missing);
    return true;
}

void CBINFile::TakeRecords(ReadRecords& records, bool replacing)
{
    // Appending to an empty document is taking the records whole.
    replacing = replacing || (m_templates.empty() && m_keysites.empty() && m_airbases.empty() && m_sams.empty());
    // Everything that allocates comes before the first change, so that running out of memory
    // leaves the document as it was.
    const size_t kept = replacing ? 0 : m_templates.size();
    if (!replacing) {
        m_templates.reserve(m_templates.size() + records.Templates.size());
        m_keysites.reserve(m_keysites.size() + records.Keysites.size());
        m_airbases.reserve(m_airbases.size() + records.Airbases.size());
        m_sams.reserve(m_sams.size() + records.Sams.size());
    }
    emit AboutToReset();
    if (replacing) {
        m_templates.swap(records.Templates);
        m_keysites.swap(records.Keysites);
        m_airbases.swap(records.Airbases);
        m_sams.swap(records.Sams);
    } else {
        for (CPopTemplate& tmpl : records.Templates)
            m_templates.push_back(std::move(tmpl));
        m_keysites.insert(m_keysites.end(), records.Keysites.begin(), records.Keysites.end());
        m_airbases.insert(m_airbases.end(), records.Airbases.begin(), records.Airbases.end());
        m_sams.insert(m_sams.end(), records.Sams.begin(), records.Sams.end());
    }
    // Stored template numbers refer to the whole list as it stands once the file's templates are
    // in; any other number is no template.
    const size_t firstNew = m_keysites.size() - (replacing ? m_keysites.size() : records.Keysites.size());
    for (size_t i = firstNew; i < m_keysites.size(); ++i) {
        if (!IsTemplateNumber(m_keysites[i].TemplateNumber))
            m_keysites[i].TemplateNumber = -1;
    }
    for (size_t t = kept; t < m_templates.size(); ++t)
        m_templates[t].UseCount = 0;
    for (size_t i = firstNew; i < m_keysites.size(); ++i) {
        if (m_keysites[i].TemplateNumber >= 0)
            ++m_templates[static_cast<size_t>(m_keysites[i].TemplateNumber)].UseCount;
    }
    emit DocumentReset();
}

QByteArray CBINFile::SaveBytes(bool withRouteObjects) const
{
    return WriteMapFile(*m_catalogue, {m_templates, m_keysites, m_airbases, m_sams}, withRouteObjects);
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
                         .arg(first)
                         .arg(last)
                         .arg(TemplateCount());
        return false;
    }
    const auto range = Templates().subspan(static_cast<size_t>(first), static_cast<size_t>(last - first + 1));
    return SaveFileAtomically(fileName, WriteTemplateList(*m_catalogue, range, true), error);
}

bool CBINFile::ImportTemplates(const QString& fileName, QString* error)
{
    return GuardAllocation(error, [&] {
        CFileReader reader(fileName, FileLimits::TemplateSource);
        ImportedTemplates read;
        if (!ReadTemplatesFrom(reader, read, error))
            return false;
        AppendTemplates(std::move(read));
        return true;
    });
}

bool CBINFile::ImportTemplateBytes(const QByteArray& bytes, QString* error)
{
    return GuardAllocation(error, [&] {
        CByteReader reader(bytes);
        ImportedTemplates read;
        if (!ReadTemplatesFrom(reader, read, error))
            return false;
        AppendTemplates(std::move(read));
        return true;
    });
}

bool CBINFile::ReadTemplates(const QString& fileName, ImportedTemplates& read, QString* error) const
{
    return GuardAllocation(error, [&] {
        CFileReader reader(fileName, FileLimits::TemplateSource);
        return ReadTemplatesFrom(reader, read, error);
    });
}

bool CBINFile::ReadTemplatesFrom(CByteReader& reader, ImportedTemplates& read, QString* error) const
{
    ReadRecords records;
    if (!ReadTemplateRecords(reader, *m_catalogue, records, {TemplateCount(), 0})) {
        if (error)
            *error = reader.Error();
        return false;
    }
    read.Templates = std::move(records.Templates);
    read.Missing = std::move(records.Missing);
    return true;
}

void CBINFile::AppendTemplates(ImportedTemplates read)
{
    // A file of no templates adds nothing and announces nothing.
    if (!read.Templates.empty())
        InsertRows(TemplateCount(), std::move(read.Templates));
    m_lastReadMissing = std::move(read.Missing);
}
