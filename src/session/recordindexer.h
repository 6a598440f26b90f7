#pragma once
// The spatial index of the session's records (document/recordindex.h), kept in step with the
// session's record announcements. Whoever asks what lies under the mouse or a rubber band owns
// one beside the session. Listeners that ask it questions while the session announces a change
// must be connected after it, so that it has followed the change by then.

#include "document/recordindex.h"

#include <QObject>

class CCampaignSession;
struct RecordRows;

class CRecordIndexer : public QObject {
    Q_OBJECT
public:
    explicit CRecordIndexer(CCampaignSession& session, QObject* parent = nullptr);

    const CRecordIndex& Index() const { return m_index; }

private:
    void Follow(const RecordRows& rows);

    CRecordIndex m_index;
};
