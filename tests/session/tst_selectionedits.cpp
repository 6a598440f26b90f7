// The selection across keysites, airbases and SAM sites, and what acts on it: moving it as one
// edit (nudges in a run merged into one), Select similar and Select within distance, each checked
// against a plain count over the records.
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/recordlists.h"
#include "session/campaignsession.h"
#include "session/moveedit.h"
#include "session/similarrecords.h"

#include <QRandomGenerator>
#include <QTest>
#include <cmath>
#include <limits>

namespace {

using Placements = CCampaignSession::Placements;

struct Fixture {
    C3DObjectsList Catalogue{QLocale::c()};
    CPopTemplatesTypesList Types;
    CCampaignSession Session{Catalogue, Types, TextFormat{}};

    template <typename Record>
    void Add(std::vector<Record> values)
    {
        auto* edit = new CRecordEdit(Session, QStringLiteral("Add"));
        edit->Add(InsertRecords(0, std::move(values)));
        Session.Push(CEditHistory::MapBin, edit);
    }
    // Two templates; keysites on templates 0, 1, 0, -1; airbases of objects 5, 6, 5; SAM sites
    // along the X axis, 100 apart, the last without a position.
    void Fill()
    {
        Add(std::vector<CPopTemplate>(2));
        Add(std::vector<CKeysitePlacement>{{0, 0, 0}, {1, 10, 0}, {0, 20, 0}, {-1, 30, 0}});
        Add(std::vector<CAirbasePlacement>{{0, 50, 5}, {0, 60, 6}, {0, 70, 5}});
        const float nan = std::numeric_limits<float>::quiet_NaN();
        Add(std::vector<CSAMPlacement>{{0, 100}, {100, 100}, {200, 100}, {nan, 100}});
        Session.History().Reset(CEditHistory::MapBin);
    }
    void Move(const Placements& records, float dx, float dz, bool nudge)
    {
        Session.Push(CEditHistory::MapBin, new CMoveEdit(Session, records, dx, dz, nudge));
    }
    QList<float> SamXs() const
    {
        QList<float> xs;
        for (const CSAMPlacement& sam : Session.Records().Sams())
            xs << sam.X;
        return xs;
    }
};

} // namespace

class TestSelectionEdits : public QObject {
    Q_OBJECT
private slots:
    void selectionAcrossKinds()
    {
        Fixture f;
        f.Fill();
        f.Session.SelectPlacements({{{0, 2}, {}, {1}}});
        QCOMPARE(f.Session.SelectedPlacements(), (Placements{{{0, 2}, {}, {1}}}));
        QVERIFY(f.Session.HasSelectedPlacements());
        f.Session.SelectPlacements({{{}, {1}, {}}}, true);
        QCOMPARE(f.Session.SelectedPlacements(), (Placements{{{0, 2}, {1}, {1}}}));
        f.Session.ToggleSelected(KeysiteKind, 2);
        f.Session.ToggleSelected(SamKind, 3);
        QCOMPARE(f.Session.SelectedPlacements(), (Placements{{{0}, {1}, {1, 3}}}));
        f.Session.ClearOtherPlacements(RecordList::Sams);
        QCOMPARE(f.Session.SelectedPlacements(), (Placements{{{}, {}, {1, 3}}}));
        f.Session.SelectPlacements({});
        QVERIFY(!f.Session.HasSelectedPlacements());
    }

    void moveIsOneEditUndoneExactly()
    {
        Fixture f;
        f.Fill();
        const QList<float> before = f.SamXs();
        const float keysiteZ = f.Session.Records().Keysites()[1].Z;
        // An offset whose sum does not give the first value back when taken away again.
        const float dx = 0.1f;
        f.Move({{{1}, {}, {0, 1, 3}}}, dx, 0.3f, false);
        QCOMPARE(f.Session.History().UndoText(), QStringLiteral("Move 3 records"));
        QCOMPARE(f.Session.Records().Sams()[1].X, before[1] + dx);
        QVERIFY(std::isnan(f.Session.Records().Sams()[3].X)); // a position that is no number stays
        QCOMPARE(f.Session.Records().Keysites()[1].TemplateNumber, 1);
        f.Session.SelectPlacements({});
        f.Session.History().Undo();
        const QList<float> after = f.SamXs();
        for (int i = 0; i < 3; ++i)
            QCOMPARE(after[i], before[i]);
        QCOMPARE(f.Session.Records().Keysites()[1].Z, keysiteZ);
        // The undo selects the moved records again.
        QCOMPARE(f.Session.SelectedPlacements(), (Placements{{{1}, {}, {0, 1, 3}}}));
        QVERIFY(!f.Session.IsModified(CEditHistory::MapBin));

        f.Move({{{}, {}, {2}}}, 5, 0, false);
        QCOMPARE(f.Session.History().UndoText(), QStringLiteral("Move 1 SAM site"));
    }

