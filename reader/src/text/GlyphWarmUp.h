#ifndef GLYPHWARMUP_H
#define GLYPHWARMUP_H

#include <QBasicTimer>
#include <QFont>
#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

// The first text a process lays out pays for every glyph it meets: the font
// engine loads the metrics of each, looking through the fallback fonts for
// the Chinese ones, and the first paint renders each. On the first few pages
// of a Chinese novel that is some hundreds of characters: 25 to 60 ms of the
// open, and as much again before the first paint. In the idle time before a
// text is opened, the commonest characters are laid out and drawn once in
// the text font, a slice per pass of the event loop, so that the first open
// finds them ready. A book read in another script meets other glyphs
// first: where a script may be chosen, its forms of the same characters
// are warmed as well.
class GlyphWarmUp : public QObject
{
    Q_OBJECT

public:
    explicit GlyphWarmUp(QObject *parent = nullptr);

    // Starts again from the first character with another font.
    void start(const QFont &font);
    void stop();
    bool isDone() const { return m_next >= m_characters.size(); }
    // The commonest characters as each configuration writes them, found on
    // the pool, which loads the configurations there once for the run of the
    // program; those not met yet are laid out and drawn in font after what
    // is still to do, even while a book is open (the choice is idle time).
    void addScripts(const QFont &font, const QStringList &configurations);
    // Every character warmed or to be warmed, in order.
    const QString &characters() const { return m_characters; }

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    static QString commonCharacters();
    static QString inScripts(const QString &characters, const QStringList &configurations);
    void warmSlice();
    void takeScriptCharacters();

    QString m_characters;
    int m_next = 0;
    QFont m_font;
    QImage m_canvas;
    QBasicTimer m_timer;
    QFont m_scriptFont;
    QSet<QChar> m_inScripts; // the characters addScripts added
    QFutureWatcher<QString> m_converting;
};

#endif // GLYPHWARMUP_H
