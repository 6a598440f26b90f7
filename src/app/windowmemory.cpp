#include "app/windowmemory.h"

#include <QSettings>

namespace {

const char* const kLayerKeys[WindowMemory::LayerCount] = {"Keysites", "Airbases", "SAMs",       "Grid",
                                                          "Roads",    "Rivers",   "PowerLines", "Borders"};

// The padlocks, by RecordKind, in a group of their own.
const char* const kLockKeys[3] = {"Keysites", "Airbases", "SAMs"};

} // namespace

WindowMemory WindowMemory::FirstStart()
{
    WindowMemory memory;
    memory.Layers[Keysites] = memory.Layers[Airbases] = memory.Layers[Sams] = true;
    return memory;
}

std::optional<WindowMemory> WindowMemory::Read(const QString& file)
{
    QSettings settings(file, QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("Window"));
    if (!settings.contains(QStringLiteral("Geometry")))
        return std::nullopt;
    WindowMemory memory = FirstStart();
    memory.Geometry = settings.value(QStringLiteral("Geometry")).toByteArray();
    for (const QVariant& state : settings.value(QStringLiteral("Splitters")).toList())
        memory.Splitters << state.toByteArray();
    memory.Page = settings.value(QStringLiteral("Page"), 0).toInt();
    memory.FactionsMode = settings.value(QStringLiteral("MapMode")).toString() == QLatin1String("Factions");
    memory.Map = settings.value(QStringLiteral("Map")).toString();
    memory.Overview = settings.value(QStringLiteral("Overview"), memory.Overview).toBool();
    settings.beginGroup(QStringLiteral("Layers"));
    for (int layer = 0; layer < LayerCount; ++layer)
        memory.Layers[size_t(layer)] =
            settings.value(QLatin1String(kLayerKeys[layer]), memory.Layers[size_t(layer)]).toBool();
    settings.endGroup();
    settings.beginGroup(QStringLiteral("Locks"));
    for (size_t kind = 0; kind < memory.Locks.size(); ++kind)
        memory.Locks[kind] = settings.value(QLatin1String(kLockKeys[kind]), false).toBool();
    return memory;
}

void WindowMemory::Write(const QString& file) const
{
    QSettings settings(file, QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("Window"));
    settings.setValue(QStringLiteral("Geometry"), Geometry);
    QVariantList splitters;
    for (const QByteArray& state : Splitters)
        splitters << state;
    settings.setValue(QStringLiteral("Splitters"), splitters);
    settings.setValue(QStringLiteral("Page"), Page);
    settings.setValue(QStringLiteral("MapMode"), FactionsMode ? QStringLiteral("Factions") : QStringLiteral("Heights"));
    settings.setValue(QStringLiteral("Map"), Map);
    settings.setValue(QStringLiteral("Overview"), Overview);
    settings.beginGroup(QStringLiteral("Layers"));
    for (int layer = 0; layer < LayerCount; ++layer)
        settings.setValue(QLatin1String(kLayerKeys[layer]), Layers[size_t(layer)]);
    settings.endGroup();
    settings.beginGroup(QStringLiteral("Locks"));
    for (size_t kind = 0; kind < Locks.size(); ++kind)
        settings.setValue(QLatin1String(kLockKeys[kind]), Locks[kind]);
    settings.endGroup();
    settings.endGroup();
    settings.sync();
}
