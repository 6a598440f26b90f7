// The problems panel's findings follow the session through edits, undo and redo, always equal
// to a full check; each quick fix is one step of the history, and undoing it gives the records
// back exactly.
#include "../dialogs/scriptedprompts.h"
#include "catalogues/templatetypes.h"
#include "dialogs/objectpicker.h"
#include "problems/problemsmodel.h"
#include "problems/quickfixes.h"
#include "session/campaignsession.h"

#include <QItemSelectionModel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <random>

namespace {

struct Session {
    Session()
    {
        for (const char* name : {"TANK", "HOUSE", "TOWER"})
            Catalogue.Add(name);
    }
    C3DObjectsList Catalogue{QLocale::c()};
    CPopTemplatesTypesList Types;
    CCampaignSession Records{Catalogue, Types, TextFormat{}};
};

// One random edit of the session's document, pushed onto its history: always one the document
// takes (keysites name templates that exist, only unused templates are deleted).
class CRandomSessionEdits {
public:
    explicit CRandomSessionEdits(unsigned seed) : m_random(seed) { }

    void Push(CCampaignSession& session)
    {
        const CBINFile& doc = session.Records();
        auto* edit = new CRecordEdit(session, QStringLiteral("edit"));
        const int templates = doc.TemplateCount();
        switch (Pick(0, 9)) {
        case 0:
            edit->Add(InsertRecords(Pick(0, templates),
                                    std::vector{CPopTemplate{1, Pick(-2, 4), -2, -2, 0, {{1, 2, 0, Pick(-1, 3)}}}}));
            break;
        case 1: {
            const auto unused = std::find_if(doc.Templates().begin(), doc.Templates().end(),
                                             [](const CPopTemplate& t) { return t.HasNoUsers(); });
            if (unused != doc.Templates().end())
                edit->Add(RemoveRecords<CPopTemplate>(int(unused - doc.Templates().begin()), 1));
            break;
        }
        case 2:
            if (templates > 0)
                edit->Add(
                    InsertRecords(0, std::vector{CThreeDObject{Spot(), 0, 0, Pick(-1, 4)}}, Pick(0, templates - 1)));
            break;
        case 3:
            edit->Add(InsertRecords(Pick(0, doc.KeysiteCount()),
                                    std::vector{CKeysitePlacement{Pick(-1, templates - 1), Spot(), Spot()}}));
            break;
        case 4:
            if (doc.KeysiteCount() > 0)
                edit->Add(RemoveRecords<CKeysitePlacement>(Pick(0, doc.KeysiteCount() - 1), 1));
            break;
        case 5:
            if (doc.KeysiteCount() > 0)
                edit->Add(ReplaceRecord(Pick(0, doc.KeysiteCount() - 1),
                                        CKeysitePlacement{Pick(-1, templates - 1), Spot(), Spot()}));
            break;
        case 6: // two changes in one edit
            edit->Add(InsertRecords(Pick(0, doc.SamCount()), std::vector{CSAMPlacement{Spot(), Spot()}}));
            edit->Add(InsertRecords(0, std::vector{CAirbasePlacement{Spot(), Spot(), Pick(-2, 4)}}));
            break;
        case 7:
            if (doc.SamCount() > 0)
                edit->Add(ReplaceRecord(Pick(0, doc.SamCount() - 1), CSAMPlacement{Spot(), Spot()}));
            break;
        case 8:
            if (doc.SamCount() > 1)
                edit->Add(RemoveRecords<CSAMPlacement>(Pick(0, doc.SamCount() - 2), 2));
            break;
        default:
            if (doc.AirbaseCount() > 0)
                edit->Add(RemoveRecords<CAirbasePlacement>(Pick(0, doc.AirbaseCount() - 1), 1));
        }
        if (edit->IsEmpty())
            delete edit;
        else
            session.Push(CEditHistory::MapBin, edit);
    }

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

private:
    float Spot() { return Pick(0, 30) == 0 ? std::numeric_limits<float>::quiet_NaN() : float(Pick(0, 3)) * 10; }

