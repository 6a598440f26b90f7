// The render command: draws a map folder as the editor shows it. Only sablemap-cli-render links it,
// the one program of the tool that loads Qt Gui.

#include "cli.h"
#include "commands.h"

#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/binfile.h"
#include "factions/factionsinfo.h"
#include "mapview/maplayers.h"
#include "mapview/rangerings.h"
#include "mapview/tarnconfig.h"
#include "platform/atomicsave.h"
#include "platform/messagetext.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QPalette>
#include <algorithm>

namespace {

using namespace cli;

constexpr int kLargestImageSide = 16384;

struct RenderOptions {
    int Width = 0;
    int Height = 0;
    int Resolution = 4;
    QStringList ViewOps;
    bool Roads = false, Rivers = false, Utilities = false, Borders = false;
    bool Keysites = false, Airbases = false, SAMs = false, Grid = false;
    std::optional<QColor> ButtonFace;
    RangeRings Rings;
};

// Every "--rings KIND=R[,R...]" in order; the radii of a kind named twice are put together.
QString ParseRings(const Arguments& args, RangeRings& rings)
{
    const QStringList kinds = {QStringLiteral("keysites"), QStringLiteral("airbases"), QStringLiteral("sams")};
    for (const auto& [option, values] : args.Occurrences()) {
        if (option != QLatin1String("--rings"))
            continue;
        const QString& value = values.first();
        const qsizetype equals = value.indexOf(QLatin1Char('='));
        const qsizetype kind = equals < 0 ? -1 : kinds.indexOf(value.left(equals));
        if (kind < 0)
            return QStringLiteral("--rings takes KIND=R[,R...] with KIND one of %1, not \"%2\"")
                .arg(kinds.join(QLatin1Char(',')), MessageText::Shortened(value));
        QString problem;
        const QStringView radiiText = QStringView(value).mid(equals + 1);
        const auto radii = rangerings::ParseRadii(radiiText, &problem);
        if (!radii || radii->empty())
            return QStringLiteral("--rings %1: %2")
                .arg(kinds[kind], radii ? QStringLiteral("no radius given") : problem);
        std::vector<double>& kept = rings.Radii[size_t(kind)];
        kept.insert(kept.end(), radii->begin(), radii->end());
        std::sort(kept.begin(), kept.end());
        kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
    }
    return QString();
}

// Splits a comma-separated list and checks every item against `allowed`.
std::optional<QStringList> ListOption(const Arguments& args, const QString& option, const QStringList& allowed,
                                      QString& problem)
{
    const auto values = args.Values(option);
    if (!values)
        return QStringList();
    const QStringList items = values->first().split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& item : items) {
        if (!allowed.contains(item)) {
            problem = QStringLiteral("%1: unknown item \"%2\" (expected %3)")
                          .arg(option, MessageText::Shortened(item), allowed.join(QLatin1Char(',')));
            return std::nullopt;
        }
    }
    return items;
}

bool ValidViewOp(const QString& op)
{
    static const QStringList plain = {QStringLiteral("up"),     QStringLiteral("down"),    QStringLiteral("left"),
                                      QStringLiteral("right"),  QStringLiteral("zoom-in"), QStringLiteral("zoom-out"),
                                      QStringLiteral("default")};
    if (plain.contains(op))
        return true;
    const QStringList parts = op.split(QLatin1Char(':'));
    return parts.size() == 3 && parts[0] == QLatin1String("centre") && ParseInt(parts[1]) && ParseInt(parts[2]);
}

void ApplyViewOp(CMapWindow& view, const QString& op)
{
    if (op == QLatin1String("up"))
        view.PanUp();
    else if (op == QLatin1String("down"))
        view.PanDown();
    else if (op == QLatin1String("left"))
        view.PanLeft();
    else if (op == QLatin1String("right"))
        view.PanRight();
    else if (op == QLatin1String("zoom-in"))
        view.ZoomIn();
    else if (op == QLatin1String("zoom-out"))
        view.ZoomOut();
    else if (op == QLatin1String("default"))
        view.ResetView();
    else {
        const QStringList parts = op.split(QLatin1Char(':'));
        view.CentreOn(*ParseInt(parts[1]), *ParseInt(parts[2]));
    }
}

