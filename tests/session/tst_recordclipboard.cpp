// Copy, cut and paste between sessions as the Edit menu does them: the records travel through the
// clipboard's text, each cut and paste is one step that undo takes back exactly, with the
// selection it found, and text that holds no records changes nothing.
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/recordtablemodel.h"
#include "session/campaignsession.h"
#include "session/recordclipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QTest>
#include <memory>

namespace {

struct Session {
    C3DObjectsList Catalogue{QLocale::c()};
    CPopTemplatesTypesList Types;
    std::unique_ptr<CCampaignSession> Edited;

    explicit Session(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            Catalogue.Add(name);
        Edited = std::make_unique<CCampaignSession>(Catalogue, Types, TextFormat{});
    }
    CCampaignSession& operator*() { return *Edited; }
    CCampaignSession* operator->() { return Edited.get(); }
    const CBINFile& Records() const { return Edited->Records(); }
    QByteArray Bytes() const { return Edited->Records().SaveBytes(true); }

    // Two templates (the first used by both keysites), two keysites, two airbases, three SAM
    // sites, as one edit the tests never undo.
    void Fill()
    {
        const int32_t tank = Catalogue.IndexOf("TANK"), hangar = Catalogue.IndexOf("HANGAR");
        CPopTemplate used;
        used.TypeCode = 3;
        used.ApproximationObject = tank;
        used.Objects = {{1, 2, 45, hangar}, {3, 4, 90, tank}};
        CPopTemplate spare;
        spare.TypeCode = 7;
        auto* edit = new CRecordEdit(*Edited, QStringLiteral("Fill"));
        edit->Add(InsertRecords(0, std::vector<CPopTemplate>{used, spare}));
        edit->Add(InsertRecords(0, std::vector<CKeysitePlacement>{{0, 100, 100}, {0, 300, 500}}));
        edit->Add(InsertRecords(0, std::vector<CAirbasePlacement>{{10, 20, hangar}, {30, 40, tank}}));
        edit->Add(InsertRecords(0, std::vector<CSAMPlacement>{{1, 1}, {2, 2}, {3, 3}}));
        Edited->Push(CEditHistory::MapBin, edit);
    }
    // Exactly `rows` selected in `list`.
    void Select(RecordList list, std::initializer_list<int> rows)
    {
        QItemSelectionModel& selection = Edited->Selection(list);
        selection.clearSelection();
        for (const int row : rows)
            selection.select(Edited->Model(list).index(row, 0),
                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    using Selected = std::array<std::vector<int>, 4>;
    Selected Selection() const
    {
        return {Edited->SelectedRecords(RecordList::Templates), Edited->SelectedRecords(RecordList::Keysites),
                Edited->SelectedRecords(RecordList::Airbases), Edited->SelectedRecords(RecordList::Sams)};
    }
    int Steps() { return Edited->History().Stack(CEditHistory::MapBin).count(); }
    bool Paste(const QByteArray& text, QString* problem = nullptr, std::optional<QPointF> at = {})
    {
        QString said;
        CMissingNames missing;
        const bool pasted = recordclipboard::Paste(*Edited, text, at, said, missing);
        if (problem)
            *problem = said;
        return pasted;
    }
};

} // namespace

class TestRecordClipboard : public QObject {
    Q_OBJECT

private slots:
    // The system clipboard between two sessions with catalogues of their own: the private type
    // when it is there, the plain text otherwise (another program's copy).
    void pasteBetweenSessionsThroughTheClipboard_data()
    {
        QTest::addColumn<bool>("privateType");
        QTest::newRow("private type") << true;
        QTest::newRow("plain text") << false;
    }
    void pasteBetweenSessionsThroughTheClipboard()
    {
        QFETCH(bool, privateType);
        Session from{"HANGAR", "TANK"};
        from.Fill();
        from->SetActiveList(RecordList::Airbases);
        from.Select(RecordList::Keysites, {1});
        from.Select(RecordList::Airbases, {1});
        from.Select(RecordList::Sams, {0, 2});
        const QByteArray text = recordclipboard::CopyText(*from);
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (privateType)
            clipboard->setMimeData(recordclipboard::MimeData(text));
        else
            clipboard->setText(QString::fromUtf8(text));
        QCOMPARE(clipboard->text().toUtf8(), text);

        Session to{"TANK", "ROCK", "HANGAR"};
        QVERIFY(to.Paste(recordclipboard::TextOf(clipboard->mimeData())));
        const CBINFile& records = to.Records();
        QCOMPARE(records.TemplateCount(), 1);
        QCOMPARE(records.Templates()[0].Objects.size(), size_t(2));
        QCOMPARE(to.Catalogue.NameOf(records.Templates()[0].Objects[0].ObjectIndex), std::string("HANGAR"));
        QCOMPARE(records.KeysiteCount(), 1);
        QCOMPARE(records.Keysites()[0].TemplateNumber, 0);
        QCOMPARE(records.Keysites()[0].Z, 500.0f);
        QCOMPARE(to.Catalogue.NameOf(records.Airbases()[0].ObjectIndex), std::string("TANK"));
        QCOMPARE(records.SamCount(), 2);
        QCOMPARE(records.Sams()[1].X, 3.0f);
        QCOMPARE(to.Steps(), 1);
        QCOMPARE(to->History().UndoText(), QStringLiteral("Paste 5 records"));
    }

