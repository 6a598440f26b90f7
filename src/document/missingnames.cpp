#include "document/missingnames.h"

#include "platform/ansitext.h"

#include <QStringList>
#include <algorithm>
#include <set>
#include <unordered_set>
#include <utility>

void CMissingNames::Add(int32_t templateNumber, int32_t objectNumber, const std::string& name)
{
    m_entries.push_back({templateNumber, objectNumber, name});
}

void CMissingNames::Append(const CMissingNames& other)
{
    m_entries.insert(m_entries.end(), other.m_entries.begin(), other.m_entries.end());
}

int CMissingNames::RecordCount() const
{
    std::set<std::pair<int32_t, int32_t>> records;
    for (const Entry& entry : m_entries)
        records.insert({entry.Template, entry.Object});
    return static_cast<int>(records.size());
}

std::vector<std::string> CMissingNames::Names() const
{
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    for (const Entry& entry : m_entries) {
        if (seen.insert(entry.Name).second)
            names.push_back(entry.Name);
    }
    return names;
}

CMissingNames CMissingNames::OfTemplates(int32_t first, int32_t last) const
{
    CMissingNames part;
    for (const Entry& entry : m_entries) {
        if (entry.Template >= first && entry.Template <= last)
            part.m_entries.push_back(entry);
    }
    return part;
}

QString MissingNamesText(const CMissingNames& missing, int mostNames)
{
    const int records = missing.RecordCount();
    const std::vector<std::string> names = missing.Names();
    const int count = static_cast<int>(names.size());
    const int listed = mostNames < 0 ? count : std::min(count, mostNames);
    QStringList quoted;
    for (int i = 0; i < listed; ++i)
        quoted << QLatin1Char('"') + AnsiToQString(names[static_cast<size_t>(i)]) + QLatin1Char('"');
    QString list = quoted.join(QStringLiteral(", "));
    if (listed < count)
        list += QStringLiteral(" and %1 more").arg(count - listed);
    return QStringLiteral("3D object names not in the catalogue are written as INVALID_OBJECT: "
                          "%1 %2, %3 %4 (%5)")
        .arg(records)
        .arg(records == 1 ? QStringLiteral("record") : QStringLiteral("records"))
        .arg(count)
        .arg(count == 1 ? QStringLiteral("name") : QStringLiteral("names"))
        .arg(list);
}
