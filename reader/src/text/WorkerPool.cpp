#include "WorkerPool.h"

#include <QCoreApplication>
#include <QPointer>

namespace
{

// A loader that waits takes one thread; a chapter scan and the freeing of a
// document or two may run beside it.
const int MinThreads = 4;

} // namespace

// Owned by the application object, so that its threads are joined while
// the toolkit is still whole; without one (a tool that has none) it lives
// until the process ends.
QThreadPool *WorkerPool::pool()
{
    static QPointer<QThreadPool> instance;
    if (instance.isNull()) {
        instance = new QThreadPool(QCoreApplication::instance());
        instance->setMaxThreadCount(qMax(MinThreads, QThread::idealThreadCount()));
    }
    return instance;
}
