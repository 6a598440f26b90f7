#pragma once
// The texts of the status bar while the mouse is over the map: where it is, what lies under it and
// what each button and key does in the chosen tool. Plain functions over plain values, so that
// every text is tested without a window.

#include "document/recordkind.h"
#include "maptools/maptool.h"
#include "maptools/pointerinspector.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class CBINFile;

// "X 12345  Z 6789 · Sector 3, 1 · Red · Height 345": the faction only while a faction layer is
// loaded ("No faction" off its grid), "Height —" outside the terrain.
QString PositionText(const PointerFacts& facts);

// "SAM site 12", "Airbase 3 (hangar_a)", "Keysite 7 (template 2, Village)": kind, number as the
// grid shows it and the name of what it places.
QString RecordText(const CBINFile& document, const PointerRecord& record);
// The nearest record, and "+3 more" for the others; empty over empty ground.
QString RecordsText(const CBINFile& document, const std::vector<PointerRecord>& records);

// The keys a meaning needs, as a set of bits.
using HintKeys = uint8_t;
constexpr HintKeys HintShift = 1;
constexpr HintKeys HintControl = 2;
constexpr HintKeys HintAlt = 4;

// One meaning of the mouse or a key in a tool: "Shift+click: centre" needs Shift.
struct ToolHint {
    HintKeys Keys = 0;
    QString Text;
};

// The record place mode puts down, for its hint.
struct PlacedRecord {
    RecordKind Kind = KeysiteKind;
    int Index = -1;
};

// The meanings of the mouse and keys in `mode`, or in place mode when `placing` names a record,
// most used first.
std::vector<ToolHint> ToolHints(MapToolMode mode, const std::optional<PlacedRecord>& placing = std::nullopt);

// The hints joined by " · ". The ones whose keys are exactly those `held` (when any) come first;
// as rich text they are also in bold, everything escaped.
QString HintsText(const std::vector<ToolHint>& hints, HintKeys held = 0);
QString HintsRichText(const std::vector<ToolHint>& hints, HintKeys held = 0);

// The hints, held keys' first, that fit whole in `room` (pixels, `width` measuring a text, bold
// for a held key's) with the separators between them; at least the first, so that a narrow bar
// still says something. The bar cuts the rest rather than a hint in the middle.
std::vector<ToolHint> HintsThatFit(const std::vector<ToolHint>& hints, HintKeys held, int room,
                                   const std::function<int(const QString& text, bool bold)>& width);
