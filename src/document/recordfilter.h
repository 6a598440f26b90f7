#pragma once
// A filter of one record list, read from what the user types above its grid, and asked about one
// record at a time.
//
// Terms are separated by blanks and all have to hold. A plain word matches a record when any of
// its cells contains it (case-blind); "column op value" compares one column, with = != < > <= >=
// and ~ (contains). Numbers are compared as numbers when both sides read as numbers, text
// otherwise (case-blind). Values and words may be quoted ("two words"). A column is named by its
// grid header or a unique case-blind prefix of it or of one of its words ("pop", "template" and
// "population template" all name "Population template"). A term that cannot be read makes the
// whole filter unreadable: it then filters nothing and gives the reason.
//
// Reading happens once; Accepts() compares the record's fields directly and keeps what it learnt
// about each catalogue name and template type, so that a list of 60,000 records is filtered in a
// few milliseconds.

#include "document/records.h"

#include <QString>
#include <QStringView>
#include <memory>

class CBINFile;

class CRecordFilter {
public:
    // Filters nothing.
    CRecordFilter();
    ~CRecordFilter();
    CRecordFilter(const CRecordFilter&);
    CRecordFilter& operator=(const CRecordFilter&);

    // Reads `text` for the columns of `list`; numbers may be written with "." or with the decimal
    // separator of `format`, which also lays out the numbers that plain words and ~ search.
    static CRecordFilter Read(QStringView text, RecordList list, const TextFormat& format = {});

    // Why the text could not be read; empty when it could.
    const QString& Reason() const { return m_reason; }
    bool IsReadable() const { return m_reason.isEmpty(); }
    // Readable and with at least one term: some records may be hidden.
    bool Filters() const;
    // Whether the result depends on a record's number (the "Number" column, which plain words
    // search too): then records move in and out of the filter when records before them come or go.
    bool ReadsNumbers() const;

    // Whether `record` of `list` (which must exist in `document`) passes every term; true for a
    // filter that filters nothing.
    bool Accepts(const CBINFile& document, ListAddress list, int record) const;

private:
    struct Compiled;
    std::shared_ptr<const Compiled> m_compiled; // shared by copies; its caches are its own business
    QString m_reason;
};