// Checks the options of render; returns a usage problem, or an empty string.
QString ParseRenderOptions(const Arguments& args, RenderOptions& options)
{
    const auto size = args.Values(QStringLiteral("--size"));
    if (!size)
        return QStringLiteral("render needs --size W H");
    const auto w = ParseInt(size->at(0));
    const auto h = ParseInt(size->at(1));
    if (!w || !h || *w < 1 || *h < 1 || *w > kLargestImageSide || *h > kLargestImageSide)
        return QStringLiteral("--size takes two whole numbers from 1 to %1").arg(kLargestImageSide);
    options.Width = *w;
    options.Height = *h;
    if (const auto r = args.Values(QStringLiteral("--resolution"))) {
        const auto value = ParseInt(r->first());
        if (!value || *value < 1 || *value > 10)
            return QStringLiteral("--resolution takes a whole number from 1 to 10");
        options.Resolution = *value;
    }
    if (const auto ops = args.Values(QStringLiteral("--view"))) {
        options.ViewOps = ops->first().split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (const QString& op : options.ViewOps) {
            if (!ValidViewOp(op))
                return QStringLiteral("--view: unknown operation \"%1\"").arg(MessageText::Shortened(op));
        }
    }
    QString problem;
    const auto routes = ListOption(
        args, QStringLiteral("--routes"),
        {QStringLiteral("roads"), QStringLiteral("rivers"), QStringLiteral("utils"), QStringLiteral("borders")},
        problem);
    if (!routes)
        return problem;
    options.Roads = routes->contains(QStringLiteral("roads"));
    options.Rivers = routes->contains(QStringLiteral("rivers"));
    options.Utilities = routes->contains(QStringLiteral("utils"));
    options.Borders = routes->contains(QStringLiteral("borders"));
    const QStringList kinds = {QStringLiteral("keysites"), QStringLiteral("airbases"), QStringLiteral("sams")};
    const auto symbols = ListOption(args, QStringLiteral("--symbols"), kinds, problem);
    if (!symbols)
        return problem;
    const QStringList shown = args.Has(QStringLiteral("--symbols")) ? *symbols
        : args.Has(QStringLiteral("--campaign"))                    ? kinds
                                                                    : QStringList();
    options.Keysites = shown.contains(kinds[0]);
    options.Airbases = shown.contains(kinds[1]);
    options.SAMs = shown.contains(kinds[2]);
    options.Grid = args.Has(QStringLiteral("--grid"));
    if (const QString rings = ParseRings(args, options.Rings); !rings.isEmpty())
        return rings;
    if (const auto face = args.Values(QStringLiteral("--button-face"))) {
        bool ok = false;
        const uint rgb = face->first().toUInt(&ok, 16);
        if (!ok || face->first().size() != 6)
            return QStringLiteral("--button-face takes a colour as RRGGBB");
        options.ButtonFace = QColor::fromRgb(static_cast<QRgb>(rgb));
    }
    return QString();
}

QString JsonInts(std::initializer_list<int32_t> values)
{
    QStringList items;
    for (int32_t value : values)
        items << QString::number(value);
    return QLatin1Char('[') + items.join(QLatin1Char(',')) + QLatin1Char(']');
}

} // namespace

