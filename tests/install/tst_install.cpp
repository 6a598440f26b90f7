// The installation: `cmake --install` into a staging prefix gives programs that run and find
// their guide and the tool's renderer, a desktop entry, icon, AppStream metadata and manual pages
// that their validators accept; `cpack -G DEB` gives a package with computed dependencies that
// unpacks into working programs and that lintian passes without an error or a warning. Validators
// that are not installed skip their part (test.sh installs them).
#include "app/mainwindow.h"
#include "sablemapversion.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int Exit = -1;
    QString Out;
    QString Err;
};

// Runs a program without any display, as a script or a package tool would.
Run Execute(const QString& program, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Run run;
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.Exit = process.exitCode();
    run.Out = QString::fromUtf8(process.readAllStandardOutput());
    run.Err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QString Tool(const char* name) { return QStandardPaths::findExecutable(QLatin1String(name)); }

const QString kVersion = QStringLiteral(SABLEMAP_VERSION);

} // namespace

class TestInstall : public QObject {
    Q_OBJECT
private:
    QString Installed(const QString& relative) const { return m_prefix.filePath(relative); }

    // The build packed once for every test of the package (packing is most of their time); empty
    // when cpack failed, with its output in m_packOutput.
    QString Package()
    {
        if (!m_package.isEmpty() || !m_packOutput.isEmpty())
            return m_package;
        const Run pack =
            Execute(QStringLiteral(SABLEMAP_CPACK),
                    {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                     QStringLiteral(SABLEMAP_BUILD_DIR "/CPackConfig.cmake"), QStringLiteral("-B"), m_packDir.path()});
        const QStringList packages = QDir(m_packDir.path()).entryList({QStringLiteral("*.deb")});
        if (pack.Exit == 0 && packages.size() == 1)
            m_package = m_packDir.filePath(packages.first());
        else
            m_packOutput = pack.Out + pack.Err + packages.join(QLatin1Char(' ')) + QStringLiteral(" (packing failed)");
        return m_package;
    }

    // `tool` writes the demonstration and draws one of its maps.
    bool ToolRenders(const QString& tool) const
    {
        QTemporaryDir dir;
        const QString demo = dir.filePath(QStringLiteral("demo")), picture = dir.filePath(QStringLiteral("map.png"));
        const Run wrote = Execute(tool, {QStringLiteral("demo"), demo});
        const Run drew = Execute(tool,
                                 {QStringLiteral("render"), demo + QStringLiteral("/common/maps/map_sable_coast"),
                                  picture, QStringLiteral("--size"), QStringLiteral("40"), QStringLiteral("30")});
        if (wrote.Exit != 0 || drew.Exit != 0)
            qWarning("%s", qPrintable(wrote.Err + drew.Err));
        return wrote.Exit == 0 && drew.Exit == 0 && QImage(picture).size() == QSize(40, 30);
    }

    QTemporaryDir m_prefix;
    QTemporaryDir m_packDir;
    QString m_package;
    QString m_packOutput;
private slots:
    void initTestCase()
    {
        const Run install = Execute(QStringLiteral(SABLEMAP_CMAKE),
                                    {QStringLiteral("--install"), QStringLiteral(SABLEMAP_BUILD_DIR),
                                     QStringLiteral("--prefix"), m_prefix.path()});
        QVERIFY2(install.Exit == 0, qPrintable(install.Out + install.Err));
    }