    std::mt19937 m_random;
};

std::vector<Finding> FullCheck(const Session& session)
{
    const CBINFile& doc = session.Records.Records();
    const std::vector<uint8_t> known = CatalogueNames(session.Catalogue);
    CheckSettings settings;
    settings.CheckNames = true;
    settings.KnownNames = known;
    return CheckRecords({doc.Templates(), doc.Keysites(), doc.Airbases(), doc.Sams()}, settings);
}

int CountOf(const CProblemsModel& model, FindingKind kind)
{
    const std::vector<Finding> all = model.Checks().Findings();
    return int(std::count_if(all.begin(), all.end(), [kind](const Finding& f) { return f.Kind == kind; }));
}

// The first finding of a kind, as the panel lists it.
Finding FirstOf(const CProblemsModel& model, FindingKind kind)
{
    for (const Finding& finding : model.Checks().Findings()) {
        if (finding.Kind == kind)
            return finding;
    }
    qFatal("no finding of that kind");
}

} // namespace

class TestProblemsModel : public QObject {
    Q_OBJECT

private slots:
    void followsEditsUndoAndRedo_data()
    {
        QTest::addColumn<unsigned>("seed");
        for (unsigned seed = 11; seed <= 14; ++seed)
            QTest::addRow("seed %u", seed) << seed;
    }
    void followsEditsUndoAndRedo()
    {
        QFETCH(unsigned, seed);
        Session session;
        CProblemsModel model(session.Records);
        CRandomSessionEdits edits(seed);
        for (int step = 0; step < 800; ++step) {
            switch (edits.Pick(0, 5)) {
            case 0: session.Records.History().Undo(); break;
            case 1: session.Records.History().Redo(); break;
            default: edits.Push(session.Records);
            }
            QVERIFY2(model.Checks().Findings() == FullCheck(session), qPrintable(QString::number(step)));
        }
        while (session.Records.History().CanUndo()) // all the way back
            session.Records.History().Undo();
        QVERIFY(session.Records.Records().Sams().empty());
        QVERIFY(model.Checks().Findings() == FullCheck(session));
        // The tree is laid out once the event loop turns; its groups count what the checks hold.
        QTRY_COMPARE(model.FindingCount(), int(FullCheck(session).size()));
    }

    // The tree's groups: problems first, each group counting its findings, notes last.
    void groupsByKindProblemsFirst()
    {
        Session session;
        CProblemsModel model(session.Records);
        CRecordEdit* edit = new CRecordEdit(session.Records, QStringLiteral("edit"));
        edit->Add(InsertRecords(0, std::vector<CPopTemplate>(2, CPopTemplate{1, -2, -2, -2, 0, {}})));
        edit->Add(InsertRecords(0, std::vector<CSAMPlacement>(3, CSAMPlacement{1, 1})));
        session.Records.Push(CEditHistory::MapBin, edit);
        model.Settle();
        QStringList groups;
        for (int row = 0; row < model.rowCount(); ++row)
            groups << model.index(row, 0).data().toString();
        QCOMPARE(groups,
                 (QStringList{QStringLiteral("Templates without objects (2)"),
                              QStringLiteral("Records at the same position (2)"),
                              QStringLiteral("Templates no keysite uses (2)")}));
        QCOMPARE(model.ProblemCount(), 4);
        QCOMPARE(model.index(0, 0, model.index(1, 0)).data().toString(),
                 QStringLiteral("SAM 1: lies at the same position as SAM 0"));
    }