    void nudgesInARunAreOneEdit()
    {
        Fixture f;
        f.Fill();
        const Placements sams{{{}, {}, {0, 1}}};
        const float x0 = f.Session.Records().Sams()[0].X;
        for (int i = 0; i < 5; ++i)
            f.Move(sams, 2, 0, true);
        QCOMPARE(f.Session.History().Stack(CEditHistory::MapBin).count(), 1);
        QCOMPARE(f.Session.Records().Sams()[0].X, x0 + 10);
        // Other records, or a drag, start an edit of their own.
        f.Move({{{}, {}, {0}}}, 2, 0, true);
        f.Move(sams, 2, 0, false);
        f.Move(sams, 2, 0, true);
        QCOMPARE(f.Session.History().Stack(CEditHistory::MapBin).count(), 4);
        for (int i = 0; i < 4; ++i)
            f.Session.History().Undo();
        QCOMPARE(f.Session.Records().Sams()[0].X, x0);
        QVERIFY(!f.Session.IsModified(CEditHistory::MapBin));
    }

    void similarRecords()
    {
        Fixture f;
        f.Fill();
        QCOMPARE(SimilarRecords(f.Session.Records(), {{{2}, {}, {}}}), (Placements{{{0, 2}, {}, {}}}));
        QCOMPARE(SimilarRecords(f.Session.Records(), {{{3}, {1}, {}}}), (Placements{{{3}, {1}, {}}}));
        QCOMPARE(SimilarRecords(f.Session.Records(), {{{}, {0}, {2}}}), (Placements{{{}, {0, 2}, {0, 1, 2, 3}}}));
        QCOMPARE(SimilarRecords(f.Session.Records(), {}), Placements{});
    }

    // Random records against a plain count of the distances.
    void recordsWithinADistance()
    {
        Fixture f;
        QRandomGenerator random(7);
        const auto coordinate = [&] { return float(random.bounded(2000.0) - 1000.0); };
        std::vector<CKeysitePlacement> keysites(300);
        for (auto& keysite : keysites)
            keysite = {-1, coordinate(), coordinate()};
        std::vector<CSAMPlacement> sams(300);
        for (auto& sam : sams)
            sam = {coordinate(), coordinate()};
        f.Add(keysites);
        f.Add(sams);
        const Placements selected{{{3, 50, 200}, {}, {7, 8}}};
        for (const double distance : {0.0, 40.0, 150.0, 5000.0}) {
            Placements expected;
            const auto near = [&](float x, float z) {
                for (const int k : selected[KeysiteKind]) {
                    const auto& s = keysites[size_t(k)];
                    if (std::hypot(double(s.X) - x, double(s.Z) - z) <= distance)
                        return true;
                }
                for (const int k : selected[SamKind]) {
                    const auto& s = sams[size_t(k)];
                    if (std::hypot(double(s.X) - x, double(s.Z) - z) <= distance)
                        return true;
                }
                return false;
            };
            for (int i = 0; i < 300; ++i) {
                if (near(keysites[size_t(i)].X, keysites[size_t(i)].Z))
                    expected[KeysiteKind].push_back(i);
            }
            const Placements within = RecordsWithin(f.Session.Records(), selected, distance, {true, false, false});
            QCOMPARE(within, expected);
            QVERIFY(within[KeysiteKind].size() >= 3);
        }
        QCOMPARE(RecordsWithin(f.Session.Records(), selected, std::nan(""), {true, true, true}), Placements{});
    }
};

QTEST_GUILESS_MAIN(TestSelectionEdits)
#include "tst_selectionedits.moc"
