#pragma once
// The user's symbol styles for keysites, airbases and SAM sites (shape, size, colour), kept in a
// profile file beside the program: read at start-up, written back at once and after every change
// in the Configuration dialog.

#include "document/recordkind.h"

#include <QString>
#include <cstdint>

enum SymbolShape : uint8_t { SquareShape = 0, CircleShape = 1, CrossShape = 2, TriangleShape = 3 };

struct SymbolStyle {
    uint8_t Shape = SquareShape; // a code outside 0..3 draws nothing
    int32_t Size = 1;            // half the side of the symbol's box, in pixels
    int32_t Color = 0;           // Windows RGB value: red in the lowest byte, then green, then blue
};

class CTarnConfig {
public:
    CTarnConfig();

    // Reads the three styles from `fileName`. A missing file changes nothing and gives false.
    // A missing key, or a value that is not a number, takes the key's read default (shape 2,
    // size 1, colour 32768); the shape keeps the low 8 bits of what was read.
    bool Load(const QString& fileName);
    // Writes the three styles as decimal integers, keeping everything else in the file. On
    // failure the file is unchanged and `message` is the text the window shows,
    // "Unable to write to <file>"; `reason` says what went wrong.
    bool Save(const QString& fileName, QString* message = nullptr, QString* reason = nullptr) const;

    const SymbolStyle& Style(int kind) const { return Styles[kind >= 0 && kind < 3 ? kind : 0]; }
    SymbolStyle& Style(int kind) { return Styles[kind >= 0 && kind < 3 ? kind : 0]; }

    SymbolStyle Styles[3];
};

// The settings file of the program at `executablePath`: the path with its extension replaced by
// ".INI" (the extension starts at the last '.' after the last separator), or ".INI" appended.
QString SettingsFileNameFor(const QString& executablePath);

// The profile rule for numbers: "0x"/"0X" followed by hexadecimal digits, or a decimal integer
// with an optional sign, where a "$" prefix also marks hexadecimal. Nothing else converts.
bool ParseProfileInteger(const std::string& text, int32_t& value);
