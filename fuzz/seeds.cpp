// Writes the seed corpora of the fuzz targets with the program's own writers: the demonstration
// installation (cut down to a few KiB per file), the document's writers, the faction document
// builder and the settings writer. Usage: fuzz_seeds <corpus folder>.
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "demo/democampaign.h"
#include "demo/demoinstall.h"
#include "demo/demoroutes.h"
#include "demo/demoterrain.h"
#include "document/binfile.h"
#include "factions/factiondocument.h"
#include "factions/factionsinfo.h"
#include "mapview/map.h"
#include "mapview/tarnconfig.h"
#include "platform/atomicsave.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

QString g_root;
int g_written = 0;

void Seed(const char* target, const char* name, const QByteArray& bytes)
{
    const QString dir = g_root + QLatin1Char('/') + QLatin1String(target);
    QDir().mkpath(dir);
    QString reason;
    if (!SaveFileAtomically(dir + QLatin1Char('/') + QLatin1String(name), bytes, &reason)) {
        std::fprintf(stderr, "%s/%s: %s\n", target, name, qPrintable(reason));
        std::exit(1);
    }
    ++g_written;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        std::exit(1);
    }
    return file.readAll();
}

// Keeps the first `templates` templates (each with at most `objects` objects), the keysites on
// them, and the first few airbases and SAM sites.
void CutDown(CBINFile& doc, int templates, int objects, int keysites, int airbases, int sams)
{
    // Through the record path, as an editing user would: the keysites on templates that go first.
    for (int k = doc.KeysiteCount() - 1; k >= 0; --k) {
        const int32_t t = doc.Keysites()[size_t(k)].TemplateNumber;
        if (t < 0 || t >= templates)
            doc.RemoveRows<CKeysitePlacement>(k, 1);
    }
    const auto trim = [](int count, int keep) { return std::max(count - keep, 0); };
    doc.RemoveRows<CKeysitePlacement>(keysites, trim(doc.KeysiteCount(), keysites));
    doc.RemoveRows<CPopTemplate>(templates, trim(doc.TemplateCount(), templates));
    for (int t = 0; t < doc.TemplateCount(); ++t)
        doc.RemoveRows<CThreeDObject>(objects, trim(doc.ObjectCount(t), objects), t);
    doc.RemoveRows<CAirbasePlacement>(airbases, trim(doc.AirbaseCount(), airbases));
    doc.RemoveRows<CSAMPlacement>(sams, trim(doc.SamCount(), sams));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds <corpus folder>\n");
        return 2;
    }
    g_root = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir install;
    QString reason;
    if (!WriteDemoInstallation(install.path(), nullptr, &reason)) {
        std::fprintf(stderr, "demo installation: %s\n", qPrintable(reason));
        return 1;
    }
    const QString mapDir = install.filePath(QStringLiteral("common/maps/") + QLatin1String(kDemoFirstMap));

    // 3D object list: a slice of the demonstration names, and an empty list.
    const std::vector<std::string> names = demo::CatalogueNames();
    Seed("fuzz_objectslist", "demo-slice",
         demo::CatalogueBytes({names.begin(), names.begin() + std::min<size_t>(40, names.size())}));
    Seed("fuzz_objectslist", "empty-list", demo::CatalogueBytes({}));

    // Map BIN and template files: the demonstration campaign, cut down, in both variants.
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    C3DObjectsList catalogue(english);
    for (const std::string& name : names)
        catalogue.Add(name);
    CPopTemplatesTypesList types;
    CBINFile doc(&catalogue, &types);
    if (!doc.Load(mapDir + QLatin1Char('/') + QLatin1String(kDemoCampaignFile), &reason)) {
        std::fprintf(stderr, "demo campaign: %s\n", qPrintable(reason));
        return 1;
    }
    CutDown(doc, 4, 3, 6, 2, 3);
    Seed("fuzz_mapbin", "demo-extended", doc.SaveBytes(true));
    Seed("fuzz_mapbin", "demo-basic", doc.SaveBytes(false));
    CBINFile empty(&catalogue, &types);
    Seed("fuzz_mapbin", "empty", empty.SaveBytes(false));
    const QString btp = install.filePath(QStringLiteral("seed.btp"));
    if (!doc.ExportTemplates(btp, 0, std::min(2, doc.TemplateCount() - 1), &reason)) {
        std::fprintf(stderr, "template export: %s\n", qPrintable(reason));
        return 1;
    }
    Seed("fuzz_template", "demo-export", ReadAll(btp));
    CutDown(doc, 2, 2, 0, 0, 0);
    Seed("fuzz_template", "basic-list", doc.SaveBytes(false));

    // Terrain, sectors and route networks of a small demonstration map.
    const DemoTerrain terrain = demo::MakeCoastTerrain(12, 256.0f, 1234);
    Seed("fuzz_terrain", "coast-12", TerrainFileBytes(terrain.Grid()));
    Seed("fuzz_terrain", "isles-5", TerrainFileBytes(demo::MakeIslesTerrain(5, 512.0f, 987).Grid()));
    Seed("fuzz_sectors", "demo", ReadAll(mapDir + QStringLiteral("/terrain/default.sec")));
    Seed("fuzz_sectors", "wide", SectorFileBytes(40000, 3));
    // The route target reads the node file's length from its first two bytes.
    const auto routeSeed = [](const RouteNetwork& network, const DemoTerrain& ground) {
        const RouteGraph graph = network.Graph(ground);
        const QByteArray nodes = RouteNodeFileBytes(graph);
        const QByteArray links = RouteLinkFileBytes(graph);
        const char split[2] = {char(nodes.size() & 0xFF), char(nodes.size() >> 8)};
        return QByteArray(split, 2) + nodes + links;
    };
    Seed("fuzz_routes", "border", routeSeed(demo::MakeBorder(terrain, terrain.Width() / 2, 7), terrain));
    Seed("fuzz_routes", "power", routeSeed(demo::MakePowerLines({300, 300}, {{1000, 200}, {2500, 2900}}, 2), terrain));
    Seed("fuzz_routes", "rivers",
         routeSeed(demo::MakeRivers({{{0, 0}, {100, 50}, {300, 90}}, {{50, 500}, {60, 400}}}), terrain));

    // Faction files: a new document, one painted and saved by the faction grid, and one with an
    // extra layer in front of the Background layer.
    const auto checker = [](int32_t c, int32_t r) { return (c + r) % 2; };
    Seed("fuzz_faction", "new-6x4", NewFactionDocument(6, 4, checker).Serialize());
    CFactionsInfo info;
    info.Document() = NewFactionDocument(40, 3, [](int32_t c, int32_t) { return c < 20 ? 1 : 0; });
    info.ExtractFactions();
    info.SetFaction(1, 30, 1);
    info.StoreFactions();
    Seed("fuzz_faction", "painted-40x3", info.Document().Serialize());
    CLayeredDocument twoLayers = NewFactionDocument(3, 3, checker);
    LayerRecord top = twoLayers.Layers[0];
    top.NameBlock = QByteArray("\x03Top", 4);
    top.ExtraLength = uint32_t(8 + top.NameBlock.size());
    twoLayers.Layers.insert(twoLayers.Layers.begin(), top);
    twoLayers.LayerCount = 2;
    twoLayers.RecomputeLengths();
    Seed("fuzz_faction", "two-layers", twoLayers.Serialize());

    // Settings files: as the program writes them, and one with other content to keep.
    CTarnConfig config;
    const QString ini = install.filePath(QStringLiteral("sablemap.INI"));
    config.Save(ini);
    Seed("fuzz_settings", "defaults", ReadAll(ini));
    {
        QFile other(ini);
        other.open(QIODevice::WriteOnly);
        other.write("; user settings\r\n[Other]\r\nValue = 12\r\n[keysite SYMBOL]\r\nShape=0x3\r\nColor=$FF00\r\n"
                    "Size=\"4\"\r\nName=kept\r\n");
    }
    config.Load(ini);
    config.Styles[SamKind].Size = -7;
    config.Save(ini);
    Seed("fuzz_settings", "other-content", ReadAll(ini));

    // Wine registries and Steam's library list: the program writes neither, so these are texts in
    // the forms the readers meet.
    Seed("fuzz_wineregistry", "system-reg",
         "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n"
         "[Software\\\\Quillfeather\\\\Stormcrest] 1700000000\n#time=1d9a2b3c4d5e6f7\n"
         "@=\"\"\n\"Version\"=dword:00000001\n\"Data\"=hex:43,00,\\\n  3a,00\n"
         "\"INSTALLATION PATH\"=\"C:\\\\Games\\\\J\\xe9r\\xf4me \\\"\\x4e2d\\\"\\\\\"\n\n"
         "[Software\\\\Wow6432Node\\\\Quillfeather\\\\Stormcrest] 1700000000\n"
         "\"INSTALLATION PATH\"=str(2):\"%ProgramFiles%\\\\Skyreach\"\n");
    Seed("fuzz_wineregistry", "libraryfolders",
         "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"/home/user/.local/share/Steam\"\n"
         "\t\t\"apps\"\n\t\t{\n\t\t\t\"228980\"\t\t\"1\"\n\t\t}\n\t}\n\t\"1\"\t\t\"/mnt/games\"\n}\n");

    std::printf("%d seeds written below %s\n", g_written, qPrintable(g_root));
    return 0;
}
