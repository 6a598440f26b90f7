#pragma once
// A single-shot wait that every new request starts again, so a burst of requests (slider moves,
// resizes, a pause in a drag) is answered once, when it has settled. Fire() ends the wait at
// once, as its time running out would, so tests need not sleep through it.

#include <QObject>
#include <QTimer>

class CDebounce : public QObject {
    Q_OBJECT
public:
    CDebounce(int milliseconds, QObject* parent) : QObject(parent)
    {
        m_timer.setSingleShot(true);
        m_timer.setInterval(milliseconds);
        connect(&m_timer, &QTimer::timeout, this, &CDebounce::timeout);
    }

    void start() { m_timer.start(); }
    void stop() { m_timer.stop(); }
    bool isActive() const { return m_timer.isActive(); }
    int interval() const { return m_timer.interval(); }
    // Answers a pending wait now; nothing when none is pending.
    void Fire()
    {
        if (!m_timer.isActive())
            return;
        m_timer.stop();
        emit timeout();
    }

signals:
    void timeout();

private:
    QTimer m_timer;
};
