// What the status bar says about the point under the mouse, without a window: the records whose
// symbols a click there would take (through the session's spatial index, held against a plain pass
// and the click's own hit test after random edits), the height, and the texts.
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/binfile.h"
#include "maptools/mapgeometry.h"
#include "maptools/pointerinspector.h"
#include "maptools/statustexts.h"
#include "mapview/map.h"
#include "session/campaignsession.h"
#include "testterrain.h"

#include <QRandomGenerator>
#include <QTest>
#include <cmath>

namespace {

// The records within reach of the pixel by a pass over every record, ordered as a click ranks
// them: nearest in pixels, then the one drawn last.
std::vector<PointerRecord> ScanNear(const CBINFile& document, const CViewport& view, const SymbolChoice& choice,
                                    int32_t column, int32_t row)
{
    struct Found {
        PointerRecord Record;
        int64_t Distance;
    };
    std::vector<Found> found;
    const auto scan = [&](RecordKind kind, const auto& records) {
        for (size_t i = 0; i < records.size(); ++i) {
            if (!choice.Pickable[size_t(kind)] || !view.IsOnMap(records[i].X, records[i].Z)
                || (choice.Takes && !choice.Takes(kind, int(i))))
                continue;
            int32_t x = 0;
            int32_t y = 0;
            view.MapToPixel(records[i].X, records[i].Z, x, y);
            const int64_t dx = int64_t(x) - column;
            const int64_t dy = int64_t(y) - row;
            if (std::llabs(dx) <= choice.Reach && std::llabs(dy) <= choice.Reach)
                found.push_back({{kind, int(i)}, dx * dx + dy * dy});
        }
    };
    scan(KeysiteKind, document.Keysites());
    scan(AirbaseKind, document.Airbases());
    scan(SamKind, document.Sams());
    // Later kinds and indices first at equal distance: reversed, then stably by distance.
    std::reverse(found.begin(), found.end());
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& a, const Found& b) { return a.Distance < b.Distance; });
    std::vector<PointerRecord> records;
    for (const Found& f : found)
        records.push_back(f.Record);
    return records;
}

} // namespace

class TestPointerStatus : public QObject {
    Q_OBJECT
private:
    C3DObjectsList m_catalogue{QLocale::c()};
    CPopTemplatesTypesList m_types;

private slots:
    void initTestCase()
    {
        for (const char* name : {"hangar_a", "tower_b", "<odd & name>"})
            m_catalogue.Add(name);
    }

