#include "checks/documentchecks.h"

#include "document/binfile.h"

#include <algorithm>

namespace {

// Above this many positions to look up, one pass over the whole list is cheaper than a pass per
// position.
constexpr size_t kMostGroups = 8;

// Puts `fresh` (in order of `key`) in place of the findings of `redone` (ascending keys).
template <typename Key>
void MergeFindings(std::vector<Finding>& findings, const std::vector<int32_t>& redone, std::vector<Finding>& fresh,
                   Key key)
{
    std::vector<Finding> merged;
    merged.reserve(findings.size() + fresh.size());
    size_t next = 0;
    for (const Finding& finding : findings) {
        const int32_t at = key(finding);
        while (next < fresh.size() && key(fresh[next]) < at)
            merged.push_back(fresh[next++]);
        if (!std::binary_search(redone.begin(), redone.end(), at))
            merged.push_back(finding);
    }
    merged.insert(merged.end(), fresh.begin() + static_cast<std::ptrdiff_t>(next), fresh.end());
    findings.swap(merged);
}

std::vector<int32_t> Range(int first, int last)
{
    std::vector<int32_t> numbers;
    for (int i = first; i <= last; ++i)
        numbers.push_back(i);
    return numbers;
}

int32_t RecordOf(const Finding& finding) { return finding.Record; }
int32_t TemplateOf(const Finding& finding) { return finding.TemplateOf(); }

} // namespace

CDocumentChecks::CDocumentChecks(const CBINFile& document, std::optional<MapExtent> extent) : m_document(document)
{
    if (const C3DObjectsList* catalogue = document.Catalogue()) {
        m_knownNames = CatalogueNames(*catalogue);
        m_settings.CheckNames = true;
        m_settings.KnownNames = m_knownNames;
    }
    m_settings.Extent = extent;
    Reset();
}

void CDocumentChecks::SetExtent(std::optional<MapExtent> extent)
{
    CheckPending();
    m_settings.Extent = extent;
    for (RecordList list : {RecordList::Keysites, RecordList::Airbases, RecordList::Sams})
        CheckAllPlacements(list);
}

void CDocumentChecks::Reset()
{
    for (Pending& pending : m_pending)
        pending = {};
    CheckAllTemplates();
    for (RecordList list : {RecordList::Keysites, RecordList::Airbases, RecordList::Sams})
        CheckAllPlacements(list);
}

void CDocumentChecks::Inserted(ListAddress list, int first, int last)
{
    // The document has changed already: records waiting to be checked move with their rows.
    MovePending(list.List, first, last, last - first + 1);
    switch (list.List) {
    case RecordList::Templates:
        ShiftTemplates(first, last - first + 1);
        CheckTemplates(Range(first, last));
        break;
    case RecordList::TemplateObjects: CheckTemplates({list.Template}); break;
    default: InsertedPlacements(list.List, first, last);
    }
}

void CDocumentChecks::Removed(ListAddress list, int first, int last)
{
    MovePending(list.List, first, last, -(last - first + 1));
    switch (list.List) {
    case RecordList::Templates:
        std::erase_if(m_templates, [&](const Finding& finding) {
            return finding.TemplateOf() >= first && finding.TemplateOf() <= last;
        });
        ShiftTemplates(last + 1, -(last - first + 1));
        break;
    case RecordList::TemplateObjects: CheckTemplates({list.Template}); break;
    default: RemovedPlacements(list.List, first, last);
    }
}

void CDocumentChecks::Changed(ListAddress list, int first, int last)
{
    if (list.List == RecordList::Templates || list.List == RecordList::TemplateObjects)
        CheckPending();
    switch (list.List) {
    case RecordList::Templates:
        if (static_cast<size_t>(last - first) > m_document.Templates().size() / 4)
            CheckAllTemplates();
        else
            CheckTemplates(Range(first, last));
        break;
    case RecordList::TemplateObjects: CheckTemplates({list.Template}); break;
    default: ChangedPlacements(list.List, first, last);
    }
}

std::vector<Finding> CDocumentChecks::Findings() const
{
    const_cast<CDocumentChecks*>(this)->CheckPending();
    std::vector<Finding> all;
    all.reserve(static_cast<size_t>(Count()));
    all.insert(all.end(), m_templates.begin(), m_templates.end());
    for (const Placements& placements : m_placements)
        all.insert(all.end(), placements.Findings.begin(), placements.Findings.end());
    return all;
}

int CDocumentChecks::Count() const
{
    const_cast<CDocumentChecks*>(this)->CheckPending();
    size_t count = m_templates.size();
    for (const Placements& placements : m_placements)
        count += placements.Findings.size();
    return static_cast<int>(count);
}

FindingWords CDocumentChecks::Words() const { return {m_document.TemplateCount(), nullptr, m_settings.Extent}; }

