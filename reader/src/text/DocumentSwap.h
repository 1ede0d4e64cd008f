#ifndef DOCUMENTSWAP_H
#define DOCUMENTSWAP_H

#include <QFuture>
#include <QObject>
#include <QVector>

class QString;
class QTextDocument;
class QTextEdit;
class ReadingLayout;

// Gives the reading view a new document for every text, laid out by a
// ReadingLayout with the settings of the one before, and frees the document
// it replaces on the worker pool: clearing or deleting a novel's document
// frees millions of blocks, a long moment on the GUI thread.
class DocumentSwap : public QObject
{
    Q_OBJECT

public:
    explicit DocumentSwap(QObject *parent = nullptr);
    // Waits for the documents still being freed.
    ~DocumentSwap() override;

    // Gives the view's own document a ReadingLayout, for the time before
    // the first text.
    void setTextWidget(QTextEdit *edit);
    // The view shows text in a new document, its cursor at the start. The
    // view's scroll bar moves while the document changes. A text that
    // continues (the start of a long file) is taller than any page.
    void replace(const QString &text, bool continues = false);
    ReadingLayout *layout() const;

signals:
    // A new document's layout, the one that lays out what the view shows.
    void layoutChanged(ReadingLayout *layout);

private:
    QTextDocument *newDocument(const QTextDocument *old, const QString &text) const;
    void dispose(QTextDocument *document);

    QTextEdit *m_textWidget = nullptr; // the reading view, not owned
    QVector<QFuture<void>> m_disposals;
};

#endif // DOCUMENTSWAP_H
