#ifndef GLYPHWARMUP_H
#define GLYPHWARMUP_H

#include <QBasicTimer>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QString>

// The first text a process lays out pays for every glyph it meets: the font
// engine loads the metrics of each, looking through the fallback fonts for
// the Chinese ones, and the first paint renders each. On the first few pages
// of a Chinese novel that is some hundreds of characters: 25 to 60 ms of the
// open, and as much again before the first paint. In the idle time before a
// text is opened, the commonest characters are laid out and drawn once in
// the text font, a slice per pass of the event loop, so that the first open
// finds them ready.
class GlyphWarmUp : public QObject
{
    Q_OBJECT

public:
    explicit GlyphWarmUp(QObject *parent = nullptr);

    // Starts again from the first character with another font.
    void start(const QFont &font);
    void stop();
    bool isDone() const { return m_next >= m_characters.size(); }

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    static QString commonCharacters();
    void warmSlice();

    QString m_characters;
    int m_next = 0;
    QFont m_font;
    QImage m_canvas;
    QBasicTimer m_timer;
};

#endif // GLYPHWARMUP_H
