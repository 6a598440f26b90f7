#pragma once
// The campaign session: what the window edits, in one place below the widgets. It holds the Map
// BIN document with its file, the faction layer with its file, the undo history of both, and for
// each record list its table model and its selection; and it announces every change. The record
// pages, the map and the title observe it; edits (session/recordedits.h) change it through the
// history, the file commands through the operations below. Nothing else keeps a path or a
// modified flag.
//
// The selection of a list is a QItemSelectionModel on the list's table model, shared by the grid
// that shows the list, the map and every command: it follows its records across inserts and
// removals, undo and redo. A list's model keeps one blank row while the list is empty, so the
// selection may hold a row that is no record; SelectedRecords() leaves it out.

#include "document/binfile.h"
#include "document/binformat.h"
#include "session/edithistory.h"
#include "session/recordedits.h"

#include <QObject>
#include <QString>
#include <array>
#include <memory>
#include <span>
#include <vector>

class CFactionsInfo;
class CRecordFilters;
class CRecordTableModel;
class QItemSelectionModel;

// What changed in the records: rows of one list inserted, removed or changed, or every list
// replaced (New, Load).
struct RecordRows {
    enum Change : uint8_t { Inserted, Removed, Changed, Reset };
    Change How = Reset;
    ListAddress List;
    int First = 0;
    int Last = -1;
};

class CCampaignSession : public QObject {
    Q_OBJECT
public:
    using Document = CEditHistory::Document;

    // The models format numbers with `format` (the locale's decimal separator in the window).
    CCampaignSession(const C3DObjectsList& catalogue, const CPopTemplatesTypesList& types, const TextFormat& format,
                     QObject* parent = nullptr);
    ~CCampaignSession() override;

    // --- The Map BIN document ------------------------------------------------------------------
    const CBINFile& Records() const { return *m_records; }
    // For the edits and the file operations; everyone else reads Records().
    CBINFile& MutableRecords() { return *m_records; }
    // The file the document was loaded from or saved to; empty for a new document.
    QString MapBinPath() const { return m_mapBinPath; }
    // An empty document without a file, with a fresh history.
    void NewMapBin();
    // Reads `path` in place of the document, which becomes its file, with a fresh history. A file
    // that cannot be read leaves the document as it was and gives the reason.
    bool LoadMapBin(const QString& path, QString* reason = nullptr);
    // Writes the document to `path` (atomically), which becomes its file; unmodified from then on.
    bool SaveMapBin(const QString& path, QString* reason = nullptr);
    // A recovered copy in place of the document: its file is `original` (empty for a new one),
    // and it is modified until saved.
    bool RestoreMapBin(const QString& copy, const QString& original, QString* reason = nullptr);
    // The records as they are now, for writing while editing goes on (the recovery copy).
    MapSnapshot MapBinSnapshot() const;
    // A backup of the document's file in place of its records, as one edit "Restore backup": the
    // file stays the document's, and the document is modified until saved or the edit undone. A
    // backup that cannot be read changes nothing and gives the reason.
    bool RestoreMapBinBackup(const QString& backup, QString* reason = nullptr);
    // Appends the templates of a template file or Map BIN file as one edit, "Import 3 keysite
    // templates" (none for a file without templates); `missing` gets the names the catalogue
    // lacks. A file that cannot be read adds nothing and gives the reason.
    bool ImportTemplates(const QString& path, CMissingNames& missing, QString* reason = nullptr);

    // --- The faction layer ---------------------------------------------------------------------
    // Null until a faction file has been loaded.
    const CFactionsInfo* Factions() const { return m_factions.get(); }
    CFactionsInfo* MutableFactions() { return m_factions.get(); }
    QString FactionsPath() const { return m_factionsPath; }
    // Reads `path` into a layer of its own, which replaces the current one only once it has loaded,
    // with a fresh history.
    bool LoadFactions(const QString& path, QString* reason = nullptr);
    bool SaveFactions(const QString& path, QString* reason = nullptr);
    bool RestoreFactions(const QString& copy, const QString& original, QString* reason = nullptr);
    // A copy of the layer as it is now (null without one), for writing while painting goes on.
    std::shared_ptr<CFactionsInfo> FactionsSnapshot() const;
    // Said by the faction edits after they set sectors.
    void AnnounceSectors(int32_t firstColumn, int32_t firstRow, int32_t lastColumn, int32_t lastRow);

