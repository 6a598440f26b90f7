#include "overview/overviewdock.h"

#include "overview/overviewmap.h"

#include <QVBoxLayout>

COverviewDock::COverviewDock(CMapArea& mapArea, CCampaignSession& session, QWidget* parent)
    : QDockWidget(QStringLiteral("Overview"), parent)
{
    setObjectName(QStringLiteral("dockOverview"));
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(2, 2, 2, 2);
    m_map = new COverviewMap(mapArea, session);
    layout->addWidget(m_map);
    layout->addStretch(1);
    setWidget(content);
}
