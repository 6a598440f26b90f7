// The faction tools of the map without a window: brush strokes, the fill and the picker on an 8 x 8
// faction layer, with the outline that follows the mouse.
#include "../factions/layeredbuilder.h"
#include "../testfiles.h"
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "factions/factionsinfo.h"
#include "factions/sectorsize.h"
#include "maptools/factiontools.h"
#include "mapview/map.h"
#include "mapview/mapwindow.h"
#include "session/campaignsession.h"
#include "testterrain.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

Q_DECLARE_METATYPE(FactionBrush)

namespace {

constexpr int Side = 8;

// A layer as rows of '0' (blue) and '1' (red), row 0 first.
using Grid = QStringList;

Grid Uniform(char faction) { return Grid(Side, QString(Side, QLatin1Char(faction))); }

QPoint Sector(int column, int row) { return {column, row}; }

} // namespace

class TestFactionTools : public QObject {
    Q_OBJECT
private:
    C3DObjectsList m_catalogue{QLocale::c()};
    CPopTemplatesTypesList m_types;
    const CMap m_map = TestTerrain(Side * 8, Side);
    QTemporaryDir m_dir;
    std::unique_ptr<CCampaignSession> m_session;
    std::unique_ptr<CMapWindow> m_view;
    QList<QRect> m_outlines; // each outline said, an empty rectangle when it went
    QList<FactionBrush> m_picked;

    MapToolContext Context(FactionBrush brush = FactionBrush::Toggle, int radius = 0)
    {
        MapToolContext context;
        context.Session = m_session.get();
        context.View = m_view.get();
        context.SectorRadius = radius;
        context.Brush = brush;
        context.OutlinePreview = [this](int32_t c0, int32_t r0, int32_t c1, int32_t r1, bool active) {
            m_outlines << (active ? QRect(QPoint(c0, r0), QPoint(c1, r1)) : QRect());
        };
        context.PickBrush = [this](FactionBrush picked) { m_picked << picked; };
        return context;
    }
    // The pointer over the middle of sector (column, row).
    MapPointer At(QPoint sector, MapPointer::Button button = MapPointer::Left) const
    {
        int32_t x = 0;
        int32_t y = 0;
        m_view->Viewport().MapToPixel((float(sector.x()) + 0.5f) * SectorSize, (float(sector.y()) + 0.5f) * SectorSize,
                                      x, y);
        MapPointer pointer;
        pointer.X = x;
        pointer.Y = y;
        pointer.Pressed = button;
        return pointer;
    }
    bool Load(const Grid& grid)
    {
        QByteArray first;
        for (const QString& row : grid)
            for (const QChar c : row)
                first.append(c == QLatin1Char('1') ? '\xff' : '\0');
        const QString path = m_dir.filePath(QStringLiteral("f.SID"));
        return WriteFile(path, layered::Build(layered::Faction(Side, Side, first))) && m_session->LoadFactions(path);
    }
    Grid Layer() const
    {
        Grid grid;
        const CFactionsInfo& layer = *m_session->Factions();
        for (int32_t j = 0; j < layer.Rows; ++j) {
            QString row;
            for (int32_t i = 0; i < layer.Columns; ++i)
                row += QLatin1Char(layer.GetFaction(i, j) == 1 ? '1' : '0');
            grid << row;
        }
        return grid;
    }
    QByteArray Bytes() const
    {
        const CFactionsInfo& layer = *m_session->Factions();
        return QByteArray(reinterpret_cast<const char*>(layer.RowFactions(0)), layer.Columns * layer.Rows);
    }
    QUndoStack& Steps() { return m_session->History().Stack(CEditHistory::Factions); }

    // A stroke pressed at the first sector, moved once to each of the others, released at the last.
    void Stroke(CBrushTool& brush, const MapToolContext& context, const QList<QPoint>& path)
    {
        brush.Press(context, At(path.front()));
        for (const QPoint& sector : path.mid(1))
            brush.Move(context, At(sector, MapPointer::NoButton));
        brush.Release(context, At(path.back()));
    }

private slots:
    void init()
    {
        m_session = std::make_unique<CCampaignSession>(m_catalogue, m_types, TextFormat());
        m_view = std::make_unique<CMapWindow>(&m_map);
        m_view->SetSize(256, 256);
        m_view->ResetView();
        m_outlines.clear();
        m_picked.clear();
    }

