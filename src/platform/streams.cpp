#include "platform/streams.h"

#include "platform/atomicsave.h"
#include "platform/fileread.h"

#include <QtEndian>
#include <cstring>

CByteReader::CByteReader(QByteArray bytes) : m_bytes(std::move(bytes)) { }

void CByteReader::Fail(const QString& reason)
{
    if (!m_failed)
        m_error = reason;
    m_failed = true;
}

bool CByteReader::Take(void* out, qint64 length)
{
    if (Failed())
        return false;
    if (length > Remaining()) {
        Fail(QStringLiteral("unexpected end of data at offset %1").arg(m_pos));
        return false;
    }
    std::memcpy(out, m_bytes.constData() + m_pos, static_cast<size_t>(length));
    m_pos += length;
    return true;
}

int CByteReader::ReadInt32(int32_t& value)
{
    int32_t raw;
    if (!Take(&raw, 4))
        return 0;
    value = qFromLittleEndian(raw);
    return 1;
}

int CByteReader::ReadInt16(int32_t& value)
{
    value = 0;
    uint16_t raw;
    if (!Take(&raw, 2))
        return 0;
    value = qFromLittleEndian(raw);
    return 1;
}

int CByteReader::ReadFloat(float& value)
{
    uint32_t raw;
    if (!Take(&raw, 4))
        return 0;
    raw = qFromLittleEndian(raw);
    std::memcpy(&value, &raw, 4);
    return 1;
}

int CByteReader::ReadString(int32_t length, std::string& value)
{
    if (Failed())
        return 0;
    if (length < 0) {
        Fail(QStringLiteral("negative string length %1 at offset %2").arg(length).arg(m_pos - 4));
        return 0;
    }
    if (length > Remaining()) {
        Fail(QStringLiteral("string of %1 bytes at offset %2 runs past the end of data").arg(length).arg(m_pos));
        return 0;
    }
    const char* start = m_bytes.constData() + m_pos;
    // The stored characters end at the first zero byte; the rest of the run is consumed.
    value.assign(start, strnlen(start, static_cast<size_t>(length)));
    m_pos += length;
    return 1;
}

bool CByteReader::CanHold(qint64 count, qint64 itemSize, const char* what)
{
    if (Failed())
        return false;
    if (count > 0 && count > Remaining() / itemSize) {
        Fail(QStringLiteral("%1 count %2 at offset %3 exceeds the %4 bytes that remain")
                 .arg(QLatin1String(what))
                 .arg(count)
                 .arg(m_pos)
                 .arg(Remaining()));
        return false;
    }
    return true;
}

bool CByteReader::Skip(qint64 length)
{
    if (Failed())
        return false;
    if (length < 0 || length > Remaining()) {
        Fail(QStringLiteral("unexpected end of data at offset %1").arg(m_pos));
        return false;
    }
    m_pos += length;
    return true;
}

CFileReader::CFileReader(const QString& fileName, const FileLimit& limit) : CByteReader(QByteArray())
{
    QByteArray bytes;
    QString reason;
    if (!ReadWholeFile(fileName, limit, bytes, &reason)) {
        Fail(reason);
        return;
    }
    SetBytes(std::move(bytes));
}

int CByteWriter::WriteInt32(int32_t value)
{
    const int32_t raw = qToLittleEndian(value);
    m_bytes.append(reinterpret_cast<const char*>(&raw), 4);
    return 1;
}

int CByteWriter::WriteInt16(int32_t value)
{
    const uint16_t raw = qToLittleEndian(static_cast<uint16_t>(static_cast<uint32_t>(value) & 0xFFFFu));
    m_bytes.append(reinterpret_cast<const char*>(&raw), 2);
    return 1;
}

int CByteWriter::WriteFloat(float value)
{
    uint32_t raw;
    std::memcpy(&raw, &value, 4);
    raw = qToLittleEndian(raw);
    m_bytes.append(reinterpret_cast<const char*>(&raw), 4);
    return 1;
}

int CByteWriter::WriteString(const std::string& value, bool withTerminator)
{
    m_bytes.append(value.data(), static_cast<qsizetype>(value.size()));
    if (withTerminator)
        m_bytes.append('\0');
    return 1;
}

bool CFileWriter::Commit(QString* error) { return SaveFileAtomically(m_fileName, Bytes(), error); }
