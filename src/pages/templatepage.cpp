#include "pages/templatepage.h"

#include "document/recordlists.h"
#include "pages/filterbar.h"
#include "pages/pageparts.h"
#include "pages/recordactions.h"
#include "pages/recordgrid.h"
#include "session/campaignsession.h"
#include "session/recordfilters.h"

#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

CTemplatePage::CTemplatePage(CCampaignSession& session, CRecordDialogs& dialogs, CUserPrompts& prompts, QWidget* parent)
    : QWidget(parent), m_session(session), m_dialogs(dialogs), m_prompts(prompts)
{
    setObjectName(QLatin1String(InfoOf(RecordList::Templates).PageName));
    const auto makeGrid = [&session](RecordList list) {
        auto* grid = new CRecordGrid;
        grid->setObjectName(QLatin1String(InfoOf(list).GridName));
        grid->SetRecordModel(&session.Filters().View(list), &session.Selection(list));
        return grid;
    };
    m_templates = makeGrid(RecordList::Templates);
    m_objects = makeGrid(RecordList::TemplateObjects);
    m_templatesFilter = new CFilterBar(session, RecordList::Templates);
    m_objectsFilter = new CFilterBar(session, RecordList::TemplateObjects);
    const QStringList captions{QStringLiteral("Add"), QStringLiteral("Edit"), QStringLiteral("Delete")};
    QPushButton* buttons[6] = {};
    QWidget* header = pageparts::GridWithButtons(
        m_templates,
        pageparts::ButtonColumn(
            QStringLiteral("pnlTemplateButtons"),
            {{&buttons[0], "btnTemplateAdd"}, {&buttons[1], "btnTemplateEd"}, {&buttons[2], "btnTemplateDel"}},
            {captions[0], captions[1], captions[2]}),
        m_templatesFilter);
    header->setObjectName(QStringLiteral("pnlTemplateHeader"));
    QWidget* objects = pageparts::GridWithButtons(m_objects,
                                                  pageparts::ButtonColumn(QStringLiteral("Panel4"),
                                                                          {{&buttons[3], "btnTemplateObjectAdd"},
                                                                           {&buttons[4], "btnTemplateObjectEd"},
                                                                           {&buttons[5], "btnTemplateObjectDel"}},
                                                                          {captions[0], captions[1], captions[2]}),
                                                  m_objectsFilter);
    objects->setObjectName(QStringLiteral("pnlTemplateObject"));

    m_splitter = new QSplitter(Qt::Vertical);
    m_splitter->setObjectName(QStringLiteral("Splitter3"));
    m_splitter->setHandleWidth(3);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->addWidget(header);
    m_splitter->addWidget(objects);
    // Both lists grow with the window: the templates are the page's main list.
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({100, 100});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitter);

    connect(buttons[0], &QPushButton::clicked, this, &CTemplatePage::TemplateAddClick);
    connect(buttons[1], &QPushButton::clicked, this, &CTemplatePage::TemplateEditClick);
    connect(buttons[2], &QPushButton::clicked, this, &CTemplatePage::TemplateDeleteClick);
    connect(buttons[3], &QPushButton::clicked, this, &CTemplatePage::ObjectAddClick);
    connect(buttons[4], &QPushButton::clicked, this, &CTemplatePage::ObjectEditClick);
    connect(buttons[5], &QPushButton::clicked, this, &CTemplatePage::ObjectDeleteClick);
    // Double click, Enter and Delete act as the buttons.
    connect(m_templates, &CRecordGrid::EditRequested, buttons[1], &QPushButton::click);
    connect(m_templates, &CRecordGrid::DeleteRequested, buttons[2], &QPushButton::click);
    connect(m_objects, &CRecordGrid::EditRequested, buttons[4], &QPushButton::click);
    connect(m_objects, &CRecordGrid::DeleteRequested, buttons[5], &QPushButton::click);
}

void CTemplatePage::FocusFilter()
{
    QWidget* last = focusWidget();
    (last && (last == m_objects || m_objectsFilter->isAncestorOf(last)) ? m_objectsFilter : m_templatesFilter)
        ->FocusField();
}

int CTemplatePage::CurrentTemplate() const { return m_session.CurrentRecord(RecordList::Templates); }

void CTemplatePage::TemplateAddClick()
{
    if (recordactions::Add<CPopTemplate>(m_session, m_dialogs))
        m_session.SelectRecord(RecordList::Templates, m_session.Records().TemplateCount() - 1);
}

void CTemplatePage::TemplateEditClick() { recordactions::EditSelected<CPopTemplate>(m_session, m_dialogs); }

void CTemplatePage::TemplateDeleteClick()
{
    if (!m_session.Filters().HidesAll(RecordList::Templates))
        recordactions::Delete<CPopTemplate>(m_session, m_prompts, window());
}

void CTemplatePage::ObjectAddClick() { recordactions::Add<CThreeDObject>(m_session, m_dialogs, CurrentTemplate()); }

void CTemplatePage::ObjectEditClick()
{
    recordactions::EditSelected<CThreeDObject>(m_session, m_dialogs, CurrentTemplate());
}

void CTemplatePage::ObjectDeleteClick()
{
    if (!m_session.Filters().HidesAll(RecordList::TemplateObjects))
        recordactions::Delete<CThreeDObject>(m_session, m_prompts, window(), CurrentTemplate());
}
