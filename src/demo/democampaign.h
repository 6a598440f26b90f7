#pragma once
// The 3D object list and the campaign records of the demonstration installation: plausible object
// names, keysite templates built from them, and keysites, airbases and SAM sites placed on land
// around the towns and key sites of a demonstration map.

#include "demo/demoterrain.h"

#include <QByteArray>
#include <string>
#include <vector>

class CBINFile;

// Where things stand on a demonstration map, in terrain coordinates.
struct DemoSites {
    std::vector<PointXZ> Towns;
    PointXZ PowerStation;
    PointXZ RadioSite;
    PointXZ OilField;
    PointXZ Port;
    std::vector<PointXZ> Airbases;
};

namespace demo {

// A few hundred names in the simulator's style, some with Windows-1252 letters.
std::vector<std::string> CatalogueNames();
// The object list file: count + 1, a spare word, then each name counted, followed by a spare word.
QByteArray CatalogueBytes(const std::vector<std::string>& names);

// Towns on low land, a port on the coast, a radio mast on a hill, airfields on flat ground.
DemoSites PickSites(const DemoTerrain& terrain, CRandom& random);

// Adds the templates and the keysites, airbases and SAM sites of `sites` to an empty document;
// record Z is halfSectorsZ * SectorSize - terrain Z. Every record stands on land.
void FillCampaign(CBINFile& document, const DemoSites& sites, const DemoTerrain& terrain, int32_t halfSectorsZ,
                  CRandom& random);

} // namespace demo
