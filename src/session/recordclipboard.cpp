#include "session/recordclipboard.h"

#include "document/recordlists.h"
#include "document/recordtablemodel.h"
#include "platform/fileread.h"
#include "session/campaignsession.h"

#include <QItemSelectionModel>
#include <QMimeData>
#include <QUndoCommand>
#include <algorithm>
#include <array>

namespace recordclipboard {

const char* const MimeType = "application/x-sablemap-records";

} // namespace recordclipboard

namespace {

constexpr std::array<RecordList, 4> kCopiedLists{RecordList::Templates, RecordList::Keysites, RecordList::Airbases,
                                                 RecordList::Sams};

// The rows of each list a cut or paste selects, by list.
using ListRows = std::array<std::vector<int>, 5>;

std::vector<int>& RowsOf(RecordChoice& choice, RecordList list)
{
    switch (list) {
    case RecordList::Keysites: return choice.Keysites;
    case RecordList::Airbases: return choice.Airbases;
    case RecordList::Sams: return choice.Sams;
    default: return choice.Templates;
    }
}

// Selects exactly `rows` of the list (sorted), the first of them current.
void SelectRows(CCampaignSession& session, RecordList list, const std::vector<int>& rows)
{
    QItemSelectionModel& selection = session.Selection(list);
    const CRecordTableModel& model = session.Model(list);
    const int count = session.Records().Count(model.Address());
    if (rows.empty() || count == 0 || !model.IsFilled()) {
        selection.clearSelection();
        return;
    }
    QItemSelection runs;
    for (size_t from = 0; from < rows.size();) {
        size_t to = from;
        while (to + 1 < rows.size() && rows[to + 1] == rows[to] + 1)
            ++to;
        if (rows[from] < count)
            runs.select(model.index(rows[from], 0),
                        model.index(std::min(rows[to], count - 1), model.columnCount() - 1));
        from = to + 1;
    }
    selection.setCurrentIndex(model.index(std::min(rows.front(), count - 1), 0), QItemSelectionModel::NoUpdate);
    // Cleared first, and the runs given as whole rows already: Qt compares an old and a new
    // selection range by range, and widens ranges to rows one merge at a time.
    selection.clearSelection();
    selection.select(runs, QItemSelectionModel::Select);
}

// The records selected in the list, in order: read range by range, since asking row by row takes
// a time that grows with the square of a scattered selection's size.
std::vector<int> Selected(const CCampaignSession& session, RecordList list)
{
    const CRecordTableModel& model = session.Model(list);
    const int count = session.Records().Count(model.Address());
    const int columns = model.columnCount();
    const QItemSelectionModel& selection = session.Selection(list);
    std::vector<int> records;
    for (const QItemSelectionRange& range : selection.selection()) {
        const bool wholeRows = range.left() == 0 && range.right() == columns - 1;
        for (int row = range.top(); row <= std::min(range.bottom(), count - 1); ++row) {
            if (wholeRows || selection.isRowSelected(row))
                records.push_back(row);
        }
    }
    std::sort(records.begin(), records.end());
    records.erase(std::unique(records.begin(), records.end()), records.end());
    return records;
}

ListRows SelectedNow(const CCampaignSession& session)
{
    ListRows rows;
    for (const RecordList list : kCopiedLists)
        rows[size_t(list)] = Selected(session, list);
    return rows;
}

QString CountedText(const char* verb, const std::array<int, 5>& counts)
{
    int total = 0;
    int kinds = 0;
    RecordList only = RecordList::Templates;
    for (const RecordList list : kCopiedLists) {
        total += counts[size_t(list)];
        if (counts[size_t(list)] > 0) {
            ++kinds;
            only = list;
        }
    }
    return QLatin1String(verb) + QLatin1Char(' ')
        + (kinds == 1 ? CountedRecords(only, total) : QStringLiteral("%1 records").arg(total));
}

// A cut or paste: changes of several lists done as one step. Undo gives back the records and the
// selection they had before; a paste done again selects what it added.
class CTransferEdit : public QUndoCommand {
public:
    CTransferEdit(CCampaignSession& session, const QString& text, ListRows before)
        : m_session(session), m_before(std::move(before))
    {
        setText(text);
    }
    void Add(std::unique_ptr<CRecordChange> change) { m_changes.push_back(std::move(change)); }
    // What a paste selects once done (nothing set: the selection follows the removals by itself).
    void SelectAfter(ListRows rows) { m_after = std::move(rows); }

