#include "app/recoveryguard.h"

#include "app/recoverystore.h"
#include "dialogs/userprompts.h"
#include "dialogs/waitcursor.h"
#include "platform/messagetext.h"
#include "session/campaignsession.h"

#include <QLocale>
#include <QTimer>

namespace {

constexpr int kRecoveryInterval = 30 * 1000;

// Paths come from the copies' origin files: shown whole up to the longest path the system takes.
constexpr qsizetype kLongestPathShown = 4096;

// "<file> (<time>; what the person should know before opening it)".
QString RecoveryOfferLine(const CRecoveryStore::Copy& copy)
{
    const bool bin = copy.Type == CRecoveryStore::MapBin;
    const QString name = copy.Original.isEmpty()
        ? (bin ? QStringLiteral("Untitled.BIN") : QStringLiteral("Untitled.SID"))
        : copy.Original;
    QStringList notes{QLocale().toString(copy.Time, QLocale::ShortFormat)};
    if (!copy.OtherKind.isEmpty())
        notes << QStringLiteral("kept for %1, which is not a %2 file: it opens as a new one")
                     .arg(MessageText::Shortened(copy.OtherKind, kLongestPathShown),
                          bin ? QStringLiteral("Map BIN") : QStringLiteral("faction"));
    if (copy.OriginalChanged)
        notes << QStringLiteral("the file has changed since this copy was taken");
    if (copy.OriginalGone)
        notes << QStringLiteral("the file is no longer there");
    if (copy.MaybeRunning)
        notes << QStringLiteral("it may belong to another Sablemap running now");
    return QStringLiteral("%1 (%2)").arg(MessageText::Shortened(name, kLongestPathShown),
                                         notes.join(QStringLiteral("; ")));
}

} // namespace

CRecoveryGuard::CRecoveryGuard(CCampaignSession& session, CUserPrompts& prompts, QWidget* window)
    : QObject(window), m_session(session), m_prompts(prompts), m_window(window),
      m_store(std::make_unique<CRecoveryStore>()), m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    m_timer->setInterval(kRecoveryInterval);
    connect(m_timer, &QTimer::timeout, this, &CRecoveryGuard::WriteCopies);
    connect(&session.History(), &CEditHistory::Changed, this, &CRecoveryGuard::HistoryChanged);
}

CRecoveryGuard::~CRecoveryGuard() = default;

void CRecoveryGuard::HistoryChanged()
{
    const bool bin = m_session.IsModified(CEditHistory::MapBin);
    const bool factions = m_session.IsModified(CEditHistory::Factions);
    if ((bin || factions) && !m_timer->isActive())
        m_timer->start();
    // A document back at its saved state needs no copy; one still modified keeps its last.
    if (!bin)
        m_store->Remove(CRecoveryStore::MapBin);
    if (!factions)
        m_store->Remove(CRecoveryStore::Factions);
}

void CRecoveryGuard::Finish()
{
    m_timer->stop();
    m_store->Finish();
}

void CRecoveryGuard::WriteCopies()
{
    m_timer->stop();
    // A copy that cannot be written is tried again at the next edit; the work itself is unharmed.
    if (m_session.IsModified(CEditHistory::MapBin))
        m_store->Write(CRecoveryStore::MapBin, m_session.MapBinPath(), [this](const QString& copy, QString* reason) {
            return m_session.WriteMapBinCopy(copy, reason);
        });
    if (m_session.IsModified(CEditHistory::Factions))
        m_store->Write(
            CRecoveryStore::Factions, m_session.FactionsPath(),
            [this](const QString& copy, QString* reason) { return m_session.WriteFactionsCopy(copy, reason); });
}

void CRecoveryGuard::Offer()
{
    const std::vector<CRecoveryStore::Copy> copies = m_store->Abandoned();
    if (copies.empty())
        return;
    QString list;
    for (const CRecoveryStore::Copy& copy : copies)
        list += QLatin1Char('\n') + RecoveryOfferLine(copy);
    const QMessageBox::StandardButton answer = m_prompts.Ask(
        m_window,
        QStringLiteral("Sablemap did not end normally last time. Unsaved work was kept:%1\n\nOpen it?").arg(list),
        QMessageBox::Open | QMessageBox::Discard | QMessageBox::Ignore,
        QStringLiteral("Open restores the newest copy of each kind; Discard throws the copies away; Ignore "
                       "keeps them for the next start."));
    if (answer == QMessageBox::Discard) {
        for (const CRecoveryStore::Copy& copy : copies)
            CRecoveryStore::Discard(copy);
        return;
    }
    if (answer != QMessageBox::Open)
        return;
    bool openedBin = false;
    bool openedFactions = false;
    std::vector<CRecoveryStore::Copy> opened;
    for (const CRecoveryStore::Copy& copy : copies) { // newest first
        const bool bin = copy.Type == CRecoveryStore::MapBin;
        if (bin ? openedBin : openedFactions)
            continue;
        QString reason;
        CWaitCursor wait;
        const bool restored = bin ? m_session.RestoreMapBin(copy.Path, copy.Original, &reason)
                                  : m_session.RestoreFactions(copy.Path, copy.Original, &reason);
        if (!restored) {
            m_prompts.Message(m_window, QStringLiteral("Open failed"), QStringLiteral("%1: %2").arg(copy.Path, reason));
            continue;
        }
        (bin ? openedBin : openedFactions) = true;
        opened.push_back(copy);
    }
    // The work opened is this run's to keep safe from now on; only then do the old copies go.
    WriteCopies();
    for (const CRecoveryStore::Copy& copy : opened)
        CRecoveryStore::Discard(copy);
}
