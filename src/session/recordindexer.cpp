#include "session/recordindexer.h"

#include "session/campaignsession.h"

CRecordIndexer::CRecordIndexer(CCampaignSession& session, QObject* parent) : QObject(parent), m_index(session.Records())
{
    connect(&session, &CCampaignSession::RecordsChanged, this, &CRecordIndexer::Follow);
}

void CRecordIndexer::Follow(const RecordRows& rows)
{
    switch (rows.How) {
    case RecordRows::Inserted: m_index.RowsInserted(rows.List, rows.First, rows.Last); break;
    case RecordRows::Removed: m_index.RowsRemoved(rows.List, rows.First, rows.Last); break;
    case RecordRows::Changed: m_index.RowsChanged(rows.List, rows.First, rows.Last); break;
    case RecordRows::Reset: m_index.Reset(); break;
    }
}
