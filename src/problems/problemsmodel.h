#pragma once
// The findings of the session's Map BIN document as a tree for the problems panel: one group per
// kind (problems before notes), each holding its findings in record order. It observes the
// session and keeps its checks up to date by itself, checking again only what each announcement
// touched; the tree is laid out again once per turn of the event loop, however many
// announcements an edit makes.

#include "checks/documentchecks.h"

#include <QAbstractItemModel>
#include <memory>
#include <optional>
#include <vector>

class CCampaignSession;
struct RecordRows;

class CProblemsModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit CProblemsModel(CCampaignSession& session, QObject* parent = nullptr);
    ~CProblemsModel() override;

    // The open map's extent (none without a map): placements outside it are problems.
    void SetMapExtent(std::optional<MapExtent> extent);

    const CDocumentChecks& Checks() const { return *m_checks; }
    // The findings as the tree shows them (as of the last layout).
    int FindingCount() const { return static_cast<int>(m_findings.size()); }
    int ProblemCount() const { return m_problems; }
    // The finding of a row of the tree; null for a group's row.
    const Finding* FindingAt(const QModelIndex& index) const;
    // The group rows' kinds, top to bottom.
    FindingKind KindOfGroup(int row) const { return m_groups[size_t(row)].Kind; }
    QString Text(const Finding& finding) const;

    // Lays the tree out now if an announcement is waiting (the panel's tests and a save ask for
    // the count at once).
    void Settle();

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

signals:
    // After every layout of the tree.
    void FindingsChanged();

private:
    void Follow(const RecordRows& rows);
    void Schedule();
    void Layout();

    struct Group {
        FindingKind Kind;
        std::vector<int32_t> Members; // positions in m_findings
    };

    CCampaignSession& m_session;
    std::unique_ptr<CDocumentChecks> m_checks;
    std::vector<Finding> m_findings;
    std::vector<Group> m_groups;
    int m_problems = 0;
    bool m_scheduled = false;
};
