#include "demo/demoinstall.h"

#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "demo/democampaign.h"
#include "demo/demofactions.h"
#include "demo/demoroutes.h"
#include "demo/demoterrain.h"
#include "document/binfile.h"
#include "factions/sectorsize.h"
#include "platform/atomicsave.h"
#include "platform/filepaths.h"

#include <QDir>
#include <QFileInfo>

namespace {

using namespace demo;

struct NetworkFiles {
    const char* Name; // without extension
    const char* NodeExtension;
    const char* LinkExtension;
};

class CWriterSession {
public:
    CWriterSession(QString root, QStringList* written) : m_root(std::move(root)), m_written(written) { }

    QString PathOf(const QString& relative) const { return JoinPath(m_root, relative); }

    // Makes the folder of the file `relative` below the root and saves it with `save`, which gets
    // its path and a place for the reason it fails.
    template <typename Writer>
    bool Save(const QString& relative, Writer save)
    {
        const QString path = PathOf(relative);
        if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
            m_error = QStringLiteral("%1: cannot create the folder").arg(QFileInfo(path).absolutePath());
            return false;
        }
        QString reason;
        if (!save(path, &reason)) {
            m_error = QStringLiteral("%1: %2").arg(path, reason);
            return false;
        }
        Written(path);
        return true;
    }

    bool Write(const QString& relative, const QByteArray& bytes)
    {
        return Save(relative,
                    [&](const QString& path, QString* reason) { return SaveFileAtomically(path, bytes, reason); });
    }

    void Written(const QString& path)
    {
        if (m_written)
            m_written->append(path);
    }
    void SetError(const QString& error) { m_error = error; }
    const QString& Error() const { return m_error; }

private:
    QString m_root;
    QStringList* m_written;
    QString m_error;
};

bool WriteNetwork(CWriterSession& session, const QString& mapFolder, const NetworkFiles& files,
                  const RouteNetwork& network, const DemoTerrain& terrain)
{
    const QString base = mapFolder + QStringLiteral("/route/") + QLatin1String(files.Name);
    const RouteGraph graph = network.Graph(terrain);
    return session.Save(base + QLatin1String(files.NodeExtension), [&](const QString& path, QString* reason) {
        return SaveRouteNodeFile(path, graph, reason);
    }) && session.Save(base + QLatin1String(files.LinkExtension), [&](const QString& path, QString* reason) {
        return SaveRouteLinkFile(path, graph, reason);
    });
}

// The files of one map, below "common/maps": the first map keeps the usual file names; the second
// the alternative names of the route files, with upper-case extensions as copies from Windows
// often have.
struct MapFiles {
    const char* Folder;
    NetworkFiles Roads, Rivers, Utilities, Boundary;

    QString Path() const { return QStringLiteral("common/maps/") + QLatin1String(Folder); }
    // Every network's node and link files, in the order they are written.
    QStringList RouteFiles() const
    {
        QStringList files;
        for (const NetworkFiles* network : {&Roads, &Rivers, &Utilities, &Boundary}) {
            const QString base = Path() + QStringLiteral("/route/") + QLatin1String(network->Name);
            files << base + QLatin1String(network->NodeExtension) << base + QLatin1String(network->LinkExtension);
        }
        return files;
    }
};

const MapFiles kCoastFiles{kDemoFirstMap,
                           {"roads", ".nde", ".wp"},
                           {"rivers", ".nde", ".wp"},
                           {"utils", ".nde", ".wp"},
                           {"boundary", ".nde", ".wp"}};
const MapFiles kIslesFiles{kDemoSecondMap,
                           {"roaddata", ".NDE", ".WP"},
                           {"rivdata", ".NDE", ".WP"},
                           {"utildata", ".NDE", ".WP"},
                           {"boundary", ".NDE", ".WP"}};

const char* const kCatalogueFile = "stormcr/3ddata/bininfo.bin";
const char* const kTerrainFile = "/terrain/terrain.sim";
const char* const kSectorFile = "/terrain/default.sec";

struct MapRecipe {
    const MapFiles& Files;
    DemoTerrain Terrain;
    int RiverCount;
    float BorderAt; // fraction of the width
};

