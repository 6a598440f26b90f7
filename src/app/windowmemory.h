#pragma once
// How the window looked when it was last closed: its geometry, the splitters, the record page,
// the map mode, the layer check boxes, the padlocks beside them and the chosen map. Kept in the
// person's configuration beside their recent files (CFilePlaces::DefaultFile()), so that the next
// start continues where this one ended.

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <optional>

struct WindowMemory {
    // The layer check boxes, in this order.
    enum Layer { Keysites, Airbases, Sams, Grid, Roads, Rivers, PowerLines, Borders, LayerCount };

    QByteArray Geometry;         // QWidget::saveGeometry
    QList<QByteArray> Splitters; // QSplitter::saveState, outermost first
    int Page = 0;                // the record page shown
    bool FactionsMode = false;   // Factions rather than Heights
    std::array<bool, LayerCount> Layers{};
    QString Map; // the map's folder name in common/maps; empty for none
    // Whether the Overview dock is shown.
    bool Overview = true;

    // The padlocks beside the symbol boxes, by RecordKind.
    std::array<bool, 3> Locks{};

    // What a first start shows: the record symbols, nothing else.
    static WindowMemory FirstStart();
    // The memory in `file`, or nothing when no window was remembered there.
    static std::optional<WindowMemory> Read(const QString& file);
    void Write(const QString& file) const;
};