    void strokePaintsEachSectorOnce_data()
    {
        QTest::addColumn<Grid>("before");
        QTest::addColumn<FactionBrush>("brush");
        QTest::addColumn<int>("radius");
        QTest::addColumn<QList<QPoint>>("path");
        QTest::addColumn<Grid>("after");
        // Each move jumps several sectors: the squares in between are painted too.
        QTest::newRow("toggle, crossing its own path")
            << Uniform('0') << FactionBrush::Toggle << 0
            << QList{Sector(1, 1), Sector(6, 1), Sector(6, 5), Sector(3, 5), Sector(3, 0)}
            << Grid{"00010000", "01111110", "00010010", "00010010", "00010010", "00011110", "00000000", "00000000"};
        QTest::newRow("toggle takes the pressed sector's opposite everywhere")
            << Grid(Side, QStringLiteral("11110000")) << FactionBrush::Toggle << 0 << QList{Sector(2, 3), Sector(6, 3)}
            << [] {
                   Grid g(Side, QStringLiteral("11110000"));
                   g[3] = QStringLiteral("11000000");
                   return g;
               }();
        QTest::newRow("red over a checkerboard, radius 1")
            << Grid{"01010101", "10101010", "01010101", "10101010", "01010101", "10101010", "01010101", "10101010"}
            << FactionBrush::Red << 1 << QList{Sector(2, 2), Sector(5, 2)}
            << Grid{"01010101", "11111110", "01111111", "11111110", "01010101", "10101010", "01010101", "10101010"};
        QTest::newRow("a diagonal move stays connected by edges")
            << Uniform('0') << FactionBrush::Red << 0 << QList{Sector(1, 1), Sector(4, 4)}
            << Grid{"00000000", "01000000", "01100000", "00110000", "00011000", "00000000", "00000000", "00000000"};
        QTest::newRow("blue, radius 2, clipped at the corner")
            << Uniform('1') << FactionBrush::Blue << 2 << QList{Sector(7, 7)}
            << Grid{"11111111", "11111111", "11111111", "11111111", "11111111", "11111000", "11111000", "11111000"};
        QTest::newRow("red over red changes nothing")
            << Uniform('1') << FactionBrush::Red << 1 << QList{Sector(1, 1), Sector(6, 6)} << Uniform('1');
    }

    void strokePaintsEachSectorOnce()
    {
        QFETCH(Grid, before);
        QFETCH(FactionBrush, brush);
        QFETCH(int, radius);
        QFETCH(QList<QPoint>, path);
        QFETCH(Grid, after);
        QVERIFY(Load(before));
        const QByteArray original = Bytes();
        QSignalSpy shown(m_session.get(), &CCampaignSession::SectorsChanged);
        CBrushTool tool;
        const MapToolContext context = Context(brush, radius);

        tool.Press(context, At(path.front()));
        for (const QPoint& sector : path.mid(1)) {
            tool.Move(context, At(sector, MapPointer::NoButton));
            QVERIFY(tool.IsStroking());
        }
        // The map is told as the stroke grows; the history only at the release.
        QCOMPARE(Steps().count(), 0);
        const bool changes = after != before;
        QCOMPARE(shown.isEmpty(), !changes);
        tool.Release(context, At(path.back()));
        QVERIFY(!tool.IsStroking());
        QCOMPARE(Layer(), after);
        QCOMPARE(Steps().count(), changes ? 1 : 0);
        if (!changes)
            return;
        QCOMPARE(Steps().text(0), QStringLiteral("Paint factions"));
        m_session->History().Undo();
        QCOMPARE(Bytes(), original);
        m_session->History().Redo();
        QCOMPARE(Layer(), after);
    }

    void escapeRestoresTheLayer()
    {
        QVERIFY(Load(Uniform('0')));
        const QByteArray original = Bytes();
        CBrushTool tool;
        const MapToolContext context = Context(FactionBrush::Red, 1);
        tool.Press(context, At(Sector(1, 1)));
        tool.Move(context, At(Sector(6, 6), MapPointer::NoButton));
        QVERIFY(Bytes() != original); // shown while it grows
        tool.Cancel(context);
        QCOMPARE(Bytes(), original);
        QVERIFY(!tool.IsStroking());
        // The release that follows has nothing to finish.
        tool.Release(context, At(Sector(6, 6)));
        QCOMPARE(Steps().count(), 0);
        QCOMPARE(m_outlines.last(), QRect());

        // A second stroke is a step of its own.
        Stroke(tool, context, {Sector(0, 0), Sector(0, 3)});
        Stroke(tool, context, {Sector(7, 0), Sector(7, 3)});
        QCOMPARE(Steps().count(), 2);
    }

