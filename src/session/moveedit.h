#pragma once
// Moving selected keysites, airbases and SAM sites by one offset, as one edit ("Move 12 records").
// It keeps each record's position before and after, so that undo puts back the exact values
// (adding and taking away a float offset need not give the same float back), and it selects the
// moved records again after an undo or redo. Nudges by the keyboard that follow each other
// closely and move the same records become one edit.

#include "document/records.h"
#include "session/campaignsession.h"

#include <QElapsedTimer>
#include <QUndoCommand>
#include <vector>

class CMoveEdit : public QUndoCommand {
public:
    // How long after one nudge the next still joins its edit.
    static constexpr qint64 NudgeRunMs = 1000;

    // The records moved by (dx, dz); `nudge` edits may join the one before them.
    CMoveEdit(CCampaignSession& session, const CCampaignSession::Placements& records, float dx, float dz,
              bool nudge = false);

    bool IsEmpty() const { return m_moves.empty(); }
    void redo() override;
    void undo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;

private:
    struct Move {
        RecordKind Kind;
        int Index;
        float FromX, FromZ, ToX, ToZ;
    };
    void Apply(bool forward);
    QString Text() const;

    CCampaignSession& m_session;
    CCampaignSession::Placements m_records;
    std::vector<Move> m_moves;
    bool m_nudge;
    QElapsedTimer m_lastNudge;
};
