#include "app/mapstatusbar.h"

#include "maparea/maparea.h"
#include "mapview/mapwindow.h"
#include "session/campaignsession.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <cmath>

namespace {

// The keys a modifier key adds to what is held, or 0 for any other key.
HintKeys KeyOf(int key)
{
    switch (key) {
    case Qt::Key_Shift: return HintShift;
    case Qt::Key_Control: return HintControl;
    case Qt::Key_Alt: return HintAlt;
    default: return 0;
    }
}

HintKeys KeysOf(Qt::KeyboardModifiers modifiers)
{
    return HintKeys((modifiers.testFlag(Qt::ShiftModifier) ? HintShift : 0)
                    | (modifiers.testFlag(Qt::ControlModifier) ? HintControl : 0)
                    | (modifiers.testFlag(Qt::AltModifier) ? HintAlt : 0));
}

// The records named under the mouse in the label's tooltip, at most this many.
constexpr size_t kListedRecords = 12;

} // namespace

CMapStatusBar::CMapStatusBar(CMapArea& area, CCampaignSession& session, QStatusBar& bar)
    : QObject(&area), m_area(area), m_session(session), m_inspector(session)
{
    m_tool = new QLabel;
    m_tool->setObjectName(QStringLiteral("lblStatusTool"));
    m_tool->setTextFormat(Qt::RichText);
    // The hints are long: the bar clips them rather than growing the window.
    m_tool->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_tool->setMinimumWidth(0);
    bar.addWidget(m_tool, 1);

    const QFontMetrics metrics(bar.font());
    m_records = new QLabel;
    m_records->setObjectName(QStringLiteral("lblStatusRecords"));
    m_records->setTextFormat(Qt::PlainText);
    // Shown only over records, so that empty ground leaves the room to the hints.
    m_records->setMaximumWidth(
        metrics.horizontalAdvance(QStringLiteral("Keysite 12345 (template 1234, [14] HOUSING) · +99 more")));
    m_records->setContentsMargins(0, 0, 12, 0); // apart from the place beside it
    m_records->hide();
    bar.addPermanentWidget(m_records);
    m_position = new QLabel;
    m_position->setObjectName(QStringLiteral("lblStatusPosition"));
    m_position->setTextFormat(Qt::PlainText);
    // Wide enough for a typical read-out, so that the bar does not jump as the mouse moves.
    m_position->setMinimumWidth(
        metrics.horizontalAdvance(QStringLiteral("X 123456  Z 123456 · Sector 31, 31 · Blue · Height 2345")));
    m_position->hide();
    bar.addPermanentWidget(m_position);

    connect(&m_area, &CMapArea::PointerMoved, this, &CMapStatusBar::PointerMoved);
    connect(&m_area, &CMapArea::PointerLeft, this, &CMapStatusBar::PointerLeft);
    // Records, selection, sectors, view and files all end in a repaint: what lies under the
    // resting mouse is read again then.
    connect(&m_area, &CMapArea::Repainted, this, &CMapStatusBar::Refresh);
    connect(&m_area, &CMapArea::ToolModeChanged, this, &CMapStatusBar::ShowHints);
    connect(&m_area, &CMapArea::PlaceModeChanged, this, &CMapStatusBar::ShowHints);
    qApp->installEventFilter(this);
}

void CMapStatusBar::PointerMoved(RecordPoint at, Qt::KeyboardModifiers modifiers)
{
    const CViewport view = m_area.PointerContext().Viewport();
    if (!view.HasScale())
        return;
    // The signal gives the record position of the pixel; rounding the way back finds that pixel.
    const double column = (double(at.X) - view.MapLeft) * double(view.ScaleX) + view.PixelLeft;
    const double row = (double(at.Z) - view.RecordTop) * double(view.ScaleZ) + view.PixelTop;
    if (!std::isfinite(column) || !std::isfinite(row) || std::fabs(column) > 1e9 || std::fabs(row) > 1e9)
        return;
    m_pixel = QPoint(int(std::lround(column)), int(std::lround(row)));
    m_held = KeysOf(modifiers);
    Refresh();
}

void CMapStatusBar::PointerLeft()
{
    m_pixel.reset();
    m_held = 0;
    m_tool->clear();
    m_records->clear();
    m_records->setToolTip(QString());
    m_records->hide();
    m_position->clear();
    m_position->hide();
}

void CMapStatusBar::Refresh()
{
    if (!m_pixel)
        return;
    const MapToolContext context = m_area.PointerContext();
    const CViewport view = context.Viewport();
    if (!view.HasScale())
        return;
    SymbolChoice choice;
    choice.Pickable = context.Pickable;
    choice.Takes = context.Takes;
    choice.Reach = context.SymbolReach;
    const std::array<bool, 3> shown = m_area.ShownKinds();
    for (size_t kind = 0; kind < choice.Locked.size(); ++kind)
        choice.Locked[kind] = shown[kind] && context.Locked[kind];
    const PointerFacts facts =
        m_inspector.Inspect(view, context.View ? context.View->Map : nullptr, choice, m_pixel->x(), m_pixel->y());
    const CBINFile& document = m_session.Records();

    m_position->setText(PositionText(facts));
    const QString records = RecordsText(document, facts.Records);
    m_records->setText(m_records->fontMetrics().elidedText(records, Qt::ElideRight, m_records->maximumWidth() - 12));
    QStringList listed;
    for (size_t i = 0; i < facts.Records.size() && i < kListedRecords; ++i)
        listed << RecordText(document, facts.Records[i]);
    if (facts.Records.size() > kListedRecords)
        listed << QStringLiteral("+%1 more").arg(facts.Records.size() - kListedRecords);
    m_records->setToolTip(listed.join(QLatin1Char('\n')));
    m_records->setVisible(!records.isEmpty());
    m_position->show();
    ShowHints();
}

void CMapStatusBar::ShowHints()
{
    if (!m_pixel)
        return;
    std::optional<PlacedRecord> placing;
    if (const auto placed = m_area.PlacedRecord())
        placing = PlacedRecord{placed->first, placed->second};
    // As many whole hints as the label has room for.
    QFont bold = m_tool->font();
    bold.setBold(true);
    const QFontMetrics plain(m_tool->font());
    const QFontMetrics strong(bold);
    const auto width = [&](const QString& text, bool isBold) {
        return (isBold ? strong : plain).horizontalAdvance(text);
    };
    const std::vector<ToolHint> hints =
        HintsThatFit(ToolHints(m_area.ToolMode(), placing), m_held, m_tool->contentsRect().width(), width);
    m_tool->setText(HintsRichText(hints, m_held));
}

bool CMapStatusBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_tool && event->type() == QEvent::Resize)
        ShowHints();
    if (m_pixel && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (const HintKeys changed = KeyOf(key->key())) {
            // A modifier key's own event may or may not count it as held yet.
            HintKeys held = KeysOf(key->modifiers());
            held = event->type() == QEvent::KeyPress ? HintKeys(held | changed) : HintKeys(held & ~changed);
            if (held != m_held) {
                m_held = held;
                ShowHints();
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
