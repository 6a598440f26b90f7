#include "demo/democampaign.h"

#include "document/binfile.h"
#include "factions/sectorsize.h"
#include "platform/streams.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace demo {

namespace {

struct Family {
    const char* Stem;
    int Count;
};

// "\xC2" and "\xC9" are Windows-1252 letters, as names copied from the game may hold.
constexpr Family kFamilies[] = {
    {"HOUSE_SMALL", 24},  {"HOUSE_LARGE", 16},  {"HOUSE_ROW", 10},    {"FARMHOUSE", 10},    {"BARN", 12},
    {"SILO", 8},          {"CHURCH", 6},        {"CHAPEL", 4},        {"OFFICE_BLOCK", 12}, {"SHOP", 10},
    {"FACTORY", 10},      {"WAREHOUSE", 12},    {"CHIMNEY", 6},       {"HANGAR", 8},        {"CONTROL_TOWER", 4},
    {"RUNWAY_LIGHTS", 4}, {"RADAR", 6},         {"FUEL_TANK", 10},    {"PYLON", 8},         {"TRANSFORMER", 6},
    {"TURBINE_HALL", 4},  {"COOLING_TOWER", 4}, {"RADIO_MAST", 6},    {"OIL_DERRICK", 6},   {"PUMPJACK", 6},
    {"REFINERY_UNIT", 6}, {"CRANE", 6},         {"PIER", 6},          {"LIGHTHOUSE", 3},    {"BUNKER", 8},
    {"BARRACKS", 8},      {"TENT", 6},          {"SAM_LAUNCHER", 6},  {"AAA_GUN", 6},       {"TREE_OAK", 8},
    {"TREE_PINE", 8},     {"BRIDGE", 8},        {"WATER_TOWER", 4},   {"RUIN", 8},          {"VILLAGE_APPROX", 6},
    {"TOWN_APPROX", 4},   {"BASE_PLATE", 8},    {"ROAD_JUNCTION", 6}, {"CH\xC2TEAU", 3},    {"CAF\xC9", 3},
};

std::string NameOf(const char* stem, int number)
{
    char text[64];
    std::snprintf(text, sizeof text, "%s_%02d", stem, number);
    return text;
}

struct Piece {
    const char* Stem = "";
    int Number = 0;
    float X = 0;
    float Z = 0;
    float Heading = 0;
};

struct TemplateRecipe {
    int32_t TypeCode;
    Piece Approximation;
    Piece Base;
    Piece Route;
    std::vector<Piece> Objects;
};

// Template numbers below follow this order.
enum Recipe { Housing, Offices, Church, Farm, Industry, Power, Radio, Military, Oil, Port, Spare };

std::vector<TemplateRecipe> Recipes()
{
    return {
        {2,
         {"VILLAGE_APPROX", 1},
         {"BASE_PLATE", 1},
         {"ROAD_JUNCTION", 1},
         {{"HOUSE_SMALL", 1, -60, -40, 0},
          {"HOUSE_SMALL", 2, 0, -45, 0},
          {"HOUSE_SMALL", 3, 60, -40, 0},
          {"HOUSE_LARGE", 1, -55, 40, 180},
          {"HOUSE_LARGE", 2, 55, 40, 180},
          {"TREE_OAK", 1, 0, 80, 0}}},
        {3,
         {"TOWN_APPROX", 1},
         {"BASE_PLATE", 2},
         {"ROAD_JUNCTION", 2},
         {{"OFFICE_BLOCK", 1, -40, -40, 90},
          {"OFFICE_BLOCK", 2, 40, -40, 90},
          {"SHOP", 1, -40, 40, 270},
          {"SHOP", 2, 40, 40, 270},
          {"CAF\xC9", 1, 0, 70, 0}}},
        {6,
         {"VILLAGE_APPROX", 2},
         {"BASE_PLATE", 3},
         {"", 0},
         {{"CHURCH", 1, 0, 0, 90},
          {"HOUSE_ROW", 1, -70, 30, 0},
          {"HOUSE_ROW", 2, 70, 30, 0},
          {"TREE_PINE", 1, 0, -60, 0}}},
        {13,
         {"VILLAGE_APPROX", 3},
         {"", 0},
         {"", 0},
         {{"FARMHOUSE", 1, 0, 0, 45}, {"BARN", 1, 50, 20, 45}, {"SILO", 1, 70, -20, 0}, {"TREE_OAK", 2, -50, 40, 0}}},
        {4,
         {"TOWN_APPROX", 2},
         {"BASE_PLATE", 4},
         {"ROAD_JUNCTION", 3},
         {{"FACTORY", 1, -60, 0, 0},
          {"FACTORY", 2, 60, 0, 0},
          {"WAREHOUSE", 1, 0, 70, 90},
          {"CHIMNEY", 1, -90, -50, 0}}},
        {15,
         {"TOWN_APPROX", 3},
         {"BASE_PLATE", 5},
         {"ROAD_JUNCTION", 4},
         {{"TURBINE_HALL", 1, 0, 0, 0},
          {"COOLING_TOWER", 1, -120, 60, 0},
          {"COOLING_TOWER", 2, 120, 60, 0},
          {"TRANSFORMER", 1, 0, -90, 0},
          {"PYLON", 1, 0, -160, 0}}},
        {16,
         {"", 0},
         {"BASE_PLATE", 6},
         {"", 0},
         {{"RADIO_MAST", 1, 0, 0, 0}, {"RADIO_MAST", 2, 80, 0, 0}, {"BUNKER", 1, 40, 50, 180}}},
        {12,
         {"VILLAGE_APPROX", 4},
         {"BASE_PLATE", 7},
         {"ROAD_JUNCTION", 5},
         {{"BARRACKS", 1, -60, -30, 0},
          {"BARRACKS", 2, -60, 30, 0},
          {"TENT", 1, 40, -40, 0},
          {"TENT", 2, 40, 0, 0},
          {"FUEL_TANK", 1, 80, 60, 0},
          {"BUNKER", 2, 0, 90, 90}}},
        {14,
         {"", 0},
         {"BASE_PLATE", 8},
         {"", 0},
         {{"OIL_DERRICK", 1, 0, 0, 0},
          {"PUMPJACK", 1, 60, 30, 90},
          {"PUMPJACK", 2, -60, 30, 270},
          {"FUEL_TANK", 2, 0, -70, 0}}},
        {10,
         {"TOWN_APPROX", 4},
         {"", 0},
         {"ROAD_JUNCTION", 6},
         {{"PIER", 1, 0, 0, 270},
          {"CRANE", 1, -30, 40, 0},
          {"WAREHOUSE", 2, 40, 60, 0},
          {"LIGHTHOUSE", 1, -120, -20, 0}}},
        {1, {"", 0}, {"", 0}, {"", 0}, {{"RUIN", 1, 0, 0, 0}}}, // not placed anywhere: a template with no users
    };
}

int32_t IndexOf(const CBINFile& document, const Piece& piece)
{
    if (piece.Number == 0)
        return NoObjectIndex;
    return document.Catalogue()->IndexOf(NameOf(piece.Stem, piece.Number));
}

float Distance(PointXZ a, PointXZ b) { return std::hypot(a.X - b.X, a.Z - b.Z); }

// A random spot within `radius` of `centre` whose height lies in [low, high] and that keeps
// `spacing` from every spot in `taken`; the centre itself when no such spot turns up.
PointXZ Near(const DemoTerrain& terrain, CRandom& random, PointXZ centre, float radius, float low, float high,
             const std::vector<PointXZ>& taken, float spacing)
{
    for (int attempt = 0; attempt < 400; ++attempt) {
        const double angle = random.Range(0, 6.283185307);
        const double reach = radius * std::sqrt(random.Uniform());
        const PointXZ p{centre.X + float(reach * std::cos(angle)), centre.Z + float(reach * std::sin(angle))};
        // Keep a sector's margin inside the map: records beyond its edge would be off the grid.
        const float margin = float(SectorSize);
        if (p.X < margin || p.Z < margin || p.X > terrain.Width() - margin || p.Z > terrain.Depth() - margin)
            continue;
        const float h = terrain.HeightAt(p.X, p.Z);
        if (h < low || h > high)
            continue;
        if (std::any_of(taken.begin(), taken.end(), [&](PointXZ t) { return Distance(t, p) < spacing; }))
            continue;
        return p;
    }
    return centre;
}

PointXZ Anywhere(const DemoTerrain& terrain, CRandom& random, float low, float high, const std::vector<PointXZ>& taken,
                 float spacing)
{
    const PointXZ middle{terrain.Width() / 2, terrain.Depth() / 2};
    return Near(terrain, random, middle, terrain.Width() * 0.66f, low, high, taken, spacing);
}

} // namespace

