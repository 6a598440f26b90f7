#include "document/missingnames.h"

#include "platform/ansitext.h"
#include "platform/messagetext.h"

#include <QStringList>
#include <algorithm>

void CMissingNames::Add(int32_t templateNumber, int32_t objectNumber, std::string_view name)
{
    auto [at, added] = m_nameNumbers.try_emplace(std::string(name), static_cast<int32_t>(m_names.size()));
    if (added)
        m_names.push_back(at->first);
    m_entries.push_back({templateNumber, objectNumber, at->second});
}

void CMissingNames::Append(const CMissingNames& other)
{
    for (const Entry& entry : other.m_entries)
        Add(entry.Template, entry.Object, other.m_names[static_cast<size_t>(entry.Name)]);
}

void CMissingNames::Clear()
{
    m_entries.clear();
    m_names.clear();
    m_nameNumbers.clear();
}

int CMissingNames::RecordCount() const
{
    std::vector<uint64_t> records;
    records.reserve(m_entries.size());
    for (const Entry& entry : m_entries)
        records.push_back(uint64_t(uint32_t(entry.Template)) << 32 | uint32_t(entry.Object));
    std::sort(records.begin(), records.end());
    return static_cast<int>(std::unique(records.begin(), records.end()) - records.begin());
}

CMissingNames CMissingNames::OfTemplates(int32_t first, int32_t last) const
{
    CMissingNames part;
    for (const Entry& entry : m_entries) {
        if (entry.Template >= first && entry.Template <= last)
            part.Add(entry.Template, entry.Object, m_names[static_cast<size_t>(entry.Name)]);
    }
    return part;
}

QString MissingNamesText(const CMissingNames& missing, int mostNames)
{
    const int records = missing.RecordCount();
    const std::vector<std::string>& names = missing.Names();
    const int count = static_cast<int>(names.size());
    const int listed = mostNames < 0 ? count : std::min(count, mostNames);
    QStringList quoted;
    for (int i = 0; i < listed; ++i) {
        // One 8-bit character is one character shown: a name of megabytes is cut before it is
        // converted, and then shortened as every name in a message is.
        const std::string& name = names[static_cast<size_t>(i)];
        const std::string start = name.substr(0, size_t(MessageText::LongestShown) + 1);
        quoted << QLatin1Char('"') + MessageText::Shortened(AnsiToQString(start)) + QLatin1Char('"');
    }
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
