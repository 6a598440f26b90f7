// The grids' table models: after any sequence of edits, what a view learnt from a model's own
// announcements equals a model filled afresh from the document.
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/binfile.h"
#include "document/recordtablemodel.h"
#include "randomedits.h"

#include <QTest>

namespace {

// The texts a view holds, kept only from the model's announcements.
class CViewReplica {
public:
    explicit CViewReplica(const QAbstractItemModel& model) : m_model(model)
    {
        // Model row r is m_rows[r + 1], after the header. Before rows come or go, the model still
        // has the rows the view knows.
        const auto before = [this] { QCOMPARE(m_model.rowCount(), m_rows.size() - 1); };
        QObject::connect(&model, &QAbstractItemModel::rowsAboutToBeInserted, before);
        QObject::connect(&model, &QAbstractItemModel::rowsAboutToBeRemoved, before);
        QObject::connect(&model, &QAbstractItemModel::rowsInserted, [this](const QModelIndex&, int first, int last) {
            for (int row = first; row <= last; ++row)
                m_rows.insert(row + 1, Row(m_model, row));
        });
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved, [this](const QModelIndex&, int first, int last) {
            m_rows.remove(first + 1, last - first + 1);
        });
        QObject::connect(&model, &QAbstractItemModel::dataChanged,
                         [this](const QModelIndex& from, const QModelIndex& to) {
                             for (int row = from.row(); row <= to.row(); ++row)
                                 m_rows[row + 1] = Row(m_model, row);
                         });
        QObject::connect(&model, &QAbstractItemModel::modelReset, [this] { m_rows = All(m_model); });
        m_rows = All(model);
    }

    const QList<QStringList>& Rows() const { return m_rows; }

    // Every row and the header, as a view would draw them.
    static QList<QStringList> All(const QAbstractItemModel& model)
    {
        QStringList header;
        for (int column = 0; column < model.columnCount(); ++column)
            header << model.headerData(column, Qt::Horizontal).toString();
        QList<QStringList> rows{header};
        for (int row = 0; row < model.rowCount(); ++row)
            rows << Row(model, row);
        return rows;
    }

private:
    static QStringList Row(const QAbstractItemModel& model, int row)
    {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column)
            cells << model.index(row, column).data().toString();
        return cells;
    }

    const QAbstractItemModel& m_model;
    QList<QStringList> m_rows; // the header first
};

struct Fixture {
    C3DObjectsList Catalogue{QLocale(QLocale::English)};
    CPopTemplatesTypesList Types;
    CBINFile Doc{&Catalogue, &Types};
};

} // namespace

class TestRecordTableModel : public QObject {
    Q_OBJECT

private slots:
    void neverFilledThenBlankRow()
    {
        Fixture f;
        CRecordTableModel sams(f.Doc, RecordList::Sams, {});
        QVERIFY(!sams.IsFilled());
        QCOMPARE(CViewReplica::All(sams), (QList<QStringList>{{""}, {""}}));
        f.Doc.InsertRows(0, std::vector{CAirbasePlacement{}}); // any announcement fills every list
        QVERIFY(sams.IsFilled());
        QCOMPARE(CViewReplica::All(sams), (QList<QStringList>{{"Number", "X", "Z"}, {"", "", ""}}));
        f.Doc.InsertRows(0, std::vector{CSAMPlacement{1.5f, -0.0f}});
        QCOMPARE(CViewReplica::All(sams), (QList<QStringList>{{"Number", "X", "Z"}, {"0", "1.5", "0"}}));

        CRecordTableModel objects(f.Doc, RecordList::TemplateObjects, {QLatin1Char(',')});
        objects.ShowTemplate(0); // no template 0 yet
        QVERIFY(!objects.IsFilled());
        f.Doc.InsertRows(0, std::vector{CPopTemplate{1, -2, -2, -2, 0, {{0.25f, 2, 3, -1}}}});
        objects.ShowTemplate(0);
        QCOMPARE(CViewReplica::All(objects).last(), (QStringList{"0", "0,25", "2", "3", "INVALID_OBJECT"}));
    }

    void followsRandomEdits()
    {
        const RecordList lists[] = {RecordList::Templates, RecordList::TemplateObjects, RecordList::Keysites,
                                    RecordList::Airbases, RecordList::Sams};
        for (const unsigned seed : {7u, 8u, 9u}) {
            Fixture f;
            std::vector<std::unique_ptr<CRecordTableModel>> models;
            std::vector<std::unique_ptr<CViewReplica>> views;
            for (const RecordList list : lists) {
                models.push_back(std::make_unique<CRecordTableModel>(f.Doc, list, TextFormat{}));
                views.push_back(std::make_unique<CViewReplica>(*models.back()));
            }
            CRecordTableModel& objects = *models[1];
            CRandomEdits edits(seed);
            for (int step = 0; step < 300; ++step) {
                edits.Apply(f.Doc);
                if (edits.Pick(0, 4) == 0) // the window points the objects at the current template
                    objects.ShowTemplate(edits.Pick(-1, f.Doc.TemplateCount()));
                for (size_t i = 0; i < models.size(); ++i) {
                    CRecordTableModel fresh(f.Doc, lists[i], TextFormat{});
                    if (lists[i] == RecordList::TemplateObjects)
                        fresh.ShowTemplate(objects.Address().Template);
                    else if (models[i]->IsFilled())
                        fresh.Fill();
                    QCOMPARE(views[i]->Rows(), CViewReplica::All(fresh));
                }
                if (QTest::currentTestFailed())
                    QFAIL(qPrintable(QStringLiteral("seed %1, step %2").arg(seed).arg(step)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestRecordTableModel)
#include "tst_recordtablemodel.moc"
