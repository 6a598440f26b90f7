// The campaign session: what each edit, undo and redo announces, the modified state of both
// documents following their histories' clean states, and the selection following its records.
#include "../factions/layeredbuilder.h"
#include "../testfiles.h"
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/recordtablemodel.h"
#include "factions/factionsinfo.h"
#include "session/campaignsession.h"

#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(RecordRows)

namespace {

struct Fixture {
    C3DObjectsList Catalogue{QLocale::c()};
    CPopTemplatesTypesList Types;
    CCampaignSession Session{Catalogue, Types, TextFormat{}};
    QTemporaryDir Dir;

    // `count` SAM sites at x = 0, 1, 2, ... as one edit.
    void AddSams(int row, int count, float firstX = 0)
    {
        std::vector<CSAMPlacement> sams;
        for (int i = 0; i < count; ++i)
            sams.push_back({firstX + float(i), 0});
        Push(QStringLiteral("Add"), InsertRecords(row, std::move(sams)));
    }
    void Push(const QString& text, std::unique_ptr<CRecordChange> change)
    {
        auto* edit = new CRecordEdit(Session, text);
        edit->Add(std::move(change));
        Session.Push(CEditHistory::MapBin, edit);
    }
    // The X of the selected SAM sites: who they are, whatever their rows.
    QList<float> SelectedSams() const
    {
        QList<float> xs;
        for (int row : Session.SelectedRecords(RecordList::Sams))
            xs << Session.Records().Sams()[size_t(row)].X;
        return xs;
    }
    QString WriteFactionFile()
    {
        const QString path = Dir.filePath(QStringLiteral("f.SID"));
        const QByteArray sectors(4 * 4, '\0');
        if (!WriteFile(path, layered::Build(layered::Faction(4, 4, sectors))))
            qFatal("cannot write the faction file");
        return path;
    }
};

QString Describe(const RecordRows& rows)
{
    static const char* const hows[] = {"inserted", "removed", "changed", "reset"};
    return QStringLiteral("%1 %2 %3..%4")
        .arg(QLatin1String(hows[rows.How]))
        .arg(int(rows.List.List))
        .arg(rows.First)
        .arg(rows.Last);
}

QStringList Changes(const QSignalSpy& spy)
{
    QStringList list;
    for (const QList<QVariant>& call : spy)
        list << Describe(call.at(0).value<RecordRows>());
    return list;
}

} // namespace

