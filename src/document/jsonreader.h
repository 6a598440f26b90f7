#pragma once
// A small JSON reader for the record form (recordjson.h) and the tool's other text forms. Containers can be walked one
// member or item at a time, so that a long list is read record by record instead of as one tree; each record is then
// read whole as a JsonValue. Every value remembers the line it starts on, so that a complaint can name the line, and
// numbers keep the text they were written with, so that the caller decides what fits (a float32, an Int32) without a
// detour through double. The text is either all in memory or read from a file a piece at a time, so that a form of
// hundreds of megabytes never needs its own size in memory.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

class QIODevice;

struct JsonMember;

struct JsonValue {
    enum Kind { Null, Boolean, Number, String, Array, Object };
    Kind Type = Null;
    int Line = 1;
    bool Truth = false;
    std::string Text; // a string's characters in UTF-8, or a number as written
    std::vector<JsonValue> Items;
    std::vector<JsonMember> Members; // in the order written, repeats kept
};

// A member of an object. (A std::pair would need JsonValue complete where JsonValue is declared.)
struct JsonMember {
    std::string Key;
    JsonValue Value;
};

class CJsonReader {
public:
    explicit CJsonReader(const QByteArray& text);
    // Reads `device` (open) as it goes, keeping only the part not yet read; more than `most` bytes
    // are refused with `tooLong` as the error.
    CJsonReader(QIODevice& device, qint64 most, const QString& tooLong);

    // One whole value.
    bool Value(JsonValue& value);
    // The start of an object ('{') or array ('['); false when the next value is something else.
    bool Begin(char open);
    // Within an object: the next member's key, leaving the reader at its value; `more` false at
    // the closing brace.
    bool NextMember(bool& more, std::string& key);
    // Within an array: leaves the reader at the next item; `more` false at the closing bracket.
    bool NextItem(bool& more);
    // Nothing but white space is left.
    bool End();

    // The line the reader stands on (where the fault is, after a failure), and what is wrong.
    int Line() const { return m_line; }
    const QString& Error() const { return m_error; }

private:
    bool Fail(const QString& error);
    void Space();
    bool Literal(const char* word);
    bool Value(JsonValue& value, int depth);
    bool StringValue(std::string& text);
    bool NumberValue(std::string& text);
    bool Next(bool& more, char close);
    // At least `count` bytes are there to read (reading on when the text comes from a device).
    bool Have(std::ptrdiff_t count) { return m_end - m_at >= count || Refill(count); }
    bool Refill(std::ptrdiff_t count);

    const char* m_at;
    const char* m_end;
    QIODevice* m_device = nullptr;
    QByteArray m_window; // from a device: the bytes read and not yet consumed
    qint64 m_read = 0;   // bytes the device gave
    qint64 m_most = 0;
    QString m_tooLong;
    int m_line = 1;
    QString m_error;
    std::vector<bool> m_first; // of each open container: no member or item read yet
};