// --- Templates ----------------------------------------------------------------------------------

void CDocumentChecks::CheckAllTemplates()
{
    const CRecordChecks checks(m_settings);
    m_templates.clear();
    const std::span<const CPopTemplate> templates = m_document.Templates();
    for (size_t t = 0; t < templates.size(); ++t)
        checks.Template(static_cast<int32_t>(t), templates[t], templates[t].UseCount, m_templates);
}

void CDocumentChecks::CheckTemplates(const std::vector<int32_t>& numbers)
{
    const CRecordChecks checks(m_settings);
    const std::span<const CPopTemplate> templates = m_document.Templates();
    std::vector<Finding> fresh;
    for (const int32_t t : numbers) {
        if (t >= 0 && static_cast<size_t>(t) < templates.size())
            checks.Template(t, templates[size_t(t)], templates[size_t(t)].UseCount, fresh);
    }
    MergeFindings(m_templates, numbers, fresh, TemplateOf);
}

void CDocumentChecks::ShiftTemplates(int32_t from, int32_t step)
{
    for (Finding& finding : m_templates) {
        if (finding.TemplateOf() < from)
            continue;
        if (finding.List.List == RecordList::Templates)
            finding.Record += step;
        else
            finding.List.Template += step;
    }
}

// --- Placements ---------------------------------------------------------------------------------

int CDocumentChecks::RecordCount(RecordList list) const { return m_document.Count({list, -1}); }

uint64_t CDocumentChecks::KeyOf(RecordList list, int record) const
{
    const auto at = static_cast<size_t>(record);
    switch (list) {
    case RecordList::Keysites: return positions::Key(m_document.Keysites()[at].X, m_document.Keysites()[at].Z);
    case RecordList::Airbases: return positions::Key(m_document.Airbases()[at].X, m_document.Airbases()[at].Z);
    default: return positions::Key(m_document.Sams()[at].X, m_document.Sams()[at].Z);
    }
}

void CDocumentChecks::OwnFindings(RecordList list, int32_t record, std::vector<Finding>& out) const
{
    const CRecordChecks checks(m_settings);
    const auto at = static_cast<size_t>(record);
    switch (list) {
    case RecordList::Keysites:
        checks.Keysite(record, m_document.Keysites()[at], m_document.TemplateCount(), out);
        break;
    case RecordList::Airbases: checks.Airbase(record, m_document.Airbases()[at], out); break;
    default: checks.Sam(record, m_document.Sams()[at], out);
    }
}

void CDocumentChecks::CheckAllPlacements(RecordList list)
{
    Placements& placements = m_placements[PlacementIndex(list)];
    const auto count = static_cast<size_t>(RecordCount(list));
    placements.Keys.resize(count);
    placements.Counts = CPositionMap<AtPosition>(count);
    placements.Findings.clear();
    for (size_t i = 0; i < count; ++i) {
        const auto record = static_cast<int32_t>(i);
        OwnFindings(list, record, placements.Findings);
        const uint64_t key = KeyOf(list, record);
        placements.Keys[i] = key;
        if (key == positions::NoKey)
            continue;
        AtPosition& at = placements.Counts[key];
        if (at.Count++ == 0)
            at.First = record;
        else
            placements.Findings.push_back(SharedPositionFinding(list, record, at.First));
    }
}

