// The record path: the one place where records are inserted, removed and replaced, and where each
// change is announced (see binfile.h for the order of the announcements).
#include "document/binfile.h"

#include <algorithm>

std::span<const CThreeDObject> CBINFile::Objects(int templateNumber) const
{
    if (templateNumber < 0 || templateNumber >= TemplateCount())
        return {};
    return m_templates[static_cast<size_t>(templateNumber)].Objects;
}

int CBINFile::Count(ListAddress list) const
{
    switch (list.List) {
    case RecordList::Templates: return TemplateCount();
    case RecordList::TemplateObjects: return ObjectCount(list.Template);
    case RecordList::Keysites: return KeysiteCount();
    case RecordList::Airbases: return AirbaseCount();
    case RecordList::Sams: return SamCount();
    }
    return 0;
}

bool CBINFile::HasList(ListAddress list) const
{
    return list.List != RecordList::TemplateObjects || (list.Template >= 0 && list.Template < TemplateCount());
}

template <typename Record>
const std::vector<Record>* CBINFile::StoredRows(int templateNumber) const
{
    if constexpr (std::is_same_v<Record, CPopTemplate>)
        return &m_templates;
    else if constexpr (std::is_same_v<Record, CKeysitePlacement>)
        return &m_keysites;
    else if constexpr (std::is_same_v<Record, CAirbasePlacement>)
        return &m_airbases;
    else if constexpr (std::is_same_v<Record, CSAMPlacement>)
        return &m_sams;
    else if (templateNumber < 0 || templateNumber >= TemplateCount())
        return nullptr;
    else
        return &m_templates[static_cast<size_t>(templateNumber)].Objects;
}

template <typename Record>
std::vector<Record>* CBINFile::MutableRows(int templateNumber)
{
    return const_cast<std::vector<Record>*>(StoredRows<Record>(templateNumber));
}

template <typename Record>
std::span<const Record> CBINFile::Rows(int templateNumber) const
{
    const std::vector<Record>* rows = StoredRows<Record>(templateNumber);
    return rows ? std::span<const Record>(*rows) : std::span<const Record>();
}

void CBINFile::CountUses(std::span<const CKeysitePlacement> keysites, int32_t step, std::vector<int32_t>& changed)
{
    for (const CKeysitePlacement& keysite : keysites) {
        if (keysite.TemplateNumber < 0)
            continue;
        m_templates[static_cast<size_t>(keysite.TemplateNumber)].UseCount += step;
        changed.push_back(keysite.TemplateNumber);
    }
}

void CBINFile::RenumberKeysites(int32_t from, int32_t step)
{
    int first = -1;
    int last = -1;
    for (size_t i = 0; i < m_keysites.size(); ++i) {
        int32_t& number = m_keysites[i].TemplateNumber;
        if (number < from)
            continue;
        number += step;
        if (first < 0)
            first = static_cast<int>(i);
        last = static_cast<int>(i);
    }
    if (first >= 0)
        emit RowsChanged({RecordList::Keysites}, first, last);
}

void CBINFile::AnnounceUseCounts(std::vector<int32_t>& templates)
{
    std::sort(templates.begin(), templates.end());
    templates.erase(std::unique(templates.begin(), templates.end()), templates.end());
    // Neighbouring templates in one announcement.
    for (size_t i = 0; i < templates.size();) {
        size_t end = i + 1;
        while (end < templates.size() && templates[end] == templates[end - 1] + 1)
            ++end;
        emit RowsChanged({RecordList::Templates}, templates[i], templates[end - 1]);
        i = end;
    }
}

template <typename Record>
bool CBINFile::InsertRows(int row, std::vector<Record> values, int templateNumber)
{
    std::vector<Record>* rows = MutableRows<Record>(templateNumber);
    if (!rows || values.empty() || row < 0 || static_cast<size_t>(row) > rows->size())
        return false;
    if constexpr (std::is_same_v<Record, CKeysitePlacement>) {
        for (const CKeysitePlacement& keysite : values) {
            if (!IsTemplateNumber(keysite.TemplateNumber))
                return false;
        }
    }
    if constexpr (std::is_same_v<Record, CPopTemplate>) {
        for (CPopTemplate& tmpl : values)
            tmpl.UseCount = 0;
    }
    // Room first (growing as push_back would): once announced, the insertion cannot fail.
    if (const size_t needed = rows->size() + values.size(); needed > rows->capacity())
        rows->reserve(std::max(needed, 2 * rows->capacity()));
    std::vector<int32_t> used;
    used.reserve(std::is_same_v<Record, CKeysitePlacement> ? values.size() : 0);

    const ListAddress list = AddressOf<Record>(templateNumber);
    const int last = row + static_cast<int>(values.size()) - 1;
    emit RowsAboutToBeInserted(list, row, last);
    const bool before = static_cast<size_t>(row) < rows->size();
    rows->insert(rows->begin() + row, std::make_move_iterator(values.begin()), std::make_move_iterator(values.end()));
    if constexpr (std::is_same_v<Record, CKeysitePlacement>)
        CountUses(std::span(*rows).subspan(static_cast<size_t>(row), values.size()), +1, used);
    emit RowsInserted(list, row, last);
    if constexpr (std::is_same_v<Record, CPopTemplate>) {
        if (before)
            RenumberKeysites(row, static_cast<int32_t>(values.size()));
    }
    AnnounceUseCounts(used);
    return true;
}

