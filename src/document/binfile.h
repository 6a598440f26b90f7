#pragma once
// The campaign document: the keysite templates (with their objects), keysites, airbases and SAM
// sites of one Map BIN file. The main window keeps one for the whole run; "New" and "Load" empty
// it, never replace it. Records are addressed by number (position in their list, from 0); an
// out-of-range number is answered with false and no effect.

#include "document/missingnames.h"
#include "document/overlaytransform.h"
#include "document/records.h"

#include <QString>
#include <unordered_map>

class CPopTemplatesTypesList;
class CTarnConfig;

class CBINFile {
public:
    CBINFile(const C3DObjectsList* catalogue, const CPopTemplatesTypesList* types);
    ~CBINFile();
    CBINFile(const CBINFile&) = delete;
    CBINFile& operator=(const CBINFile&) = delete;

    // Keysites go first: destroying a keysite releases its template.
    int Clear();

    // --- Files ---------------------------------------------------------------------------------
    // Reads a Map BIN file and appends its records. The file is read whole before anything is
    // appended: a damaged or truncated file, one longer than any Map BIN file (filelimits.h), or
    // one that needs more memory than there is, returns false with a reason and changes nothing.
    bool Load(const QString& fileName, QString* error = nullptr);
    bool LoadBytes(const QByteArray& bytes, QString* error = nullptr);
    // Load into an emptied document, but empty it only once the file has been read successfully.
    bool LoadReplacing(const QString& fileName, QString* error = nullptr);
    // Writes the whole document atomically; on failure the existing file is unchanged.
    bool Save(const QString& fileName, bool withRouteObjects, QString* error = nullptr) const;
    QByteArray SaveBytes(bool withRouteObjects) const;
    // Templates first..last (inclusive) to a template file; an invalid range writes nothing.
    bool ExportTemplates(const QString& fileName, int first, int last, QString* error = nullptr) const;
    // Appends the template list of a template file or Map BIN file; on failure appends nothing.
    bool ImportTemplates(const QString& fileName, QString* error = nullptr);
    bool ImportTemplateBytes(const QByteArray& bytes, QString* error = nullptr);
    // The 3D object names that the last successful Load or Import met and the catalogue does not
    // hold, under the numbers that read gave its records; emptied by Clear. Record operations do
    // not keep it up to date: ask right after the read.
    const CMissingNames& LastReadMissingNames() const { return m_lastReadMissing; }

    // --- Record operations ---------------------------------------------------------------------
    void SetRecordEditor(CRecordEditor* editor) { m_editor = editor; }

    bool TemplateAdd();
    bool TemplateEdit(int number);
    bool TemplateDelete(int number);
    int TemplateCount() const { return static_cast<int>(Templates.size()); }
    bool TemplateFillRow(GridRow& row, int number, const TextFormat& format = {}) const;

    bool ObjectAdd(int templateNumber);
    bool ObjectEdit(int templateNumber, int objectNumber);
    bool ObjectDelete(int templateNumber, int objectNumber);
    int ObjectCount(int templateNumber) const;
    bool ObjectFillRow(GridRow& row, int templateNumber, int objectNumber, const TextFormat& format = {}) const;

    bool KeysiteAdd();
    bool KeysiteEdit(int number);
    bool KeysiteDelete(int number);
    int KeysiteCount() const { return static_cast<int>(Keysites.size()); }
    bool KeysiteFillRow(GridRow& row, int number, const TextFormat& format = {}) const;
    int KeysiteTemplateIndex(int number) const;
    bool KeysiteSetPosition(int number, float x, float z);

    bool AirbaseAdd();
    bool AirbaseEdit(int number);
    bool AirbaseDelete(int number);
    int AirbaseCount() const { return static_cast<int>(Airbases.size()); }
    bool AirbaseFillRow(GridRow& row, int number, const TextFormat& format = {}) const;
    bool AirbaseSetPosition(int number, float x, float z);

    bool SamAdd();
    bool SamEdit(int number);
    bool SamDelete(int number);
    int SamCount() const { return static_cast<int>(SAMs.size()); }
    bool SamFillRow(GridRow& row, int number, const TextFormat& format = {}) const;
    bool SamSetPosition(int number, float x, float z);

    // Template positions by identity, for callers that number many keysites at once.
    std::unordered_map<const CPopTemplate*, int32_t> TemplateNumbers() const;

    // --- Overlay (record coordinates <-> map image pixels) -------------------------------------
    void SetMapTransform(int32_t mapLeft, int32_t mapBottom, int32_t mapRight, int32_t mapTop, int32_t pixelLeft,
                         int32_t pixelTop, int32_t pixelRight, int32_t pixelBottom, int32_t halfX, int32_t halfZ,
                         int32_t sectorSize)
    {
        Overlay.SetMapTransform(mapLeft, mapBottom, mapRight, mapTop, pixelLeft, pixelTop, pixelRight, pixelBottom,
                                halfX, halfZ, sectorSize);
    }
    bool IsOnMap(float x, float z) const { return Overlay.IsOnMap(x, z); }
    void MapToPixel(float x, float z, int32_t& column, int32_t& row) const { Overlay.MapToPixel(x, z, column, row); }
    void PixelToMap(int32_t column, int32_t row, float& x, float& z) const { Overlay.PixelToMap(column, row, x, z); }

    const C3DObjectsList* Catalogue() const { return m_catalogue; }
    const CPopTemplatesTypesList* Types() const { return m_types; }

    TemplateList Templates;
    std::vector<std::unique_ptr<CKeysitePlacement>> Keysites;
    std::vector<std::unique_ptr<CAirbasePlacement>> Airbases;
    std::vector<std::unique_ptr<CSAMPlacement>> SAMs;
    COverlayTransform Overlay;
    const CTarnConfig* Symbology = nullptr; // set by the main window; read by the overlay drawing

private:
    bool LoadFrom(class CByteReader& reader, bool replacing, QString* error);
    bool ImportFrom(class CByteReader& reader, QString* error);

    const C3DObjectsList* m_catalogue;
    const CPopTemplatesTypesList* m_types;
    CRecordEditor* m_editor = nullptr;
    CMissingNames m_lastReadMissing;
};
