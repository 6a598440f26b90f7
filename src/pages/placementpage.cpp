#include "pages/placementpage.h"

#include "document/recordlists.h"
#include "pages/filterbar.h"
#include "pages/pageparts.h"
#include "pages/recordactions.h"
#include "pages/recordgrid.h"
#include "session/campaignsession.h"
#include "session/recordfilters.h"

#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct ButtonNames {
    const char* Panel;
    const char* Add;
    const char* Edit;
    const char* Delete;
    const char* Place;
};

constexpr ButtonNames kButtons[] = {
    {"pnlKeysiteButtons", "btnKeysiteAdd", "btnKeysiteEd", "btnKeysiteDel", "btnKeysitePlace"},
    {"pnlAirbasesButtons", "btnAirbaseAdd", "btnAirbaseEd", "btnAirbaseDel", "btnAirbasePlace"},
    {"pnlSAMsButtons", "btnSAMAdd", "btnSAMEdit", "btnSAMDel", "btnSAMPlace"},
};

// Calls `visit` with a value of the record type of a kind.
template <typename Visit>
auto WithRecordType(RecordKind kind, Visit visit)
{
    switch (kind) {
    case KeysiteKind: return visit(CKeysitePlacement{});
    case AirbaseKind: return visit(CAirbasePlacement{});
    case SamKind: break;
    }
    return visit(CSAMPlacement{});
}

} // namespace

CPlacementPage::CPlacementPage(RecordKind kind, CCampaignSession& session, CRecordDialogs& dialogs,
                               CUserPrompts& prompts, std::function<bool()> mapShown, QWidget* parent)
    : QWidget(parent), m_kind(kind), m_session(session), m_dialogs(dialogs), m_prompts(prompts),
      m_mapShown(std::move(mapShown))
{
    const RecordListInfo& info = InfoOf(ListOfKind(kind));
    const ButtonNames& names = kButtons[kind];
    setObjectName(QLatin1String(info.PageName));
    m_grid = new CRecordGrid;
    m_grid->setObjectName(QLatin1String(info.GridName));
    m_grid->SetRecordModel(&session.Filters().View(info.List), &session.Selection(info.List));
    m_filter = new CFilterBar(session, info.List);
    QWidget* buttons = pageparts::ButtonColumn(
        QLatin1String(names.Panel),
        {{&m_add, names.Add}, {&m_edit, names.Edit}, {&m_delete, names.Delete}, {&m_place, names.Place}},
        {QStringLiteral("Add"), QStringLiteral("Edit"), QStringLiteral("Delete"), QStringLiteral("Place")});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pageparts::GridWithButtons(m_grid, buttons, m_filter));

    connect(m_add, &QPushButton::clicked, this, &CPlacementPage::AddClick);
    connect(m_edit, &QPushButton::clicked, this, &CPlacementPage::EditClick);
    connect(m_delete, &QPushButton::clicked, this, &CPlacementPage::DeleteClick);
    connect(m_place, &QPushButton::clicked, this, &CPlacementPage::PlaceClick);
    // Double click, Enter and Delete act as the buttons (and not while those are disabled).
    connect(m_grid, &CRecordGrid::EditRequested, m_edit, &QPushButton::click);
    connect(m_grid, &CRecordGrid::DeleteRequested, m_delete, &QPushButton::click);
    connect(m_grid, &CRecordGrid::Click, this, &CPlacementPage::GridClick);
    // The map marks and moves every kind's selection: a plain click in one grid starts anew.
    connect(m_grid, &CRecordGrid::SelectionReplaced, this,
            [this, list = info.List] { m_session.ClearOtherPlacements(list); });
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this, &CPlacementPage::ShowMenu);
}

void CPlacementPage::SetButtonsEnabled(bool enabled)
{
    for (QPushButton* button : {m_add, m_edit, m_delete, m_place})
        button->setEnabled(enabled);
}

void CPlacementPage::FocusFilter() { m_filter->FocusField(); }

void CPlacementPage::AddClick()
{
    const bool added = WithRecordType(
        m_kind, [this](auto record) { return recordactions::Add<decltype(record)>(m_session, m_dialogs); });
    // The new last record (its row, unless the filter hides it); for a keysite this selects its
    // template.
    const RecordList list = ListOfKind(m_kind);
    if (added)
        m_session.SelectRecord(list, m_session.Records().Count({list}) - 1);
}

void CPlacementPage::EditClick()
{
    WithRecordType(m_kind,
                   [&](auto record) { return recordactions::EditSelected<decltype(record)>(m_session, m_dialogs); });
}

void CPlacementPage::DeleteClick()
{
    if (m_session.Filters().HidesAll(ListOfKind(m_kind)))
        return;
    WithRecordType(m_kind, [this](auto record) {
        recordactions::Delete<decltype(record)>(m_session, m_prompts, window());
        return true;
    });
}

void CPlacementPage::PlaceClick()
{
    const RecordList list = ListOfKind(m_kind);
    const int record = m_session.CurrentRecord(list);
    if (record >= 0)
        emit PlaceRequested(m_kind, record);
}

void CPlacementPage::GridClick()
{
    if (m_kind != KeysiteKind)
        return;
    const int keysite = m_session.CurrentRecord(RecordList::Keysites);
    if (keysite < 0)
        return;
    const int templateIndex = m_session.Records().Keysites()[size_t(keysite)].TemplateNumber;
    if (templateIndex >= 0 && templateIndex < m_session.Records().TemplateCount())
        m_session.SelectRecord(RecordList::Templates, templateIndex);
}

void CPlacementPage::ShowMenu(QPoint at)
{
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const int index = m_session.CurrentRecord(ListOfKind(m_kind));
    QAction* show =
        menu->addAction(QStringLiteral("Show on map"), this, [this, index] { emit ShowOnMapRequested(m_kind, index); });
    show->setEnabled(index >= 0 && m_mapShown());
    menu->popup(m_grid->viewport()->mapToGlobal(at));
}
