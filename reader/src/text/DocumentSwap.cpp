#include "DocumentSwap.h"

#include "ReadingLayout.h"
#include "WorkerPool.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>

DocumentSwap::DocumentSwap(QObject *parent) : QObject(parent) {}

DocumentSwap::~DocumentSwap()
{
    for (QFuture<void> &disposal : m_disposals)
        disposal.waitForFinished();
}

void DocumentSwap::setTextWidget(QTextEdit *edit)
{
    m_textWidget = edit;
    QTextDocument *document = edit->document();
    // Nothing is ever undone in a read-only view; undo steps would only hold
    // memory for every re-formatting of the text.
    document->setUndoRedoEnabled(false);
    // Owned by the document, which deletes the layout it replaces.
    document->setDocumentLayout(new ReadingLayout(document));
    emit layoutChanged(layout());
}

ReadingLayout *DocumentSwap::layout() const
{
    return qobject_cast<ReadingLayout *>(m_textWidget->document()->documentLayout());
}

void DocumentSwap::replace(const QString &text, bool continues)
{
    QTextDocument *old = m_textWidget->document();
    QTextDocument *document = newDocument(old, text);
    // The view deletes a document of its own making right here; it is
    // empty, as the view made it.
    const bool ours = old->parent() == m_textWidget;
    // The view lays a new text out in its whole width and again, narrower,
    // once it has found that the text needs a scroll bar; the first layout
    // of a process costs tens of milliseconds. A text known to be tall gets
    // its scroll bar first and is laid out once.
    const Qt::ScrollBarPolicy policy = m_textWidget->verticalScrollBarPolicy();
    const bool tall = continues && policy == Qt::ScrollBarAsNeeded;
    if (tall)
        m_textWidget->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_textWidget->setDocument(document);
    if (tall)
        m_textWidget->setVerticalScrollBarPolicy(policy);
    // A new text is read from its start.
    m_textWidget->setTextCursor(QTextCursor(document));
    emit layoutChanged(layout());
    if (ours)
        dispose(old);
}

// Owned by the view, until it is replaced.
QTextDocument *DocumentSwap::newDocument(const QTextDocument *old, const QString &text) const
{
    auto *document = new QTextDocument(m_textWidget);
    document->setUndoRedoEnabled(false);
    document->setDefaultFont(old->defaultFont());
    document->setDefaultTextOption(old->defaultTextOption());
    document->setDocumentMargin(old->documentMargin());
    // Owned by the document.
    auto *layout = new ReadingLayout(document);
    if (const auto *oldLayout = qobject_cast<const ReadingLayout *>(old->documentLayout()))
        layout->setComfort(oldLayout->comfort());
    document->setDocumentLayout(layout);
    document->setPlainText(text);
    return document;
}

// Out of every thread first, so that the pool's thread may delete it: the
// layout's background work is stopped and nothing else is pending for it.
void DocumentSwap::dispose(QTextDocument *document)
{
    if (auto *layout = qobject_cast<ReadingLayout *>(document->documentLayout()))
        layout->stop();
    document->setParent(nullptr);
    document->moveToThread(nullptr);
    m_disposals.erase(std::remove_if(m_disposals.begin(), m_disposals.end(),
                                     [](const QFuture<void> &done) { return done.isFinished(); }),
                      m_disposals.end());
    m_disposals.append(WorkerPool::run([document] { delete document; }));
}
