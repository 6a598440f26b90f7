#include "catalogues/objectslist.h"

#include "platform/ansitext.h"
#include "platform/fileread.h"
#include "platform/streams.h"

#include <algorithm>
#include <numeric>

C3DObjectsList::C3DObjectsList() : C3DObjectsList(QLocale::system()) { }

namespace {

// The C locale collates by code point and ignores the case setting; a Windows user always has a
// real locale, so stand in with US English there.
QLocale CollationLocale(const QLocale& locale)
{
    return locale.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : locale;
}

} // namespace

C3DObjectsList::C3DObjectsList(const QLocale& locale) : m_collator(CollationLocale(locale))
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

QCollatorSortKey C3DObjectsList::KeyOf(std::string_view name) const
{
    return m_collator.sortKey(AnsiToQString(std::string(name)));
}

bool C3DObjectsList::LoadFromFile(const QString& path, QString* error)
{
    return Load(error, [&] { return CFileReader(path, FileLimits::Catalogue); });
}

bool C3DObjectsList::LoadFromBytes(const QByteArray& bytes, QString* error)
{
    return Load(error, [&] { return CByteReader(bytes); });
}

template <typename MakeReader>
bool C3DObjectsList::Load(QString* error, MakeReader makeReader)
{
    const bool loaded = GuardAllocation(error, [&] {
        auto reader = makeReader();
        return Parse(reader, error);
    });
    // A partial catalogue would turn every name it misses into INVALID_OBJECT at the next save.
    if (!loaded) {
        m_names.clear();
        m_keys.clear();
        m_exact.Build(m_names);
        m_exactStale = false;
    }
    return loaded;
}

bool C3DObjectsList::Parse(CByteReader& reader, QString* error)
{
    std::vector<std::string> names;
    if (!reader.Failed() && !reader.AtEnd()) {
        int32_t count = 0;
        int32_t unused = 0;
        reader.ReadInt32(count);
        reader.ReadInt32(unused);
        // Only count - 1 entries follow the header, each at least 8 bytes long.
        const qint64 entries = qint64(count) - 1;
        if (reader.CanHold(entries, 8, "catalogue entry")) {
            names.reserve(static_cast<size_t>(std::max<qint64>(entries, 0)));
            for (qint64 i = 0; i < entries && !reader.Failed(); ++i) {
                int32_t length = 0;
                std::string name;
                reader.ReadInt32(length);
                reader.ReadString(length, name);
                reader.ReadInt32(unused);
                names.push_back(std::move(name));
            }
        }
    }
    if (reader.Failed()) {
        if (error)
            *error = reader.Error();
        return false;
    }
    ReplaceAll(std::move(names));
    return true;
}

void C3DObjectsList::ReplaceAll(std::vector<std::string> names)
{
    std::vector<QCollatorSortKey> keys;
    keys.reserve(names.size());
    for (const std::string& name : names)
        keys.push_back(KeyOf(name));
    // A stable sort keeps equal names in reading order, so dropping all but the first of each run
    // keeps the form read first, as adding them one by one would.
    std::vector<size_t> order(names.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[a].compare(keys[b]) < 0; });
    // Built aside and swapped in, so that running out of memory leaves the list as it was.
    std::vector<std::string> sortedNames;
    std::vector<QCollatorSortKey> sortedKeys;
    sortedNames.reserve(names.size());
    sortedKeys.reserve(names.size());
    for (size_t index : order) {
        if (!sortedKeys.empty() && sortedKeys.back().compare(keys[index]) == 0)
            continue;
        sortedNames.push_back(std::move(names[index]));
        sortedKeys.push_back(keys[index]);
    }
    m_names.swap(sortedNames);
    m_keys.swap(sortedKeys);
    m_exactStale = true;
    RebuildExact();
}

void C3DObjectsList::RebuildExact() const
{
    m_exact.Build(m_names);
    m_exactStale = false;
}

void C3DObjectsList::Add(const std::string& name)
{
    QCollatorSortKey key = KeyOf(name);
    auto at = std::lower_bound(m_keys.begin(), m_keys.end(), key,
                               [](const QCollatorSortKey& a, const QCollatorSortKey& b) { return a.compare(b) < 0; });
    if (at != m_keys.end() && at->compare(key) == 0)
        return;
    const auto offset = at - m_keys.begin();
    m_keys.insert(at, std::move(key));
    m_names.insert(m_names.begin() + offset, name);
    m_exactStale = true; // positions after the new name moved; rebuilt at the next lookup
}

int32_t C3DObjectsList::IndexOf(std::string_view name) const
{
    if (m_names.empty())
        return MissingObjectIndex;
    if (m_exactStale)
        RebuildExact();
    if (const int32_t exact = m_exact.Find(m_names, name); exact >= 0)
        return exact;
    const QCollatorSortKey key = KeyOf(name);
    size_t low = 0;
    size_t high = m_keys.size();
    while (low < high) {
        const size_t mid = low + (high - low) / 2;
        const int order = m_keys[mid].compare(key);
        if (order == 0)
            return static_cast<int32_t>(mid);
        if (order < 0)
            low = mid + 1;
        else
            high = mid;
    }
    return MissingObjectIndex;
}

const std::string& C3DObjectsList::NameOf(int32_t index) const
{
    static const std::string none;
    static const std::string invalid = "INVALID_OBJECT";
    if (index == NoObjectIndex)
        return none;
    if (index < 0 || index >= Count())
        return invalid;
    return m_names[static_cast<size_t>(index)];
}