    void redo() override
    {
        bool applied = false;
        for (const auto& change : m_changes)
            applied = change->Apply(m_session.MutableRecords()) || applied;
        if (!m_pushed && !applied)
            setObsolete(true);
        m_pushed = true;
        if (m_after)
            ShowAdded();
    }

    void undo() override
    {
        for (auto change = m_changes.rbegin(); change != m_changes.rend(); ++change)
            (*change)->Revert(m_session.MutableRecords());
        for (const RecordList list : kCopiedLists)
            SelectRows(m_session, list, m_before[size_t(list)]);
    }

private:
    // Selects what was added: placements that came select exactly themselves in the three lists,
    // templates in theirs. The page of the list the user works on stays unless it got nothing,
    // then the page of what did come comes forward.
    void ShowAdded()
    {
        const ListRows& rows = *m_after;
        const bool placed = !rows[size_t(RecordList::Keysites)].empty() || !rows[size_t(RecordList::Airbases)].empty()
            || !rows[size_t(RecordList::Sams)].empty();
        for (const RecordList list : kCopiedLists) {
            if (!rows[size_t(list)].empty() || (placed && list != RecordList::Templates))
                SelectRows(m_session, list, rows[size_t(list)]);
        }
        const RecordList active =
            m_session.ActiveList() == RecordList::TemplateObjects ? RecordList::Templates : m_session.ActiveList();
        if (!rows[size_t(active)].empty())
            return;
        for (const RecordList list :
             {RecordList::Keysites, RecordList::Airbases, RecordList::Sams, RecordList::Templates}) {
            const std::vector<int>& added = rows[size_t(list)];
            if (!added.empty()) {
                m_session.BringForward({{list}, added.front(), added.back()});
                return;
            }
        }
    }

    CCampaignSession& m_session;
    ListRows m_before;
    std::optional<ListRows> m_after;
    std::vector<std::unique_ptr<CRecordChange>> m_changes;
    bool m_pushed = false;
};

// Removes `rows` (sorted) of one list from the bottom up, a run of neighbours at a time, so that
// the rows still to go keep their numbers.
template <typename Record>
void RemoveRuns(CTransferEdit& edit, const std::vector<int>& rows)
{
    for (size_t to = rows.size(); to > 0;) {
        size_t from = to - 1;
        while (from > 0 && rows[from - 1] == rows[from] - 1)
            --from;
        edit.Add(RemoveRecords<Record>(rows[from], int(to - from)));
        to = from;
    }
}

std::vector<int> Range(int first, size_t count)
{
    std::vector<int> rows(count);
    for (size_t i = 0; i < count; ++i)
        rows[i] = first + int(i);
    return rows;
}

} // namespace

