#include "app/recoveryguard.h"

#include "app/recoverystore.h"
#include "app/recoverywriter.h"
#include "dialogs/userprompts.h"
#include "dialogs/waitcursor.h"
#include "document/binformat.h"
#include "factions/factionsinfo.h"
#include "platform/atomicsave.h"
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

CRecoveryGuard::CRecoveryGuard(CCampaignSession& session, CUserPrompts& prompts, QWidget* window,
                               const QString& storeRoot)
    : QObject(window), m_session(session), m_prompts(prompts), m_window(window),
      m_store(std::make_unique<CRecoveryStore>(storeRoot)), m_writer(new CRecoveryWriter(this)),
      m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    m_timer->setInterval(kRecoveryInterval);
    connect(m_timer, &QTimer::timeout, this, &CRecoveryGuard::StartCopies);
    connect(&session.History(), &CEditHistory::Changed, this, &CRecoveryGuard::HistoryChanged);
    connect(m_writer, &CRecoveryWriter::Finished, this, &CRecoveryGuard::Written);
}

CRecoveryGuard::~CRecoveryGuard()
{
    // The batch in flight writes into the store: it ends before the store goes.
    delete m_writer;
}

void CRecoveryGuard::HistoryChanged()
{
    const bool bin = m_session.IsModified(CEditHistory::MapBin);
    const bool factions = m_session.IsModified(CEditHistory::Factions);
    if ((bin || factions) && !m_timer->isActive())
        m_timer->start();
    // A document back at its saved state needs no copy; one still modified keeps its last.
    if (!bin)
        RemoveCopy(CRecoveryStore::MapBin);
    if (!factions)
        RemoveCopy(CRecoveryStore::Factions);
}

void CRecoveryGuard::RemoveCopy(int kind)
{
    // Only a document that has a copy waits: an edit of the other never stalls on its write.
    if (!m_hasCopy[kind])
        return;
    // A copy still being written would come back after its removal.
    m_writer->Wait();
    m_store->Remove(CRecoveryStore::Kind(kind));
    m_hasCopy[kind] = false;
}

void CRecoveryGuard::Finish()
{
    m_timer->stop();
    m_writer->Wait();
    m_store->Finish();
    m_hasCopy[0] = m_hasCopy[1] = false;
}

void CRecoveryGuard::Wait() { m_writer->Wait(); }

void CRecoveryGuard::StartCopies()
{
    m_timer->stop();
    const bool bin = m_session.IsModified(CEditHistory::MapBin);
    const bool factions = m_session.IsModified(CEditHistory::Factions);
    if (!bin && !factions)
        return;
    if (m_writer->IsBusy()) {
        // Still writing the last ones (a very slow disk): the next try comes later.
        m_timer->start();
        return;
    }
    // Taken here, between two edits; everything below the snapshots happens on the worker.
    auto records = bin ? std::make_shared<const MapSnapshot>(m_session.MapBinSnapshot()) : nullptr;
    std::shared_ptr<CFactionsInfo> layer = factions ? m_session.FactionsSnapshot() : nullptr;
    const QString binFile = m_session.MapBinPath();
    const QString factionsFile = m_session.FactionsPath();
    CRecoveryStore* store = m_store.get();
    m_hasCopy[CRecoveryStore::MapBin] = m_hasCopy[CRecoveryStore::MapBin] || records;
    m_hasCopy[CRecoveryStore::Factions] = m_hasCopy[CRecoveryStore::Factions] || layer;
    m_writer->Start([=, before = m_beforeWrite](QString* reason) {
        if (before)
            before();
        bool written = true;
        if (records)
            written = store->Write(
                CRecoveryStore::MapBin, binFile,
                [&](const QString& copy, QString* why) {
                    return SaveFileAtomically(copy, WriteMapFile(*records, true), why);
                },
                reason);
        if (layer)
            written = store->Write(
                          CRecoveryStore::Factions, factionsFile,
                          [&](const QString& copy, QString* why) { return layer->SaveToFile(copy, why); },
                          written ? reason : nullptr)
                && written;
        return written;
    });
}

void CRecoveryGuard::WriteCopies()
{
    StartCopies();
    m_writer->Wait();
}

void CRecoveryGuard::Written(bool written, const QString& reason)
{
    // A copy that cannot be written is tried again at the next edit; the work itself is unharmed,
    // and the user is told once, not at every try.
    if (written) {
        m_failureShown = false;
        return;
    }
    if (m_failureShown)
        return;
    m_failureShown = true;
    emit Notice(QStringLiteral("The recovery copy of your unsaved work could not be written: %1")
                    .arg(MessageText::Shortened(reason, kLongestPathShown)));
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
