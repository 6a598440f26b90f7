// sablemap-cli factions, run as a user runs it.
#include "psdbuilder.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    int Status = -1;
    QString Out;
    QString Err;
};

Run Cli(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(SABLEMAP_CLI), args);
    process.waitForFinished(30000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// 4 x 3 sectors: the left half faction 1.
QByteArray Source()
{
    QByteArray first;
    for (int j = 0; j < 3; ++j)
        first += QByteArray("\xff\xff\0\0", 4);
    return psd::Build(psd::Faction(4, 3, first));
}

} // namespace

class TestFactionCli : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_sid;

private slots:
    void initTestCase()
    {
        m_sid = m_dir.filePath(QStringLiteral("in.sid"));
        QFile f(m_sid);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(Source());
    }

    void operationsInOrder_data()
    {
        QTest::addColumn<QStringList>("ops");
        QTest::addColumn<QString>("printed");
        QTest::newRow("as loaded") << QStringList() << QStringLiteral("1100\n1100\n1100\n");
        QTest::newRow("set") << QStringList{QStringLiteral("--set"), QStringLiteral("3"), QStringLiteral("2"),
                                            QStringLiteral("5")}
                             << QStringLiteral("1100\n1100\n1101\n");
        QTest::newRow("set outside is ignored") << QStringList{QStringLiteral("--set"), QStringLiteral("4"),
                                                               QStringLiteral("0"), QStringLiteral("1")}
                                                << QStringLiteral("1100\n1100\n1100\n");
        QTest::newRow("paint at negative x") << QStringList{QStringLiteral("--paint"), QStringLiteral("-100"),
                                                            QStringLiteral("5"), QStringLiteral("0")}
                                             << QStringLiteral("0100\n1100\n1100\n");
        // Painting reads the clicked sector after the earlier set: order matters.
        QTest::newRow("set then paint")
            << QStringList{QStringLiteral("--set"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("0"),
                           QStringLiteral("--paint"), QStringLiteral("4096.5"), QStringLiteral("4096"),
                           QStringLiteral("1")}
            << QStringLiteral("1110\n1110\n1110\n");
        QTest::newRow("paint then set")
            << QStringList{QStringLiteral("--paint"), QStringLiteral("4096.5"), QStringLiteral("4096"),
                           QStringLiteral("1"), QStringLiteral("--set"), QStringLiteral("1"), QStringLiteral("1"),
                           QStringLiteral("0")}
            << QStringLiteral("0000\n0000\n0000\n");
    }
    void operationsInOrder()
    {
        QFETCH(QStringList, ops);
        QFETCH(QString, printed);
        const QString out = m_dir.filePath(QStringLiteral("out.sid"));
        QFile::remove(out);
        const Run run = Cli(QStringList{QStringLiteral("factions"), m_sid} + ops
                            + QStringList{QStringLiteral("--print"), QStringLiteral("--out"), out});
        QCOMPARE(run.Err, QString());
        QCOMPARE(run.Status, 0);
        QCOMPARE(run.Out, printed);
        const Run again = Cli({QStringLiteral("factions"), out, QStringLiteral("--print")});
        QCOMPARE(again.Out, printed);
    }

    void failures_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file") << QStringList{QStringLiteral("factions"), QStringLiteral("/nonexistent/a.sid")}
                                      << 1 << QStringLiteral("Open failed: /nonexistent/a.sid: ");
        QTest::newRow("no positional") << QStringList{QStringLiteral("factions"), QStringLiteral("--print")} << 2
                                       << QStringLiteral("sablemap-cli: factions takes one faction file\n");
        QTest::newRow("bad radius") << QStringList{QStringLiteral("factions"), QStringLiteral("IN"),
                                                   QStringLiteral("--paint"), QStringLiteral("1"), QStringLiteral("2"),
                                                   QStringLiteral("1.5")}
                                    << 2 << QStringLiteral("sablemap-cli: --paint X Z R takes a whole number for R");
        QTest::newRow("set needs three") << QStringList{QStringLiteral("factions"), QStringLiteral("IN"),
                                                        QStringLiteral("--set"), QStringLiteral("1")}
                                         << 2 << QStringLiteral("sablemap-cli: --set needs 3 value(s)");
        QTest::newRow("unknown option") << QStringList{QStringLiteral("factions"), QStringLiteral("IN"),
                                                       QStringLiteral("--fill")}
                                        << 2 << QStringLiteral("sablemap-cli: unknown option --fill");
        QTest::newRow("unwritable output")
            << QStringList{QStringLiteral("factions"), QStringLiteral("IN"), QStringLiteral("--out"),
                           QStringLiteral("/nonexistent/out.sid")}
            << 1 << QStringLiteral("Save failed: /nonexistent/out.sid: ");
    }
    void failures()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, message);
        args.replaceInStrings(QStringLiteral("IN"), m_sid);
        const Run run = Cli(args);
        QCOMPARE(run.Status, status);
        QVERIFY2(run.Err.startsWith(message), qPrintable(run.Err));
        QCOMPARE(run.Out, QString());
    }

    // A file that does not load leaves an existing output exactly as it was.
    void failedLoadWritesNothing()
    {
        const QString damaged = m_dir.filePath(QStringLiteral("damaged.sid"));
        const QString out = m_dir.filePath(QStringLiteral("keep.sid"));
        QFile f(damaged);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(Source().left(60));
        f.close();
        QFile keep(out);
        QVERIFY(keep.open(QIODevice::WriteOnly));
        keep.write("old");
        keep.close();
        const Run run = Cli({QStringLiteral("factions"), damaged, QStringLiteral("--out"), out});
        QCOMPARE(run.Status, 1);
        QVERIFY2(run.Err.startsWith(QStringLiteral("Open failed: ") + damaged + QStringLiteral(": ")),
                 qPrintable(run.Err));
        QVERIFY(keep.open(QIODevice::ReadOnly));
        QCOMPARE(keep.readAll(), QByteArray("old"));
    }
};

QTEST_GUILESS_MAIN(TestFactionCli)
#include "tst_factioncli.moc"
