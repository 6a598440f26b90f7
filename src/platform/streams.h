#pragma once
// Binary streams for the value-by-value files: Map BIN, template files, terrain files and the 3D
// object list. Little-endian Int32/Int16, IEEE single floats and runs of 8-bit characters, with no
// framing. Readers work on the whole file in memory so that every count and length can be checked
// against the bytes that remain before anything is allocated; a failed read is sticky and carries
// the offset and field for the tool to print. Writers collect the bytes and save them atomically.

#include "platform/filelimits.h"

#include <QByteArray>
#include <QString>
#include <QtEndian>
#include <cstdint>
#include <cstring>
#include <string>

// Reads from bytes held in memory. A read that would pass the end reads nothing, returns 0 and
// marks the reader failed; a short read leaves the destination as it was (Int16: zero).
class CByteReader {
public:
    explicit CByteReader(QByteArray bytes);
    int ReadInt32(int32_t& value);
    int ReadInt16(int32_t& value);
    int ReadFloat(float& value);
    // A negative length, or one beyond the bytes left, is a failed read.
    int ReadString(int32_t length, std::string& value);

    qint64 Position() const { return m_pos; }
    qint64 Remaining() const { return m_bytes.size() - m_pos; }
    bool AtEnd() const { return m_pos >= m_bytes.size(); }
    bool Failed() const { return m_failed; }
    // The first failure: what was being read and where, e.g. "unexpected end of data at offset 12".
    const QString& Error() const { return m_error; }
    // Marks the reader failed (first failure wins), for checks the caller makes on values it read.
    void Fail(const QString& reason);
    // True when `count` items of at least `itemSize` bytes each can still follow; otherwise fails
    // with a message naming `what`. A negative count needs no bytes.
    bool CanHold(qint64 count, qint64 itemSize, const char* what);
    bool Skip(qint64 length);

    // For the record readers, which check a whole record against Remaining() (or a whole list
    // with CanHold) and then take its fields unchecked: the unread bytes, and stepping over bytes
    // known to be there.
    const char* Current() const { return m_bytes.constData() + m_pos; }
    void Advance(qint64 length) { m_pos += length; }
    // ReadInt32 inlined, for fields read one at a time; the same result.
    bool GetInt32(int32_t& value)
    {
        if (m_failed || Remaining() < 4)
            return ReadInt32(value) == 1; // fails with the reason
        value = LoadInt32(Current());
        m_pos += 4;
        return true;
    }

    static int32_t LoadInt32(const char* at) { return qFromLittleEndian<int32_t>(at); }
    static float LoadFloat(const char* at)
    {
        const uint32_t raw = qFromLittleEndian<uint32_t>(at);
        float value;
        std::memcpy(&value, &raw, 4);
        return value;
    }

protected:
    void SetBytes(QByteArray bytes)
    {
        m_bytes = std::move(bytes);
        m_pos = 0;
    }

private:
    bool Take(void* out, qint64 length);

    QByteArray m_bytes;
    qint64 m_pos = 0;
    bool m_failed = false;
    QString m_error;
};

// Reads a whole file of at most `limit` bytes (see filelimits.h); a file that cannot be opened or
// read, or is longer than the limit, is a failed reader from the start.
class CFileReader : public CByteReader {
public:
    CFileReader(const QString& fileName, const FileLimit& limit);
};

// Collects written bytes in memory; writes into memory cannot fail.
class CByteWriter {
public:
    int WriteInt32(int32_t value);
    int WriteInt16(int32_t value);
    int WriteFloat(float value);
    int WriteString(const std::string& value, bool withTerminator);

    const QByteArray& Bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// Collects the bytes of one file and replaces the file with them in Commit(), atomically: a file
// that was never committed, or whose commit failed, is left exactly as it was.
class CFileWriter : public CByteWriter {
public:
    explicit CFileWriter(QString fileName) : m_fileName(std::move(fileName)) { }

    bool Commit(QString* error = nullptr);

private:
    QString m_fileName;
};
