#pragma once
// The record form: the lossless JSON form of a Map BIN file or template list, every field as
// stored, names as the Windows-1252 characters they hold, floats in the shortest text that gives
// the same bits back. One record to a line, so that a set of records (a copy, a diff) reads as the
// lines of the whole file it came from. The tool's to-json and from-json and the editor's
// clipboard speak it.

#include <QByteArray>
#include <QString>
#include <string>

class CJsonReader;
class CJsonText;
struct StoredRecords;

namespace recordjson {

// "format" of the form written and read.
extern const char* const Format;

// A float as a JSON value: the shortest number that reads back to the same bits, or the strings
// "Infinity", "-Infinity" and "NaN:7FC00000" (the bits in hexadecimal).
std::string FloatText(float value);

// The records' form, whole (templates only for a template list).
void Write(CJsonText& out, const StoredRecords& records);
QByteArray Text(const StoredRecords& records);

// Reads the records back from the form; false with the line and what is wrong, `records`
// unchanged.
bool Read(CJsonReader& json, bool templateListOnly, StoredRecords& records, int& line, QString& error);
bool Read(const QByteArray& text, bool templateListOnly, StoredRecords& records, int& line, QString& error);

} // namespace recordjson
