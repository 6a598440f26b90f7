#pragma once
// The width rule of the record grids' columns. Their widths were chosen in pixels for the 8-point
// font the window was first laid out with; in any other font, or at another resolution, a column
// is scaled by the ratio of the font's average character width to that font's, and widened
// further where its header or a typical value would still be cut off.

class QFontMetricsF;

// The average width of a letter, measured as the system measures its dialog units: the width of
// the 52 letters a-z and A-Z, divided by 52.
double AverageCharWidth(const QFontMetricsF& metrics);

// `designedWidth` scaled to a font whose letters average `averageCharWidth` pixels, and never
// below `neededWidth` (the widest text that must fit, with the cell's margins).
int ScaledColumnWidth(int designedWidth, double averageCharWidth, int neededWidth = 0);
