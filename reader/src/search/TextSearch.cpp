#include "TextSearch.h"

#include "TextTuning.h"
#include "WorkerPool.h"

#include <QElapsedTimer>

using namespace TextTuning;

namespace
{

// Line breaks and indents as single spaces, so that a row reads as a line;
// the row's own ends lose theirs.
QString flattened(const QStringRef &text, bool trimStart, bool trimEnd)
{
    QString line;
    line.reserve(text.size());
    bool space = false;
    for (const QChar c : text) {
        if (c.isSpace()) {
            space = true;
            continue;
        }
        if (space && !(trimStart && line.isEmpty()))
            line += QLatin1Char(' ');
        space = false;
        line += c;
    }
    if (space && !trimEnd && !(trimStart && line.isEmpty()))
        line += QLatin1Char(' ');
    return line;
}

// Document positions of a piece's text indexes, for indexes that only grow:
// a CR LF counts one.
class PieceCursor
{
public:
    PieceCursor(const QString &text, int start) : m_text(text), m_start(start) {}

    int position(int index)
    {
        for (; m_index + 1 < index; ++m_index) {
            if (m_text.at(m_index) == QLatin1Char('\r') &&
                m_text.at(m_index + 1) == QLatin1Char('\n'))
                ++m_pairs;
        }
        m_index = qMax(m_index, index - 1);
        return m_start + index - m_pairs;
    }

private:
    const QString &m_text;
    int m_start;
    int m_index = 0; // pairs are counted up to here
    int m_pairs = 0;
};

SearchHit makeHit(const QString &text, int start, int length, PieceCursor *cursor)
{
    SearchHit hit;
    hit.position = cursor->position(start);
    hit.length = cursor->position(start + length) - hit.position;
    const int before = qMax(0, start - SearchContextCharacters);
    hit.before = flattened(text.midRef(before, start - before), true, false);
    hit.match = flattened(text.midRef(start, length), false, false);
    hit.after = flattened(text.midRef(start + length, SearchContextCharacters), false, true);
    return hit;
}

// One job's walk through the pieces. Each piece is searched on its own up
// to the last stretch before its end; that stretch is searched together with
// the start of the next piece, so that a match may run on across the seam.
class PieceSearch
{
public:
    PieceSearch(QFutureInterface<SearchBatch> &future, const TextPieces &text,
                const TextMatcher &matcher, int listed, int listLimit)
        : m_future(future), m_text(text), m_matcher(matcher), m_listed(listed),
          m_listLimit(listLimit)
    {
        m_sinceReport.start();
    }

    void run(int piece, int from)
    {
        for (; piece < m_text.pieces.size(); ++piece) {
            const QString &here = m_text.pieces.at(piece);
            const bool last = piece + 1 == m_text.pieces.size();
            const int seam =
                last ? here.size() + 1 : qMax(from, here.size() - SearchSeamCharacters);
            const int end = matchesIn(here, from, seam, m_text.starts.at(piece));
            if (end < 0)
                return;
            if (last) {
                m_batch.resumeIndex = end;
                break;
            }
            from = acrossTheSeam(piece, qMax(end, seam));
            if (from < 0)
                return;
        }
        report();
    }

private:
    // Matches in text from index from on that start before acceptBefore,
    // index 0 being at document position base. The end of the last one (or
    // from), -1 when the search stops.
    int matchesIn(const QString &text, int from, int acceptBefore, int base)
    {
        PieceCursor cursor(text, base);
        int start = 0, length = 0;
        for (; !m_future.isCanceled(); from = start + length) {
            const TextMatcher::Outcome outcome = m_matcher.find(text, from, &start, &length);
            if (outcome == TextMatcher::Outcome::LimitHit) {
                m_batch.limitHit = true;
                report();
                return -1;
            }
            if (outcome == TextMatcher::Outcome::NoMatch || start >= acceptBefore)
                return from;
            take(makeHit(text, start, length, &cursor));
        }
        return -1;
    }

    // Matches that start from index tail of piece on, searched with the
    // start of the next piece after it. Where the next piece's own search
    // starts, -1 when the search stops.
    int acrossTheSeam(int piece, int tail)
    {
        const QString &here = m_text.pieces.at(piece);
        int begin = qMax(0, tail - SearchSeamCharacters); // room for context and look-behind
        if (begin > 0 && here.at(begin) == QLatin1Char('\n') &&
            here.at(begin - 1) == QLatin1Char('\r'))
            --begin;
        const QString seam =
            here.mid(begin) + m_text.pieces.at(piece + 1).left(SearchSeamCharacters);
        const int ownEnd = here.size() - begin;
        const int base = m_text.starts.at(piece) + ShownText::documentLength(here, begin);
        const int end = matchesIn(seam, tail - begin, ownEnd, base);
        return end < 0 ? -1 : qMax(0, end - ownEnd);
    }

