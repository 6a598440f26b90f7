#pragma once
// Writes the recovery copies on a thread of its own, one batch at a time, so that the window never
// waits for the disk while the user works. A batch is given everything it writes (snapshots taken
// on the window's thread); the window waits only where it must not run ahead of it: before the
// copies are removed (a save, an undo back to the saved state) and at the end of the run.

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <thread>

class CRecoveryWriter : public QObject {
    Q_OBJECT
public:
    // Runs on the worker; false with a reason when a copy could not be written.
    using Batch = std::function<bool(QString* reason)>;

    explicit CRecoveryWriter(QObject* parent = nullptr);
    ~CRecoveryWriter() override; // waits for the batch in flight, without reporting it

    // Starts `batch`; false, starting nothing, while another one is still being written.
    bool Start(Batch batch);
    bool IsBusy() const { return m_thread.joinable(); }
    // Waits for the batch in flight (if any), and reports it before returning.
    void Wait();

signals:
    // Said on the window's thread once a batch is over.
    void Finished(bool written, const QString& reason);

private:
    void Collect();

    std::thread m_thread;
    std::atomic<bool> m_done{false};
    bool m_written = false;
    QString m_reason;
};
