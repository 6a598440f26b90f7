// The map's tool bar in the window: its buttons, keys and the map area's mode stay one choice;
// a key typed into a field is text, not a tool; Ctrl+click selects in every mode.
#include "app/maptoolbar.h"
#include "demowindow.h"
#include "maparea/maparea.h"
#include "maparea/mapimage.h"
#include "mapview/mapwindow.h"

#include <QLineEdit>

class TestMapToolBar : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<CDemoWindow> m_demo;
    TfrmMain* m_window = nullptr;

    CMapArea& Area() const { return *m_window->MapArea(); }

private slots:
    void init()
    {
        m_demo = std::make_unique<CDemoWindow>();
        QVERIFY(m_demo->Open());
        m_window = m_demo->Window.get();
    }
    void cleanup() { m_demo.reset(); }

    void buttonsKeysAndModeAreOneChoice()
    {
        CMapToolBar& bar = *m_window->MapTools();
        QCOMPARE(Area().ToolMode(), MapToolMode::Select);
        QVERIFY(bar.ModeAction(MapToolMode::Select)->isChecked());
        // Each button names its tool and its key, and the key chooses it from the map.
        CMapImage* image = Find<CMapImage>(*m_window, "im");
        image->setFocus();
        const std::pair<MapToolMode, Qt::Key> keys[] = {{MapToolMode::Brush, Qt::Key_B},
                                                        {MapToolMode::Fill, Qt::Key_G},
                                                        {MapToolMode::Picker, Qt::Key_I},
                                                        {MapToolMode::Ruler, Qt::Key_R},
                                                        {MapToolMode::Select, Qt::Key_S}};
        for (const auto& [mode, key] : keys) {
            QAction* action = bar.ModeAction(mode);
            QVERIFY2(action->toolTip().startsWith(action->text() + QStringLiteral(" (")),
                     qPrintable(action->toolTip()));
            QVERIFY(action->toolTip().contains(QKeySequence(key).toString(QKeySequence::NativeText)));
            QTest::keyClick(image, key);
            QCOMPARE(Area().ToolMode(), mode);
            QVERIFY(action->isChecked());
        }
        // The map area chosen from elsewhere checks its button.
        Area().SetToolMode(MapToolMode::Ruler);
        QVERIFY(bar.ModeAction(MapToolMode::Ruler)->isChecked());
        QVERIFY(!bar.ModeAction(MapToolMode::Select)->isChecked());
    }

    // Tools, panels and commands were given keys one by one: no key may do two things.
    void noTwoCommandsShareAKey()
    {
        QHash<QKeySequence, QString> taken;
        for (const QAction* action : m_window->findChildren<QAction*>()) {
            for (const QKeySequence& keys : action->shortcuts()) {
                const QString name = action->objectName().isEmpty() ? action->text() : action->objectName();
                QVERIFY2(!taken.contains(keys) || taken.value(keys) == name,
                         qPrintable(keys.toString() + QStringLiteral(": ") + taken.value(keys) + QStringLiteral(" and ")
                                    + name));
                taken.insert(keys, name);
            }
        }
        QVERIFY(taken.size() > 20);
    }

    void aKeyInAFieldIsText()
    {
        auto* filter = Find<QLineEdit>(*m_window, "edFilterPopTemplates");
        filter->setFocus();
        QTest::keyClicks(filter, QStringLiteral("big"));
        QCOMPARE(filter->text(), QStringLiteral("big"));
        QCOMPARE(Area().ToolMode(), MapToolMode::Select);
    }

    void ctrlClickSelectsInEveryMode()
    {
        CCampaignSession& session = *m_window->Session();
        const CSAMPlacement sam = session.Records().Sams()[1];
        int32_t column = 0;
        int32_t row = 0;
        Area().View()->Viewport().MapToPixel(sam.X, sam.Z, column, row);
        CMapImage* image = Find<CMapImage>(*m_window, "im");
        const qreal ratio = image->PictureRatio();
        const QPoint at = image->contentsRect().topLeft() + QPoint(int(column / ratio), int(row / ratio));
        for (const MapToolMode mode : {MapToolMode::Brush, MapToolMode::Ruler}) {
            session.SelectPlacements({});
            Area().SetToolMode(mode);
            QTest::mouseClick(image, Qt::LeftButton, Qt::ControlModifier, at);
            QVERIFY(session.SelectedPlacements()[SamKind] == std::vector<int>({1}));
            QVERIFY(!session.History().CanUndo());
        }
    }
};

QTEST_MAIN(TestMapToolBar)
#include "tst_maptoolbar.moc"
