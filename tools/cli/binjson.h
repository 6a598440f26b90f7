#pragma once
// The lossless JSON form of a Map BIN file or template list: every field as stored, names as the
// Windows-1252 characters they hold, floats in the shortest text that gives the same bits back.

#include <QByteArray>
#include <QString>
#include <string>

struct StoredRecords;

namespace cli {

// "format" of the form this tool writes and reads.
extern const char* const kBinJsonFormat;

// A float as a JSON value: the shortest number that reads back to the same bits, or the strings
// "Infinity", "-Infinity" and "NaN:7FC00000" (the bits in hexadecimal).
std::string FloatJson(float value);

// Prints the records' JSON on standard output.
void PrintStoredJson(const StoredRecords& records);

// Reads the records back from the JSON text; false with the line and what is wrong.
bool StoredFromJson(const QByteArray& text, bool templateListOnly, StoredRecords& records, int& line, QString& error);
class CJsonReader;
bool StoredFromJson(CJsonReader& json, bool templateListOnly, StoredRecords& records, int& line, QString& error);

} // namespace cli
