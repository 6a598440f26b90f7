#include "pages/recordpages.h"

#include "document/recordlists.h"
#include "pages/placementpage.h"
#include "pages/templatepage.h"
#include "session/campaignsession.h"

#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

CRecordPages::CRecordPages(CCampaignSession& session, CRecordDialogs& dialogs, CUserPrompts& prompts,
                           std::function<bool()> mapShown, QWidget* parent)
    : QWidget(parent), m_session(session)
{
    setObjectName(QStringLiteral("pnlBIN"));
    setMinimumHeight(202);
    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("pcBINFile"));
    m_tabs->setDocumentMode(true);
    m_templates = new CTemplatePage(session, dialogs, prompts);
    m_tabs->addTab(m_templates, QStringLiteral("Keysite templates"));
    const QString captions[] = {QStringLiteral("Keysites"), QStringLiteral("Airbases"), QStringLiteral("SAMs")};
    for (RecordKind kind : {KeysiteKind, AirbaseKind, SamKind}) {
        auto* page = new CPlacementPage(kind, session, dialogs, prompts, mapShown);
        m_placements[kind] = page;
        m_tabs->addTab(page, captions[kind]);
        connect(page, &CPlacementPage::PlaceRequested, this, &CRecordPages::PlaceRequested);
        connect(page, &CPlacementPage::ShowOnMapRequested, this, &CRecordPages::ShowOnMapRequested);
    }
    m_tabs->setCurrentIndex(0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->addWidget(m_tabs);

    connect(m_tabs, &QTabWidget::currentChanged, this, &CRecordPages::PageChanged);
    connect(&session, &CCampaignSession::RowsBroughtForward, this, [this](ListAddress list) {
        const RecordListInfo& info = InfoOf(list.List);
        if (info.Kind)
            m_tabs->setCurrentWidget(m_placements[*info.Kind]);
        else
            m_tabs->setCurrentWidget(m_templates);
    });
}

int CRecordPages::CurrentPage() const { return m_tabs->currentIndex(); }

void CRecordPages::SetCurrentPage(int page)
{
    if (page >= 0 && page < m_tabs->count())
        m_tabs->setCurrentIndex(page);
}

QSplitter* CRecordPages::TemplateSplitter() const { return m_templates->Splitter(); }

void CRecordPages::SetPlacementButtonsEnabled(bool enabled)
{
    for (CPlacementPage* page : m_placements)
        page->SetButtonsEnabled(enabled);
}

void CRecordPages::FocusFilter()
{
    for (CPlacementPage* page : m_placements)
        if (m_tabs->currentWidget() == page)
            return page->FocusFilter();
    m_templates->FocusFilter();
}

void CRecordPages::PageChanged()
{
    for (CPlacementPage* page : m_placements) {
        if (m_tabs->currentWidget() == page) {
            m_session.SetActiveList(ListOfKind(page->Kind()));
            return;
        }
    }
    m_session.SetActiveList(RecordList::Templates);
}