std::vector<std::string> CatalogueNames()
{
    std::vector<std::string> names;
    for (const Family& family : kFamilies) {
        for (int i = 1; i <= family.Count; ++i)
            names.push_back(NameOf(family.Stem, i));
    }
    return names;
}

QByteArray CatalogueBytes(const std::vector<std::string>& names)
{
    CByteWriter writer;
    writer.WriteInt32(static_cast<int32_t>(names.size()) + 1);
    writer.WriteInt32(0);
    for (size_t i = 0; i < names.size(); ++i) {
        writer.WriteInt32(static_cast<int32_t>(names[i].size()));
        writer.WriteString(names[i], false);
        writer.WriteInt32(static_cast<int32_t>(i));
    }
    return writer.Bytes();
}

DemoSites PickSites(const DemoTerrain& terrain, CRandom& random)
{
    DemoSites sites;
    const float spacing = terrain.Width() / 9.0f;
    for (int i = 0; i < 14; ++i) {
        const PointXZ town = Anywhere(terrain, random, 15.0f, 520.0f, sites.Towns, spacing);
        if (terrain.HeightAt(town.X, town.Z) >= 15.0f
            && std::none_of(sites.Towns.begin(), sites.Towns.end(),
                            [&](PointXZ t) { return Distance(t, town) < spacing; }))
            sites.Towns.push_back(town);
    }
    std::vector<PointXZ> taken = sites.Towns;
    // The port: the town nearest the sea, moved to the shore.
    sites.Port = sites.Towns.empty() ? PointXZ{} : sites.Towns.front();
    float bestShore = 1e30f;
    for (const PointXZ& town : sites.Towns) {
        const PointXZ shore = Near(terrain, random, town, spacing * 0.6f, 2.0f, 30.0f, {}, 0.0f);
        if (shore.X != town.X && Distance(shore, town) < bestShore) {
            bestShore = Distance(shore, town);
            sites.Port = shore;
        }
    }
    taken.push_back(sites.Port);
    sites.PowerStation = Anywhere(terrain, random, 80.0f, 600.0f, taken, spacing * 0.5f);
    taken.push_back(sites.PowerStation);
    sites.RadioSite = Anywhere(terrain, random, 900.0f, 2000.0f, taken, spacing * 0.5f);
    taken.push_back(sites.RadioSite);
    sites.OilField = Near(terrain, random, sites.Port, spacing * 1.5f, 5.0f, 200.0f, taken, spacing * 0.4f);
    taken.push_back(sites.OilField);
    for (int i = 0; i < 3; ++i) {
        const PointXZ airbase = Anywhere(terrain, random, 20.0f, 700.0f, taken, spacing * 0.7f);
        sites.Airbases.push_back(airbase);
        taken.push_back(airbase);
    }
    return sites;
}