    // Each paste is one step: undo gives back the bytes and the selection it found, redo the
    // records again, selected.
    void pasteIsOneStepUndoneExactly_data()
    {
        QTest::addColumn<int>("activeList");
        QTest::addColumn<QString>("step");
        QTest::addColumn<int>("templatesAdded");
        QTest::newRow("SAM sites") << int(RecordList::Sams) << QStringLiteral("Paste 2 SAM sites") << 0;
        QTest::newRow("across kinds") << int(RecordList::Keysites) << QStringLiteral("Paste 5 records") << 0;
        QTest::newRow("templates") << int(RecordList::Templates) << QStringLiteral("Paste 2 keysite templates") << 2;
    }
    void pasteIsOneStepUndoneExactly()
    {
        QFETCH(int, activeList);
        QFETCH(QString, step);
        QFETCH(int, templatesAdded);
        Session s{"HANGAR", "TANK"};
        s.Fill();
        s->SetActiveList(RecordList(activeList));
        s.Select(RecordList::Templates, {0, 1});
        s.Select(RecordList::Keysites,
                 activeList == int(RecordList::Sams) ? std::initializer_list<int>{} : std::initializer_list<int>{0, 1});
        s.Select(RecordList::Airbases,
                 activeList == int(RecordList::Sams) ? std::initializer_list<int>{} : std::initializer_list<int>{1});
        s.Select(RecordList::Sams, {0, 2});
        const QByteArray text = recordclipboard::CopyText(*s);
        s.Select(RecordList::Sams, {1});
        const QByteArray before = s.Bytes();
        const Session::Selected selectedBefore = s.Selection();
        const int steps = s.Steps();

        QVERIFY(s.Paste(text));
        QCOMPARE(s.Steps(), steps + 1);
        QCOMPARE(s->History().UndoText(), step);
        const QByteArray after = s.Bytes();
        const Session::Selected selectedAfter = s.Selection();
        QCOMPARE(s.Records().TemplateCount(), 2 + templatesAdded);
        if (templatesAdded) {
            QCOMPARE(selectedAfter[0], (std::vector<int>{2, 3}));
            QCOMPARE(selectedAfter[3], selectedBefore[3]); // the placements are left alone
        } else {
            QCOMPARE(selectedAfter[0], selectedBefore[0]); // the keysites found their template
            QCOMPARE(selectedAfter[3], (std::vector<int>{3, 4}));
            QCOMPARE(selectedAfter[1],
                     activeList == int(RecordList::Sams) ? std::vector<int>{} : (std::vector<int>{2, 3}));
        }

        s->History().Undo();
        QCOMPARE(s.Bytes(), before);
        QCOMPARE(s.Selection(), selectedBefore);
        s->History().Redo();
        QCOMPARE(s.Bytes(), after);
        QCOMPARE(s.Selection(), selectedAfter);
    }