namespace recordclipboard {

RecordChoice Chosen(const CCampaignSession& session)
{
    RecordChoice choice;
    const RecordList active = session.ActiveList();
    if (active == RecordList::Templates || active == RecordList::TemplateObjects) {
        choice.Templates = Selected(session, RecordList::Templates);
        return choice;
    }
    choice.Keysites = Selected(session, RecordList::Keysites);
    choice.Airbases = Selected(session, RecordList::Airbases);
    choice.Sams = Selected(session, RecordList::Sams);
    return choice;
}

QByteArray CopyText(const CCampaignSession& session)
{
    const RecordChoice choice = Chosen(session);
    return choice.IsEmpty() ? QByteArray() : recordtransfer::CopyText(session.Records(), choice);
}

QMimeData* MimeData(const QByteArray& text)
{
    auto* data = new QMimeData;
    data->setText(QString::fromUtf8(text));
    data->setData(QLatin1String(MimeType), text);
    return data;
}

QByteArray TextOf(const QMimeData* data)
{
    if (!data)
        return {};
    if (data->hasFormat(QLatin1String(MimeType)))
        return data->data(QLatin1String(MimeType));
    return data->text().toUtf8();
}

QByteArray Cut(CCampaignSession& session, std::vector<int>& refused)
{
    RecordChoice choice = Chosen(session);
    // A template some keysite still uses stays, as Delete keeps it.
    std::erase_if(choice.Templates, [&](int number) {
        const bool inUse = !session.Records().Templates()[size_t(number)].HasNoUsers();
        if (inUse)
            refused.push_back(number);
        return inUse;
    });
    if (choice.IsEmpty())
        return {};
    const QByteArray text = recordtransfer::CopyText(session.Records(), choice);
    std::array<int, 5> counts{};
    for (const RecordList list : kCopiedLists)
        counts[size_t(list)] = int(RowsOf(choice, list).size());
    auto* edit = new CTransferEdit(session, CountedText("Cut", counts), SelectedNow(session));
    RemoveRuns<CPopTemplate>(*edit, choice.Templates);
    RemoveRuns<CKeysitePlacement>(*edit, choice.Keysites);
    RemoveRuns<CAirbasePlacement>(*edit, choice.Airbases);
    RemoveRuns<CSAMPlacement>(*edit, choice.Sams);
    session.Push(CEditHistory::MapBin, edit);
    return text;
}

bool Paste(CCampaignSession& session, const QByteArray& text, std::optional<QPointF> centre, QString& problem,
           CMissingNames& missing)
{
    const QString noRecords = QStringLiteral("The clipboard holds no Sablemap records.");
    PastedRecords pasted;
    QString reason;
    bool notRecords = false;
    const bool read = GuardAllocation(
        &reason, [&] { return recordtransfer::ReadPasted(text, session.Records(), pasted, reason, notRecords); });
    if (!read) {
        problem = notRecords ? noRecords : QStringLiteral("The clipboard's records cannot be read: %1").arg(reason);
        return false;
    }
    if (pasted.Count() == 0) {
        problem = noRecords;
        return false;
    }
    if (centre)
        recordtransfer::CentreAt(pasted, float(centre->x()), float(centre->y()));
    const CBINFile& records = session.Records();
    std::array<int, 5> counts{};
    counts[size_t(RecordList::Templates)] = int(pasted.Templates.size());
    counts[size_t(RecordList::Keysites)] = int(pasted.Keysites.size());
    counts[size_t(RecordList::Airbases)] = int(pasted.Airbases.size());
    counts[size_t(RecordList::Sams)] = int(pasted.Sams.size());
    ListRows added;
    added[size_t(RecordList::Templates)] = Range(records.TemplateCount(), pasted.Templates.size());
    added[size_t(RecordList::Keysites)] = Range(records.KeysiteCount(), pasted.Keysites.size());
    added[size_t(RecordList::Airbases)] = Range(records.AirbaseCount(), pasted.Airbases.size());
    added[size_t(RecordList::Sams)] = Range(records.SamCount(), pasted.Sams.size());

    auto* edit = new CTransferEdit(session, CountedText("Paste", counts), SelectedNow(session));
    edit->SelectAfter(std::move(added));
    // Templates first: the keysites name them.
    if (!pasted.Templates.empty())
        edit->Add(InsertRecords(records.TemplateCount(), std::move(pasted.Templates)));
    if (!pasted.Keysites.empty())
        edit->Add(InsertRecords(records.KeysiteCount(), std::move(pasted.Keysites)));
    if (!pasted.Airbases.empty())
        edit->Add(InsertRecords(records.AirbaseCount(), std::move(pasted.Airbases)));
    if (!pasted.Sams.empty())
        edit->Add(InsertRecords(records.SamCount(), std::move(pasted.Sams)));
    session.Push(CEditHistory::MapBin, edit);
    missing = std::move(pasted.Missing);
    return true;
}

} // namespace recordclipboard