void FillCampaign(CBINFile& document, const DemoSites& sites, const DemoTerrain& terrain, int32_t halfSectorsZ,
                  CRandom& random)
{
    const auto recipes = Recipes();
    std::vector<CPopTemplate> templates;
    for (const TemplateRecipe& recipe : recipes) {
        CPopTemplate& tmpl = templates.emplace_back();
        tmpl.TypeCode = recipe.TypeCode;
        tmpl.ApproximationObject = IndexOf(document, recipe.Approximation);
        tmpl.BaseObject = IndexOf(document, recipe.Base);
        tmpl.RouteObject = IndexOf(document, recipe.Route);
        for (const Piece& piece : recipe.Objects)
            tmpl.Objects.push_back({piece.X, piece.Z, piece.Heading, IndexOf(document, piece)});
    }
    const int32_t firstTemplate = document.TemplateCount();
    document.InsertRows(firstTemplate, std::move(templates));
    const float recordBase = static_cast<float>(halfSectorsZ) * float(SectorSize);
    std::vector<PointXZ> taken;
    std::vector<CKeysitePlacement> keysites;
    const auto keysite = [&](Recipe recipe, PointXZ at) {
        keysites.push_back({firstTemplate + static_cast<int32_t>(recipe), at.X, recordBase - at.Z});
        taken.push_back(at);
    };
    const auto around = [&](PointXZ centre, float radius) {
        return Near(terrain, random, centre, radius, 3.0f, 1400.0f, taken, 350.0f);
    };
    for (size_t i = 0; i < sites.Towns.size(); ++i) {
        const PointXZ town = sites.Towns[i];
        keysite(Housing, town);
        for (int k = random.Int(1, 3); k > 0; --k)
            keysite(Housing, around(town, 1800));
        keysite(i % 3 == 0 ? Offices : Church, around(town, 1200));
        if (i % 4 == 1)
            keysite(Industry, around(town, 2500));
        for (int k = random.Int(1, 2); k > 0; --k)
            keysite(Farm, around(town, 5000));
    }
    keysite(Power, sites.PowerStation);
    keysite(Radio, sites.RadioSite);
    keysite(Oil, sites.OilField);
    keysite(Port, sites.Port);

    const char* const hangars[] = {"HANGAR", "HANGAR", "CONTROL_TOWER"};
    std::vector<CAirbasePlacement> airbases;
    for (size_t i = 0; i < sites.Airbases.size(); ++i) {
        const PointXZ at = sites.Airbases[i];
        airbases.push_back(
            {at.X, recordBase - at.Z, document.Catalogue()->IndexOf(NameOf(hangars[i % 3], int(i) + 1))});
        keysite(Military, around(at, 1500));
    }
    document.InsertRows(document.KeysiteCount(), std::move(keysites));
    document.InsertRows(document.AirbaseCount(), std::move(airbases));
    // SAM sites ring the airfields and guard the key sites.
    std::vector<PointXZ> guarded = sites.Airbases;
    guarded.push_back(sites.PowerStation);
    guarded.push_back(sites.RadioSite);
    guarded.push_back(sites.Port);
    std::vector<CSAMPlacement> sams;
    for (size_t g = 0; g < guarded.size(); ++g) {
        const int count = g < sites.Airbases.size() ? 3 : 1;
        for (int k = 0; k < count; ++k) {
            const PointXZ at = Near(terrain, random, guarded[g], 3500.0f, 3.0f, 2000.0f, taken, 1200.0f);
            if (terrain.HeightAt(at.X, at.Z) < 3.0f)
                continue;
            sams.push_back({at.X, recordBase - at.Z});
            taken.push_back(at);
        }
    }
    document.InsertRows(document.SamCount(), std::move(sams));
}

} // namespace demo
