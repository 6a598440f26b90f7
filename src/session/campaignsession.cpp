#include "session/campaignsession.h"

#include "document/recordlists.h"
#include "document/recordtablemodel.h"
#include "factions/factionsinfo.h"
#include "platform/fileread.h"
#include "session/recordfilters.h"

#include <QItemSelectionModel>
#include <algorithm>

CCampaignSession::CCampaignSession(const C3DObjectsList& catalogue, const CPopTemplatesTypesList& types,
                                   const TextFormat& format, QObject* parent)
    : QObject(parent), m_records(std::make_unique<CBINFile>(&catalogue, &types))
{
    for (const RecordListInfo& info : RecordLists) {
        ListState& state = m_lists[size_t(info.List)];
        state.Model = std::make_unique<CRecordTableModel>(*m_records, info.List, format);
        state.Selection = std::make_unique<QItemSelectionModel>(state.Model.get());
        const RecordList list = info.List;
        connect(state.Selection.get(), &QItemSelectionModel::selectionChanged, this,
                [this, list] { emit SelectionChanged(list); });
        connect(state.Selection.get(), &QItemSelectionModel::currentRowChanged, this,
                [this, list] { emit SelectionChanged(list); });
    }
    connect(m_lists[size_t(RecordList::Templates)].Selection.get(), &QItemSelectionModel::currentRowChanged, this,
            &CCampaignSession::ShowObjectsOfCurrentTemplate);
    m_filters = std::make_unique<CRecordFilters>(*this, format);
    ConnectRecords();
    connect(&m_history, &CEditHistory::Changed, this, &CCampaignSession::AnnounceModified);
}

CCampaignSession::~CCampaignSession() = default;

void CCampaignSession::ConnectRecords()
{
    // Connected after the models, so that models and selections have settled when the session
    // speaks.
    const auto announce = [this](RecordRows::Change how) {
        return [this, how](ListAddress list, int first, int last) {
            emit RecordsChanged({how, list, first, last});
            // When templates come or go the current template row may show another template.
            if (how != RecordRows::Changed && list.List == RecordList::Templates)
                ShowObjectsOfCurrentTemplate();
        };
    };
    connect(m_records.get(), &CBINFile::RowsInserted, this, announce(RecordRows::Inserted));
    connect(m_records.get(), &CBINFile::RowsRemoved, this, announce(RecordRows::Removed));
    connect(m_records.get(), &CBINFile::RowsChanged, this, announce(RecordRows::Changed));
    connect(m_records.get(), &CBINFile::DocumentReset, this, [this] {
        // Each grid filled anew selects its first row; on the map only the page shown keeps it,
        // so that a new document starts with no marks but the one the user sees in a grid.
        ClearOtherPlacements(m_activeList);
        emit RecordsChanged({});
        ShowObjectsOfCurrentTemplate();
    });
}

// --- Map BIN document --------------------------------------------------------------------------

void CCampaignSession::NewMapBin()
{
    m_records->Clear();
    m_mapBinPath.clear();
    m_history.Reset(CEditHistory::MapBin);
    emit FileChanged(CEditHistory::MapBin);
}

bool CCampaignSession::LoadMapBin(const QString& path, QString* reason)
{
    // The document is emptied only once the whole file has been read: a damaged file leaves the
    // records as they were.
    if (!m_records->LoadReplacing(path, reason))
        return false;
    m_mapBinPath = path;
    m_history.Reset(CEditHistory::MapBin);
    emit FileChanged(CEditHistory::MapBin);
    return true;
}

bool CCampaignSession::SaveMapBin(const QString& path, QString* reason)
{
    if (!m_records->Save(path, true, reason))
        return false;
    m_mapBinPath = path;
    m_history.MarkSaved(CEditHistory::MapBin);
    emit FileChanged(CEditHistory::MapBin);
    return true;
}

bool CCampaignSession::RestoreMapBin(const QString& copy, const QString& original, QString* reason)
{
    if (!m_records->LoadReplacing(copy, reason))
        return false;
    m_mapBinPath = original;
    m_history.Reset(CEditHistory::MapBin);
    m_history.MarkUnsaved(CEditHistory::MapBin);
    emit FileChanged(CEditHistory::MapBin);
    return true;
}

MapSnapshot CCampaignSession::MapBinSnapshot() const
{
    const CBINFile& records = *m_records;
    return SnapshotOf(*records.Catalogue(),
                      {records.Templates(), records.Keysites(), records.Airbases(), records.Sams()});
}

