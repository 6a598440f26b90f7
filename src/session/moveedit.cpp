#include "session/moveedit.h"

#include "document/recordlists.h"

#include <cmath>

namespace {

constexpr int NudgeId = 0x4e55; // any number no other edit uses

} // namespace

CMoveEdit::CMoveEdit(CCampaignSession& session, const CCampaignSession::Placements& records, float dx, float dz,
                     bool nudge)
    : m_session(session), m_records(records), m_nudge(nudge)
{
    const CBINFile& document = session.Records();
    const auto collect = [&](RecordKind kind, const auto& rows) {
        for (const int index : records[size_t(kind)]) {
            if (index < 0 || size_t(index) >= rows.size())
                continue;
            const auto& record = rows[size_t(index)];
            const float x = record.X + dx;
            const float z = record.Z + dz;
            // A record whose position is no number stays where it is: moving it gives no number either.
            if (!std::isfinite(x) || !std::isfinite(z))
                continue;
            m_moves.push_back({kind, index, record.X, record.Z, x, z});
        }
    };
    collect(KeysiteKind, document.Keysites());
    collect(AirbaseKind, document.Airbases());
    collect(SamKind, document.Sams());
    setText(Text());
    m_lastNudge.start();
}

QString CMoveEdit::Text() const
{
    std::array<int, 3> counts{};
    for (const Move& move : m_moves)
        ++counts[size_t(move.Kind)];
    const int kinds = (counts[0] > 0) + (counts[1] > 0) + (counts[2] > 0);
    if (kinds == 1) {
        for (const RecordKind kind : {KeysiteKind, AirbaseKind, SamKind})
            if (counts[size_t(kind)] > 0)
                return QStringLiteral("Move ") + CountedRecords(ListOfKind(kind), counts[size_t(kind)]);
    }
    const int total = int(m_moves.size());
    return QStringLiteral("Move %1 record%2").arg(total).arg(total == 1 ? QString() : QStringLiteral("s"));
}

void CMoveEdit::Apply(bool forward)
{
    CBINFile& document = m_session.MutableRecords();
    const auto place = [&](const auto& rows, const Move& move) {
        auto record = rows[size_t(move.Index)];
        record.X = forward ? move.ToX : move.FromX;
        record.Z = forward ? move.ToZ : move.FromZ;
        document.ReplaceRow(move.Index, record);
    };
    for (const Move& move : m_moves) {
        switch (move.Kind) {
        case KeysiteKind: place(document.Keysites(), move); break;
        case AirbaseKind: place(document.Airbases(), move); break;
        case SamKind: place(document.Sams(), move); break;
        }
    }
}

void CMoveEdit::redo()
{
    Apply(true);
    m_session.SelectPlacements(m_records);
}

void CMoveEdit::undo()
{
    Apply(false);
    m_session.SelectPlacements(m_records);
}

int CMoveEdit::id() const { return m_nudge ? NudgeId : -1; }

bool CMoveEdit::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const CMoveEdit*>(other);
    if (!next->m_nudge || next->m_records != m_records || m_lastNudge.elapsed() > NudgeRunMs
        || next->m_moves.size() != m_moves.size())
        return false;
    for (size_t i = 0; i < m_moves.size(); ++i) {
        if (m_moves[i].Kind != next->m_moves[i].Kind || m_moves[i].Index != next->m_moves[i].Index)
            return false;
        m_moves[i].ToX = next->m_moves[i].ToX;
        m_moves[i].ToZ = next->m_moves[i].ToZ;
    }
    m_lastNudge.start();
    return true;
}
