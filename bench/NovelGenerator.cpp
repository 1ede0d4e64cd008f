#include "NovelGenerator.h"

#include <QMap>
#include <QTextCodec>

namespace
{

// Common characters of modern prose; every one of them is in GBK.
const QString Hanzi = QStringLiteral(
    "的一是了我不人在他有这个上们来到时大地为子中你说生国年着就那和要她出也得里后自以会家可下"
    "而过天去能对小多然于心学么之都好看起发当没成只如事把还用第样道想作种开美总从无情己面最女但"
    "现前些所同日手又行意动方期它头经长儿回位分爱老因很给名法间斯知世什两次使身者被高已亲其进此"
    "话常与活正感见明问力理尔点文几定本公特做外孩相西果走将月十实向声车全信重三机工物气每并别真"
    "打太新比才便夫再书部水像眼等体却加电主界门利海受听表德少克代员许群先口由死安写性马光白或住"
    "难望教命花结乐色更拉东神记处让母父应直字场平报友关放至张认接告入笑内英军候民岁往何度山觉路"
    "带万男边风解叫任金快原吃妈变通师立象数四失满战远格士音轻目条呢病始达深完今提求清王化空业思"
    "切怎非找片罗钱紧吗语元喜曾离飞科言干流欢约各即指合反题必该论交终林请医晚制球决城传画保读运");
const QString Punctuation = QStringLiteral("，，，，。。！？；：、");
const QString Endings = QStringLiteral("。。。！？");

class Random
{
public:
    explicit Random(quint64 seed) : m_state(seed) {}
    // xorshift64*: fast, and identical on every platform.
    quint32 next()
    {
        m_state ^= m_state >> 12;
        m_state ^= m_state << 25;
        m_state ^= m_state >> 27;
        return quint32((m_state * 2685821657736338717ULL) >> 32);
    }
    int between(int low, int high) { return low + int(next() % quint32(high - low + 1)); }

private:
    quint64 m_state;
};

// GBK bytes of what is appended: two per Chinese character or full-width
// sign, one per ASCII byte.
qint64 gbkSize(const QString &text)
{
    qint64 size = 0;
    for (const QChar c : text)
        size += c.unicode() < 0x80 ? 1 : 2;
    return size;
}

QString paragraph(Random &random, const QString &hanzi)
{
    const int length = random.between(18, 196);
    QString text = QStringLiteral("　　");
    bool quoted = random.between(0, 5) == 0;
    if (quoted)
        text += QChar(0x201C);
    int clause = random.between(4, 15);
    while (text.size() < length) {
        if (--clause == 0) {
            text += Punctuation.at(random.between(0, Punctuation.size() - 1));
            clause = random.between(4, 15);
        } else {
            text += hanzi.at(random.between(0, hanzi.size() - 1));
        }
    }
    text += Endings.at(random.between(0, Endings.size() - 1));
    if (quoted)
        text += QChar(0x201D);
    return text + QStringLiteral("\r\n");
}

QString chapterTitle(Random &random, int number, const QString &hanzi)
{
    QString title = QStringLiteral("第%1章 ").arg(number);
    const int length = random.between(4, 8);
    for (int i = 0; i < length; ++i)
        title += hanzi.at(random.between(0, hanzi.size() - 1));
    return title + QStringLiteral("\r\n");
}

// The characters of Hanzi that the encoding has.
QString hanziFor(const QString &encoding)
{
    QTextCodec *codec = novelCodec(encoding);
    QString hanzi;
    for (const QChar c : Hanzi) {
        if (codec->canEncode(c))
            hanzi += c;
    }
    return hanzi;
}

} // namespace

QString generateNovel(qint64 gbkBytes, const QString &encoding)
{
    const QString hanzi = hanziFor(encoding);
    Random random(0x5175697265ULL);
    QString text;
    text.reserve(int(gbkBytes / 2 + 1024));
    qint64 size = 0;
    int chapter = 0;
    while (size < gbkBytes) {
        QString piece = chapterTitle(random, ++chapter, hanzi);
        const int paragraphs = random.between(30, 60);
        for (int i = 0; i < paragraphs; ++i)
            piece += paragraph(random, hanzi);
        size += gbkSize(piece);
        text += piece;
    }
    return text;
}

QTextCodec *novelCodec(const QString &encoding)
{
    static const QMap<QString, QByteArray> names{{QStringLiteral("gbk"), "GB18030"},
                                                 {QStringLiteral("utf8"), "UTF-8"},
                                                 {QStringLiteral("big5"), "Big5"},
                                                 {QStringLiteral("utf16le"), "UTF-16LE"},
                                                 {QStringLiteral("utf16be"), "UTF-16BE"}};
    QTextCodec *codec = QTextCodec::codecForName(names.value(encoding));
    if (codec == nullptr)
        qFatal("unknown encoding %s", qPrintable(encoding));
    return codec;
}

QByteArray encodeNovel(const QString &text, const QString &encoding)
{
    // Qt's UTF-16 codecs write a mark unless told otherwise.
    QTextEncoder encoder(novelCodec(encoding), QTextCodec::IgnoreHeader);
    return encoder.fromUnicode(text);
}
