#include "pages/columnwidth.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace {

// The letters of 8-point MS Sans Serif at 96 dots per inch average 6 pixels (its dialog base
// unit), the font the designed widths were chosen for.
constexpr double kDesignedAverageCharWidth = 6.0;

} // namespace

double AverageCharWidth(const QFontMetricsF& metrics)
{
    static const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    return metrics.horizontalAdvance(letters) / 52.0;
}

int ScaledColumnWidth(int designedWidth, double averageCharWidth, int neededWidth)
{
    const double scaled = std::round(designedWidth * averageCharWidth / kDesignedAverageCharWidth);
    return std::max(static_cast<int>(scaled), neededWidth);
}
