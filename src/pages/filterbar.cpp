#include "pages/filterbar.h"

#include "document/recordfilter.h"
#include "document/recordlists.h"
#include "document/recordtablemodel.h"
#include "session/campaignsession.h"
#include "session/recordfilters.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>

namespace {

// Counts with the locale's group separators, whatever the locale's default for them.
QString CountText(int count)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale.toString(count);
}

} // namespace

CFilterBar::CFilterBar(CCampaignSession& session, RecordList list, QWidget* parent)
    : QWidget(parent), m_session(session), m_list(list)
{
    const QString suffix = QLatin1String(InfoOf(list).GridName).mid(2);
    m_field = new QLineEdit;
    m_field->setObjectName(QStringLiteral("edFilter") + suffix);
    m_field->setPlaceholderText(QStringLiteral("Filter: name~tank x>200000"));
    m_field->setClearButtonEnabled(true);
    m_field->installEventFilter(this);
    m_count = new QLabel;
    m_count->setObjectName(QStringLiteral("lbFilterCount") + suffix);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 1, 2, 1);
    layout->setSpacing(6);
    layout->addWidget(m_field, 1);
    layout->addWidget(m_count);
    if (InfoOf(list).Kind) {
        m_onlyOnMap = new QCheckBox(QStringLiteral("Only filtered on map"));
        m_onlyOnMap->setObjectName(QStringLiteral("chbOnlyFiltered") + suffix);
        m_onlyOnMap->setToolTip(QStringLiteral("The map draws only the records this filter shows"));
        layout->addWidget(m_onlyOnMap);
        connect(m_onlyOnMap, &QCheckBox::toggled, this,
                [this](bool only) { m_session.Filters().SetOnlyOnMap(m_list, only); });
    }

    connect(m_field, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_session.Filters().SetText(m_list, text); });
    connect(&session.Filters(), &CRecordFilters::FilterChanged, this, [this](RecordList changed) {
        if (changed == m_list)
            Update();
    });
    Update();
}

void CFilterBar::FocusField()
{
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
}

bool CFilterBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_field && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && !m_field->text().isEmpty()) {
        m_field->clear();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CFilterBar::Update()
{
    const CRecordFilters& filters = m_session.Filters();
    if (m_field->text() != filters.Text(m_list))
        m_field->setText(filters.Text(m_list));
    const QString reason = filters.Filter(m_list).Reason();
    m_field->setToolTip(reason);
    m_field->setStyleSheet(reason.isEmpty() ? QString() : QStringLiteral("QLineEdit { border: 1px solid red; }"));
    const int total = m_session.Records().Count(m_session.Model(m_list).Address());
    m_count->setText(filters.IsFiltering(m_list)
                         ? CountText(filters.AcceptedCount(m_list)) + QStringLiteral(" of ") + CountText(total)
                         : CountText(total));
}