    // A cut is copy and delete in one step; undo puts the records back where they were, selected.
    void cutIsCopyAndDeleteInOneStep()
    {
        Session s{"HANGAR", "TANK"};
        s.Fill();
        s->SetActiveList(RecordList::Sams);
        s.Select(RecordList::Keysites, {1});
        s.Select(RecordList::Sams, {0, 2});
        const QByteArray copied = recordclipboard::CopyText(*s);
        const QByteArray before = s.Bytes();
        const Session::Selected selectedBefore = s.Selection();

        std::vector<int> refused;
        QCOMPARE(recordclipboard::Cut(*s, refused), copied);
        QVERIFY(refused.empty());
        QCOMPARE(s->History().UndoText(), QStringLiteral("Cut 3 records"));
        QCOMPARE(s.Records().KeysiteCount(), 1);
        QCOMPARE(s.Records().SamCount(), 1);
        QCOMPARE(s.Records().Sams()[0].X, 2.0f);
        QCOMPARE(s.Records().Templates()[0].UseCount, 1);
        const QByteArray after = s.Bytes();

        s->History().Undo();
        QCOMPARE(s.Bytes(), before);
        QCOMPARE(s.Selection(), selectedBefore);
        s->History().Redo();
        QCOMPARE(s.Bytes(), after);

        // What was cut pastes back as it was.
        QVERIFY(s.Paste(copied));
        QCOMPARE(s.Records().SamCount(), 3);
        QCOMPARE(s.Records().Keysites()[1].TemplateNumber, 0);
    }

    void cutKeepsTemplatesInUse()
    {
        Session s{"HANGAR", "TANK"};
        s.Fill();
        s->SetActiveList(RecordList::Templates);
        s.Select(RecordList::Templates, {0, 1});
        std::vector<int> refused;
        const QByteArray text = recordclipboard::Cut(*s, refused);
        QCOMPARE(refused, std::vector<int>{0});
        QCOMPARE(s->History().UndoText(), QStringLiteral("Cut 1 keysite template"));
        QCOMPARE(s.Records().TemplateCount(), 1);
        QVERIFY(text.contains("\"type\": 7"));
        QVERIFY(!text.contains("\"type\": 3"));

        // Nothing left to cut: no step, the clipboard's text stays the caller's.
        s.Select(RecordList::Templates, {0});
        refused.clear();
        const int steps = s.Steps();
        QVERIFY(recordclipboard::Cut(*s, refused).isEmpty());
        QCOMPARE(refused, std::vector<int>{0});
        QCOMPARE(s.Steps(), steps);
    }

    void textWithoutRecordsChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("problem");
        const QString none = QStringLiteral("The clipboard holds no Sablemap records.");
        QTest::newRow("prose") << QByteArray("Ctrl+V of a shopping list") << none;
        QTest::newRow("no records in the form") << QByteArray(
            "{\"format\": \"sablemap-bin/1\", \"routeObjects\": true, \"templates\": [], \"keysites\": [], "
            "\"airbases\": [], \"SAMs\": []}") << none;
        QTest::newRow("a damaged record")
            << QByteArray(
                   "{\"format\": \"sablemap-bin/1\", \"routeObjects\": true, \"templates\": [], \"keysites\": [], "
                   "\"airbases\": [],\n\"SAMs\": [{\"x\": 1}]}")
            << QStringLiteral("The clipboard's records cannot be read: line 2: a SAM site lacks the key \"z\"");
    }
    void textWithoutRecordsChangesNothing()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, problem);
        Session s{"HANGAR", "TANK"};
        s.Fill();
        s.Select(RecordList::Sams, {1});
        const QByteArray before = s.Bytes();
        const Session::Selected selected = s.Selection();
        const int steps = s.Steps();
        QString said;
        QVERIFY(!s.Paste(text, &said));
        QCOMPARE(said, problem);
        QCOMPARE(s.Bytes(), before);
        QCOMPARE(s.Steps(), steps);
        QCOMPARE(s.Selection(), selected);
    }

    void pasteUnderTheMouseCentresThePlacements()
    {
        Session s{"HANGAR", "TANK"};
        s.Fill();
        s->SetActiveList(RecordList::Sams);
        s.Select(RecordList::Keysites, {0});
        s.Select(RecordList::Sams, {2});
        // Keysite at (100, 100), SAM site at (3, 3): the centre is (51.5, 51.5).
        QVERIFY(s.Paste(recordclipboard::CopyText(*s), nullptr, QPointF(1000, -200)));
        QCOMPARE(s.Records().Keysites()[2].X, 1048.5f);
        QCOMPARE(s.Records().Keysites()[2].Z, -151.5f);
        QCOMPARE(s.Records().Sams()[3].X, 951.5f);
    }
};

QTEST_MAIN(TestRecordClipboard)
#include "tst_recordclipboard.moc"
