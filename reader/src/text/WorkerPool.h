#ifndef WORKERPOOL_H
#define WORKERPOOL_H

#include <QThreadPool>
#include <QtConcurrent>

#include <utility>

// The one way the reader runs work off the GUI thread: reading and decoding
// a file, finding its chapters, freeing a document that was replaced. Every
// job goes to one pool of a few threads, so that a job that waits (a loader
// holding back until the window takes its text) never keeps the others
// from a thread. A job must not outlive what it uses: whoever starts one
// that refers to an object waits for it before the object goes.
class WorkerPool
{
public:
    static QThreadPool *pool();

    // The function's result arrives in the returned future.
    template <typename Function> static auto run(Function &&function)
    {
        return QtConcurrent::run(pool(), std::forward<Function>(function));
    }
};

#endif // WORKERPOOL_H
