#pragma once
// The filter of each record list: the text typed above its grid, the filter read from it, and the
// rows it lets through (CFilteredRecords), which the grid shows. Changing a filter drops the
// records it hides from the list's selection; the map asks Accepts() to draw only what the grids
// show.

#include "document/records.h"

#include <QObject>
#include <QString>
#include <array>
#include <memory>

class CCampaignSession;
class CFilteredRecords;
class CRecordFilter;

class CRecordFilters : public QObject {
    Q_OBJECT
public:
    CRecordFilters(CCampaignSession& session, const TextFormat& format, QObject* parent = nullptr);
    ~CRecordFilters() override;

    // Reads `text` as the filter of `list` and shows what it lets through. A text that cannot be
    // read filters nothing; Filter(list).Reason() says why.
    void SetText(RecordList list, const QString& text);
    QString Text(RecordList list) const { return m_lists[size_t(list)].Text; }
    const CRecordFilter& Filter(RecordList list) const;
    CFilteredRecords& View(RecordList list) const { return *m_lists[size_t(list)].View; }
    bool IsFiltering(RecordList list) const;
    // The records shown, and whether a record is one of them (every record is without a filter).
    int AcceptedCount(RecordList list) const;
    bool Accepts(RecordList list, int record) const;
    // The map draws only the records the filter lets through (the box "Only filtered on map").
    bool OnlyOnMap(RecordList list) const { return m_lists[size_t(list)].OnlyOnMap; }
    void SetOnlyOnMap(RecordList list, bool only);
    // A filter that shows no record: the list's commands have no row to act on.
    bool HidesAll(RecordList list) const { return IsFiltering(list) && AcceptedCount(list) == 0; }

signals:
    // The filter's text changed, or the records it lets through (records came, went or changed).
    void FilterChanged(RecordList list);

private:
    struct ListFilter {
        QString Text;
        std::unique_ptr<CFilteredRecords> View;
        int Count = 0; // AcceptedCount as last announced
        bool OnlyOnMap = false;
    };
    // The selected records the filter hides leave the selection; the current record, if hidden,
    // gives way to the nearest one kept, or to the nearest record shown when none is.
    void DropHidden(RecordList list);
    void Settled(RecordList list);

    CCampaignSession& m_session;
    TextFormat m_format;
    std::array<ListFilter, 5> m_lists;
};
