#pragma once
// The records placed on the map, numbered as place mode, the hit test and the symbol styles
// number them. On its own so that the symbol styles can name a kind without the records.

#include <cstdint>

enum RecordKind : uint8_t { KeysiteKind = 0, AirbaseKind = 1, SamKind = 2 };
