#include "problems/problemsmodel.h"

#include "session/campaignsession.h"

#include <QApplication>
#include <QStyle>
#include <QTimer>
#include <array>

namespace {

// Group rows have no parent; a finding's row keeps its group's position plus one.
constexpr quintptr kGroupRow = 0;

// Problems first, then notes, each in the order of the kinds.
std::array<FindingKind, FindingKindCount> GroupOrder()
{
    std::array<FindingKind, FindingKindCount> order{};
    size_t next = 0;
    for (const Severity level : {Severity::Problem, Severity::Note}) {
        for (int k = 0; k < FindingKindCount; ++k) {
            const auto kind = static_cast<FindingKind>(k);
            if (LevelOf(kind) == level)
                order[next++] = kind;
        }
    }
    return order;
}

} // namespace

CProblemsModel::CProblemsModel(CCampaignSession& session, QObject* parent)
    : QAbstractItemModel(parent), m_session(session), m_checks(std::make_unique<CDocumentChecks>(session.Records()))
{
    connect(&session, &CCampaignSession::RecordsChanged, this, &CProblemsModel::Follow);
    Layout();
}

CProblemsModel::~CProblemsModel() = default;

void CProblemsModel::SetMapExtent(std::optional<MapExtent> extent)
{
    const auto same = [](const std::optional<MapExtent>& a, const std::optional<MapExtent>& b) {
        return a.has_value() == b.has_value()
            && (!a || (a->Left == b->Left && a->Right == b->Right && a->Top == b->Top && a->Bottom == b->Bottom));
    };
    if (same(extent, m_checks->Extent()))
        return;
    m_checks->SetExtent(extent);
    Schedule();
}

void CProblemsModel::Follow(const RecordRows& rows)
{
    switch (rows.How) {
    case RecordRows::Inserted: m_checks->Inserted(rows.List, rows.First, rows.Last); break;
    case RecordRows::Removed: m_checks->Removed(rows.List, rows.First, rows.Last); break;
    case RecordRows::Changed: m_checks->Changed(rows.List, rows.First, rows.Last); break;
    case RecordRows::Reset: m_checks->Reset(); break;
    }
    Schedule();
}

void CProblemsModel::Schedule()
{
    if (m_scheduled)
        return;
    m_scheduled = true;
    QTimer::singleShot(0, this, &CProblemsModel::Settle);
}

void CProblemsModel::Settle()
{
    if (m_scheduled)
        Layout();
}

void CProblemsModel::Layout()
{
    m_scheduled = false;
    beginResetModel();
    m_findings = m_checks->Findings();
    m_groups.clear();
    m_problems = 0;
    std::array<std::vector<int32_t>, FindingKindCount> members;
    for (size_t i = 0; i < m_findings.size(); ++i) {
        members[size_t(m_findings[i].Kind)].push_back(static_cast<int32_t>(i));
        m_problems += m_findings[i].Level() == Severity::Problem ? 1 : 0;
    }
    for (const FindingKind kind : GroupOrder()) {
        if (!members[size_t(kind)].empty())
            m_groups.push_back({kind, std::move(members[size_t(kind)])});
    }
    endResetModel();
    emit FindingsChanged();
}

const Finding* CProblemsModel::FindingAt(const QModelIndex& index) const
{
    if (!index.isValid() || index.internalId() == kGroupRow)
        return nullptr;
    const Group& group = m_groups[size_t(index.internalId() - 1)];
    return &m_findings[size_t(group.Members[size_t(index.row())])];
}

QString CProblemsModel::Text(const Finding& finding) const
{
    return FindingPlace(finding) + QStringLiteral(": ") + FindingText(finding, m_checks->Words());
}

QModelIndex CProblemsModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return size_t(row) < m_groups.size() ? createIndex(row, 0, kGroupRow) : QModelIndex();
    if (parent.internalId() != kGroupRow || size_t(parent.row()) >= m_groups.size()
        || size_t(row) >= m_groups[size_t(parent.row())].Members.size())
        return {};
    return createIndex(row, 0, quintptr(parent.row()) + 1);
}

QModelIndex CProblemsModel::parent(const QModelIndex& child) const
{
    if (!child.isValid() || child.internalId() == kGroupRow)
        return {};
    return createIndex(int(child.internalId() - 1), 0, kGroupRow);
}

int CProblemsModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return static_cast<int>(m_groups.size());
    if (parent.internalId() == kGroupRow)
        return static_cast<int>(m_groups[size_t(parent.row())].Members.size());
    return 0;
}

int CProblemsModel::columnCount(const QModelIndex&) const { return 1; }

QVariant CProblemsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (index.internalId() == kGroupRow) {
        const Group& group = m_groups[size_t(index.row())];
        if (role == Qt::DisplayRole)
            return QStringLiteral("%1 (%2)").arg(FindingKindTitle(group.Kind)).arg(group.Members.size());
        if (role == Qt::DecorationRole)
            return QApplication::style()->standardIcon(LevelOf(group.Kind) == Severity::Problem
                                                           ? QStyle::SP_MessageBoxWarning
                                                           : QStyle::SP_MessageBoxInformation);
        return {};
    }
    const Finding* finding = FindingAt(index);
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return Text(*finding);
    return {};
}
