#include "document/recordtransfer.h"

#include "document/binfile.h"
#include "document/binformat.h"
#include "document/jsonreader.h"
#include "document/recordjson.h"
#include "document/storedrecords.h"
#include "platform/streams.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <unordered_map>

namespace {

uint32_t Bits(float value) { return std::bit_cast<uint32_t>(value); }

// Identical as stored: the same numbers, bit for bit, and the same names.
bool SameTemplate(const CPopTemplate& a, const CPopTemplate& b)
{
    if (a.TypeCode != b.TypeCode || a.ApproximationObject != b.ApproximationObject || a.BaseObject != b.BaseObject
        || a.RouteObject != b.RouteObject || a.Objects.size() != b.Objects.size())
        return false;
    for (size_t i = 0; i < a.Objects.size(); ++i) {
        const CThreeDObject& p = a.Objects[i];
        const CThreeDObject& q = b.Objects[i];
        if (Bits(p.X) != Bits(q.X) || Bits(p.Z) != Bits(q.Z) || Bits(p.Heading) != Bits(q.Heading)
            || p.ObjectIndex != q.ObjectIndex)
            return false;
    }
    return true;
}

size_t TemplateHash(const CPopTemplate& tmpl)
{
    size_t hash = std::hash<int64_t>()((int64_t(tmpl.TypeCode) << 32) ^ uint32_t(tmpl.ApproximationObject));
    const auto mix = [&hash](uint64_t value) {
        hash ^= std::hash<uint64_t>()(value) + 0x9E3779B97F4A7C15ULL + (hash << 6) + (hash >> 2);
    };
    mix((uint64_t(uint32_t(tmpl.BaseObject)) << 32) | uint32_t(tmpl.RouteObject));
    mix(tmpl.Objects.size());
    for (const CThreeDObject& object : tmpl.Objects) {
        mix((uint64_t(Bits(object.X)) << 32) | Bits(object.Z));
        mix((uint64_t(Bits(object.Heading)) << 32) | uint32_t(object.ObjectIndex));
    }
    return hash;
}

// Whether the text means to be in the record form: an object whose "format" names it, of this
// version or another. Asked only of text that did not read.
bool ClaimsRecordForm(const QByteArray& text)
{
    CJsonReader json(text);
    if (!json.Begin('{'))
        return false;
    bool more = false;
    std::string key;
    while (json.NextMember(more, key) && more) {
        JsonValue value;
        if (!json.Value(value))
            return false;
        if (key == "format")
            return value.Type == JsonValue::String && value.Text.starts_with("sablemap-bin/");
    }
    return false;
}

// Notes the names the catalogue lacks of one record that joins the document.
void NoteMissing(CMissingNames& missing, const StoredRecords& stored, int32_t index, int32_t storedIndex,
                 int32_t templateNumber, int32_t objectNumber)
{
    if (index == MissingObjectIndex)
        missing.Add(templateNumber, objectNumber, stored.NameOf(storedIndex));
}

} // namespace

