// From a Wine prefix's registry text to the installation folder on disk: the registry is read as
// the editor reads a prefix's system.reg, and the Windows path found is followed through the
// prefix's drive links. The lookup ends; a path without a drive letter comes back as it is; a
// path below drive C: stays below its link, and finds an existing folder whatever its letter case.
#include "fuzzcommon.h"

#include "platform/registry.h"
#include "platform/wineregistry.h"

#include <QFileInfo>

namespace {

// A prefix whose c: leads to drive_c, which holds Games/Sable Sim/stormcr; d: leads nowhere.
const QString& Prefix()
{
    static const QString prefix = [] {
        const QString root = fuzz::Scratch().filePath(QStringLiteral("prefix"));
        fuzz::WriteScratchFile(QStringLiteral("prefix/drive_c/Games/Sable Sim/stormcr/3ddata/bininfo.bin"),
                               QByteArray(8, '\0'));
        QDir().mkpath(root + QStringLiteral("/dosdevices"));
        QFile::link(QStringLiteral("../drive_c"), root + QStringLiteral("/dosdevices/c:"));
        QFile::link(QStringLiteral("../nowhere"), root + QStringLiteral("/dosdevices/d:"));
        return root;
    }();
    return prefix;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString prefix = Prefix();
    const QString registry = fuzz::WriteScratchFile(QStringLiteral("prefix/system.reg"), fuzz::Bytes(data, size));
    QString value;
    if (ReadWineRegistryFile(registry, InstallationKeys(), QStringLiteral("Installation Path"), value)
        != RegistryRead::Found)
        return 0;
    const QString local = WinePathToLocal(prefix, value);
    QString bare = value;
    if (bare.startsWith(QLatin1String("\\\\?\\")) || bare.startsWith(QLatin1String("\\??\\")))
        bare.remove(0, 4);
    const bool drive =
        bare.size() >= 2 && bare[1] == QLatin1Char(':') && bare[0].isLetter() && bare[0].unicode() < 0x80;
    if (!drive) {
        FUZZ_CHECK(local == value);
        return 0;
    }
    if (bare[0].toLower() != QLatin1Char('c'))
        return 0;
    // ".." steps included: Windows stops them at the drive's root.
    const QString driveC = QFileInfo(prefix + QStringLiteral("/drive_c")).canonicalFilePath();
    FUZZ_CHECK(local.startsWith(driveC));
    // Windows paths ignore letter case: the same path in capitals finds the same folder.
    bool ascii = true;
    for (const QChar c : bare)
        ascii = ascii && c.unicode() < 0x80;
    if (ascii && QFileInfo::exists(local)) {
        QString upper = value;
        for (QChar& c : upper)
            c = c.toUpper();
        const QString found = QFileInfo(local).canonicalFilePath();
        FUZZ_CHECK(QFileInfo(WinePathToLocal(prefix, upper)).canonicalFilePath() == found);
    }
    return 0;
}
