#pragma once
// The campaign document: the keysite templates (with their objects), keysites, airbases and SAM
// sites of one Map BIN file. The campaign session keeps one for the whole run; "New" and "Load" empty
// it, never replace it. Records are addressed by number (position in their list, from 0); an
// out-of-range number is answered with false and no effect.
//
// How a change flows. The records are private; every change goes through the record path: insert
// rows (with their values), remove rows (handing back the values removed), replace one row's
// value (handing back the old one), and reset (New, Load). An operation
//   1. checks its list, rows and values, and refuses wrong ones (false or nothing; no change);
//   2. announces what is about to change (RowsAboutToBeInserted, RowsAboutToBeRemoved,
//      AboutToReset), so that a table model can call beginInsertRows and the like;
//   3. changes the stored records, keeping keysite template numbers and use counts right;
//   4. announces what changed (RowsInserted, RowsRemoved, RowsChanged, DocumentReset), then the
//      rows that changed as a consequence: RowsChanged for the templates whose use count moved
//      and for the keysites whose template number moved (one range over all of them).
// The campaign session passes these announcements on to everything that shows the records (the
// grids' table models, the map, the problems found); undoing an operation is applying its inverse
// with the values it handed back. The session's commands and the file operations are the path's
// users.

#include "document/missingnames.h"
#include "document/records.h"

#include <QObject>
#include <QString>
#include <optional>
#include <span>
#include <vector>

class CPopTemplatesTypesList;
struct ReadRecords;

class CBINFile : public QObject {
    Q_OBJECT
public:
    CBINFile(const C3DObjectsList* catalogue, const CPopTemplatesTypesList* types, QObject* parent = nullptr);
    ~CBINFile() override;

    // Empties every list (a reset); returns 1.
    int Clear();

    // --- Files ---------------------------------------------------------------------------------
    // Reads a Map BIN file and appends its records (a reset). The file is read whole before
    // anything is appended: a damaged or truncated file, one longer than any Map BIN file
    // (filelimits.h), or one that needs more memory than there is, returns false with a reason
    // and changes nothing.
    bool Load(const QString& fileName, QString* error = nullptr);
    bool LoadBytes(const QByteArray& bytes, QString* error = nullptr);
    // Load into an emptied document, but empty it only once the file has been read successfully.
    bool LoadReplacing(const QString& fileName, QString* error = nullptr);
    // Writes the whole document atomically; on failure the existing file is unchanged.
    bool Save(const QString& fileName, bool withRouteObjects, QString* error = nullptr) const;
    QByteArray SaveBytes(bool withRouteObjects) const;
    // Templates first..last (inclusive) to a template file; an invalid range writes nothing.
    bool ExportTemplates(const QString& fileName, int first, int last, QString* error = nullptr) const;
    // Appends the template list of a template file or Map BIN file (rows inserted at the end);
    // on failure appends nothing.
    bool ImportTemplates(const QString& fileName, QString* error = nullptr);
    bool ImportTemplateBytes(const QByteArray& bytes, QString* error = nullptr);
    // The template list of a template file or Map BIN file as Import would append it, without
    // appending it: its templates (unused), and the names the catalogue lacks under the numbers
    // the templates would get. False with a reason, `read` unchanged, when the file cannot be read.
    struct ImportedTemplates {
        std::vector<CPopTemplate> Templates;
        CMissingNames Missing;
    };
    bool ReadTemplates(const QString& fileName, ImportedTemplates& read, QString* error = nullptr) const;
    // The 3D object names that the last successful Load or Import met and the catalogue does not
    // hold, under the numbers that read gave its records; emptied by Clear. Record operations do
    // not keep it up to date: ask right after the read.
    const CMissingNames& LastReadMissingNames() const { return m_lastReadMissing; }

