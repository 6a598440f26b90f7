#include "checks/recordchecks.h"

#include "checks/positiontable.h"

#include <bit>
#include <cmath>

void CRecordChecks::NotFinite(ListAddress list, int32_t number, FindingField field, float value,
                              std::vector<Finding>& out)
{
    out.push_back({FindingKind::NotFinite, field, list, number, std::bit_cast<int32_t>(value)});
}

void CRecordChecks::Template(int32_t number, const CPopTemplate& tmpl, int32_t users, std::vector<Finding>& out) const
{
    const ListAddress list{RecordList::Templates, -1};
    Name(list, number, FindingField::ApproximationObject, tmpl.ApproximationObject, out);
    Name(list, number, FindingField::BaseObject, tmpl.BaseObject, out);
    Name(list, number, FindingField::RouteObject, tmpl.RouteObject, out);
    if (tmpl.Objects.empty())
        out.push_back({FindingKind::NoObjects, FindingField::None, list, number});
    if (users == 0)
        out.push_back({FindingKind::Unused, FindingField::None, list, number});
    const ListAddress objects{RecordList::TemplateObjects, number};
    for (size_t o = 0; o < tmpl.Objects.size(); ++o) {
        const CThreeDObject& object = tmpl.Objects[o];
        const auto at = static_cast<int32_t>(o);
        Finite(objects, at, FindingField::X, object.X, out);
        Finite(objects, at, FindingField::Z, object.Z, out);
        Finite(objects, at, FindingField::Heading, object.Heading, out);
        Name(objects, at, FindingField::Object, object.ObjectIndex, out);
    }
}

void CRecordChecks::Keysite(int32_t number, const CKeysitePlacement& keysite, int32_t templateCount,
                            std::vector<Finding>& out) const
{
    const ListAddress list{RecordList::Keysites, -1};
    if (keysite.TemplateNumber == -1)
        out.push_back({FindingKind::NoTemplate, FindingField::None, list, number});
    else if (keysite.TemplateNumber < 0 || keysite.TemplateNumber >= templateCount)
        out.push_back({FindingKind::MissingTemplate, FindingField::None, list, number, keysite.TemplateNumber});
    Placed(list, number, keysite.X, keysite.Z, out);
}

void CRecordChecks::Airbase(int32_t number, const CAirbasePlacement& airbase, std::vector<Finding>& out) const
{
    const ListAddress list{RecordList::Airbases, -1};
    Name(list, number, FindingField::Object, airbase.ObjectIndex, out);
    Placed(list, number, airbase.X, airbase.Z, out);
}

void CRecordChecks::Sam(int32_t number, const CSAMPlacement& sam, std::vector<Finding>& out) const
{
    Placed({RecordList::Sams, -1}, number, sam.X, sam.Z, out);
}

namespace {

// Each placement's own findings, then whether an earlier one of the list stands at its position.
template <typename Record, typename Own>
void CheckPlacements(RecordList list, std::span<const Record> records, std::vector<Finding>& out, Own own)
{
    CPositionTable firstAt(records.size()); // the first record at a position, plus one
    for (size_t i = 0; i < records.size(); ++i) {
        const auto number = static_cast<int32_t>(i);
        const Record& record = records[i];
        own(number, record);
        const uint64_t key = positions::Key(record.X, record.Z);
        if (key == positions::NoKey)
            continue;
        int32_t& first = firstAt[key];
        if (first == 0)
            first = number + 1;
        else
            out.push_back(SharedPositionFinding(list, number, first - 1));
    }
}

} // namespace

std::vector<Finding> CheckRecords(const MapRecordsView& records, const CheckSettings& settings)
{
    const CRecordChecks checks(settings);
    std::vector<Finding> out;
    const auto templateCount = static_cast<int32_t>(records.Templates.size());
    std::vector<int32_t> users(records.Templates.size(), 0);
    for (const CKeysitePlacement& keysite : records.Keysites) {
        if (keysite.TemplateNumber >= 0 && keysite.TemplateNumber < templateCount)
            ++users[static_cast<size_t>(keysite.TemplateNumber)];
    }
    for (size_t t = 0; t < records.Templates.size(); ++t)
        checks.Template(static_cast<int32_t>(t), records.Templates[t], users[t], out);
    CheckPlacements(RecordList::Keysites, records.Keysites, out, [&](int32_t k, const CKeysitePlacement& keysite) {
        checks.Keysite(k, keysite, templateCount, out);
    });
    CheckPlacements(RecordList::Airbases, records.Airbases, out,
                    [&](int32_t a, const CAirbasePlacement& airbase) { checks.Airbase(a, airbase, out); });
    CheckPlacements(RecordList::Sams, records.Sams, out,
                    [&](int32_t s, const CSAMPlacement& sam) { checks.Sam(s, sam, out); });
    return out;
}

std::vector<uint8_t> CatalogueNames(const C3DObjectsList& catalogue)
{
    return std::vector<uint8_t>(static_cast<size_t>(catalogue.Count()), 1);
}