template <typename Record>
std::vector<Record> CBINFile::RemoveRows(int row, int count, int templateNumber)
{
    std::vector<Record>* rows = MutableRows<Record>(templateNumber);
    if (!rows || count <= 0 || row < 0 || static_cast<size_t>(row) + static_cast<size_t>(count) > rows->size())
        return {};
    const auto first = rows->begin() + row;
    const auto end = first + count;
    if constexpr (std::is_same_v<Record, CPopTemplate>) {
        if (!std::all_of(first, end, [](const CPopTemplate& tmpl) { return tmpl.HasNoUsers(); }))
            return {};
    }
    std::vector<Record> removed;
    removed.reserve(static_cast<size_t>(count));
    std::vector<int32_t> used;
    used.reserve(std::is_same_v<Record, CKeysitePlacement> ? static_cast<size_t>(count) : 0);

    const ListAddress list = AddressOf<Record>(templateNumber);
    emit RowsAboutToBeRemoved(list, row, row + count - 1);
    removed.insert(removed.end(), std::make_move_iterator(first), std::make_move_iterator(end));
    if constexpr (std::is_same_v<Record, CKeysitePlacement>)
        CountUses(removed, -1, used);
    rows->erase(first, end);
    emit RowsRemoved(list, row, row + count - 1);
    if constexpr (std::is_same_v<Record, CPopTemplate>)
        RenumberKeysites(row + count, -count); // none used the templates removed
    AnnounceUseCounts(used);
    return removed;
}

template <typename Record>
std::optional<Record> CBINFile::ReplaceRow(int row, const Record& value, int templateNumber)
{
    std::vector<Record>* rows = MutableRows<Record>(templateNumber);
    if (!rows || row < 0 || static_cast<size_t>(row) >= rows->size())
        return std::nullopt;
    Record& stored = (*rows)[static_cast<size_t>(row)];
    std::optional<Record> old = stored;
    std::vector<int32_t> used;
    if constexpr (std::is_same_v<Record, CKeysitePlacement>) {
        if (!IsTemplateNumber(value.TemplateNumber))
            return std::nullopt;
        if (value.TemplateNumber != stored.TemplateNumber) {
            used.reserve(2);
            CountUses(std::span(&stored, 1), -1, used);
            CountUses(std::span(&value, 1), +1, used);
        }
    }
    if constexpr (std::is_same_v<Record, CPopTemplate>) {
        stored.TypeCode = value.TypeCode;
        stored.ApproximationObject = value.ApproximationObject;
        stored.BaseObject = value.BaseObject;
        stored.RouteObject = value.RouteObject;
    } else {
        stored = value;
    }
    emit RowsChanged(AddressOf<Record>(templateNumber), row, row);
    AnnounceUseCounts(used);
    return old;
}

#define SABLEMAP_RECORD_PATH(Record)                                                                                   \
    template bool CBINFile::InsertRows<Record>(int, std::vector<Record>, int);                                         \
    template std::vector<Record> CBINFile::RemoveRows<Record>(int, int, int);                                          \
    template std::optional<Record> CBINFile::ReplaceRow<Record>(int, const Record&, int);                              \
    template std::span<const Record> CBINFile::Rows<Record>(int) const;
SABLEMAP_RECORD_PATH(CPopTemplate)
SABLEMAP_RECORD_PATH(CThreeDObject)
SABLEMAP_RECORD_PATH(CKeysitePlacement)
SABLEMAP_RECORD_PATH(CAirbasePlacement)
SABLEMAP_RECORD_PATH(CSAMPlacement)
#undef SABLEMAP_RECORD_PATH
