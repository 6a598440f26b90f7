#pragma once
// Shared pieces of the fuzz targets: a property check that stops the run with a message (so that
// libFuzzer keeps the input as a finding) and a scratch folder for the readers that only read
// files.

#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);                     \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

namespace fuzz {

inline QByteArray Bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// One folder for the whole run, in memory where the machine has a memory file system: the
// file-only readers see a fresh file on every input.
inline const QTemporaryDir& Scratch()
{
    static const std::unique_ptr<QTemporaryDir> dir = [] {
        const QString shm = QStringLiteral("/dev/shm");
        auto made = std::make_unique<QTemporaryDir>(QDir(shm).exists() ? shm + QStringLiteral("/sablemap-fuzz-XXXXXX")
                                                                       : QString());
        if (!made->isValid())
            made = std::make_unique<QTemporaryDir>();
        FUZZ_CHECK(made->isValid());
        return made;
    }();
    return *dir;
}

inline QString WriteScratchFile(const QString& relative, const QByteArray& bytes)
{
    const QString path = Scratch().filePath(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
    return path;
}

inline QByteArray ReadScratchFile(const QString& path)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// Records holding a name that the catalogue lacks: a template (for any of its references), a
// template object, an airbase. What a read reports as missing must be exactly these.
template <typename Document>
int RecordsWithMissingNames(const Document& doc, int firstTemplate = 0)
{
    int records = 0;
    for (const auto& tmpl : doc.Templates().subspan(size_t(firstTemplate))) {
        if (tmpl.ApproximationObject == MissingObjectIndex || tmpl.BaseObject == MissingObjectIndex
            || tmpl.RouteObject == MissingObjectIndex)
            ++records;
        for (const auto& object : tmpl.Objects)
            records += object.ObjectIndex == MissingObjectIndex ? 1 : 0;
    }
    for (const auto& airbase : doc.Airbases())
        records += airbase.ObjectIndex == MissingObjectIndex ? 1 : 0;
    return records;
}

inline QByteArray Int32Bytes(int32_t value)
{
    const uint32_t v = static_cast<uint32_t>(value);
    const char raw[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    return QByteArray(raw, 4);
}

// The object names the document seeds use, plus a few that no seed uses, under a fixed locale so
// that runs on any machine compare alike.
inline const C3DObjectsList& Catalogue()
{
    static const C3DObjectsList* list = [] {
        auto* made = new C3DObjectsList(QLocale(QLocale::English, QLocale::UnitedStates));
        for (const char* name :
             {"A", "B", "TANK", "HANGAR", "RUNWAY_01", "SAM_LAUNCHER", "CONTROL TOWER", "\xC9GLISE", "RADAR"})
            made->Add(name);
        return made;
    }();
    return *list;
}

inline const CPopTemplatesTypesList& Types()
{
    static const CPopTemplatesTypesList types;
    return types;
}

} // namespace fuzz
