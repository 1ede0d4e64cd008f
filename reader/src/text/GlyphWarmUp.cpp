#include "GlyphWarmUp.h"

#include "ScriptConverter.h"
#include "TextTuning.h"
#include "WorkerPool.h"
#include "ZkTextDecoder.h"

#include <QPainter>
#include <QTextLayout>
#include <QTimerEvent>

using namespace TextTuning;

GlyphWarmUp::GlyphWarmUp(QObject *parent)
    : QObject(parent), m_characters(commonCharacters()), m_next(m_characters.size()),
      m_canvas(640, 64, QImage::Format_RGB32)
{
    connect(&m_converting, &QFutureWatcher<QString>::finished, this,
            &GlyphWarmUp::takeScriptCharacters);
}

// GB2312's first level holds the 3755 characters of everyday writing, in
// the order of their readings; the punctuation of Chinese prose and the
// digits and letters of web novels come first.
QString GlyphWarmUp::commonCharacters()
{
    QString characters = QStringLiteral("，。、；：？！“”‘’（）《》…—·　0123456789"
                                        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    QByteArray levelOne;
    for (int row = 0xB0; row <= 0xD7; ++row) {
        for (int cell = 0xA1; cell <= 0xFE; ++cell) {
            levelOne.append(char(row));
            levelOne.append(char(cell));
        }
    }
    characters += ZkTextDecoder::decode(levelOne, ZkTextDecoder::Gb18030);
    return characters;
}

QString GlyphWarmUp::inScripts(const QString &characters, const QStringList &configurations)
{
    QSet<QChar> known(characters.cbegin(), characters.cend());
    QString added;
    for (const QString &name : configurations) {
        const auto converter = ScriptConverter::forConfiguration(name);
        if (!converter)
            continue;
        for (const QChar character : converter->convert(characters)) {
            if (!known.contains(character)) {
                known.insert(character);
                added += character;
            }
        }
    }
    return added;
}

void GlyphWarmUp::addScripts(const QFont &font, const QStringList &configurations)
{
    m_scriptFont = font;
    const QString characters = commonCharacters();
    m_converting.setFuture(WorkerPool::run(
        [characters, configurations] { return inScripts(characters, configurations); }));
}

void GlyphWarmUp::takeScriptCharacters()
{
    QString added;
    for (const QChar character : m_converting.result()) {
        if (!m_inScripts.contains(character)) {
            m_inScripts.insert(character);
            added += character;
        }
    }
    if (added.isEmpty())
        return;
    if (isDone()) {
        m_next = m_characters.size();
        m_font = m_scriptFont;
        m_timer.start(WarmUpIntervalMilliseconds, this);
    }
    m_characters += added;
}

void GlyphWarmUp::start(const QFont &font)
{
    m_font = font;
    m_next = 0;
    m_timer.start(WarmUpIntervalMilliseconds, this);
}

void GlyphWarmUp::stop()
{
    m_timer.stop();
    m_next = m_characters.size();
}

void GlyphWarmUp::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timer.timerId())
        return QObject::timerEvent(event);
    warmSlice();
    if (isDone())
        m_timer.stop();
}

// Laid out as the reading layout does it, and drawn as the view draws it:
// on a raster image, whose glyph cache the view's painter shares.
void GlyphWarmUp::warmSlice()
{
    const QString slice = m_characters.mid(m_next, WarmUpSliceCharacters);
    m_next += slice.size();
    QTextLayout layout(slice, m_font);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
        line.setLineWidth(m_canvas.width());
    layout.endLayout();
    QPainter painter(&m_canvas);
    layout.draw(&painter, QPointF(0, 0));
}