    void programsRun_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("editor") << "sablemap";
        QTest::newRow("tool") << "sablemap-cli";
    }

    void programsRun()
    {
        QFETCH(QString, program);
        const Run run = Execute(Installed(QStringLiteral("bin/") + program), {QStringLiteral("--version")});
        QCOMPARE(run.Exit, 0);
        QCOMPARE(run.Out, program + QLatin1Char(' ') + kVersion + QLatin1Char('\n'));
    }

    // render runs in a program of its own, installed among the helpers, not on the PATH.
    void installedToolRenders()
    {
        QVERIFY(ToolRenders(Installed(QStringLiteral("bin/sablemap-cli"))));
        QVERIFY(QFileInfo(Installed(QStringLiteral("libexec/sablemap/sablemap-cli-render"))).isExecutable());
        QVERIFY(!QFileInfo::exists(Installed(QStringLiteral("bin/sablemap-cli-render"))));
    }

    void installedFiles_data()
    {
        QTest::addColumn<QString>("file");
        // The desktop entry, metadata and manual pages go through their validators below.
        for (const char* file :
             {"share/icons/hicolor/scalable/apps/sablemap.svg", "share/icons/hicolor/16x16/apps/sablemap.png",
              "share/icons/hicolor/48x48/apps/sablemap.png", "share/icons/hicolor/256x256/apps/sablemap.png",
              "share/sablemap/guide/images/all-layers.png"})
            QTest::newRow(file) << QString::fromLatin1(file);
    }

    void installedFiles()
    {
        QFETCH(QString, file);
        QVERIFY2(QFileInfo(Installed(file)).size() > 0, qPrintable(file));
        if (file.endsWith(QLatin1String(".png")) && !file.contains(QLatin1String("guide"))) {
            const QString size = file.section(QLatin1Char('/'), 3, 3); // "48x48"
            QCOMPARE(QImage(Installed(file)).size(),
                     QSize(size.section(QLatin1Char('x'), 0, 0).toInt(), size.section(QLatin1Char('x'), 1, 1).toInt()));
        }
    }

    void guideAndSettingsOfTheInstalledProgram()
    {
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        const StartupEnvironment installed = StartupEnvironment::ForProgram(Installed(QStringLiteral("bin/sablemap")));
        QCOMPARE(installed.GuideIndex(), QDir::cleanPath(Installed(QStringLiteral("share/sablemap/guide/index.html"))));
        QVERIFY(QFileInfo::exists(installed.GuideIndex()));
        // The program's folder is not the person's to write: the settings go to their configuration.
        QCOMPARE(installed.SettingsFile, config.path() + QStringLiteral("/sablemap/sablemap.INI"));
        QVERIFY(QFileInfo(config.path() + QStringLiteral("/sablemap")).isDir());
        QVERIFY(!QFileInfo::exists(Installed(QStringLiteral("share/sablemap/guide/take-screenshots.sh"))));

        const StartupEnvironment built =
            StartupEnvironment::ForProgram(QStringLiteral(SABLEMAP_BUILD_DIR "/bin/sablemap"));
        QCOMPARE(built.GuideIndex(), QStringLiteral(SABLEMAP_BUILD_DIR "/bin/guide/index.html"));
        QCOMPARE(built.SettingsFile, QStringLiteral(SABLEMAP_BUILD_DIR "/bin/sablemap.INI"));
    }

    void validators_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("desktop entry") << "desktop-file-validate" << QStringList{"share/applications/sablemap.desktop"};
        QTest::newRow("AppStream metadata")
            << "appstreamcli"
            << QStringList{"validate", "--no-net", "share/metainfo/example.sablemap.Sablemap.metainfo.xml"};
        QTest::newRow("editor manual page") << "groff" << QStringList{"-man", "-z", "-ww", "share/man/man1/sablemap.1"};
        QTest::newRow("tool manual page")
            << "groff" << QStringList{"-man", "-z", "-ww", "share/man/man1/sablemap-cli.1"};
    }

    void validators()
    {
        QFETCH(QString, tool);
        QFETCH(QStringList, arguments);
        const QString program = Tool(tool.toLatin1().constData());
        if (program.isEmpty())
            QSKIP(qPrintable(tool + QStringLiteral(" is not installed")));
        arguments.last() = Installed(arguments.last());
        const Run run = Execute(program, arguments);
        QVERIFY2(run.Exit == 0, qPrintable(run.Out + run.Err));
        // Passing is not enough: a warning or an error line is a finding too.
        for (const QString& line : (run.Out + run.Err).split(QLatin1Char('\n'))) {
            QVERIFY2(!line.contains(QLatin1String("warning"), Qt::CaseInsensitive)
                         && !line.startsWith(QLatin1String("E:")) && !line.startsWith(QLatin1String("W:"))
                         && !line.contains(QLatin1String("error"), Qt::CaseInsensitive),
                     qPrintable(line));
        }
    }

    void debianPackage()
    {
        if (Tool("dpkg-shlibdeps").isEmpty() || Tool("dpkg-deb").isEmpty())
            QSKIP("dpkg-dev is not installed");
        const QString deb = Package();
        QVERIFY2(!deb.isEmpty(), qPrintable(m_packOutput));

        const Run depends = Execute(Tool("dpkg-deb"), {QStringLiteral("--field"), deb, QStringLiteral("Depends")});
        for (const char* library : {"libc6", "libqt6core6", "libqt6gui6", "libqt6widgets6"})
            QVERIFY2(depends.Out.contains(QLatin1String(library)), qPrintable(depends.Out));
        const Run version = Execute(Tool("dpkg-deb"), {QStringLiteral("--field"), deb, QStringLiteral("Version")});
        QCOMPARE(version.Out.section(QLatin1Char('-'), 0, 0).trimmed(), kVersion);

        // The copyright and changelog where Debian looks for them; manual pages and changelog compressed.
        const Run contents = Execute(Tool("dpkg-deb"), {QStringLiteral("--contents"), deb});
        for (const char* file :
             {"./usr/share/applications/sablemap.desktop", "./usr/share/doc/sablemap/copyright",
              "./usr/share/doc/sablemap/changelog.Debian.gz", "./usr/share/man/man1/sablemap.1.gz",
              "./usr/share/man/man1/sablemap-cli.1.gz", "./usr/libexec/sablemap/sablemap-cli-render"})
            QVERIFY2(contents.Out.contains(QLatin1String(file) + QLatin1Char('\n')), file);
        QVERIFY2(!contents.Out.contains(QLatin1String(".a\n")) && !contents.Out.contains(QLatin1String("tst_"))
                     && !contents.Out.contains(QLatin1String(".1\n")),
                 "only the installation belongs in the package, its manual pages compressed");

        const QString staging = m_packDir.filePath(QStringLiteral("staging"));
        QCOMPARE(Execute(Tool("dpkg-deb"), {QStringLiteral("-x"), deb, staging}).Exit, 0);
        for (const char* program : {"sablemap", "sablemap-cli"}) {
            const Run run =
                Execute(staging + QStringLiteral("/usr/bin/") + QLatin1String(program), {QStringLiteral("--version")});
            QCOMPARE(run.Out, QLatin1String(program) + QLatin1Char(' ') + kVersion + QLatin1Char('\n'));
        }
        QVERIFY(QFileInfo::exists(
            StartupEnvironment::ForProgram(staging + QStringLiteral("/usr/bin/sablemap")).GuideIndex()));
        QVERIFY(ToolRenders(staging + QStringLiteral("/usr/bin/sablemap-cli")));

        // The same sources give the same package: no file name or time stamp in a gzip header.
        for (const char* file : {"/usr/share/doc/sablemap/changelog.Debian.gz", "/usr/share/man/man1/sablemap.1.gz"}) {
            QFile compressed(staging + QLatin1String(file));
            QVERIFY2(compressed.open(QIODevice::ReadOnly), file);
            const QByteArray header = compressed.read(10);
            QCOMPARE(header.size(), 10);
            QVERIFY2(header.startsWith("\x1f\x8b") && !(header[3] & 0x08) && header.mid(4, 4) == QByteArray(4, '\0'),
                     file);
        }
    }

    // The distribution's own check of the package: every error or warning it reports is a fault.
    void debianPackagePassesLintian()
    {
        const QString lintian = Tool("lintian");
        if (lintian.isEmpty())
            QSKIP("lintian is not installed");
        if (Tool("dpkg-shlibdeps").isEmpty())
            QSKIP("dpkg-dev is not installed");
        const QString deb = Package();
        QVERIFY2(!deb.isEmpty(), qPrintable(m_packOutput));
        const Run run = Execute(lintian, {deb});
        QStringList findings;
        for (const QString& line : (run.Out + run.Err).split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String("E: ")) || line.startsWith(QLatin1String("W: ")))
                findings << line;
        }
        QVERIFY2(findings.isEmpty(), qPrintable(findings.join(QLatin1Char('\n'))));
        QVERIFY2(run.Exit == 0, qPrintable(run.Out + run.Err));
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
