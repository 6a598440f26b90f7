// The session's record index follows edits, undo and redo: held against a plain pass over every
// record after a random history of inserts, removals and moves, undone and redone at random.
#include "../document/indexscan.h"
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "session/campaignsession.h"
#include "session/recordindexer.h"

#include <QTest>
#include <random>

namespace {

struct Fixture {
    C3DObjectsList Catalogue{QLocale::c()};
    CPopTemplatesTypesList Types;
    CCampaignSession Session{Catalogue, Types, TextFormat{}};
    CRecordIndexer Indexer{Session};
    std::mt19937 Random{2024};

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(Random); }
    float Coordinate() { return float(Pick(-400, 400)); }

    void Push(std::unique_ptr<CRecordChange> change)
    {
        auto* edit = new CRecordEdit(Session, QStringLiteral("Edit"));
        edit->Add(std::move(change));
        Session.Push(CEditHistory::MapBin, edit);
    }

    // One edit of a random kind, or an undo or a redo.
    void Step()
    {
        const CBINFile& records = Session.Records();
        switch (Pick(0, 9)) {
        case 0:
            Push(InsertRecords(Pick(0, records.SamCount()),
                               std::vector<CSAMPlacement>(size_t(Pick(1, 3)), {Coordinate(), Coordinate()})));
            break;
        case 1:
            if (records.SamCount() > 0)
                Push(RemoveRecords<CSAMPlacement>(Pick(0, records.SamCount() - 1), 1));
            break;
        case 2:
            if (records.SamCount() > 0)
                Push(ReplaceRecord(Pick(0, records.SamCount() - 1), CSAMPlacement{Coordinate(), Coordinate()}));
            break;
        case 3:
            Push(InsertRecords(Pick(0, records.AirbaseCount()),
                               std::vector{CAirbasePlacement{Coordinate(), Coordinate(), -1}}));
            break;
        case 4:
            if (records.AirbaseCount() > 0)
                Push(ReplaceRecord(Pick(0, records.AirbaseCount() - 1),
                                   CAirbasePlacement{Coordinate(), Coordinate(), -1}));
            break;
        case 5:
            Push(InsertRecords(Pick(0, records.KeysiteCount()),
                               std::vector{CKeysitePlacement{-1, Coordinate(), Coordinate()}}));
            break;
        case 6:
            if (records.KeysiteCount() > 1)
                Push(RemoveRecords<CKeysitePlacement>(Pick(0, records.KeysiteCount() - 2), 2));
            break;
        case 7:
        case 8: Session.History().Undo(); break;
        case 9: Session.History().Redo(); break;
        }
    }
};

} // namespace

class TestRecordIndexer : public QObject {
    Q_OBJECT
private slots:
    void followsEditsUndoAndRedo()
    {
        Fixture f;
        for (int step = 0; step < 2000; ++step) {
            f.Step();
            const double x = f.Pick(-450, 450);
            const double z = f.Pick(-450, 450);
            const double reach = f.Pick(0, 250);
            const CRecordIndex& index = f.Indexer.Index();
            QCOMPARE(index.Near(x, z, reach), indexscan::Near(f.Session.Records(), x, z, reach));
            QCOMPARE(index.InRectangle(x - reach, z, x, z + reach),
                     indexscan::InRectangle(f.Session.Records(), x - reach, z, x, z + reach));
        }
    }

    // A new document is another set of records: nothing of the old one is found.
    void newDocumentForgetsTheOld()
    {
        Fixture f;
        f.Push(InsertRecords(0, std::vector<CSAMPlacement>{{1, 1}, {2, 2}}));
        QCOMPARE(f.Indexer.Index().Near(1, 1, 5).size(), size_t(2));
        f.Session.NewMapBin();
        QVERIFY(f.Indexer.Index().Near(1, 1, 5).empty());
    }
};

QTEST_GUILESS_MAIN(TestRecordIndexer)
#include "tst_recordindexer.moc"