    void strokeStartsOnTheGrid()
    {
        QVERIFY(Load(Uniform('0')));
        CBrushTool tool;
        MapPointer outside = At(Sector(0, 3));
        outside.X = -40;
        tool.Press(Context(), outside);
        QVERIFY(!tool.IsStroking());
        tool.Press(Context(), At(Sector(1, 1), MapPointer::Right));
        QVERIFY(!tool.IsStroking());
    }

    void fillBoundaries_data()
    {
        QTest::addColumn<Grid>("before");
        QTest::addColumn<QPoint>("click");
        QTest::addColumn<FactionBrush>("brush");
        QTest::addColumn<Grid>("after");
        const Grid island{"11000000", "11000000", "00100000", "00000000",
                          "00000000", "00000000", "00000000", "00000001"};
        QTest::newRow("diagonals do not connect")
            << island << Sector(1, 0) << FactionBrush::Toggle
            << Grid{"00000000", "00000000", "00100000", "00000000", "00000000", "00000000", "00000000", "00000001"};
        QTest::newRow("the region runs to the map's edges")
            << island << Sector(4, 4) << FactionBrush::Red << Grid(Side, QStringLiteral("11111111"));
        QTest::newRow("a wall stops it") << Grid(Side, QStringLiteral("00010000")) << Sector(6, 2) << FactionBrush::Red
                                         << Grid(Side, QStringLiteral("00011111"));
        QTest::newRow("blue over blue changes nothing") << island << Sector(4, 4) << FactionBrush::Blue << island;
    }

    void fillBoundaries()
    {
        QFETCH(Grid, before);
        QFETCH(QPoint, click);
        QFETCH(FactionBrush, brush);
        QFETCH(Grid, after);
        QVERIFY(Load(before));
        const QByteArray original = Bytes();
        CFillTool tool;
        tool.Press(Context(brush), At(click));
        QCOMPARE(Layer(), after);
        QCOMPARE(Steps().count(), after == before ? 0 : 1);
        if (after == before)
            return;
        QCOMPARE(Steps().text(0), QStringLiteral("Fill factions"));
        m_session->History().Undo();
        QCOMPARE(Bytes(), original);
    }

    void pickerTakesTheFactionUnderTheMouse()
    {
        QVERIFY(Load(Grid(Side, QStringLiteral("11110000"))));
        CPickerTool tool;
        tool.Press(Context(), At(Sector(1, 5)));
        tool.Press(Context(), At(Sector(6, 2)));
        MapPointer outside = At(Sector(7, 7));
        outside.Y += 200;
        tool.Press(Context(), outside);
        QCOMPARE(m_picked, (QList{FactionBrush::Red, FactionBrush::Blue}));
        QCOMPARE(Steps().count(), 0);
    }

    void outlineFollowsTheMouse()
    {
        QVERIFY(Load(Uniform('0')));
        CBrushTool brush;
        const MapToolContext context = Context(FactionBrush::Toggle, 1);
        brush.Move(context, At(Sector(3, 3), MapPointer::NoButton));
        brush.Move(context, At(Sector(3, 3), MapPointer::NoButton)); // unchanged: not said again
        brush.Move(context, At(Sector(0, 4), MapPointer::NoButton)); // clipped at the edge
        brush.Leave(context);
        QCOMPARE(m_outlines, (QList{QRect(QPoint(2, 2), QPoint(4, 4)), QRect(QPoint(0, 3), QPoint(1, 5)), QRect()}));

        m_outlines.clear();
        CFillTool fill;
        fill.Move(context, At(Sector(5, 6), MapPointer::NoButton));
        fill.Cancel(context);
        QCOMPARE(m_outlines, (QList{QRect(QPoint(5, 6), QPoint(5, 6)), QRect()}));
    }
};

QTEST_GUILESS_MAIN(TestFactionTools)
#include "tst_factiontools.moc"