bool CCampaignSession::RestoreMapBinBackup(const QString& backup, QString* reason)
{
    CBINFile read(m_records->Catalogue(), m_records->Types());
    if (!read.Load(backup, reason))
        return false;
    const auto all = [](auto rows) { return std::vector(rows.begin(), rows.end()); };
    return GuardAllocation(reason, [&] {
        const CBINFile& now = *m_records;
        auto edit = std::make_unique<CRecordEdit>(*this, QStringLiteral("Restore backup"));
        // The placed records go first: a template in use cannot.
        if (now.KeysiteCount() > 0)
            edit->Add(RemoveRecords<CKeysitePlacement>(0, now.KeysiteCount()));
        if (now.AirbaseCount() > 0)
            edit->Add(RemoveRecords<CAirbasePlacement>(0, now.AirbaseCount()));
        if (now.SamCount() > 0)
            edit->Add(RemoveRecords<CSAMPlacement>(0, now.SamCount()));
        if (now.TemplateCount() > 0)
            edit->Add(RemoveRecords<CPopTemplate>(0, now.TemplateCount()));
        // The templates come back first, so that the keysites find theirs.
        if (read.TemplateCount() > 0)
            edit->Add(InsertRecords(0, all(read.Templates())));
        if (read.KeysiteCount() > 0)
            edit->Add(InsertRecords(0, all(read.Keysites())));
        if (read.AirbaseCount() > 0)
            edit->Add(InsertRecords(0, all(read.Airbases())));
        if (read.SamCount() > 0)
            edit->Add(InsertRecords(0, all(read.Sams())));
        // Even a backup equal to the document is a step to save or undo.
        Push(CEditHistory::MapBin, edit.get());
        edit.release();
        return true;
    });
}

bool CCampaignSession::ImportTemplates(const QString& path, CMissingNames& missing, QString* reason)
{
    CBINFile::ImportedTemplates read;
    if (!m_records->ReadTemplates(path, read, reason))
        return false;
    missing = std::move(read.Missing);
    const int count = int(read.Templates.size());
    if (count == 0)
        return true;
    // Appending needs memory too; a document that has none to spare stays as it was.
    return GuardAllocation(reason, [&] {
        auto edit = std::make_unique<CRecordEdit>(
            *this, QStringLiteral("Import ") + CountedRecords(RecordList::Templates, count));
        edit->Add(InsertRecords(m_records->TemplateCount(), std::move(read.Templates)));
        // The history owns the edit once its first redo has been done.
        Push(CEditHistory::MapBin, edit.get());
        edit.release();
        return true;
    });
}

// --- Faction layer -----------------------------------------------------------------------------

bool CCampaignSession::LoadFactions(const QString& path, QString* reason)
{
    // Read into a layer of its own: a damaged file never takes away the factions being painted.
    auto layer = std::make_unique<CFactionsInfo>();
    if (!layer->LoadFromFile(path, reason))
        return false;
    // The paints of the old layer go with it.
    m_history.Reset(CEditHistory::Factions);
    m_factions = std::move(layer);
    m_factionsPath = path;
    emit FileChanged(CEditHistory::Factions);
    return true;
}

bool CCampaignSession::SaveFactions(const QString& path, QString* reason)
{
    if (!m_factions || !m_factions->SaveToFile(path, reason))
        return false;
    m_factionsPath = path;
    m_history.MarkSaved(CEditHistory::Factions);
    emit FileChanged(CEditHistory::Factions);
    return true;
}

bool CCampaignSession::RestoreFactions(const QString& copy, const QString& original, QString* reason)
{
    if (!LoadFactions(copy, reason))
        return false;
    m_factionsPath = original;
    m_history.MarkUnsaved(CEditHistory::Factions);
    emit FileChanged(CEditHistory::Factions);
    return true;
}

std::shared_ptr<CFactionsInfo> CCampaignSession::FactionsSnapshot() const
{
    return m_factions ? std::make_shared<CFactionsInfo>(*m_factions) : nullptr;
}

void CCampaignSession::AnnounceSectors(int32_t firstColumn, int32_t firstRow, int32_t lastColumn, int32_t lastRow)
{
    emit SectorsChanged(firstColumn, firstRow, lastColumn, lastRow);
}

// --- Modified state ----------------------------------------------------------------------------

bool CCampaignSession::IsModified(Document document) const
{
    // A faction document exists only once loaded.
    return m_history.IsModified(document) && (document == CEditHistory::MapBin || m_factions);
}

