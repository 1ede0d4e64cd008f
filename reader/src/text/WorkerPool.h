#ifndef WORKERPOOL_H
#define WORKERPOOL_H

#include <QThreadPool>
#include <QtConcurrent>

#include <type_traits>
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

    // Lets go of value on the pool: the pages of a long text are given back
    // to the system there, which takes tens of milliseconds at 100 MB,
    // rather than in a pass of the window. value holds no reference to
    // anything that may go meanwhile.
    template <typename Value> static void release(Value &&value)
    {
        run([held = std::forward<Value>(value)]() mutable {
            std::decay_t<Value> dropped = std::move(held);
        });
    }
};

#endif // WORKERPOOL_H
