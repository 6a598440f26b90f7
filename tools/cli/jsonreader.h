#pragma once
// A small JSON reader for the tool's text forms: every value remembers the line it starts on, so
// that a complaint about a file can name the line, and numbers keep the text they were written
// with, so that the caller decides what fits (a float32, an Int32) without a detour through double.

#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

namespace cli {

struct JsonValue {
    enum Kind { Null, Boolean, Number, String, Array, Object };
    Kind Type = Null;
    int Line = 1;
    bool Truth = false;
    QString Text; // a string's characters, or a number as written
    std::vector<JsonValue> Items;
    std::vector<std::pair<QString, JsonValue>> Members; // in the order written, repeats kept
};

// Parses one JSON value filling the whole text (white space around it allowed). On failure,
// `line` and `error` say where and what.
bool ParseJson(const QByteArray& text, JsonValue& value, int& line, QString& error);

} // namespace cli