    void take(const SearchHit &hit)
    {
        ++m_batch.count;
        if (m_listed < m_listLimit) {
            m_batch.hits.append(hit);
            ++m_listed;
        }
        const bool first = !m_reported && m_batch.count >= SearchFirstReport;
        if (first || m_sinceReport.elapsed() >= SearchReportMilliseconds)
            report();
    }

    void report()
    {
        m_future.reportResult(m_batch);
        m_batch = SearchBatch();
        m_sinceReport.restart();
        m_reported = true;
    }

    QFutureInterface<SearchBatch> &m_future;
    const TextPieces &m_text;
    const TextMatcher &m_matcher;
    int m_listed;
    int m_listLimit;
    SearchBatch m_batch;
    QElapsedTimer m_sinceReport;
    bool m_reported = false;
};

} // namespace

TextSearch::TextSearch(ShownText *text, QObject *parent)
    : QObject(parent), m_text(text), m_listLimit(SearchListLimit)
{
    connect(&m_job, &QFutureWatcher<SearchBatch>::resultsReadyAt, this, &TextSearch::takeBatches);
    connect(&m_job, &QFutureWatcher<SearchBatch>::finished, this, &TextSearch::jobFinished);
    connect(text, &ShownText::begun, this, &TextSearch::cancel);
    connect(text, &ShownText::grew, this, &TextSearch::textGrew);
}

// A job holds copies of all it reads; it only has to hear that it may stop.
TextSearch::~TextSearch()
{
    m_job.cancel();
}

bool TextSearch::start(const SearchQuery &query)
{
    cancel();
    m_matcher = TextMatcher(query);
    if (!m_matcher.isValid())
        return false;
    m_running = true;
    startJob();
    return true;
}

void TextSearch::cancel()
{
    m_job.cancel();
    m_running = false;
    m_jobRunning = false;
    m_limitHit = false;
    m_nextPiece = 0;
    m_nextIndex = 0;
    m_searchedPieces = 0;
    m_count = 0;
    m_listed = 0;
}

// Setting the watcher's future drops whatever the previous job still had
// to say.
void TextSearch::startJob()
{
    const TextPieces text = m_text->pieces();
    if (m_searchedPieces >= text.pieces.size()) {
        if (text.complete) {
            m_running = false;
            emit finished();
        }
        return;
    }
    m_searchedPieces = text.pieces.size();
    m_jobRunning = true;
    QFutureInterface<SearchBatch> future;
    future.reportStarted();
    m_job.setFuture(future.future());
    const int first = m_nextPiece, from = m_nextIndex, listed = m_listed, limit = m_listLimit;
    const TextMatcher matcher = m_matcher;
    WorkerPool::run([future, text, first, from, matcher, listed, limit]() mutable {
        searchPieces(future, text, first, from, matcher, listed, limit);
        future.reportFinished();
    });
}

void TextSearch::takeBatches(int begin, int end)
{
    if (!m_running)
        return;
    for (int i = begin; i < end; ++i) {
        const SearchBatch batch = m_job.resultAt(i);
        m_count += batch.count;
        m_listed += batch.hits.size();
        m_limitHit = m_limitHit || batch.limitHit;
        if (batch.resumeIndex >= 0) {
            m_nextPiece = m_searchedPieces - 1;
            m_nextIndex = batch.resumeIndex;
        }
        if (batch.count > 0)
            emit found(batch.hits, batch.count);
    }
}

void TextSearch::jobFinished()
{
    if (!m_running || !m_jobRunning)
        return;
    m_jobRunning = false;
    if (m_limitHit) {
        m_running = false;
        emit finished();
        return;
    }
    startJob();
}

void TextSearch::textGrew()
{
    if (m_running && !m_jobRunning)
        startJob();
}

void TextSearch::searchPieces(QFutureInterface<SearchBatch> &future, const TextPieces &text,
                              int firstPiece, int from, const TextMatcher &matcher, int listed,
                              int listLimit)
{
    PieceSearch search(future, text, matcher, listed, listLimit);
    search.run(firstPiece, from);
}
