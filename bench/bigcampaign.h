#pragma once
// Large Map BIN files for the benchmarks, made by the document's own writer: for every 40,000
// records, 2,000 templates of 10 objects each, 12,000 keysites, 3,000 airbases and 3,000 SAM
// sites (200,000 records is the file of a large campaign), over a catalogue of 10,000 names.
// Positions spread over the demonstration maps, which are 131,072 world units on a side.

#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/binfile.h"

#include <QString>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace bench {

constexpr int kCatalogueNames = 10000;

inline std::vector<std::string> CatalogueNames()
{
    std::vector<std::string> names;
    for (int i = 0; i < kCatalogueNames; ++i)
        names.push_back("object_" + std::to_string(i * 7919 % 10007));
    return names;
}

inline void FillCatalogue(C3DObjectsList& catalogue)
{
    for (const std::string& name : CatalogueNames())
        catalogue.Add(name);
}

// Writes a file of about `records` records to `path`; false when it cannot be saved.
inline bool WriteBigCampaign(const QString& path, const C3DObjectsList& catalogue, int records)
{
    const auto count = [records](int per40000) { return int(std::lround(double(records) * per40000 / 40000)); };
    CPopTemplatesTypesList types;
    CBINFile doc(&catalogue, &types);
    const int templateCount = count(2000);
    std::vector<CPopTemplate> templates(static_cast<size_t>(templateCount));
    for (int t = 0; t < templateCount; ++t) {
        CPopTemplate& tmpl = templates[size_t(t)];
        tmpl.TypeCode = 1 + t % 30;
        tmpl.ApproximationObject = t % kCatalogueNames;
        tmpl.BaseObject = t % 3 == 0 ? NoObjectIndex : (t * 13) % kCatalogueNames;
        tmpl.RouteObject = (t * 31) % kCatalogueNames;
        for (int o = 0; o < 10; ++o)
            tmpl.Objects.push_back({float(o * 12.5), float(t % 100), float(o * 36), (t + o * 97) % kCatalogueNames});
    }
    doc.InsertRows(0, std::move(templates));
    std::vector<CKeysitePlacement> keysites;
    for (int k = 0; k < count(12000); ++k)
        keysites.push_back({k % templateCount, float(k % 7919) * 16.5f, float(k % 977) * 133.75f});
    doc.InsertRows(0, std::move(keysites));
    std::vector<CAirbasePlacement> airbases;
    std::vector<CSAMPlacement> sams;
    for (int a = 0; a < count(3000); ++a) {
        airbases.push_back({float(a % 1999) * 65.5f, float(a % 311) * 421.0f, a % kCatalogueNames});
        sams.push_back({float(a % 2003) * 65.25f, float(a % 211) * 620.0f});
    }
    doc.InsertRows(0, std::move(airbases));
    doc.InsertRows(0, std::move(sams));
    return doc.Save(path, true);
}

} // namespace bench

// One `Campaign` of `records` records per size, built at its first use and kept for every benchmark
// that asks for it again.
template <typename Campaign>
Campaign& Built(int records)
{
    static std::map<int, std::unique_ptr<Campaign>> made;
    auto& campaign = made[records];
    if (!campaign)
        campaign = std::make_unique<Campaign>(records);
    return *campaign;
}