bool WriteMap(CWriterSession& session, const MapRecipe& recipe, uint32_t seed, DemoSites* sitesOut)
{
    const DemoTerrain& terrain = recipe.Terrain;
    const QString folder = recipe.Files.Path();
    // The sector file counts twice the sectors the terrain covers: record Z is the half count
    // times SectorSize minus terrain Z, so only then do records run from 0 at the map's top edge to the
    // map's depth at its bottom, and the faction grid (half count rows) lies under the mouse.
    const int32_t sectors = static_cast<int32_t>(terrain.Width() / float(SectorSize));
    const bool saved = session.Save(folder + QLatin1String(kTerrainFile), [&](const QString& path, QString* reason) {
        return SaveTerrainFile(path, terrain.Grid(), reason);
    }) && session.Save(folder + QLatin1String(kSectorFile), [&](const QString& path, QString* reason) {
        return SaveSectorFile(path, 2 * sectors, 2 * sectors, reason);
    });
    if (!saved)
        return false;

    CRandom random(seed);
    const DemoSites sites = PickSites(terrain, random);
    const RouteNetwork rivers = MakeRivers(TraceRivers(terrain, recipe.RiverCount, random));
    const RouteNetwork roads = MakeRoads(terrain, sites.Towns, random);
    const RouteNetwork power = MakePowerLines(sites.PowerStation, sites.Towns, 5);
    const RouteNetwork border = MakeBorder(terrain, terrain.Width() * recipe.BorderAt, seed + 7);
    if (!WriteNetwork(session, folder, recipe.Files.Roads, roads, terrain)
        || !WriteNetwork(session, folder, recipe.Files.Rivers, rivers, terrain)
        || !WriteNetwork(session, folder, recipe.Files.Utilities, power, terrain)
        || !WriteNetwork(session, folder, recipe.Files.Boundary, border, terrain))
        return false;
    if (sitesOut)
        *sitesOut = sites;
    return true;
}

} // namespace

QStringList DemoInstallationFiles(const QString& dir)
{
    QStringList relative{QLatin1String(kCatalogueFile)};
    for (const MapFiles* map : {&kCoastFiles, &kIslesFiles})
        relative << map->Path() + QLatin1String(kTerrainFile) << map->Path() + QLatin1String(kSectorFile)
                 << map->RouteFiles();
    for (const char* file : {kDemoCampaignFile, kDemoTemplateFile, kDemoFactionFile})
        relative << kCoastFiles.Path() + QLatin1Char('/') + QLatin1String(file);
    QStringList paths;
    for (const QString& file : relative)
        paths << JoinPath(dir, file);
    return paths;
}

bool WriteDemoInstallation(const QString& dir, QStringList* written, QString* error)
{
    CWriterSession session(dir, written);
    const auto fail = [&]() {
        if (error)
            *error = session.Error();
        return false;
    };

    const std::vector<std::string> names = CatalogueNames();
    const QByteArray catalogueBytes = CatalogueBytes(names);
    if (!session.Write(QLatin1String(kCatalogueFile), catalogueBytes))
        return fail();

    const MapRecipe coast{kCoastFiles, MakeCoastTerrain(512, 256.0f, 1234), 9, 0.66f};
    const MapRecipe isles{kIslesFiles, MakeIslesTerrain(256, 256.0f, 987), 4, 0.58f};
    DemoSites sites;
    if (!WriteMap(session, coast, 1234, &sites) || !WriteMap(session, isles, 987, nullptr))
        return fail();

    // The campaign of the first map, written by the document itself.
    C3DObjectsList catalogue;
    QString reason;
    if (!catalogue.LoadFromBytes(catalogueBytes, &reason)) {
        session.SetError(QStringLiteral("object list: %1").arg(reason));
        return fail();
    }
    const CPopTemplatesTypesList types;
    CBINFile document(&catalogue, &types);
    CRandom random(4321);
    const int32_t halfSectorsZ = static_cast<int32_t>(coast.Terrain.Depth() / float(SectorSize));
    FillCampaign(document, sites, coast.Terrain, halfSectorsZ, random);
    const QString mapFolder = kCoastFiles.Path();
    const QString campaign = session.PathOf(mapFolder + QLatin1Char('/') + QLatin1String(kDemoCampaignFile));
    if (!document.Save(campaign, true, &reason)) {
        session.SetError(QStringLiteral("%1: %2").arg(campaign, reason));
        return fail();
    }
    session.Written(campaign);
    const QString templates = session.PathOf(mapFolder + QLatin1Char('/') + QLatin1String(kDemoTemplateFile));
    if (!document.ExportTemplates(templates, 0, document.TemplateCount() - 1, &reason)) {
        session.SetError(QStringLiteral("%1: %2").arg(templates, reason));
        return fail();
    }
    session.Written(templates);

    const QString factions = WriteDemoFactions(session.PathOf(mapFolder), &reason);
    if (factions.isEmpty()) {
        session.SetError(reason);
        return fail();
    }
    session.Written(factions);
    return true;
}