void CCampaignSession::AnnounceModified()
{
    const bool mapBin = IsModified(CEditHistory::MapBin);
    const bool factions = IsModified(CEditHistory::Factions);
    if (mapBin == m_mapBinModified && factions == m_factionsModified)
        return;
    m_mapBinModified = mapBin;
    m_factionsModified = factions;
    emit ModifiedChanged();
}

// --- Selection ---------------------------------------------------------------------------------

std::vector<int> CCampaignSession::SelectedRecords(RecordList list) const
{
    const int count = m_records->Count(Model(list).Address());
    const int columns = Model(list).columnCount();
    const QItemSelectionModel& selection = Selection(list);
    std::vector<int> records;
    // Read range by range: asking row by row (selectedRows) takes a time that grows with the
    // square of a scattered selection's size.
    for (const QItemSelectionRange& range : selection.selection()) {
        const bool wholeRows = range.left() == 0 && range.right() == columns - 1;
        for (int row = range.top(); row <= std::min(range.bottom(), count - 1); ++row)
            if (wholeRows || selection.isRowSelected(row))
                records.push_back(row);
    }
    std::sort(records.begin(), records.end());
    records.erase(std::unique(records.begin(), records.end()), records.end());
    return records;
}

int CCampaignSession::CurrentRecord(RecordList list) const
{
    const QModelIndex current = Selection(list).currentIndex();
    return current.isValid() && current.row() < m_records->Count(Model(list).Address()) ? current.row() : -1;
}

void CCampaignSession::SelectRecords(RecordList list, int first, int last)
{
    const CRecordTableModel& model = Model(list);
    const int count = m_records->Count(model.Address());
    if (count == 0 || !model.IsFilled())
        return;
    first = std::clamp(first, 0, count - 1);
    last = std::clamp(last, first, count - 1);
    QItemSelectionModel& selection = Selection(list);
    selection.setCurrentIndex(model.index(first, 0), QItemSelectionModel::NoUpdate);
    selection.select(QItemSelection(model.index(first, 0), model.index(last, model.columnCount() - 1)),
                     QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CCampaignSession::SelectRecords(RecordList list, std::span<const int> records)
{
    const CRecordTableModel& model = Model(list);
    const int count = m_records->Count(model.Address());
    if (count == 0 || !model.IsFilled() || records.empty() || records.front() >= count)
        return;
    QItemSelection chosen;
    const int right = model.columnCount() - 1;
    for (size_t first = 0; first < records.size() && records[first] < count;) {
        size_t last = first;
        while (last + 1 < records.size() && records[last + 1] == records[last] + 1 && records[last + 1] < count)
            ++last;
        chosen.append(QItemSelectionRange(model.index(records[first], 0), model.index(records[last], right)));
        first = last + 1;
    }
    QItemSelectionModel& selection = Selection(list);
    selection.setCurrentIndex(model.index(records.front(), 0), QItemSelectionModel::NoUpdate);
    // Cleared first: Qt compares an old and a new selection of many ranges pair by pair. The
    // ranges are whole rows already: asked to make them so (Rows), Qt merges them one by one.
    if (chosen.size() > 1)
        selection.clearSelection();
    selection.select(chosen, QItemSelectionModel::ClearAndSelect);
}

void CCampaignSession::BringForward(const ShownRows& rows)
{
    // The objects shown are those of the current template.
    if (rows.List.List == RecordList::TemplateObjects)
        SelectRecord(RecordList::Templates, rows.List.Template);
    if (!rows.Rows.empty())
        SelectRecords(rows.List.List, rows.Rows);
    else
        SelectRecords(rows.List.List, rows.First, rows.Last);
    emit RowsBroughtForward(rows.List);
}

void CCampaignSession::SetActiveList(RecordList list)
{
    if (list == m_activeList)
        return;
    m_activeList = list;
    emit SelectionChanged(list);
}

void CCampaignSession::ShowObjectsOfCurrentTemplate()
{
    CRecordTableModel& objects = Model(RecordList::TemplateObjects);
    objects.ShowTemplate(CurrentRecord(RecordList::Templates));
    // The single blank cell of a list never filled is current but not highlighted.
    Selection(RecordList::TemplateObjects)
        .setCurrentIndex(objects.index(0, 0),
                         objects.IsFilled() ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows
                                            : QItemSelectionModel::Clear);
}