void CDocumentChecks::CheckPlacements(RecordList list, std::vector<int32_t> records, std::vector<uint64_t> keys)
{
    Placements& placements = m_placements[PlacementIndex(list)];
    // Only the positions others may share need the list searched: one a checked record holds with
    // others, or one a record left where others still stand. A record alone at its position needs
    // only its own checks, which keeps an edit of thousands of records from searching for each.
    std::erase_if(keys,
                  [&](uint64_t key) { return key == positions::NoKey || placements.Counts.Find(key).Count == 0; });
    for (const int32_t record : records) {
        const uint64_t key = placements.Keys[size_t(record)];
        if (key != positions::NoKey && placements.Counts.Find(key).Count > 1)
            keys.push_back(key);
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    if (keys.size() > kMostGroups || records.size() > placements.Keys.size() / 8 + kMostGroups) {
        CheckAllPlacements(list);
        return;
    }
    // Every record standing at one of the positions is checked again; the first of them is the
    // one the others name.
    std::vector<int32_t> firsts(keys.size(), -1);
    if (!keys.empty()) {
        for (size_t i = 0; i < placements.Keys.size(); ++i) {
            const auto at = std::find(keys.begin(), keys.end(), placements.Keys[i]);
            if (at == keys.end())
                continue;
            records.push_back(static_cast<int32_t>(i));
            int32_t& first = firsts[size_t(at - keys.begin())];
            if (first < 0)
                first = static_cast<int32_t>(i);
        }
    }
    std::sort(records.begin(), records.end());
    records.erase(std::unique(records.begin(), records.end()), records.end());
    std::vector<Finding> fresh;
    for (const int32_t record : records) {
        OwnFindings(list, record, fresh);
        const uint64_t key = placements.Keys[size_t(record)];
        const auto at = std::lower_bound(keys.begin(), keys.end(), key);
        if (at != keys.end() && *at == key) {
            const int32_t first = firsts[size_t(at - keys.begin())];
            if (first != record)
                fresh.push_back(SharedPositionFinding(list, record, first));
        }
    }
    MergeFindings(placements.Findings, records, fresh, RecordOf);
}

void CDocumentChecks::ShiftPlacements(RecordList list, int32_t from, int32_t step)
{
    for (Finding& finding : m_placements[PlacementIndex(list)].Findings) {
        if (finding.Record >= from)
            finding.Record += step;
        if (finding.Kind == FindingKind::SharedPosition && finding.Other >= from)
            finding.Other += step;
    }
}

void CDocumentChecks::Leave(Placements& placements, uint64_t key)
{
    // A position no record holds any longer is as good as never seen, and goes at the next growth.
    AtPosition& at = placements.Counts[key];
    if (--at.Count == 0)
        at = {};
}

void CDocumentChecks::InsertedPlacements(RecordList list, int first, int last)
{
    Placements& placements = m_placements[PlacementIndex(list)];
    ShiftPlacements(list, first, last - first + 1);
    std::vector<uint64_t> added;
    for (int i = first; i <= last; ++i) {
        added.push_back(KeyOf(list, i));
        if (added.back() != positions::NoKey)
            ++placements.Counts[added.back()].Count;
    }
    placements.Keys.insert(placements.Keys.begin() + first, added.begin(), added.end());
    CheckPlacements(list, Range(first, last), {});
}

void CDocumentChecks::RemovedPlacements(RecordList list, int first, int last)
{
    Placements& placements = m_placements[PlacementIndex(list)];
    const auto begin = placements.Keys.begin() + first;
    const auto end = placements.Keys.begin() + last + 1;
    std::vector<uint64_t> removed(begin, end);
    for (const uint64_t key : removed) {
        if (key != positions::NoKey)
            Leave(placements, key);
    }
    placements.Keys.erase(begin, end);
    std::erase_if(placements.Findings,
                  [&](const Finding& finding) { return finding.Record >= first && finding.Record <= last; });
    ShiftPlacements(list, last + 1, -(last - first + 1));
    CheckPlacements(list, {}, std::move(removed));
}

void CDocumentChecks::ChangedPlacements(RecordList list, int first, int last)
{
    Placements& placements = m_placements[PlacementIndex(list)];
    std::vector<uint64_t> left;
    for (int i = first; i <= last; ++i) {
        uint64_t& stored = placements.Keys[size_t(i)];
        const uint64_t key = KeyOf(list, i);
        if (key == stored)
            continue;
        if (stored != positions::NoKey) {
            Leave(placements, stored);
            left.push_back(stored);
        }
        if (key != positions::NoKey)
            ++placements.Counts[key].Count;
        stored = key;
    }
    // Checked when the findings are next asked for, or before another kind of change: an edit of
    // many records announces each, and one check of them all is far cheaper than one per record.
    Pending& pending = m_pending[PlacementIndex(list)];
    for (int i = first; i <= last; ++i)
        pending.Records.push_back(i);
    pending.Left.insert(pending.Left.end(), left.begin(), left.end());
}

void CDocumentChecks::MovePending(RecordList list, int first, int last, int step)
{
    if (list == RecordList::Templates || list == RecordList::TemplateObjects) {
        CheckPending(); // the placement lists have not changed
        return;
    }
    std::vector<int32_t>& records = m_pending[PlacementIndex(list)].Records;
    if (step < 0)
        std::erase_if(records, [&](int32_t record) { return record >= first && record <= last; });
    for (int32_t& record : records)
        if (record >= first)
            record += step;
}

void CDocumentChecks::CheckPending()
{
    for (RecordList list : {RecordList::Keysites, RecordList::Airbases, RecordList::Sams}) {
        Pending& pending = m_pending[PlacementIndex(list)];
        // A record changed and then removed leaves no record to check, but may have left others
        // alone at its old position.
        if (pending.Records.empty() && pending.Left.empty())
            continue;
        std::vector<int32_t> records = std::move(pending.Records);
        std::vector<uint64_t> left = std::move(pending.Left);
        pending = {};
        std::sort(records.begin(), records.end());
        records.erase(std::unique(records.begin(), records.end()), records.end());
        CheckPlacements(list, std::move(records), std::move(left));
    }
}
