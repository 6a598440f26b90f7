#include "app/recoverywriter.h"

#include <QMetaObject>

CRecoveryWriter::CRecoveryWriter(QObject* parent) : QObject(parent) { }

CRecoveryWriter::~CRecoveryWriter()
{
    if (m_thread.joinable())
        m_thread.join();
}

bool CRecoveryWriter::Start(Batch batch)
{
    if (m_thread.joinable())
        return false;
    m_done = false;
    m_thread = std::thread([this, batch = std::move(batch)] {
        QString reason;
        // Only this thread touches the result until m_done says it is there.
        m_written = batch(&reason);
        m_reason = reason;
        m_done = true;
        // Delivered on the window's thread; dropped if the writer is gone by then.
        QMetaObject::invokeMethod(this, &CRecoveryWriter::Collect, Qt::QueuedConnection);
    });
    return true;
}

void CRecoveryWriter::Wait()
{
    if (!m_thread.joinable())
        return;
    m_thread.join();
    emit Finished(m_written, m_reason);
}

void CRecoveryWriter::Collect()
{
    // A Wait may have collected it already.
    if (m_thread.joinable() && m_done)
        Wait();
}