    // --- Reading the records -------------------------------------------------------------------
    std::span<const CPopTemplate> Templates() const { return m_templates; }
    // The objects of a template; none for a template number out of range.
    std::span<const CThreeDObject> Objects(int templateNumber) const;
    std::span<const CKeysitePlacement> Keysites() const { return m_keysites; }
    std::span<const CAirbasePlacement> Airbases() const { return m_airbases; }
    std::span<const CSAMPlacement> Sams() const { return m_sams; }
    // The rows of the list that holds `Record`, as the accessors above.
    template <typename Record>
    std::span<const Record> Rows(int templateNumber = -1) const;
    // The number of rows of a list; 0 for the objects of a template that does not exist.
    int Count(ListAddress list) const;
    // Whether the list exists: always, but for the objects of a template out of range.
    bool HasList(ListAddress list) const;

    // --- The record path -----------------------------------------------------------------------
    // `Record` names the list (ListOf); `templateNumber` is the template whose objects, for
    // CThreeDObject, and is ignored otherwise.
    //
    // Inserts `values` before row `row` (the row count appends). A template enters unused; a
    // keysite's template number must be -1 or a template's. False, changing nothing, for a row
    // out of range, no values, or a wrong template number.
    template <typename Record>
    bool InsertRows(int row, std::vector<Record> values, int templateNumber = -1);
    // Removes `count` rows from `row` on and hands them back; nothing (and no change) for a range
    // out of bounds, or for templates of which any is in use.
    template <typename Record>
    std::vector<Record> RemoveRows(int row, int count, int templateNumber = -1);
    // Replaces the value of one row and hands back the old one; nothing (and no change) for a row
    // out of range or a wrong template number. A template's objects and use count are not part
    // of its value here: they change through their own list and the keysites.
    template <typename Record>
    std::optional<Record> ReplaceRow(int row, const Record& value, int templateNumber = -1);

    // The number of records of each list (of the objects of one template: none for a template
    // out of range).
    int TemplateCount() const { return static_cast<int>(m_templates.size()); }
    int ObjectCount(int templateNumber) const { return static_cast<int>(Objects(templateNumber).size()); }
    int KeysiteCount() const { return static_cast<int>(m_keysites.size()); }
    int AirbaseCount() const { return static_cast<int>(m_airbases.size()); }
    int SamCount() const { return static_cast<int>(m_sams.size()); }

    const C3DObjectsList* Catalogue() const { return m_catalogue; }
    const CPopTemplatesTypesList* Types() const { return m_types; }

signals:
    void RowsAboutToBeInserted(ListAddress list, int first, int last);
    void RowsInserted(ListAddress list, int first, int last);
    void RowsAboutToBeRemoved(ListAddress list, int first, int last);
    void RowsRemoved(ListAddress list, int first, int last);
    void RowsChanged(ListAddress list, int first, int last);
    void AboutToReset();
    void DocumentReset();

private:
    bool LoadFrom(class CByteReader& reader, bool replacing, QString* error);
    bool ReadTemplatesFrom(class CByteReader& reader, ImportedTemplates& read, QString* error) const;
    void AppendTemplates(ImportedTemplates read);
    // Puts the records of a read in place of (or after) the document's, as one reset.
    void TakeRecords(ReadRecords& records, bool replacing);

    // The stored list that holds `Record`; null for the objects of a template out of range.
    template <typename Record>
    const std::vector<Record>* StoredRows(int templateNumber) const;
    template <typename Record>
    std::vector<Record>* MutableRows(int templateNumber);
    bool IsTemplateNumber(int32_t number) const { return number >= -1 && number < TemplateCount(); }
    // Moves use counts for keysites that leave (-1) or join (+1) templates, noting the templates.
    void CountUses(std::span<const CKeysitePlacement> keysites, int32_t step, std::vector<int32_t>& changed);
    // Shifts the template numbers of keysites at or after template `from` by `step`.
    void RenumberKeysites(int32_t from, int32_t step);
    void AnnounceUseCounts(std::vector<int32_t>& templates);

    const C3DObjectsList* m_catalogue;
    const CPopTemplatesTypesList* m_types;
    std::vector<CPopTemplate> m_templates;
    std::vector<CKeysitePlacement> m_keysites;
    std::vector<CAirbasePlacement> m_airbases;
    std::vector<CSAMPlacement> m_sams;
    CMissingNames m_lastReadMissing;
};
