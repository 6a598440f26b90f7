// The configuration dialog over the symbol styles, and the about box.
#include "dialogcontrols.h"
#include "dialogs/aboutdialog.h"
#include "dialogs/configurationdialog.h"
#include "mapview/tarnconfig.h"
#include "sablemapversion.h"
#include "scriptedprompts.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

class TestConfigurationDialog : public QObject {
    Q_OBJECT
private slots:
    void showsAndStoresStyles_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("shownItem");
        QTest::addColumn<int>("shownSize");
        QTest::addColumn<int>("storedShape");
        QTest::addColumn<int>("storedSize");
        QTest::newRow("ordinary") << 3 << 5 << 3 << 5 << 3 << 5;
        QTest::newRow("shape beyond the list stores 255") << 7 << 2 << -1 << 2 << 255 << 2;
        QTest::newRow("size above the range") << 1 << 35 << 1 << 20 << 1 << 20;
        QTest::newRow("size below the range") << 0 << -4 << 0 << 1 << 0 << 1;
    }

    void showsAndStoresStyles()
    {
        QFETCH(int, shape);
        QFETCH(int, size);
        QFETCH(int, shownItem);
        QFETCH(int, shownSize);
        QFETCH(int, storedShape);
        QFETCH(int, storedSize);
        CScriptedPrompts prompts;
        CTarnConfig settings;
        settings.Style(AirbaseKind).Shape = static_cast<uint8_t>(shape);
        settings.Style(AirbaseKind).Size = size;
        TfrmConfigurationDialog dialog(prompts, nullptr);
        dialog.Fill(settings);
        QCOMPARE(Find<QComboBox>(dialog, "cbAirbasesShape")->currentIndex(), shownItem);
        QCOMPARE(Find<QSpinBox>(dialog, "seAirbasesSize")->value(), shownSize);
        dialog.Store(settings);
        QCOMPARE(int(settings.Style(AirbaseKind).Shape), storedShape);
        QCOMPARE(settings.Style(AirbaseKind).Size, storedSize);
        // The other rows come back as they went in.
        QCOMPARE(int(settings.Style(KeysiteKind).Shape), int(CTarnConfig().Style(KeysiteKind).Shape));
        QCOMPARE(settings.Style(SamKind).Color, CTarnConfig().Style(SamKind).Color);
    }

    void colourConversion()
    {
        QCOMPARE(ColorFromRgbValue(0x0000FF), QColor(255, 0, 0));
        QCOMPARE(ColorFromRgbValue(65535), QColor(255, 255, 0));
        QCOMPARE(RgbValueFromColor(QColor(0, 128, 0)), 32768);
        QCOMPARE(RgbValueFromColor(QColor(1, 2, 3)), 0x030201);
    }

    void swatchColourOnlyOnConfirm()
    {
        CScriptedPrompts prompts;
        TfrmConfigurationDialog dialog(prompts, nullptr);
        dialog.Fill(CTarnConfig());
        auto* keysites = Find<CColorSwatch>(dialog, "shKeysitesColor");
        const QColor before = keysites->Color();
        prompts.ColorAnswers << std::nullopt << QColor(10, 20, 30);
        QTest::mouseRelease(keysites, Qt::LeftButton);
        QCOMPARE(keysites->Color(), before);
        QTest::mouseRelease(keysites, Qt::RightButton); // any button opens it
        QCOMPARE(keysites->Color(), QColor(10, 20, 30));
        QCOMPARE(Find<CColorSwatch>(dialog, "shAirbasesColor")->Color(), QColor(255, 255, 0));
    }

    void okSavesFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("ok");
        QTest::newRow("written") << QStringLiteral("sablemap.INI") << true;
        QTest::newRow("unwritable: reported") << QStringLiteral("missing folder/sablemap.INI") << true;
        QTest::newRow("cancelled: settings and file untouched") << QStringLiteral("sablemap.INI") << false;
    }

    void okSavesFile()
    {
        QFETCH(QString, name);
        QFETCH(bool, ok);
        QTemporaryDir dir;
        const QString file = dir.filePath(name);
        const bool writable = !name.contains(QLatin1Char('/'));
        CScriptedPrompts prompts;
        CTarnConfig settings;
        prompts.Drivers << CScriptedPrompts::Drive<TfrmConfigurationDialog>([&prompts, ok](TfrmConfigurationDialog& d) {
            prompts.ColorAnswers << QColor(255, 0, 255);
            QTest::mouseRelease(Find<CColorSwatch>(d, "shAirbasesColor"), Qt::LeftButton);
            Find<QComboBox>(d, "cbSAMsShape")->setCurrentIndex(3);
            Find<QSpinBox>(d, "seKeysitesSize")->setValue(9);
            Press(d, ok ? "btnOk" : "btnCancel");
        });
        QCOMPARE(EditSymbology(prompts, nullptr, settings, file), ok && writable);
        if (!ok) {
            QCOMPARE(settings.Style(AirbaseKind).Color, 65535);
            QCOMPARE(int(settings.Style(SamKind).Shape), int(CTarnConfig().Style(SamKind).Shape));
            QVERIFY(!QFile::exists(file));
            return;
        }
        // The new style is in effect even when it could not be written.
        QCOMPARE(int(settings.Style(SamKind).Shape), 3);
        if (!writable) {
            QCOMPARE(prompts.Shown, QStringList{QStringLiteral("error: Unable to write to ") + file});
            return;
        }
        CTarnConfig reread;
        QVERIFY(reread.Load(file));
        QCOMPARE(int(reread.Style(SamKind).Shape), 3);
        QCOMPARE(reread.Style(KeysiteKind).Size, 9);
        QVERIFY(prompts.Shown.isEmpty());
    }

    void aboutShowsVersion()
    {
        CScriptedPrompts prompts;
        QString version;
        prompts.Drivers << CScriptedPrompts::Drive<TfrmAbout>([&version](TfrmAbout& d) {
            version = Find<QLabel>(d, "lblVersion")->text();
            Press(d, "btnOK");
        });
        ShowAbout(prompts, nullptr);
        QCOMPARE(version, QStringLiteral(SABLEMAP_VERSION));
        QCOMPARE(prompts.RunTitles, QStringList{QStringLiteral("About")});
    }
};

QTEST_MAIN(TestConfigurationDialog)
#include "tst_configurationdialog.moc"
