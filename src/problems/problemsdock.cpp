#include "problems/problemsdock.h"

#include "document/recordlists.h"
#include "problems/problemsmodel.h"
#include "problems/quickfixes.h"
#include "session/campaignsession.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <set>

CProblemsDock::CProblemsDock(CCampaignSession& session, const C3DObjectsList& catalogue, CUserPrompts& prompts,
                             QWidget* parent)
    : QDockWidget(parent), m_session(session), m_model(new CProblemsModel(session, this)),
      m_fixes(std::make_unique<CQuickFixes>(session, catalogue, prompts, parent))
{
    setObjectName(QStringLiteral("dockProblems"));
    auto* body = new QWidget;
    m_tree = new QTreeView;
    m_tree->setObjectName(QStringLiteral("tvProblems"));
    m_tree->setModel(m_model);
    m_tree->setHeaderHidden(true);
    m_tree->setUniformRowHeights(true);
    // Wide enough for a finding's text beside the map; the whole text is its tooltip.
    m_tree->setMinimumWidth(360);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_fixButton = new QPushButton(QStringLiteral("Fix"));
    m_fixButton->setObjectName(QStringLiteral("btnProblemFix"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_fixButton);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_tree);
    layout->addLayout(buttons);
    setWidget(body);

    // The groups a user opened or closed stay so across every change of the list.
    auto closed = std::make_shared<std::set<FindingKind>>();
    connect(m_tree, &QTreeView::collapsed, this,
            [this, closed](const QModelIndex& group) { closed->insert(m_model->KindOfGroup(group.row())); });
    connect(m_tree, &QTreeView::expanded, this,
            [this, closed](const QModelIndex& group) { closed->erase(m_model->KindOfGroup(group.row())); });
    connect(m_model, &CProblemsModel::FindingsChanged, this, [this, closed] {
        for (int row = 0; row < m_model->rowCount(); ++row)
            m_tree->setExpanded(m_model->index(row, 0), !closed->contains(m_model->KindOfGroup(row)));
        UpdateTitle();
        UpdateFixButton();
    });
    connect(m_tree, &QTreeView::activated, this, &CProblemsDock::Jump);
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this, &CProblemsDock::UpdateFixButton);
    connect(m_tree, &QWidget::customContextMenuRequested, this, &CProblemsDock::ShowMenu);
    connect(m_fixButton, &QPushButton::clicked, this, [this] { Fix(m_tree->currentIndex()); });
    connect(&session, &CCampaignSession::RecordsChanged, this, [this](const RecordRows& rows) {
        if (rows.How == RecordRows::Reset)
            m_resetSinceFile = true;
    });
    connect(&session, &CCampaignSession::FileChanged, this, [this](CEditHistory::Document document) {
        if (document == CEditHistory::MapBin)
            FileChanged();
    });
    UpdateTitle();
    UpdateFixButton();
}

CProblemsDock::~CProblemsDock() = default;

void CProblemsDock::SetMapExtent(std::optional<MapExtent> extent) { m_model->SetMapExtent(extent); }

void CProblemsDock::UpdateTitle() { setWindowTitle(QStringLiteral("Problems (%1)").arg(m_model->FindingCount())); }

void CProblemsDock::UpdateFixButton()
{
    const Finding* finding = m_model->FindingAt(m_tree->currentIndex());
    const QuickFix fix = finding ? FixOf(*finding) : QuickFix::None;
    m_fixButton->setEnabled(fix != QuickFix::None);
    m_fixButton->setText(fix == QuickFix::None ? QStringLiteral("Fix") : FixCaption(fix));
}

void CProblemsDock::Jump(const QModelIndex& index)
{
    const Finding* finding = m_model->FindingAt(index);
    if (!finding || finding->Record >= m_session.Records().Count(finding->List))
        return;
    const Finding at = *finding; // the list may be laid out again by what follows
    m_session.BringForward({at.List, at.Record, at.Record});
    if (const auto kind = InfoOf(at.List.List).Kind)
        emit ShowOnMapRequested(*kind, at.Record);
}

bool CProblemsDock::Fix(const QModelIndex& index)
{
    const Finding* finding = m_model->FindingAt(index);
    if (!finding)
        return false;
    const Finding at = *finding;
    if (!m_fixes->Apply(at))
        return false;
    if (FixOf(at) == QuickFix::SelectBoth) {
        if (const auto kind = InfoOf(at.List.List).Kind)
            emit ShowOnMapRequested(*kind, at.Record);
    }
    return true;
}

void CProblemsDock::ShowMenu(const QPoint& at)
{
    const QModelIndex index = m_tree->indexAt(at);
    const Finding* finding = m_model->FindingAt(index);
    if (!finding)
        return;
    QMenu menu(this);
    connect(menu.addAction(QStringLiteral("Show record")), &QAction::triggered, this, [this, index] { Jump(index); });
    const QuickFix fix = FixOf(*finding);
    if (fix != QuickFix::None)
        connect(menu.addAction(FixCaption(fix)), &QAction::triggered, this, [this, index] { Fix(index); });
    menu.exec(m_tree->viewport()->mapToGlobal(at));
}

void CProblemsDock::FileChanged()
{
    m_model->Settle();
    const bool saved = !m_resetSinceFile;
    m_resetSinceFile = false;
    if (saved)
        emit SavedWithProblems(m_model->ProblemCount());
    else if (m_model->ProblemCount() > 0)
        show();
}
