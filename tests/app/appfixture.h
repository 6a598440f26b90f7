#pragma once
// A stand-in installation in a temporary folder, registered through the registry stand-in (with a
// home folder of its own, so that no real Wine prefix is found), and the window's parts as the
// tests reach them.

#include "../testfiles.h"
#include "demo/demoinstall.h"
#include "scriptedrecorddialogs.h"
#include "windowparts.h"

#include <QDataStream>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class CTestInstallation {
public:
    CTestInstallation()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(Dir.filePath(QStringLiteral("user-config"))));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(Dir.filePath(QStringLiteral("system-config"))));
        // The person's own Wine prefixes and Steam libraries stay out of the tests.
        qputenv("HOME", QFile::encodeName(Home()));
        qunsetenv("WINEPREFIX");
        qunsetenv("XDG_DATA_HOME");
    }

    QString Home() const { return Dir.filePath(QStringLiteral("home")); }

    QString Root() const { return Dir.filePath(QStringLiteral("sim")); }

    // Writes the key file with the given lines into the user's (or the system's) folder.
    void Register(const QByteArray& lines, bool system = false) const
    {
        const QString folder = Dir.filePath(system ? QStringLiteral("system-config/Quillfeather")
                                                   : QStringLiteral("user-config/Quillfeather"));
        QVERIFY(WriteFile(folder + QStringLiteral("/Stormcrest.ini"), lines));
    }
    void RegisterRoot() const { Register("[General]\nINSTALLATION PATH=" + QFile::encodeName(Root()) + "\n"); }

    // The demonstration installation at Root(). It is generated once per test program and copied
    // for each test: generating it is most of a window test's set-up.
    bool WriteDemo(QString* error) const
    {
        static QTemporaryDir generated;
        static const bool ready = WriteDemoInstallation(generated.path(), nullptr, error);
        if (!ready)
            return false;
        QDirIterator files(generated.path(), QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString from = files.next();
            const QString to = Root() + from.mid(generated.path().size());
            QFile::remove(to); // as the generator would, it replaces what is there
            if (!QDir().mkpath(QFileInfo(to).path()) || !QFile::copy(from, to)) {
                *error = QStringLiteral("cannot copy ") + from;
                return false;
            }
        }
        return true;
    }

    // bininfo.bin: a count, a dropped value, then count - 1 entries of length, name, dropped value.
    static QByteArray CatalogueBytes(const QList<QByteArray>& names)
    {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setByteOrder(QDataStream::LittleEndian);
        out << qint32(names.size() + 1) << qint32(0);
        for (const QByteArray& name : names) {
            out << qint32(name.size());
            out.writeRawData(name.constData(), static_cast<int>(name.size()));
            out << qint32(0);
        }
        return bytes;
    }
    void WriteCatalogue(const QList<QByteArray>& names) const { WriteCatalogueFile(CatalogueBytes(names)); }
    void WriteCatalogueFile(const QByteArray& bytes) const
    {
        QDir().mkpath(Root() + QStringLiteral("/common/maps"));
        QVERIFY(WriteFile(Root() + QStringLiteral("/stormcr/3ddata/bininfo.bin"), bytes));
    }

    StartupEnvironment Environment(bool withGuide = false) const
    {
        StartupEnvironment environment;
        environment.ProgramFolder = Dir.filePath(QStringLiteral("program"));
        environment.SettingsFile = environment.ProgramFolder + QStringLiteral("/sablemap.INI");
        QDir().mkpath(environment.ProgramFolder + QStringLiteral("/guide"));
        if (withGuide)
            WriteFile(environment.ProgramFolder + QStringLiteral("/guide/index.html"), {});
        return environment;
    }

    // A file of the test's own in the temporary folder; its path.
    QString Write(const QString& name, const QByteArray& bytes) const
    {
        const QString path = Dir.filePath(name);
        if (!WriteFile(path, bytes))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QTemporaryDir Dir;
};

// A user's click on grid row `row` (grid numbering: row 1 is record 0), with the keys held.
inline void ClickGridRow(CRecordGrid* grid, int row, Qt::KeyboardModifiers modifiers = {})
{
    const QModelIndex index = grid->model()->index(row - grid->FixedRows(), 0);
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, grid->visualRect(index).center());
}

// The highlighted rows of a grid, top to bottom, in grid numbering.
inline QList<int> SelectedGridRows(const CRecordGrid* grid)
{
    QList<int> rows;
    for (const QModelIndex& index : grid->selectionModel()->selectedRows())
        rows << index.row() + grid->FixedRows();
    std::sort(rows.begin(), rows.end());
    return rows;
}
