#pragma once
// Nothing lost when the program does not end normally: while a document is modified, a copy of it
// is kept at most every 30 seconds (CRecoveryStore); at the next start the copies a run left
// behind are offered back. The window only takes a snapshot of the records; a worker
// (CRecoveryWriter) writes it, and the store is touched by one thread at a time: the window
// waits for the write in flight before it removes a copy or ends the run.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class CCampaignSession;
class CRecoveryStore;
class CRecoveryWriter;
class CUserPrompts;
class QTimer;
class QWidget;

class CRecoveryGuard : public QObject {
    Q_OBJECT
public:
    // The copies go under `storeRoot` (the store's own folder when empty).
    CRecoveryGuard(CCampaignSession& session, CUserPrompts& prompts, QWidget* window,
                   const QString& storeRoot = QString());
    ~CRecoveryGuard() override;

    // What the timer does: snapshots of every modified document, none of the others, handed to
    // the worker to write.
    void StartCopies();
    // The same, waiting until they are written.
    void WriteCopies();
    // Waits for the copies being written, if any.
    void Wait();
    // Run by the worker before each batch it writes (tests hold a write in flight with it).
    void SetBeforeWrite(std::function<void()> hook) { m_beforeWrite = std::move(hook); }
    // At start-up: offers the copies a run that did not end normally left behind.
    void Offer();
    // A normal end: nothing is left to recover.
    void Finish();

signals:
    // A copy could not be written (said once until a copy is written again).
    void Notice(const QString& text);

private:
    void HistoryChanged();
    void RemoveCopy(int kind);
    void Written(bool written, const QString& reason);

    CCampaignSession& m_session;
    CUserPrompts& m_prompts;
    QWidget* m_window;
    // The store outlives the writer, whose batches write into it.
    std::unique_ptr<CRecoveryStore> m_store;
    CRecoveryWriter* m_writer;
    QTimer* m_timer;
    std::function<void()> m_beforeWrite;
    bool m_hasCopy[2] = {false, false}; // by CRecoveryStore::Kind: a copy was started or written
    bool m_failureShown = false;
};
