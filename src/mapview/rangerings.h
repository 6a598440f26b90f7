#pragma once
// Range rings: circles at radii the user chooses for each record kind (world units), drawn around
// the records of that kind, to see at a glance what a SAM site covers or how far apart airbases
// lie. The rings are the person's own setting, kept in their configuration beside the window's
// memory, never in the symbol styles' settings file; the editor and `sablemap-cli render` draw
// them with the same call.

#include "document/recordkind.h"

#include <QString>
#include <QStringView>
#include <array>
#include <optional>
#include <span>
#include <vector>

class CBINFile;
class CTarnConfig;
class CViewport;
class QImage;

struct RangeRings {
    // Radii in world units for each kind (indexed by RecordKind), ascending, none by default.
    std::array<std::vector<double>, 3> Radii;
    // Only around the records marked on the map (the selection of the page shown).
    bool OnlySelected = false;

    bool operator==(const RangeRings&) const = default;
    bool HasAny() const { return !Radii[0].empty() || !Radii[1].empty() || !Radii[2].empty(); }

    // The rings kept in the settings file `file` (an INI file read through QSettings), none when
    // it holds none; radii that do not read are left out.
    static RangeRings Read(const QString& file);
    void Write(const QString& file) const;
};

namespace rangerings {

// The largest radius taken, in world units: far beyond any map, small enough to stay exact.
constexpr double kLargestRadius = 1.0e9;
// The most radii of one kind.
constexpr int kMostRadii = 16;

// Radii as the user types them, "30000, 60000": numbers above 0 separated by commas, spaces
// allowed, in any order (given back ascending, each once); an empty text is no rings. Nothing, and
// `problem` saying why, for anything else.
std::optional<std::vector<double>> ParseRadii(QStringView text, QString* problem = nullptr);
// The radii as ParseRadii reads them back: "30000, 60000".
QString RadiiText(std::span<const double> radii);

} // namespace rangerings

// Draws rings of `radii` around the records of `kind` whose ring reaches into the map's part of
// the picture, or only around the records `only` names (list indices) when it is given: thin
// lines of the kind's symbol colour, blended over what is drawn, each pixel once however many
// rings cross it.
void DrawRangeRings(const CBINFile& document, const CTarnConfig& symbology, const CViewport& view, QImage& bitmap,
                    RecordKind kind, std::span<const double> radii, const std::vector<int>* only = nullptr);
