#include "demo/demofactions.h"

#include "factions/factiondocument.h"
#include "factions/factionsinfo.h"
#include "mapview/map.h"
#include "platform/filepaths.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The border's X where it crosses terrain height z (the mean of its crossings), or NaN.
float BorderXAt(const CMap& map, float z)
{
    float sum = 0.0f;
    int crossings = 0;
    for (int32_t i = 0; const RouteSegment* s = map.GetBoundary(i); ++i) {
        const float low = std::min(s->Z1, s->Z2);
        const float high = std::max(s->Z1, s->Z2);
        if (z < low || z > high || low == high)
            continue;
        sum += s->X1 + (z - s->Z1) / (s->Z2 - s->Z1) * (s->X2 - s->X1);
        ++crossings;
    }
    return crossings ? sum / float(crossings) : std::nanf("");
}

} // namespace

QString WriteDemoFactions(const QString& mapFolder, QString* error)
{
    CMap map;
    if (!map.Load(mapFolder, error))
        return QString();
    // One pixel per sector of the terrain: the half counts, so that a click paints the sector
    // drawn under the mouse.
    int32_t columns = 0;
    int32_t rows = 0;
    map.GetHalfSectorCounts(columns, rows);
    if (columns <= 0 || rows <= 0 || columns > CFactionsInfo::MaxSide || rows > CFactionsInfo::MaxSide) {
        if (error)
            *error =
                QStringLiteral("%1: sector counts %2 x %3 cannot hold factions").arg(mapFolder).arg(columns).arg(rows);
        return QString();
    }

    // Per row of sectors, the border's X at the row's middle (faction Z grows downward from the
    // top edge of the grid); rows the border does not reach take the nearest row's value.
    const float size = float(SectorSize);
    std::vector<float> borderX(static_cast<size_t>(rows));
    for (int32_t j = 0; j < rows; ++j)
        borderX[size_t(j)] = BorderXAt(map, (float(rows) - float(j) - 0.5f) * size);
    const auto found = std::find_if(borderX.begin(), borderX.end(), [](float x) { return !std::isnan(x); });
    float fill = found != borderX.end() ? *found : float(columns) * size * 0.5f;
    for (float& x : borderX) {
        if (std::isnan(x))
            x = fill;
        fill = x;
    }

    // West of the border is the red side, east of it the blue; a red bridgehead holds a few
    // sectors across the border in the middle of the front.
    const CLayeredDocument doc = NewFactionDocument(columns, rows, [&](int32_t i, int32_t j) {
        const float centre = (float(i) + 0.5f) * size;
        const int32_t bridgeheadRow = rows / 2;
        const bool bridgehead =
            std::abs(j - bridgeheadRow) <= std::max(1, rows / 16) && centre < borderX[size_t(j)] + 2.0f * size;
        return centre < borderX[size_t(j)] || bridgehead ? 1 : 0;
    });
    const QString path = JoinPath(mapFolder, QLatin1String(kDemoFactionFile));
    QString reason;
    if (!doc.WriteDocument(path, &reason)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, reason);
        return QString();
    }
    return path;
}
