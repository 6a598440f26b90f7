#include "maptools/ruler.h"

#include "document/binfile.h"
#include "factions/sectorsize.h"
#include "maptools/selectiontools.h"
#include "session/campaignsession.h"

#include <QLocale>
#include <QString>
#include <cmath>
#include <cstdlib>
#include <numbers>

RulerMeasurement RulerMeasure(RecordPoint from, RecordPoint to, double sectorSize)
{
    // In double: float differences of far-apart positions would lose the units.
    const double dx = double(to.X) - double(from.X);
    const double dz = double(to.Z) - double(from.Z);
    RulerMeasurement measurement;
    measurement.Length = std::hypot(dx, dz);
    measurement.Sectors = sectorSize > 0 ? measurement.Length / sectorSize : 0.0;
    if (measurement.Length > 0) {
        // Record Z grows downward, so up on the map is -Z; clockwise turns from -Z towards +X.
        double degrees = std::atan2(dx, -dz) * 180.0 / std::numbers::pi;
        if (degrees < 0)
            degrees += 360.0;
        measurement.Bearing = degrees >= 360.0 ? 0.0 : degrees;
    }
    return measurement;
}

QString RulerLabel(const RulerMeasurement& measurement, const QLocale& locale)
{
    // Rounded to whole degrees, 359.5 and above is north again.
    const long long degrees = std::llround(measurement.Bearing) % 360;
    return QStringLiteral("%1 units \u00B7 %2 sectors \u00B7 %3\u00B0")
        .arg(locale.toString(measurement.Length, 'f', 0), locale.toString(measurement.Sectors, 'f', 1))
        .arg(degrees, 3, 10, QLatin1Char('0'));
}

RecordPoint CRulerTool::EndAt(const MapToolContext& context, const MapPointer& pointer, bool snap)
{
    if (snap && context.Session) {
        if (const std::optional<RecordHit> hit = SymbolUnder(context, pointer)) {
            const CBINFile& records = context.Session->Records();
            const auto at = [&](const auto& list) {
                const auto& record = list[size_t(hit->Index)];
                return RecordPoint{record.X, record.Z};
            };
            return hit->Kind == KeysiteKind ? at(records.Keysites())
                : hit->Kind == AirbaseKind  ? at(records.Airbases())
                                            : at(records.Sams());
        }
    }
    return PixelToRecord(context.Viewport(), pointer.X, pointer.Y);
}

void CRulerTool::Press(const MapToolContext& context, const MapPointer& pointer)
{
    if (pointer.Pressed != MapPointer::Left || !context.View)
        return;
    // A new measurement replaces the one shown.
    Hide(context);
    m_pressed = true;
    m_dragging = false;
    m_snapEnd = pointer.Shift;
    m_press = pointer;
    m_from = EndAt(context, pointer, pointer.Shift);
}

void CRulerTool::Move(const MapToolContext& context, const MapPointer& pointer)
{
    if (!m_pressed || !context.View)
        return;
    m_snapEnd = pointer.Shift;
    if (!m_dragging && std::abs(pointer.X - m_press.X) + std::abs(pointer.Y - m_press.Y) < context.StartDragDistance)
        return;
    m_dragging = true;
    Show(context, {m_from, EndAt(context, pointer, pointer.Shift)});
}

void CRulerTool::Release(const MapToolContext& context, const MapPointer& pointer)
{
    if (!m_pressed || pointer.Pressed != m_press.Pressed)
        return;
    m_pressed = false;
    if (!m_dragging || !context.View)
        return;
    m_dragging = false;
    // The release carries no keys: the end snaps as it did at the last move.
    Show(context, {m_from, EndAt(context, pointer, m_snapEnd)});
}

void CRulerTool::Cancel(const MapToolContext& context)
{
    m_pressed = m_dragging = false;
    Hide(context);
}

void CRulerTool::Show(const MapToolContext& context, const Line& line)
{
    m_shown = line;
    if (context.RulerPreview) {
        const QString label = RulerLabel(RulerMeasure(line.From, line.To, SectorSize), QLocale());
        context.RulerPreview(line.From.X, line.From.Z, line.To.X, line.To.Z, label, true);
    }
}

void CRulerTool::Hide(const MapToolContext& context)
{
    if (!m_shown)
        return;
    m_shown.reset();
    if (context.RulerPreview)
        context.RulerPreview(0, 0, 0, 0, QString(), false);
}
