#ifndef TEXTSEARCH_H
#define TEXTSEARCH_H

#include "SearchQuery.h"
#include "ShownText.h"
#include "TextMatcher.h"

#include <QFutureInterface>
#include <QFutureWatcher>
#include <QObject>
#include <QVector>

// One match, at shown document positions, with the words around it on one
// line (line breaks and runs of white space as one space).
struct SearchHit {
    int position = 0;
    int length = 0;
    QString before;
    QString match;
    QString after;
};
Q_DECLARE_TYPEINFO(SearchHit, Q_MOVABLE_TYPE);

// What a search reports as it goes: the matches found since its last
// report (listed ones with their context, the rest only counted).
struct SearchBatch {
    QVector<SearchHit> hits;
    int count = 0;
    bool limitHit = false; // the expression was too costly; the search stops
    // In a job's last report: the index in its last piece where the next
    // job goes on, once that piece has a successor to run on into.
    int resumeIndex = -1;
};

// Finds every match of a query in the shown text, off the GUI thread, and
// reports them in text order as they are found. A text still arriving is
// searched as far as it has come and then piece by piece as the rest comes.
// A new search, cancel() or a new text ends the one running at once.
class TextSearch : public QObject
{
    Q_OBJECT

public:
    // text: not owned, outlives this object.
    explicit TextSearch(ShownText *text, QObject *parent = nullptr);
    ~TextSearch() override;

    // Matches beyond this many are counted, not listed.
    void setListLimit(int limit) { m_listLimit = limit; }
    // False, with nothing started, when the query cannot match (see
    // matcher()).
    bool start(const SearchQuery &query);
    void cancel();

    const TextMatcher &matcher() const { return m_matcher; }
    bool isRunning() const { return m_running; }
    int count() const { return m_count; }
    int listedCount() const { return m_listed; }
    bool limitHit() const { return m_limitHit; }

    // The work of one job, on any thread: every match in the pieces from
    // index from of firstPiece on. listed matches are listed already.
    static void searchPieces(QFutureInterface<SearchBatch> &future, const TextPieces &text,
                             int firstPiece, int from, const TextMatcher &matcher, int listed,
                             int listLimit);

signals:
    // Matches after those reported before; count counts the unlisted too.
    void found(const QVector<SearchHit> &hits, int count);
    // The whole text is searched, or an expression too costly stopped it.
    void finished();

private:
    void startJob();
    void takeBatches(int begin, int end);
    void jobFinished();
    void textGrew();

    ShownText *m_text; // not owned
    TextMatcher m_matcher;
    QFutureWatcher<SearchBatch> m_job;
    int m_listLimit;
    // Where the next job starts: the last piece searched goes on from the
    // end of its last match, for matches that run on into the next piece.
    int m_nextPiece = 0;
    int m_nextIndex = 0;
    int m_searchedPieces = 0; // pieces some job has searched
    bool m_running = false;
    bool m_jobRunning = false;
    bool m_limitHit = false;
    int m_count = 0;
    int m_listed = 0;
};

#endif // TEXTSEARCH_H