    // Clustered records, so that many symbols overlap; after every round of random inserts,
    // removals and moves, the records at random pixels are those a plain pass finds, in the
    // click's order, and the first is the one the click's hit test takes.
    void recordsUnderThePixelAfterRandomEdits_data()
    {
        QTest::addColumn<int>("pixelRight");
        QTest::addColumn<int>("pixelBottom");
        QTest::addColumn<int>("reach");
        QTest::addColumn<bool>("filtered");
        QTest::addColumn<bool>("locked");
        QTest::newRow("square pixels") << 400 << 400 << 6 << false << false;
        QTest::newRow("wide pixels, large reach") << 400 << 90 << 12 << false << false;
        QTest::newRow("tall pixels, exact hit only") << 70 << 500 << 0 << false << false;
        QTest::newRow("airbases hidden, odd records filtered") << 400 << 400 << 6 << true << false;
        QTest::newRow("SAM sites locked") << 400 << 400 << 6 << false << true;
    }
    void recordsUnderThePixelAfterRandomEdits()
    {
        QFETCH(int, pixelRight);
        QFETCH(int, pixelBottom);
        QFETCH(int, reach);
        QFETCH(bool, filtered);
        QFETCH(bool, locked);
        CCampaignSession session(m_catalogue, m_types, TextFormat());
        const CPointerInspector inspector(session);
        // Terrain 0..8192 each way; record Z from -4096 at the top to 4096 at the bottom.
        const CViewport view(0, 0, 8192, 8192, 0, 0, pixelRight, pixelBottom, 1, 1, pixelRight + 1, pixelBottom + 1);
        SymbolChoice choice;
        choice.Reach = reach;
        if (filtered) {
            choice.Pickable = {true, false, true};
            choice.Takes = [](RecordKind, int index) { return index % 2 == 0; };
        }
        SymbolChoice lockedChoice = choice;
        if (locked) {
            choice.Pickable = {true, true, false};
            choice.Locked = lockedChoice.Pickable = {false, false, true};
        }
        CBINFile& document = session.MutableRecords();
        QRandomGenerator random(24);
        const auto position = [&random] {
            // Mostly in a cluster, some anywhere, a few off the view.
            const int spread = random.bounded(10) < 7 ? 600 : 9000;
            return std::pair(float(3000 + random.bounded(spread) - spread / 10), float(random.bounded(spread) - 300));
        };
        int withSeveral = 0;
        for (int round = 0; round < 12; ++round) {
            for (int edit = 0; edit < 40; ++edit) {
                const auto [x, z] = position();
                switch (random.bounded(7)) {
                case 0:
                    document.InsertRows(random.bounded(document.KeysiteCount() + 1),
                                        std::vector{CKeysitePlacement{-1, x, z}});
                    break;
                case 1:
                    document.InsertRows(random.bounded(document.AirbaseCount() + 1),
                                        std::vector{CAirbasePlacement{x, z, 0}});
                    break;
                case 2:
                case 3:
                    document.InsertRows(random.bounded(document.SamCount() + 1), std::vector{CSAMPlacement{x, z}});
                    break;
                case 4:
                    if (document.SamCount() > 0)
                        document.RemoveRows<CSAMPlacement>(random.bounded(document.SamCount()), 1);
                    break;
                case 5:
                    if (document.KeysiteCount() > 0)
                        document.ReplaceRow(random.bounded(document.KeysiteCount()), CKeysitePlacement{-1, x, z});
                    break;
                default:
                    if (document.AirbaseCount() > 0)
                        document.RemoveRows<CAirbasePlacement>(random.bounded(document.AirbaseCount()), 1);
                }
            }
            for (int probe = 0; probe < 60; ++probe) {
                // Mostly around the cluster, where symbols overlap.
                int32_t column = random.bounded(pixelRight + 1);
                int32_t row = random.bounded(pixelBottom + 1);
                if (probe % 3 != 0) {
                    view.MapToPixel(float(3000 + random.bounded(600) - 60), float(random.bounded(600) - 300), column,
                                    row);
                    column += random.bounded(-2, 3);
                    row += random.bounded(-2, 3);
                }
                std::vector<PointerRecord> expected = ScanNear(document, view, choice, column, row);
                const size_t taken = expected.size();
                if (locked) {
                    // Then the locked kind's, marked.
                    for (PointerRecord record : ScanNear(document, view, lockedChoice, column, row)) {
                        record.Locked = true;
                        expected.push_back(record);
                    }
                }
                const PointerFacts facts = inspector.Inspect(view, nullptr, choice, column, row);
                QVERIFY2(facts.Records == expected,
                         qPrintable(QStringLiteral("round %1 at %2, %3: %4 records, %5 expected")
                                        .arg(round)
                                        .arg(column)
                                        .arg(row)
                                        .arg(facts.Records.size())
                                        .arg(expected.size())));
                const auto clicked = SymbolAt(document, view, choice.Pickable, reach, column, row, choice.Takes);
                QCOMPARE(clicked.has_value(), taken > 0);
                if (clicked) {
                    QCOMPARE(facts.Records.front().Kind, clicked->Kind);
                    QCOMPARE(facts.Records.front().Index, clicked->Index);
                }
                withSeveral += facts.Records.size() > 1;
            }
        }
        // The probes met overlapping symbols, or the comparison proved little.
        if (reach > 0)
            QVERIFY(withSeveral > 20);
    }

    // Height as the heights picture samples it: record Z turned into terrain Z, nothing outside
    // [0, extent) although the grid's own lookup would take a little below 0 into cell 0.
    void heightUnderThePoint_data()
    {
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("z");
        QTest::addColumn<float>("height");
        QTest::addColumn<bool>("inside");
        // Half sector count 1: terrain Z = 4096 - record Z.
        QTest::newRow("corner at the bottom left") << 0.0f << 4096.0f << 0.0f << true;
        QTest::newRow("a cell in the middle") << 1100.0f << 2000.0f << float(4 * 100 + 2) << true;
        QTest::newRow("top right cell") << 8191.0f << -4095.0f << float(15 * 100 + 15) << true;
        QTest::newRow("right edge") << 8192.0f << 0.0f << 0.0f << false;
        QTest::newRow("top edge") << 100.0f << -4096.0f << 0.0f << false;
        QTest::newRow("just left of the terrain") << -0.5f << 0.0f << 0.0f << false;
        QTest::newRow("just below the terrain") << 100.0f << 4096.5f << 0.0f << false;
        QTest::newRow("not a number") << std::nanf("") << 0.0f << 0.0f << false;
    }
    void heightUnderThePoint()
    {
        QFETCH(float, x);
        QFETCH(float, z);
        QFETCH(float, height);
        QFETCH(bool, inside);
        const CMap map = TestTerrain(16, 4, [](int column, int row) { return float(row * 100 + column); });
        const std::optional<float> found = TerrainHeightAt(map, 1, x, z);
        QCOMPARE(found.has_value(), inside);
        if (inside)
            QCOMPARE(*found, height);
        CMap empty;
        QVERIFY(!TerrainHeightAt(empty, 1, 10, 10));
    }

    // The faction only with a faction layer, "No faction" off its grid, no height off the terrain.
    void positionText()
    {
        QCOMPARE(PositionText({12345.9f, 6789.2f, 3, 1, false, -1, 345.7f, {}}),
                 QStringLiteral("X 12345  Z 6789 · Sector 3, 1 · Height 345"));
        QCOMPARE(PositionText({100, 200, 0, 0, true, 1, -12.5f, {}}),
                 QStringLiteral("X 100  Z 200 · Sector 0, 0 · Red · Height -12"));
        QCOMPARE(PositionText({-0.5f, -5000, -1, -2, true, -1, std::nullopt, {}}),
                 QStringLiteral("X 0  Z -5000 · Sector -1, -2 · No faction · Height —"));
    }

