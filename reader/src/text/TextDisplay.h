#ifndef TEXTDISPLAY_H
#define TEXTDISPLAY_H

#include <QColor>
#include <QFont>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTextCharFormat>
#include <QTimer>
#include <QVector>

#include <vector>

struct ComfortSettings;

class QFile;
class QTextDocument;
class QTextEdit;
class QThread;
class ReadingLayout;
class TextLoader;
class QWidget;

// Puts a text file into the reading view and keeps the user's font and
// colours on it across every file that is opened. A long file shows its
// start at once and the rest follows while the window stays responsive; each
// text gets a document of its own, and the one it replaces is freed on
// another thread, where a novel's millions of blocks cost nobody a pause.
class TextDisplay : public QObject
{
    Q_OBJECT

public:
    explicit TextDisplay(QObject *parent = nullptr);
    // Waits for the documents still being freed.
    ~TextDisplay() override;

    void setTextWidget(QTextEdit *edit);
    void setParentWidget(QWidget *widget);

    // codec: a TextEncoding::Codec number. With autoDetect the bytes decide.
    // True when the file's text is now in the view, or its start with the
    // rest on its way (isLoading()).
    bool openFile(const QString &fileName, bool autoDetect, int codec);
    bool isLoading() const { return m_loading; }
    // The codec number the text on screen was decoded with; -1 before any.
    int codec() const { return m_codec; }

    // The document position of the text at the top of the view.
    int topPosition() const;
    // Moves the view's cursor to position (clamped into the text) and the view
    // so that the cursor's line sits fraction of the view's height from its
    // top: 0 puts it on the top line, 1.0 / 3 in the top third. A position
    // beyond the part of a text still loading is shown once it has arrived;
    // until then the view shows no text rather than the wrong one.
    void showPosition(int position, qreal fraction = 0);
    // Spacing and placing of the text; the text at the top of the view stays
    // there.
    void setComfort(const ComfortSettings &comfort);

signals:
    // The text of fileName is about to leave the view for another text (or
    // for the same file read again); the view still shows it.
    void leaving(const QString &fileName);
    // The text of fileName is in the view: opened, or read again in another
    // encoding.
    void opened(const QString &fileName);
    // Emitted before opened() when the text on screen is decoded otherwise.
    void codecChanged(int codec);
    // The whole text just put into the view, as the view got it (line ends
    // untouched). Implicitly shared: a receiver that keeps it keeps the
    // decoded text alive, so it should let go once it is done with it.
    void textLoaded(const QString &text);
    // How much of a long text is in the view, in percent of its file; 100
    // once it is all there.
    void loadProgress(int percent);

public slots:
    void setTextFont(QFont font);
    void setTextColor(QColor color);
    void setBackColor(QColor color);

private:
    bool readStart(QFile *file, QByteArray *head, QString *error);
    void showStart(QFile *file, const QByteArray &head, bool autoDetect, int codec);
    void startLoading(QFile *file, const QByteArray &head, bool autoDetect, int *codec);
    void replaceDocument(const QString &text);
    void dispose(QTextDocument *document);
    void cancelLoading();
    void takePiece(const QString &text, qint64 bytesRead);
    void appendPieces();
    int sliceLength(const QString &piece, int from) const;
    void finishLoading();
    void loadFailed(const QString &error);
    void readAgain(int codec);
    void showPendingPosition();
    void setTextHidden(bool hidden);
    void showText(const QByteArray &data, int codec);
    void setCodec(int codec);
    void showDecodedText(const QString &text);
    void setFontAndColor(const QFont &font, const QColor &color);
    void applyCharFormat(const QTextCharFormat &format);
    void scrollToPosition(int position, qreal fraction);

    void dropSelection();
    void useTextFont(const QFont &font);
    void viewMoved();
    void takeAnchor();
    void holdAnchor(int position, qreal offset);
    qreal lineTop(int position, qreal *height = nullptr) const;
    void followLayout();
    void moveView(int value);
    ReadingLayout *readingLayout() const;

    QTextEdit *m_textWidget = nullptr; // the reading view, not owned

public:
    QString m_fileName; // last file found on disk; re-read by the codec menu
    QFont m_textFont;   // seeds the text font dialog
    QColor m_textColor; // seeds the text colour dialog
    QColor m_backColor; // seeds the background colour dialog

private:
    // The look as one character format; short texts carry it on every character.
    QTextCharFormat m_charFormat;
    QWidget *m_parentWidget = nullptr; // parent of message boxes, not owned
    // The text the view holds at its top: the position of a line's first
    // character and how far below that line's top the view begins (negative
    // above it); or the end of the text. Positions outlast every relayout.
    int m_anchorPosition = -1;
    qreal m_anchorOffset = 0;
    bool m_anchorAtEnd = false;
    bool m_movingView = false; // the view is moved by this component
    int m_codec = -1;

    TextLoader *m_loader = nullptr; // owned (child)
    bool m_loading = false;         // the text's end is still to come
    bool m_readToTheEnd = false;    // the loader is done; pieces may still wait
    qint64 m_fileSize = 0;
    int m_progress = 100;
    QStringList m_pieces;        // read, not yet in the document
    QVector<qint64> m_pieceEnds; // how far into the file each piece reaches
    int m_pieceOffset = 0;       // characters of the first piece in the document
    QString m_loadedText;        // the text so far, for textLoaded()
    QTimer m_appendTimer;
    // A position asked for beyond the text that has arrived, or -1.
    int m_pendingPosition = -1;
    qreal m_pendingFraction = 0;
    std::vector<QThread *> m_disposers; // owned; each frees one document
};

#endif // TEXTDISPLAY_H
