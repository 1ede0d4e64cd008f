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
    m_count = 0;
    m_listed = 0;
}

// Setting the watcher's future drops whatever the previous job still had
// to say.
void TextSearch::startJob()
{
    const TextPieces text = m_text->pieces();
    if (m_nextPiece >= text.pieces.size()) {
        if (text.complete) {
            m_running = false;
            emit finished();
        }
        return;
    }
    m_jobEnd = text.pieces.size();
    m_jobRunning = true;
    QFutureInterface<SearchBatch> future;
    future.reportStarted();
    m_job.setFuture(future.future());
    const int first = m_nextPiece, listed = m_listed, limit = m_listLimit;
    const TextMatcher matcher = m_matcher;
    WorkerPool::run([future, text, first, matcher, listed, limit]() mutable {
        searchPieces(future, text, first, matcher, listed, limit);
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
    m_nextPiece = m_jobEnd;
    startJob();
}

void TextSearch::textGrew()
{
    if (m_running && !m_jobRunning)
        startJob();
}

void TextSearch::searchPieces(QFutureInterface<SearchBatch> &future, const TextPieces &text,
                              int firstPiece, const TextMatcher &matcher, int listed, int listLimit)
{
    SearchBatch batch;
    QElapsedTimer sinceReport;
    sinceReport.start();
    bool reported = false;
    const auto report = [&] {
        future.reportResult(batch);
        batch = SearchBatch();
        sinceReport.restart();
        reported = true;
    };
    for (int p = firstPiece; p < text.pieces.size() && !future.isCanceled(); ++p) {
        const QString &piece = text.pieces.at(p);
        PieceCursor cursor(piece, text.starts.at(p));
        int start = 0, length = 0;
        for (int from = 0;; from = start + length) {
            const TextMatcher::Outcome outcome = matcher.find(piece, from, &start, &length);
            if (outcome == TextMatcher::Outcome::LimitHit) {
                batch.limitHit = true;
                report();
                return;
            }
            if (outcome == TextMatcher::Outcome::NoMatch)
                break;
            ++batch.count;
            if (listed < listLimit) {
                batch.hits.append(makeHit(piece, start, length, &cursor));
                ++listed;
            }
            const bool first = !reported && batch.count >= SearchFirstReport;
            if (first || sinceReport.elapsed() >= SearchReportMilliseconds) {
                if (future.isCanceled())
                    return;
                report();
            }
        }
    }
    if (batch.count > 0)
        report();
}
