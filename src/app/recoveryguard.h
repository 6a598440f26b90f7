#pragma once
// Nothing lost when the program does not end normally: while a document is modified, a copy of it
// is kept at most every 30 seconds (CRecoveryStore); at the next start the copies a run left
// behind are offered back.

#include <QObject>
#include <memory>

class CCampaignSession;
class CRecoveryStore;
class CUserPrompts;
class QTimer;
class QWidget;

class CRecoveryGuard : public QObject {
    Q_OBJECT
public:
    CRecoveryGuard(CCampaignSession& session, CUserPrompts& prompts, QWidget* window);
    ~CRecoveryGuard() override;

    // What the timer does: a copy of every modified document, none of the others.
    void WriteCopies();
    // At start-up: offers the copies a run that did not end normally left behind.
    void Offer();
    // A normal end: nothing is left to recover.
    void Finish();

private:
    void HistoryChanged();

    CCampaignSession& m_session;
    CUserPrompts& m_prompts;
    QWidget* m_window;
    std::unique_ptr<CRecoveryStore> m_store;
    QTimer* m_timer;
};