namespace cli {

int RunRender(const QStringList& argv)
{
    const Arguments args(argv,
                         {{QStringLiteral("--size"), 2},
                          {QStringLiteral("--resolution"), 1},
                          {QStringLiteral("--view"), 1},
                          {QStringLiteral("--routes"), 1},
                          {QStringLiteral("--campaign"), 1},
                          {QStringLiteral("--catalogue"), 1},
                          {QStringLiteral("--symbols"), 1},
                          {QStringLiteral("--grid"), 0},
                          {QStringLiteral("--rings"), 1},
                          {QStringLiteral("--settings"), 1},
                          {QStringLiteral("--button-face"), 1},
                          {QStringLiteral("--factions"), 1}});
    if (!args.Ok() || args.Positionals().size() != 2)
        return Usage(args.Ok() ? QStringLiteral("render takes MAPFOLDER and OUT.png") : args.Error());
    RenderOptions options;
    const QString problem = ParseRenderOptions(args, options);
    if (!problem.isEmpty())
        return Usage(problem);
    const QString mapFolder = args.Positionals()[0];
    const QString output = args.Positionals()[1];

    C3DObjectsList catalogue;
    if (!LoadCatalogueOption(args, catalogue))
        return Failure;
    const CPopTemplatesTypesList types;
    CBINFile document(&catalogue, &types);
    CTarnConfig symbology;
    if (const auto settings = args.Values(QStringLiteral("--settings")))
        symbology.Load(settings->first());
    if (const auto campaign = args.Values(QStringLiteral("--campaign"))) {
        const QString path = campaign->first();
        QString reason;
        if (!QFile::exists(path))
            return Fail(QStringLiteral("Open failed"), QStringLiteral("%1: no such file").arg(path));
        if (!document.LoadReplacing(path, &reason))
            return Fail(QStringLiteral("Open failed"),
                        QStringLiteral("%1: %2").arg(path, ReadProblem(path, FileKind::MapBin, reason)));
    }

    CFactionsInfo factions;
    if (const auto sid = args.Values(QStringLiteral("--factions"))) {
        QString reason;
        if (!factions.LoadFromFile(sid->first(), &reason))
            return Fail(
                QStringLiteral("Open failed"),
                QStringLiteral("%1: %2").arg(sid->first(), ReadProblem(sid->first(), FileKind::FactionFile, reason)));
    }

    CMapLayers canvas;
    canvas.SetDocument(&document);
    canvas.SetSymbology(&symbology);
    canvas.SetButtonFace(options.ButtonFace.value_or(QGuiApplication::palette().color(QPalette::Button)));
    QString reason;
    if (!canvas.ChangeMap(mapFolder, QSize(options.Width, options.Height), options.Resolution, &reason))
        return Fail(QStringLiteral("Wrong map data!"), reason);
    CMapWindow& view = *canvas.View();
    for (const QString& op : options.ViewOps)
        ApplyViewOp(view, op);
    MapLayerOptions layers;
    layers.Roads = options.Roads;
    layers.Rivers = options.Rivers;
    layers.Utilities = options.Utilities;
    layers.Borders = options.Borders;
    layers.Keysites = options.Keysites;
    layers.Airbases = options.Airbases;
    layers.Sams = options.SAMs;
    layers.Grid = options.Grid;
    if (factions.HasDocument()) {
        canvas.SetFactions(&factions);
        layers.Mode = MapMode::Factions;
    }
    canvas.SetOptions(layers);
    canvas.SetRangeRings(options.Rings);
    canvas.RedrawTerrain();
    canvas.RefreshMap();

    // The view is printed first: output that cannot be written leaves the picture unwritten.
    int32_t halfX = 0;
    int32_t halfZ = 0;
    canvas.Map()->GetHalfSectorCounts(halfX, halfZ);
    Print(QStringLiteral("{\"view\":%1,\"map\":%2,\"pixels\":%3,\"halfSectors\":%4}\n")
              .arg(JsonInts({view.ViewLeft, view.ViewBottom, view.ViewRight, view.ViewTop}),
                   JsonInts({view.MapLeft, view.MapBottom, view.MapRight, view.MapTop}),
                   JsonInts({view.MapPixelLeft, view.MapPixelTop, view.MapPixelRight, view.MapPixelBottom}),
                   JsonInts({halfX, halfZ})));
    if (!OutputWritten())
        return Failure;

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!canvas.Composite().save(&buffer, "PNG"))
        return Fail(QStringLiteral("Save failed"), QStringLiteral("%1: cannot encode the picture").arg(output));
    if (!SaveFileAtomically(output, png, &reason))
        return Fail(QStringLiteral("Save failed"), QStringLiteral("%1: %2").arg(output, reason));
    return Success;
}

} // namespace cli
