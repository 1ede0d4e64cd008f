#ifndef SHOWNTEXT_H
#define SHOWNTEXT_H

#include <QObject>
#include <QString>
#include <QVector>

// The text in the view as it arrived, in the pieces it arrived in, each with
// the document position it starts at (the document counts a CR LF as one
// position). A copy is cheap: the pieces are implicitly shared.
struct TextPieces {
    QVector<QString> pieces;
    QVector<int> starts;
    bool complete = false; // no more pieces will come
};

// Keeps the view's text for searches off the GUI thread, which must not
// read the document itself. It costs one more copy of the text; reading the
// document back on the GUI thread would cost a pause at every search.
class ShownText : public QObject
{
    Q_OBJECT

public:
    explicit ShownText(QObject *parent = nullptr);

    const TextPieces &pieces() const { return m_text; }
    // Document positions the pieces cover.
    int length() const { return m_length; }

    // The document position of text index in a piece of text.
    static int documentLength(const QString &text, int index);

public slots:
    // The view holds start alone now.
    void begin(const QString &start);
    void append(const QString &piece);
    // The text is whole.
    void finish();

signals:
    void begun();
    void grew();

private:
    TextPieces m_text;
    int m_length = 0;
};

#endif // SHOWNTEXT_H
