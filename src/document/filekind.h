#pragma once
// What a file looks like, for the message when a reader refused it: a faction file opened as a
// Map BIN file, or a template file read as a whole Map BIN file, says what it is instead of the
// offset where the wrong reader gave up.

#include <QByteArray>
#include <QString>

// A kind is named only when the whole file is that kind's records: a Map BIN file with bytes after
// its last record, or a file of zeros (which would read as empty lists), says nothing for sure.
enum class FileKind {
    Unknown,      // none of the below, or damaged
    MapBin,       // a Map BIN file's records and nothing after them
    TemplateList, // a template list and nothing after it: a template file
    FactionFile,  // a layered image, as faction files are
};

FileKind SniffFileKind(const QByteArray& bytes);
// The same for the regular file at `path`; Unknown for one that cannot be read, is longer than any
// Map BIN file, or is no regular file (a pipe cannot be read a second time).
FileKind SniffFile(const QString& path);