    // --- History and modified state ------------------------------------------------------------
    CEditHistory& History() { return m_history; }
    // Does the edit and keeps it in the document's history.
    void Push(Document document, QUndoCommand* edit) { m_history.Push(document, edit); }
    bool IsModified(Document document) const;

    // --- Models and selection ------------------------------------------------------------------
    CRecordTableModel& Model(RecordList list) const { return *m_lists[size_t(list)].Model; }
    QItemSelectionModel& Selection(RecordList list) const { return *m_lists[size_t(list)].Selection; }
    // The records selected, in order (for the objects: of the template shown).
    std::vector<int> SelectedRecords(RecordList list) const;
    // The record of the current row; -1 when the row is no record.
    int CurrentRecord(RecordList list) const;
    // Makes `first` the current record and first..last the whole selection (clamped to the list;
    // nothing for an empty list).
    void SelectRecords(RecordList list, int first, int last);
    void SelectRecord(RecordList list, int index) { SelectRecords(list, index, index); }
    // Makes `records` (in order, any set) the whole selection and the first of them the current
    // record; those past the list's end are left out.
    void SelectRecords(RecordList list, std::span<const int> records);
    // After an undo or redo: selects the rows (for template objects, their template first) and
    // announces them, so that their page comes forward.
    void BringForward(const ShownRows& rows);
    // The list the user works on (the page shown).
    RecordList ActiveList() const { return m_activeList; }
    void SetActiveList(RecordList list);

    // --- The selection on the map (session/placementselection.cpp) ------------------------------
    // The keysites, airbases and SAM sites selected, by RecordKind; the map marks, moves and
    // copies them together.
    using Placements = std::array<std::vector<int>, 3>;
    Placements SelectedPlacements() const;
    bool HasSelectedPlacements() const;
    // Makes `records` (ascending per kind) the selection of the three lists; with `add` they join
    // it. A list given records gets its first as its current row.
    void SelectPlacements(const Placements& records, bool add = false);
    // One record joins the selection, or leaves it when it was selected.
    void ToggleSelected(RecordKind kind, int index);
    // Clears the selection of the placement lists other than `kept` (their current rows stay).
    void ClearOtherPlacements(RecordList kept);
    // --- Filters -------------------------------------------------------------------------------
    // What each list's grid shows of it (session/recordfilters.h).
    CRecordFilters& Filters() const { return *m_filters; }

signals:
    void RecordsChanged(const RecordRows& rows);
    void SelectionChanged(RecordList list);
    // Either document became modified or unmodified.
    void ModifiedChanged();
    // A document was replaced (new, loaded, restored) or took another file (saved as).
    void FileChanged(CEditHistory::Document document);
    void SectorsChanged(int32_t firstColumn, int32_t firstRow, int32_t lastColumn, int32_t lastRow);
    // An undo or redo selected these rows: their page comes forward.
    void RowsBroughtForward(ListAddress list);

private:
    struct ListState {
        std::unique_ptr<CRecordTableModel> Model;
        std::unique_ptr<QItemSelectionModel> Selection;
    };
    void ConnectRecords();
    // The objects model shows the objects of the current template, from their first row.
    void ShowObjectsOfCurrentTemplate();
    void AnnounceModified();

    std::unique_ptr<CBINFile> m_records;
    std::unique_ptr<CFactionsInfo> m_factions;
    CEditHistory m_history;
    QString m_mapBinPath;
    QString m_factionsPath;
    std::array<ListState, 5> m_lists;
    std::unique_ptr<CRecordFilters> m_filters; // after the lists, whose models it shows
    RecordList m_activeList = RecordList::Templates;
    bool m_mapBinModified = false;
    bool m_factionsModified = false;
};