class TestCampaignSession : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<RecordRows>(); }

    void EachEditUndoAndRedoAnnouncesWhatChanged()
    {
        Fixture f;
        f.AddSams(0, 3);
        QSignalSpy records(&f.Session, &CCampaignSession::RecordsChanged);
        QSignalSpy modified(&f.Session, &CCampaignSession::ModifiedChanged);
        QSignalSpy forward(&f.Session, &CCampaignSession::RowsBroughtForward);
        f.Session.History().MarkSaved(CEditHistory::MapBin);
        QCOMPARE(modified.count(), 1);
        QVERIFY(!f.Session.IsModified(CEditHistory::MapBin));

        f.Push(QStringLiteral("Edit SAM site"), ReplaceRecord(1, CSAMPlacement{50, 60}));
        QCOMPARE(Changes(records), QStringList{QStringLiteral("changed 4 1..1")});
        QCOMPARE(f.Session.Records().Sams()[1].X, 50.f);
        QCOMPARE(modified.count(), 2);
        QVERIFY(f.Session.IsModified(CEditHistory::MapBin));
        // The push's own result is shown by whoever pushed; undo and redo bring the rows forward.
        QCOMPARE(forward.count(), 0);

        records.clear();
        f.Session.History().Undo();
        QCOMPARE(Changes(records), QStringList{QStringLiteral("changed 4 1..1")});
        QCOMPARE(f.Session.Records().Sams()[1].X, 1.f);
        QVERIFY(!f.Session.IsModified(CEditHistory::MapBin));
        QCOMPARE(modified.count(), 3);
        QCOMPARE(forward.count(), 1);
        QCOMPARE(f.Session.SelectedRecords(RecordList::Sams), std::vector<int>{1});

        records.clear();
        f.Push(QStringLiteral("Delete 2 SAM sites"), RemoveRecords<CSAMPlacement>(0, 2));
        QCOMPARE(Changes(records), QStringList{QStringLiteral("removed 4 0..1")});
        records.clear();
        f.Session.History().Undo();
        f.Session.History().Redo();
        QCOMPARE(Changes(records), (QStringList{QStringLiteral("inserted 4 0..1"), QStringLiteral("removed 4 0..1")}));
        QCOMPARE(f.Session.Records().SamCount(), 1);

        // New: one reset, a fresh and unmodified history.
        records.clear();
        QSignalSpy files(&f.Session, &CCampaignSession::FileChanged);
        f.Session.NewMapBin();
        QCOMPARE(Changes(records), QStringList{QStringLiteral("reset 0 0..-1")});
        QCOMPARE(files.count(), 1);
        QVERIFY(!f.Session.History().CanUndo());
        QVERIFY(!f.Session.IsModified(CEditHistory::MapBin));
    }

    void AnEditTheDocumentRefusesIsNoStep()
    {
        Fixture f;
        f.Push(QStringLiteral("Add"), InsertRecords(0, std::vector{CPopTemplate{}}));
        f.Push(QStringLiteral("Add"), InsertRecords(0, std::vector{CKeysitePlacement{0, 1, 2}}));
        const int steps = f.Session.History().Stack(CEditHistory::MapBin).count();
        // The template is in use: the removal is refused, and nothing is left to undo for it.
        f.Push(QStringLiteral("Delete"), RemoveRecords<CPopTemplate>(0, 1));
        QCOMPARE(f.Session.History().Stack(CEditHistory::MapBin).count(), steps);
        QCOMPARE(f.Session.Records().TemplateCount(), 1);
        QCOMPARE(f.Session.History().UndoText(), QStringLiteral("Add"));
    }

    void ModifiedStateFollowsBothHistories()
    {
        Fixture f;
        QVERIFY(!f.Session.IsModified(CEditHistory::Factions));
        QString reason;
        QVERIFY2(f.Session.LoadFactions(f.WriteFactionFile(), &reason), qPrintable(reason));
        QSignalSpy sectors(&f.Session, &CCampaignSession::SectorsChanged);
        QSignalSpy modified(&f.Session, &CCampaignSession::ModifiedChanged);
        QCOMPARE(f.Session.Factions()->GetFaction(1, 1), 0);

        f.Session.Push(CEditHistory::Factions, new CFactionPaint(f.Session, 0, 0, 1, 1, 1));
        QCOMPARE(f.Session.Factions()->GetFaction(1, 1), 1);
        QCOMPARE(sectors.count(), 1);
        QCOMPARE(sectors.at(0), (QList<QVariant>{0, 0, 1, 1}));
        QVERIFY(f.Session.IsModified(CEditHistory::Factions));
        QVERIFY(!f.Session.IsModified(CEditHistory::MapBin));

        // Undo takes back the latest edit of either document.
        f.AddSams(0, 1);
        f.Session.History().Undo();
        QCOMPARE(f.Session.Records().SamCount(), 0);
        QVERIFY(f.Session.IsModified(CEditHistory::Factions));
        f.Session.History().Undo();
        QCOMPARE(f.Session.Factions()->GetFaction(1, 1), 0);
        QCOMPARE(sectors.count(), 2);
        QVERIFY(!f.Session.IsModified(CEditHistory::Factions));

        // Saved, then edited past the save and undone back to it.
        f.Session.History().Redo();
        const QString saved = f.Dir.filePath(QStringLiteral("saved.SID"));
        QVERIFY(f.Session.SaveFactions(saved, &reason));
        QCOMPARE(f.Session.FactionsPath(), saved);
        QVERIFY(!f.Session.IsModified(CEditHistory::Factions));
        f.Session.History().Undo();
        QVERIFY(f.Session.IsModified(CEditHistory::Factions));
        f.Session.History().Redo();
        QVERIFY(!f.Session.IsModified(CEditHistory::Factions));
        QVERIFY(modified.count() >= 4);

        // A recovered copy is modified until saved, and keeps the file it was a copy of.
        QVERIFY(f.Session.RestoreFactions(saved, QStringLiteral("/maps/original.SID"), &reason));
        QCOMPARE(f.Session.FactionsPath(), QStringLiteral("/maps/original.SID"));
        QVERIFY(f.Session.IsModified(CEditHistory::Factions));
        QVERIFY(!f.Session.History().CanUndo());
    }

    void SelectionFollowsItsRecords()
    {
        Fixture f;
        f.AddSams(0, 10);
        f.Session.SelectRecords(RecordList::Sams, 5, 6);
        QCOMPARE(f.SelectedSams(), (QList<float>{5, 6}));

        f.AddSams(0, 2, 100); // before it
        QCOMPARE(f.SelectedSams(), (QList<float>{5, 6}));
        QCOMPARE(f.Session.SelectedRecords(RecordList::Sams), (std::vector<int>{7, 8}));
        f.AddSams(12, 3, 200);                                                // after it
        f.Push(QStringLiteral("Delete"), RemoveRecords<CSAMPlacement>(0, 3)); // before it
        QCOMPARE(f.SelectedSams(), (QList<float>{5, 6}));
        f.Push(QStringLiteral("Delete"), RemoveRecords<CSAMPlacement>(10, 2)); // after it
        QCOMPARE(f.SelectedSams(), (QList<float>{5, 6}));
        QCOMPARE(f.Session.CurrentRecord(RecordList::Sams), 4);

        // Undo and redo of another list's rows leave it alone.
        f.Push(QStringLiteral("Add"), InsertRecords(0, std::vector{CKeysitePlacement{-1, 7, 7}}));
        f.Session.History().Undo();
        QCOMPARE(f.SelectedSams(), (QList<float>{5, 6}));
        f.Session.History().Redo();
        QCOMPARE(f.SelectedSams(), (QList<float>{5, 6}));
        // An undo in its own list selects the rows it brings back.
        f.Session.History().Undo();
        f.Session.History().Undo();
        QCOMPARE(f.SelectedSams(), (QList<float>{201, 202}));

        // Rows of its own that go take it with them.
        f.Session.SelectRecord(RecordList::Sams, 4);
        QCOMPARE(f.SelectedSams(), (QList<float>{5}));
        f.Push(QStringLiteral("Delete"), RemoveRecords<CSAMPlacement>(4, 1));
        QVERIFY(f.Session.SelectedRecords(RecordList::Sams).empty());
        f.Session.History().Undo();
        QCOMPARE(f.SelectedSams(), (QList<float>{5}));
    }

    void ObjectsFollowTheCurrentTemplate()
    {
        Fixture f;
        CPopTemplate withObjects;
        withObjects.Objects = {CThreeDObject{1, 2, 3, 0}, CThreeDObject{4, 5, 6, 0}};
        f.Push(QStringLiteral("Add"), InsertRecords(0, std::vector{CPopTemplate{}, withObjects}));
        f.Session.SelectRecord(RecordList::Templates, 1);
        const CRecordTableModel& objects = f.Session.Model(RecordList::TemplateObjects);
        QCOMPARE(objects.Address().Template, 1);
        QCOMPARE(objects.rowCount(), 2);

        // The template before it goes: the objects shown are still its own.
        f.Push(QStringLiteral("Delete"), RemoveRecords<CPopTemplate>(0, 1));
        QCOMPARE(f.Session.CurrentRecord(RecordList::Templates), 0);
        QCOMPARE(objects.Address().Template, 0);
        QCOMPARE(objects.rowCount(), 2);

        // Undoing an object edit brings its template and the object forward.
        f.Push(QStringLiteral("Edit"), ReplaceRecord(1, CThreeDObject{9, 9, 9, 0}, 0));
        f.Session.SelectRecord(RecordList::TemplateObjects, 0);
        QSignalSpy forward(&f.Session, &CCampaignSession::RowsBroughtForward);
        f.Session.History().Undo();
        QCOMPARE(forward.count(), 1);
        QCOMPARE(forward.at(0).at(0).value<ListAddress>(), (ListAddress{RecordList::TemplateObjects, 0}));
        QCOMPARE(f.Session.CurrentRecord(RecordList::Templates), 0);
        QCOMPARE(f.Session.CurrentRecord(RecordList::TemplateObjects), 1);
    }

    void ImportIsOneEditOfTheTemplatesRead()
    {
        Fixture f;
        CMissingNames missing;
        QString reason;
        QVERIFY(!f.Session.ImportTemplates(f.Dir.filePath(QStringLiteral("none.BTP")), missing, &reason));
        QVERIFY(!reason.isEmpty());
        QVERIFY(!f.Session.History().CanUndo());

        f.Push(QStringLiteral("Add"), InsertRecords(0, std::vector{CPopTemplate{}, CPopTemplate{}}));
        const QString file = f.Dir.filePath(QStringLiteral("two.BTP"));
        QVERIFY(f.Session.Records().ExportTemplates(file, 0, 1, &reason));
        QVERIFY2(f.Session.ImportTemplates(file, missing, &reason), qPrintable(reason));
        QCOMPARE(f.Session.Records().TemplateCount(), 4);
        QCOMPARE(f.Session.History().UndoText(), QStringLiteral("Import 2 keysite templates"));
        f.Session.History().Undo();
        QCOMPARE(f.Session.Records().TemplateCount(), 2);
    }
};

QTEST_GUILESS_MAIN(TestCampaignSession)
#include "tst_campaignsession.moc"
