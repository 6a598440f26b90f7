#pragma once
// Random records with odd floats (every bit pattern, NaN, the infinities, subnormals, -0, the
// largest finite), and a Map BIN file of them written by the document itself.

#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "demo/demoterrain.h"
#include "document/binfile.h"

#include <QByteArray>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

// Names with the characters JSON must escape and Windows-1252 letters beyond ASCII.
inline const std::vector<std::string> kRandomNames = {
    "Depot", "h\xE9li", "quote\"d", "back\\slash", "tab\there", "bell\x07", "\x80uro", "TOWER", "a"};

inline float RandomFloat(CRandom& random)
{
    static const float kSpecial[] = {std::numeric_limits<float>::quiet_NaN(),
                                     std::numeric_limits<float>::infinity(),
                                     -std::numeric_limits<float>::infinity(),
                                     std::numeric_limits<float>::denorm_min(),
                                     -3.5e-42f,
                                     std::numeric_limits<float>::max(),
                                     1e15f,
                                     1e-4f};
    switch (random.Int(0, 6)) {
    case 6: return kSpecial[random.Int(0, 7)];
    case 0: { // any bit pattern: every exponent, subnormals, NaN and the infinities
        const auto bits = static_cast<uint32_t>(random.Next());
        float value;
        std::memcpy(&value, &bits, 4);
        return value;
    }
    case 1: { // ties at the 16th significant digit round away from zero
        const float sign = random.Int(0, 1) ? -1.0f : 1.0f;
        return sign * 61.03521728515625f * float(1 << random.Int(0, 6));
    }
    case 2: return float(random.Int(-400000, 400000)) / 8.0f;
    case 3: return random.Int(0, 1) ? -0.0f : 0.0f;
    default: return float(random.Range(-1e6, 1e6));
    }
}

inline int32_t RandomIndex(CRandom& random)
{
    return random.Int(-2, int(kRandomNames.size()) + 2); // -2, -1, the names, and indices past the end
}

// A Map BIN file of random records, written by the document itself.
inline QByteArray RandomMapFile(const C3DObjectsList& catalogue, const CPopTemplatesTypesList& types)
{
    CRandom random(20240611);
    CBINFile doc(&catalogue, &types);
    std::vector<CPopTemplate> templates(static_cast<size_t>(random.Int(30, 40)));
    for (CPopTemplate& tmpl : templates) {
        tmpl.TypeCode = random.Int(0, 3) == 0 ? int32_t(random.Next()) : random.Int(-3, 40);
        tmpl.ApproximationObject = RandomIndex(random);
        tmpl.BaseObject = RandomIndex(random);
        tmpl.RouteObject = RandomIndex(random);
        for (int o = random.Int(0, 6); o > 0; --o) {
            CThreeDObject& object = tmpl.Objects.emplace_back();
            object.X = RandomFloat(random);
            object.Z = RandomFloat(random);
            object.Heading = RandomFloat(random);
            object.ObjectIndex = RandomIndex(random);
        }
    }
    doc.InsertRows(0, std::move(templates));
    std::vector<CKeysitePlacement> keysites(static_cast<size_t>(random.Int(100, 150)));
    for (CKeysitePlacement& keysite : keysites) {
        keysite.TemplateNumber = random.Int(-1, doc.TemplateCount() - 1);
        keysite.Z = RandomFloat(random); // drawn in the order the golden file's generator drew them
        keysite.X = RandomFloat(random);
    }
    doc.InsertRows(0, std::move(keysites));
    std::vector<CAirbasePlacement> airbases(static_cast<size_t>(random.Int(20, 40)));
    for (CAirbasePlacement& airbase : airbases) {
        airbase.ObjectIndex = RandomIndex(random);
        airbase.Z = RandomFloat(random);
        airbase.X = RandomFloat(random);
    }
    doc.InsertRows(0, std::move(airbases));
    std::vector<CSAMPlacement> sams(static_cast<size_t>(random.Int(40, 60)));
    for (CSAMPlacement& sam : sams) {
        sam.Z = RandomFloat(random);
        sam.X = RandomFloat(random);
    }
    doc.InsertRows(0, std::move(sams));
    return doc.SaveBytes(true);
}
