#pragma once
// The checks of a Map BIN file's records: the checks of one record at a time, which the full
// check and the incremental one (documentchecks.h) share, and the full check of a whole file.
// What a check may know besides the records: which object indices name a catalogue entry (no
// name is checked without a catalogue), and the record coordinates the open map covers (no
// placement is outside without a map).

#include "checks/findings.h"
#include "document/binformat.h"
#include "mapview/mapextent.h"

#include <cmath>
#include <optional>
#include <span>
#include <vector>

struct CheckSettings {
    bool CheckNames = false;
    // By object index: nonzero for a name the catalogue holds. An index beyond names nothing;
    // NoObjectIndex, no object at all, is always right.
    std::span<const uint8_t> KnownNames;
    std::optional<MapExtent> Extent;
};

class CRecordChecks {
public:
    explicit CRecordChecks(const CheckSettings& settings) : m_settings(settings) { }

    // Each appends the record's findings in the order they are listed; a placement's finding of
    // a shared position is the caller's, after these (it needs the other records).
    void Template(int32_t number, const CPopTemplate& tmpl, int32_t users, std::vector<Finding>& out) const;
    void Keysite(int32_t number, const CKeysitePlacement& keysite, int32_t templateCount,
                 std::vector<Finding>& out) const;
    void Airbase(int32_t number, const CAirbasePlacement& airbase, std::vector<Finding>& out) const;
    void Sam(int32_t number, const CSAMPlacement& sam, std::vector<Finding>& out) const;

private:
    // Each check is passed by nearly every record: the passing test stays inline, the finding is
    // made out of line.
    void Name(ListAddress list, int32_t number, FindingField field, int32_t index, std::vector<Finding>& out) const
    {
        if (!m_settings.CheckNames || index == NoObjectIndex
            || (index >= 0 && static_cast<size_t>(index) < m_settings.KnownNames.size()
                && m_settings.KnownNames[static_cast<size_t>(index)]))
            return;
        out.push_back({FindingKind::UnknownName, field, list, number, index});
    }
    static void Finite(ListAddress list, int32_t number, FindingField field, float value, std::vector<Finding>& out)
    {
        if (!std::isfinite(value))
            NotFinite(list, number, field, value, out);
    }
    static void NotFinite(ListAddress list, int32_t number, FindingField field, float value, std::vector<Finding>& out);
    void Placed(ListAddress list, int32_t number, float x, float z, std::vector<Finding>& out) const
    {
        if (!std::isfinite(x) || !std::isfinite(z)) {
            Finite(list, number, FindingField::X, x, out);
            Finite(list, number, FindingField::Z, z, out);
        } else if (m_settings.Extent && !m_settings.Extent->Holds(x, z)) {
            out.push_back({FindingKind::OutsideMap, FindingField::None, list, number, -1, x, z});
        }
    }

    CheckSettings m_settings;
};

// A placement at the same position as `first`, an earlier one of its list.
inline Finding SharedPositionFinding(RecordList list, int32_t number, int32_t first)
{
    return {FindingKind::SharedPosition, FindingField::None, {list, -1}, number, first};
}

// Every finding of the records, templates (each followed by its objects) first, then the
// keysites, airbases and SAM sites, each list in record order.
std::vector<Finding> CheckRecords(const MapRecordsView& records, const CheckSettings& settings);

// The object indices of a document's records are catalogue indices: the known names are the
// catalogue's, all of them.
std::vector<uint8_t> CatalogueNames(const C3DObjectsList& catalogue);