namespace recordtransfer {

QByteArray CopyText(const CBINFile& document, const RecordChoice& choice)
{
    const int templateCount = document.TemplateCount();
    std::vector<int32_t> copiedNumber(size_t(templateCount), -1);
    const auto take = [&](int number) {
        if (number >= 0 && number < templateCount)
            copiedNumber[size_t(number)] = 0;
    };
    for (const int number : choice.Templates)
        take(number);
    const auto keysites = document.Keysites();
    for (const int row : choice.Keysites) {
        if (row >= 0 && row < int(keysites.size()))
            take(keysites[size_t(row)].TemplateNumber);
    }
    std::vector<CPopTemplate> templates;
    for (int number = 0; number < templateCount; ++number) {
        if (copiedNumber[size_t(number)] < 0)
            continue;
        copiedNumber[size_t(number)] = int32_t(templates.size());
        templates.push_back(document.Templates()[size_t(number)]);
    }
    std::vector<CKeysitePlacement> copiedKeysites;
    for (const int row : choice.Keysites) {
        if (row < 0 || row >= int(keysites.size()))
            continue;
        CKeysitePlacement keysite = keysites[size_t(row)];
        const int32_t number = keysite.TemplateNumber;
        keysite.TemplateNumber = number >= 0 && number < templateCount ? copiedNumber[size_t(number)] : -1;
        copiedKeysites.push_back(keysite);
    }
    const auto pick = [](auto rows, const std::vector<int>& chosen) {
        std::vector<typename decltype(rows)::value_type> picked;
        picked.reserve(chosen.size());
        for (const int row : chosen) {
            if (row >= 0 && row < int(rows.size()))
                picked.push_back(rows[size_t(row)]);
        }
        return picked;
    };
    const auto airbases = pick(document.Airbases(), choice.Airbases);
    const auto sams = pick(document.Sams(), choice.Sams);

    // Through the bytes a save would write: the text is then the tool's form of the saved records,
    // names and all, by construction.
    const QByteArray bytes = WriteMapFile(*document.Catalogue(), {templates, copiedKeysites, airbases, sams}, true);
    CByteReader reader(bytes);
    StoredRecords stored;
    if (!ReadStoredRecords(reader, false, stored))
        return {};
    return recordjson::Text(stored);
}

bool ReadPasted(const QByteArray& text, const CBINFile& document, PastedRecords& pasted, QString& reason,
                bool& notRecords)
{
    StoredRecords stored;
    int line = 1;
    QString error;
    if (!recordjson::Read(text, false, stored, line, error)) {
        // The form of a template list (to-json --templates) holds templates only.
        int listLine = 1;
        QString listError;
        if (!recordjson::Read(text, true, stored, listLine, listError)) {
            notRecords = !ClaimsRecordForm(text);
            reason = QStringLiteral("line %1: %2").arg(line).arg(error);
            return false;
        }
    }
    // Names become catalogue indices exactly as a read of the same records from a file makes them.
    const int32_t documentTemplates = document.TemplateCount();
    ReadRecords read;
    CByteReader reader(stored.Write());
    const ReadNumbering numbering{documentTemplates, int32_t(document.AirbaseCount())};
    if (!(stored.TemplateListOnly ? ReadTemplateRecords(reader, *document.Catalogue(), read, numbering)
                                  : ReadMapRecords(reader, *document.Catalogue(), read, numbering))) {
        notRecords = false;
        reason = QStringLiteral("the records cannot be written as a Map BIN file");
        return false;
    }

    PastedRecords result;
    std::vector<char> used(read.Templates.size(), 0);
    for (const CKeysitePlacement& keysite : read.Keysites) {
        if (keysite.TemplateNumber >= 0)
            used[size_t(keysite.TemplateNumber)] = 1;
    }
    // The templates a keysite may name instead of its own copy, by their contents.
    std::unordered_multimap<size_t, int32_t> known;
    const auto templateAt = [&](int32_t number) -> const CPopTemplate& {
        return number < documentTemplates ? document.Templates()[size_t(number)]
                                          : result.Templates[size_t(number - documentTemplates)];
    };
    const bool reusing = std::find(used.begin(), used.end(), 1) != used.end();
    if (reusing) {
        for (int32_t number = 0; number < documentTemplates; ++number)
            known.emplace(TemplateHash(document.Templates()[size_t(number)]), number);
    }
    std::vector<int32_t> target(read.Templates.size(), -1);
    for (size_t t = 0; t < read.Templates.size(); ++t) {
        CPopTemplate& tmpl = read.Templates[t];
        const size_t hash = reusing ? TemplateHash(tmpl) : 0;
        if (used[t]) {
            const auto [from, to] = known.equal_range(hash);
            for (auto at = from; at != to && target[t] < 0; ++at) {
                if (SameTemplate(templateAt(at->second), tmpl))
                    target[t] = at->second;
            }
            if (target[t] >= 0)
                continue;
        }
        target[t] = documentTemplates + int32_t(result.Templates.size());
        const CPopTemplate& source = stored.Templates[t];
        NoteMissing(result.Missing, stored, tmpl.ApproximationObject, source.ApproximationObject, target[t], -1);
        NoteMissing(result.Missing, stored, tmpl.BaseObject, source.BaseObject, target[t], -1);
        NoteMissing(result.Missing, stored, tmpl.RouteObject, source.RouteObject, target[t], -1);
        for (size_t o = 0; o < tmpl.Objects.size(); ++o)
            NoteMissing(result.Missing, stored, tmpl.Objects[o].ObjectIndex, source.Objects[o].ObjectIndex, target[t],
                        int32_t(o));
        if (reusing)
            known.emplace(hash, target[t]);
        result.Templates.push_back(std::move(tmpl));
    }
    result.Keysites = std::move(read.Keysites);
    for (CKeysitePlacement& keysite : result.Keysites) {
        if (keysite.TemplateNumber >= 0)
            keysite.TemplateNumber = target[size_t(keysite.TemplateNumber)];
    }
    result.Airbases = std::move(read.Airbases);
    for (size_t a = 0; a < result.Airbases.size(); ++a)
        NoteMissing(result.Missing, stored, result.Airbases[a].ObjectIndex, stored.Airbases[a].ObjectIndex, -1,
                    numbering.FirstAirbase + int32_t(a));
    result.Sams = std::move(read.Sams);
    pasted = std::move(result);
    return true;
}

void CentreAt(PastedRecords& pasted, float x, float z)
{
    // The bounding box of the positions that are numbers.
    double low[2] = {INFINITY, INFINITY};
    double high[2] = {-INFINITY, -INFINITY};
    const auto extend = [&](float px, float pz) {
        const float at[2] = {px, pz};
        for (int axis = 0; axis < 2; ++axis) {
            if (std::isfinite(at[axis])) {
                low[axis] = std::min(low[axis], double(at[axis]));
                high[axis] = std::max(high[axis], double(at[axis]));
            }
        }
    };
    for (const auto& keysite : pasted.Keysites)
        extend(keysite.X, keysite.Z);
    for (const auto& airbase : pasted.Airbases)
        extend(airbase.X, airbase.Z);
    for (const auto& sam : pasted.Sams)
        extend(sam.X, sam.Z);
    const double wanted[2] = {x, z};
    double step[2] = {0, 0};
    for (int axis = 0; axis < 2; ++axis) {
        if (low[axis] <= high[axis])
            step[axis] = wanted[axis] - (low[axis] + high[axis]) / 2;
    }
    const auto move = [&](float& px, float& pz) {
        if (std::isfinite(px))
            px = float(px + step[0]);
        if (std::isfinite(pz))
            pz = float(pz + step[1]);
    };
    for (auto& keysite : pasted.Keysites)
        move(keysite.X, keysite.Z);
    for (auto& airbase : pasted.Airbases)
        move(airbase.X, airbase.Z);
    for (auto& sam : pasted.Sams)
        move(sam.X, sam.Z);
}

} // namespace recordtransfer
