#pragma once
// The largest file each reader accepts. A reader refuses a larger file before reading any of it,
// and reads a pipe or a device only up to its limit, so that a wrong choice (a disk image, a film,
// /dev/zero, a pipe that never ends) fails at once instead of filling memory.
//
// Each limit is the size of a file of its format that holds far more than any real map: the counts
// below, every record at the longest the format allows for it. Real files hold hundreds of records
// with names of a few dozen characters, kilobytes to a few megabytes in all.
//
// The counts are the yardstick of the limits, not limits of their own: what a reader enforces is
// the length of the whole file, and that every count and name length a file states fits in the
// bytes that follow it. A file within its limit is read whatever it holds: a name longer than
// LongestName, or more records than MostRecords when they are short (a file of a million SAM sites
// is 8 MB), so that no file the format allows and the memory can take is ever refused. The one
// count checked by itself is the terrain's samples, whose header alone decides the memory needed.

#include <QtGlobal>

struct FileLimit {
    qint64 Bytes;
    const char* Kind; // "Map BIN file", for the reason a refusal gives
};

namespace FileLimits {

// --- Counts far beyond any real map, that size the limits below ------------------------------------
constexpr qint64 LongestName = 255;                // characters of one 3D object name
constexpr qint64 MostRecords = 65536;              // templates, keysites, airbases or SAM sites of a file
constexpr qint64 MostTemplateObjects = 262144;     // objects of all templates of a file together
constexpr qint64 MostCatalogueNames = 65536;       // names in bininfo.bin
constexpr qint64 MostTerrainSamples = 8192 * 8192; // samples of a terrain grid (also checked by itself)
constexpr qint64 MostRouteNodes = 1 << 20;         // nodes of one route network
constexpr qint64 MostRouteLinks = 1 << 20;         // links of one route network
constexpr qint64 MostRoutePoints = 1 << 22;        // intermediate points of all its links together
// A faction picture has one pixel per sector; 2048 x 2048 sectors is a map 8 million world units
// wide. A faction file holds the picture in at most 16 channels (those of its layers and of the
// flattened picture), each with a 2-byte compression code, 2 bytes of length per row and the
// pixels packed at worst 1 byte longer per 64, and at most 16 MiB of image resources, layer
// records and tagged blocks besides.
constexpr qint64 LongestFactionSide = 2048;
constexpr qint64 MostFactionPixels = LongestFactionSide * LongestFactionSide;
constexpr qint64 MostFactionChannels = 16;
constexpr qint64 MostFactionExtras = 16 << 20;

// --- Record sizes ----------------------------------------------------------------------------------
constexpr qint64 CountedName = 4 + LongestName;            // Int32 length, characters
constexpr qint64 ObjectReference = 4 + CountedName;        // Int32 presence, counted name
constexpr qint64 TemplateRecord = 8 + 3 * ObjectReference; // object count, type code, three references
constexpr qint64 TemplateObject = 12 + CountedName;        // X, Z, heading, name
constexpr qint64 Keysite = 12;
constexpr qint64 Airbase = 8 + CountedName;
constexpr qint64 Sam = 8;

// --- The limits --------------------------------------------------------------------------------------
// A template list: its count and the templates with their objects (a template file is exactly this).
constexpr qint64 TemplateListBytes = 4 + MostRecords * TemplateRecord + MostTemplateObjects * TemplateObject;
constexpr FileLimit MapBin{
    TemplateListBytes + 4 + MostRecords * Keysite + 4 + MostRecords * Airbase + 4 + MostRecords * Sam, "Map BIN file"};
// Template import also takes the template list of a Map BIN file, so it accepts what Load accepts.
constexpr FileLimit TemplateSource{MapBin.Bytes, "template file or Map BIN file"};
// A count, a dropped value, then entries of a counted name and a dropped value.
constexpr FileLimit Catalogue{8 + MostCatalogueNames * (CountedName + 4), "3D object list"};
// Two counts, two cell sizes, then the samples. Nothing after the last sample is read.
constexpr FileLimit Terrain{16 + 4 * MostTerrainSamples, "terrain file"};
constexpr FileLimit RouteNodes{4 + 12 * MostRouteNodes, "route node file"};
constexpr FileLimit RouteLinks{4 + 16 * MostRouteLinks + 12 * MostRoutePoints, "route link file"};
constexpr FileLimit FactionFile{
    MostFactionChannels * (2 + 2 * LongestFactionSide + MostFactionPixels + MostFactionPixels / 64) + MostFactionExtras,
    "faction file"};
// The three symbol sections need a few hundred bytes; the rest of the file is kept as it is, and a
// profile file of a megabyte is already far beyond what the profile functions were made for.
constexpr FileLimit Settings{1 << 20, "settings file"};
// The registry stand-in is a line or two written by hand.
constexpr FileLimit RegistryStandIn{1 << 20, "registry stand-in file"};
// The sector file needs no limit: its reader takes the first 8 bytes and never reads further.
constexpr qint64 SectorHeaderBytes = 8;

} // namespace FileLimits
