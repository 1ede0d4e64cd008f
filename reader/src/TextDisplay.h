#ifndef TEXTDISPLAY_H
#define TEXTDISPLAY_H

#include <QColor>
#include <QFont>
#include <QObject>
#include <QString>
#include <QTextCharFormat>

struct ComfortSettings;

class QTextEdit;
class ReadingLayout;
class QWidget;

// Puts a text file into the reading view and keeps the user's font and
// colours on it across every file that is opened.
class TextDisplay : public QObject
{
    Q_OBJECT

public:
    explicit TextDisplay(QObject *parent = nullptr);

    void setTextWidget(QTextEdit *edit);
    void setParentWidget(QWidget *widget);

    // codec: a TextEncoding::Codec number. With autoDetect the bytes decide.
    // True when the file's text is now in the view.
    bool openFile(const QString &fileName, bool autoDetect, int codec);
    // The codec number the text on screen was decoded with; -1 before any.
    int codec() const { return m_codec; }

    // The document position of the text at the top of the view.
    int topPosition() const;
    // Moves the view's cursor to position (clamped into the text) and the view
    // so that the cursor's line sits fraction of the view's height from its
    // top: 0 puts it on the top line, 1.0 / 3 in the top third.
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

public slots:
    void setTextFont(QFont font);
    void setTextColor(QColor color);
    void setBackColor(QColor color);

private:
    static bool readWhole(const QString &fileName, QByteArray *bytes, QString *error);
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
};

#endif // TEXTDISPLAY_H