    // Each fix is one step: undoing it gives back the very records it changed.
    void quickFixesAreOneUndoStep_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("unused template deleted") << int(FindingKind::Unused);
        QTest::newRow("unknown name of a template object chosen") << int(FindingKind::UnknownName);
    }
    void quickFixesAreOneUndoStep()
    {
        QFETCH(int, kind);
        Session session;
        CProblemsModel model(session.Records);
        CScriptedPrompts prompts;
        CQuickFixes fixes(session.Records, session.Catalogue, prompts, nullptr);
        auto* edit = new CRecordEdit(session.Records, QStringLiteral("set up"));
        edit->Add(InsertRecords(0,
                                std::vector{CPopTemplate{1, 0, -2, -2, 0, {{0, 0, 0, 1}, {5, 5, 0, -1}}},
                                            CPopTemplate{2, 1, -2, -2, 0, {{0, 0, 0, 2}}}}));
        edit->Add(InsertRecords(0, std::vector{CKeysitePlacement{0, 10, 10}}));
        session.Records.Push(CEditHistory::MapBin, edit);
        const QByteArray before = session.Records.Records().SaveBytes(true);
        const int steps = session.Records.History().Stack(CEditHistory::MapBin).count();
        const auto findingKind = FindingKind(kind);
        QCOMPARE(CountOf(model, findingKind), 1);

        // The picker is answered with the catalogue's "TOWER", as a user picks it.
        prompts.Drivers.enqueue(CScriptedPrompts::Drive<TfrmSelect3DObject>([](TfrmSelect3DObject& picker) {
            picker.findChild<QListWidget*>(QStringLiteral("lbObjects"))->setCurrentRow(2);
            picker.findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
        }));
        QVERIFY(fixes.Apply(FirstOf(model, findingKind)));
        QCOMPARE(CountOf(model, findingKind), 0);
        QCOMPARE(session.Records.History().Stack(CEditHistory::MapBin).count(), steps + 1);
        if (findingKind == FindingKind::UnknownName)
            QCOMPARE(session.Records.Records().Objects(0)[1].ObjectIndex, 2);
        else
            QCOMPARE(session.Records.Records().TemplateCount(), 1);
        session.Records.History().Undo();
        QCOMPARE(session.Records.Records().SaveBytes(true), before);
        QCOMPARE(CountOf(model, findingKind), 1);
    }

    // A cancelled picker, or a template that gained a user since, changes nothing.
    void declinedFixChangesNothing()
    {
        Session session;
        CProblemsModel model(session.Records);
        CScriptedPrompts prompts; // no driver: the picker is cancelled
        CQuickFixes fixes(session.Records, session.Catalogue, prompts, nullptr);
        auto* edit = new CRecordEdit(session.Records, QStringLiteral("set up"));
        edit->Add(InsertRecords(0, std::vector{CAirbasePlacement{1, 1, -1}}));
        edit->Add(InsertRecords(0, std::vector{CPopTemplate{1, 0, -2, -2, 0, {{0, 0, 0, 1}}}}));
        session.Records.Push(CEditHistory::MapBin, edit);
        const Finding unused = FirstOf(model, FindingKind::Unused);
        QVERIFY(!fixes.Apply(FirstOf(model, FindingKind::UnknownName)));
        auto* use = new CRecordEdit(session.Records, QStringLiteral("use"));
        use->Add(InsertRecords(0, std::vector{CKeysitePlacement{0, 3, 3}}));
        session.Records.Push(CEditHistory::MapBin, use);
        QVERIFY(!fixes.Apply(unused));
        QCOMPARE(session.Records.History().Stack(CEditHistory::MapBin).count(), 2);
        QCOMPARE(session.Records.Records().TemplateCount(), 1);
    }

    // Two records at one position: both selected, and nothing in the history.
    void sharedPositionSelectsBoth()
    {
        Session session;
        CProblemsModel model(session.Records);
        CScriptedPrompts prompts;
        CQuickFixes fixes(session.Records, session.Catalogue, prompts, nullptr);
        auto* edit = new CRecordEdit(session.Records, QStringLiteral("set up"));
        edit->Add(InsertRecords(0, std::vector<CSAMPlacement>{{1, 1}, {2, 2}, {3, 3}, {1, 1}}));
        session.Records.Push(CEditHistory::MapBin, edit);
        QVERIFY(fixes.Apply(FirstOf(model, FindingKind::SharedPosition)));
        QCOMPARE(session.Records.SelectedRecords(RecordList::Sams), (std::vector<int>{0, 3}));
        QCOMPARE(session.Records.History().Stack(CEditHistory::MapBin).count(), 1);
    }
};

QTEST_MAIN(TestProblemsModel)
#include "tst_problemsmodel.moc"