    void recordTexts()
    {
        CBINFile document(&m_catalogue, &m_types);
        CPopTemplate village;
        village.TypeCode = m_types.Rows().at(1).Code;
        document.InsertRows(0, std::vector{village});
        document.InsertRows(0, std::vector{CKeysitePlacement{0, 1, 1}, CKeysitePlacement{-1, 2, 2}});
        const int32_t odd = m_catalogue.ExactIndexOf("<odd & name>");
        QVERIFY(odd >= 0);
        document.InsertRows(0, std::vector{CAirbasePlacement{1, 1, odd}, CAirbasePlacement{1, 1, -1}});
        document.InsertRows(0, std::vector<CSAMPlacement>(13));
        const QString type = QString::fromLatin1(m_types.Rows().at(1).Text.c_str());

        QCOMPARE(RecordsText(document, {}), QString());
        QCOMPARE(RecordsText(document, {{SamKind, 12}}), QStringLiteral("SAM site 12"));
        QCOMPARE(RecordsText(document, {{AirbaseKind, 0}}), QStringLiteral("Airbase 0 (<odd & name>)"));
        QCOMPARE(RecordsText(document, {{AirbaseKind, 1}}), QStringLiteral("Airbase 1 (INVALID_OBJECT)"));
        QCOMPARE(RecordsText(document, {{KeysiteKind, 0}}), QStringLiteral("Keysite 0 (template 0, %1)").arg(type));
        QCOMPARE(RecordsText(document, {{KeysiteKind, 1}}), QStringLiteral("Keysite 1 (no template)"));
        // Nearest first, the others counted.
        QCOMPARE(RecordsText(document, {{AirbaseKind, 0}, {SamKind, 3}}),
                 QStringLiteral("Airbase 0 (<odd & name>) · +1 more"));
        QCOMPARE(RecordsText(document, {{SamKind, 3}, {KeysiteKind, 1}, {SamKind, 4}, {AirbaseKind, 1}}),
                 QStringLiteral("SAM site 3 · +3 more"));
        // A record of a locked kind says so.
        QCOMPARE(RecordsText(document, {{AirbaseKind, 1, true}}), QStringLiteral("Airbase 1 (INVALID_OBJECT), locked"));
    }

    // The held keys' meanings come first and, as rich text, in bold; keys no meaning needs
    // together change nothing.
    void heldKeysComeFirst()
    {
        const std::vector<ToolHint> select = ToolHints(MapToolMode::Select);
        QVERIFY(HintsText(select, HintShift).startsWith(QStringLiteral("Shift+click: centre · Click: select · ")));
        QVERIFY(HintsText(select, HintControl)
                    .startsWith(QStringLiteral("Ctrl+drag: box · Ctrl+arrows: nudge · Click: select · ")));
        QCOMPARE(HintsText(select, HintControl | HintShift), HintsText(select));
        const QString rich = HintsRichText(ToolHints(MapToolMode::Ruler), HintShift);
        QVERIFY2(rich.startsWith(QStringLiteral("<b>Shift: snap to symbols</b> · Drag: measure")), qPrintable(rich));
        QCOMPARE(rich.count(QLatin1String("<b>")), 1);
        QVERIFY(!HintsRichText(ToolHints(MapToolMode::Ruler)).contains(QLatin1String("<b>")));
        // Whole hints only, held keys' first, as many as the room takes; the first one always.
        const auto length = [](const QString& text, bool bold) { return int(text.size()) + (bold ? 1 : 0); };
        const std::vector<ToolHint> ruler = ToolHints(MapToolMode::Ruler);
        QCOMPARE(HintsText(HintsThatFit(ruler, 0, 3, length)), QStringLiteral("Drag: measure"));
        const int two = int(QStringLiteral("Drag: measure · Shift: snap to symbols").size());
        QCOMPARE(HintsText(HintsThatFit(ruler, 0, two, length)),
                 QStringLiteral("Drag: measure · Shift: snap to symbols"));
        QCOMPARE(HintsText(HintsThatFit(ruler, 0, two - 1, length)), QStringLiteral("Drag: measure"));
        // Bold is wider: the same room no longer takes the second.
        QCOMPARE(HintsText(HintsThatFit(ruler, HintShift, two + 1, length), HintShift),
                 QStringLiteral("Shift: snap to symbols · Drag: measure"));
        QCOMPARE(HintsThatFit(ruler, HintShift, two, length).size(), size_t(1));
        QCOMPARE(HintsThatFit(ruler, 0, 100000, length).size(), ruler.size());
        // Place mode names the record and how to leave.
        QCOMPARE(HintsText(ToolHints(MapToolMode::Brush, PlacedRecord{SamKind, 7})),
                 QStringLiteral("Click: place SAM site 7 here · Right-click: cancel"));
    }
};

QTEST_GUILESS_MAIN(TestPointerStatus)
#include "tst_pointerstatus.moc"
