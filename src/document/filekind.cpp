#include "document/filekind.h"

#include "document/binreader.h"
#include "platform/filelimits.h"
#include "platform/fileread.h"

#include <QFileInfo>

namespace {

// Faction files begin with the signature of their image format. Read as a Map BIN file, those
// four bytes would claim over a billion templates, so no Map BIN file can begin with them.
constexpr char kFactionSignature[] = "8BPS";
constexpr qsizetype kSignatureBytes = 4;

// Walks the records without keeping them.
struct CNoSink {
    void TemplateList(int32_t, int32_t) { }
    void Template(int32_t, const StoredTemplate&) { }
    void TemplateObject(int32_t, int32_t, const StoredObject&) { }
    void KeysiteList(int32_t) { }
    void Keysite(int32_t, const StoredKeysite&) { }
    void AirbaseList(int32_t) { }
    void Airbase(int32_t, const StoredAirbase&) { }
    void SamList(int32_t) { }
    void Sam(int32_t, const StoredSam&) { }
};

bool IsFactionFile(const QByteArray& start) { return start.startsWith(QByteArrayView(kFactionSignature)); }

} // namespace

FileKind SniffFileKind(const QByteArray& bytes)
{
    if (IsFactionFile(bytes))
        return FileKind::FactionFile;
    CNoSink sink;
    CByteReader whole(bytes);
    if (ReadMapFile(whole, sink) && whole.AtEnd())
        return FileKind::MapBin;
    CByteReader list(bytes);
    if (ReadTemplateList(list, sink) && list.AtEnd())
        return FileKind::TemplateList;
    return FileKind::Unknown;
}

FileKind SniffFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return FileKind::Unknown;
    QByteArray bytes;
    // A faction file may be longer than any Map BIN file: its start says enough.
    if (!ReadFileStart(path, kSignatureBytes, bytes))
        return FileKind::Unknown;
    if (IsFactionFile(bytes))
        return FileKind::FactionFile;
    if (info.size() > FileLimits::MapBin.Bytes
        || !GuardAllocation(nullptr, [&] { return ReadWholeFile(path, FileLimits::MapBin, bytes); }))
        return FileKind::Unknown;
    return SniffFileKind(bytes);
}
