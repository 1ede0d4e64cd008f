#include "ZkXmlFile.h"

#include "ZkSafeSave.h"
#include "ZkTextDecoder.h"
#include "ZkUtility.h"

#include <QBuffer>
#include <QColor>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QRegularExpression>
#include <QStringList>
#include <QVector>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace
{

const QString FamilyName = QStringLiteral("字体");
const QString SizeName = QStringLiteral("大小");
const QString WeightName = QStringLiteral("字宽");
const QString StyleName = QStringLiteral("风格");
const QString StrikeOutName = QStringLiteral("删除线");
const QString UnderlineName = QStringLiteral("下划线");

// Root passes every access() test, so the owner's write bit is consulted as
// well: whatever the user protected with chmod a-w stays protected for root.
bool ownerMayWrite(const QFileInfo &info)
{
    return info.isWritable() && info.permissions().testFlag(QFileDevice::WriteOwner);
}

// Replacing a device or a pipe with a regular file would break whatever
// else uses it, so only regular files are ever replaced.
bool mayWrite(const QString &fileName)
{
    const QFileInfo target(fileName);
    if (target.exists())
        return target.isFile() && ownerMayWrite(target);
    const QFileInfo folder(target.absolutePath());
    return folder.isDir() && ownerMayWrite(folder);
}

bool inRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

// A save through a link replaces the file the link points to.
QString realPath(const QString &fileName)
{
    const QFileInfo info(fileName);
    return info.isSymLink() && info.exists() ? info.canonicalFilePath() : fileName;
}

QString freeCopyName(const QString &fileName, const QString &reason)
{
    const QString stem = fileName + QLatin1Char('.') + reason + QLatin1Char('-') +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = stem;
    for (int i = 2; QFileInfo::exists(name); ++i)
        name = stem + QLatin1Char('-') + QString::number(i);
    return name;
}

// A hard link keeps the original without reading it, so even a file the
// program may not read is kept, and it costs no space on a full disk.
bool keepAs(const QString &fileName, const QString &copyName)
{
#ifdef Q_OS_UNIX
    if (::link(QFile::encodeName(fileName).constData(), QFile::encodeName(copyName).constData()) ==
        0)
        return true;
#endif
    return QFile::copy(fileName, copyName);
}

// Where elements of the names start in text, in document order.
QVector<int> elementStarts(const QString &text, const QStringList &names)
{
    QVector<int> starts;
    for (const QString &name : names) {
        const QString open = QLatin1Char('<') + name;
        for (int at = text.indexOf(open); at >= 0; at = text.indexOf(open, at + 1)) {
            const int after = at + open.size();
            const QChar next = after < text.size() ? text.at(after) : QChar();
            if (next.isSpace() || next == QLatin1Char('/') || next == QLatin1Char('>'))
                starts.append(at);
        }
    }
    std::sort(starts.begin(), starts.end());
    return starts;
}

// The text of a damaged document. Its declaration may be what is damaged, so
// besides the encoding it names, the usual ones are tried; the one in which
// the most elements of the names show up wins (the declared one on a tie).
QString documentText(const QByteArray &document, const QStringList &names)
{
    const int marked = zk::textFileCodec(document);
    if (marked != 0)
        return ZkTextDecoder::decode(document, marked);
    static const QRegularExpression declared(
        QStringLiteral("encoding\\s*=\\s*[\"']([A-Za-z0-9._:-]+)[\"']"));
    const QRegularExpressionMatch match = declared.match(QString::fromLatin1(document.left(256)));
    QVector<int> codecs;
    if (match.hasMatch())
        codecs << ZkTextDecoder::codecNamed(match.captured(1).toLatin1());
    codecs << ZkTextDecoder::Utf8 << ZkTextDecoder::Gb18030 << ZkTextDecoder::Big5
           << ZkTextDecoder::LocalCodePage;
    QString best;
    int found = -1;
    for (const int codec : qAsConst(codecs)) {
        if (codec < 0)
            continue;
        const QString text = ZkTextDecoder::decode(document, codec);
        const int count = elementStarts(text, names).size();
        if (count > found) {
            best = text;
            found = count;
        }
    }
    return best;
}

bool isWellFormedElement(const QString &text)
{
    QXmlStreamReader probe(text);
    if (!probe.readNextStartElement())
        return false;
    probe.skipCurrentElement();
    return !probe.hasError();
}

// The commonest hand edit that breaks a file: an "&" typed as it is.
QString escapeBareAmpersands(QString text)
{
    static const QRegularExpression bare(
        QStringLiteral("&(?!(?:[A-Za-z_:][\\w.:-]*|#[0-9]+|#x[0-9A-Fa-f]+);)"));
    return text.replace(bare, QStringLiteral("&amp;"));
}

} // namespace

ZkXmlFile::ZkXmlFile(QObject *parent)
    : QObject(parent), m_reader(new QXmlStreamReader), m_writer(new QXmlStreamWriter)
{
}

ZkXmlFile::~ZkXmlFile()
{
    delete m_reader;
    delete m_writer;
}

void ZkXmlFile::load(const QString &fileName)
{
    m_loadedFile = QFileInfo(fileName).absoluteFilePath();
    m_copyReason.clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        // What a file holds that is there but cannot be read is lost to the
        // program, not to the user.
        if (QFileInfo(fileName).isFile())
            m_copyReason = QStringLiteral("damaged");
        return;
    }
    m_document = file.readAll();
    const bool readWhole = file.error() == QFileDevice::NoError;
    file.close();

    QBuffer buffer(&m_document);
    buffer.open(QIODevice::ReadOnly);
    m_reader->setDevice(&buffer);
    readParse(m_reader);
    if (m_reader->hasError() || !readWhole)
        m_copyReason = QStringLiteral("damaged");
    // An empty file has nothing to lose.
    if (readWhole && m_document.trimmed().isEmpty())
        m_copyReason.clear();
    m_reader->setDevice(nullptr);
    m_document.clear();
}

bool ZkXmlFile::save(const QString &fileName)
{
    const QString target = realPath(fileName);
    // Written in place, the old file would be cut short the moment it is
    // opened, and a full disk or a crash would leave it torn or empty; so
    // a folder that takes no temporary file means no save at all.
    const bool saved = mayWrite(target) &&
                       ownerMayWrite(QFileInfo(QFileInfo(target).absolutePath())) &&
                       keepOriginal(fileName, target) && writeThroughTemporaryFile(target);
    if (saved)
        emit this->saved(fileName);
    else
        emit saveFailed(fileName);
    return saved;
}

void ZkXmlFile::setLoadIncomplete()
{
    if (m_copyReason.isEmpty())
        m_copyReason = QStringLiteral("kept");
}

void ZkXmlFile::readEachElement(const QStringList &names,
                                const std::function<void(QXmlStreamReader *)> &read)
{
    const QString text = documentText(m_document, names);
    const QVector<int> starts = elementStarts(text, names);
    // Each piece runs up to the next element of the names, so a damaged
    // element costs only itself; whatever follows an element in its piece
    // is never read.
    for (int i = 0; i < starts.size(); ++i) {
        const int end = i + 1 < starts.size() ? starts.at(i + 1) : text.size();
        QString piece = text.mid(starts.at(i), end - starts.at(i));
        if (!isWellFormedElement(piece))
            piece = escapeBareAmpersands(piece);
        if (!isWellFormedElement(piece))
            continue;
        QXmlStreamReader reader(piece);
        reader.readNextStartElement();
        read(&reader);
    }
}

bool ZkXmlFile::keepOriginal(const QString &fileName, const QString &target)
{
    if (m_copyReason.isEmpty() || QFileInfo(fileName).absoluteFilePath() != m_loadedFile)
        return true;
    if (QFileInfo::exists(target)) {
        const QString copyName = freeCopyName(target, m_copyReason);
        if (!keepAs(target, copyName))
            return false;
        emit originalKept(fileName, copyName);
    }
    m_copyReason.clear();
    return true;
}

bool ZkXmlFile::writeThroughTemporaryFile(const QString &fileName)
{
    return zk::saveWhole(fileName, [this](QIODevice *device) { return writeDocument(device); });
}

// A writer that reports an error has either failed to write or met text
// its codec cannot encode, and then it leaves broken markup behind (an
// attribute without a name, an end tag without one): such a document would
// lose everything after that point on the next load.
bool ZkXmlFile::writeDocument(QIODevice *device)
{
    // A writer keeps a pending start tag, open elements and a sticky error
    // flag from a broken earlier document; a fresh one starts clean and
    // only inherits the settings the previous hook chose.
    auto *writer = new QXmlStreamWriter(device);
    writer->setCodec(m_writer->codec());
    writer->setAutoFormatting(m_writer->autoFormatting());
    writer->setAutoFormattingIndent(m_writer->autoFormattingIndent());
    delete m_writer;
    m_writer = writer;

    writeParse(m_writer);
    m_writer->setDevice(nullptr);
    return !m_writer->hasError();
}

void ZkXmlFile::readParse(QXmlStreamReader *reader)
{
    Q_UNUSED(reader)
}

void ZkXmlFile::writeParse(QXmlStreamWriter *writer)
{
    Q_UNUSED(writer)
}

void ZkXmlFile::readInteger(QXmlStreamReader *reader, const QString &name, int &value)
{
    bool ok = false;
    const int number = reader->attributes().value(name).toInt(&ok, 10);
    if (ok)
        value = number;
}

void ZkXmlFile::writeInteger(QXmlStreamWriter *writer, const QString &name, int value)
{
    writer->writeAttribute(name, QString::number(value));
}

void ZkXmlFile::readFont(QXmlStreamReader *reader, QFont &font)
{
    const QString family = reader->attributes().value(FamilyName).toString();
    if (!family.isEmpty())
        font.setFamily(family);

    int size = font.pointSize();
    readInteger(reader, SizeName, size);
    if (size > 0)
        font.setPointSize(size);

    // QFont keeps weight and style in narrow bit fields; a value outside
    // their scale would come back as some unrelated number.
    int weight = font.weight();
    readInteger(reader, WeightName, weight);
    if (inRange(weight, 0, 99))
        font.setWeight(weight);

    int style = font.style();
    readInteger(reader, StyleName, style);
    if (inRange(style, QFont::StyleNormal, QFont::StyleOblique))
        font.setStyle(static_cast<QFont::Style>(style));

    int strikeOut = font.strikeOut() ? 1 : 0;
    readInteger(reader, StrikeOutName, strikeOut);
    font.setStrikeOut(strikeOut != 0);

    int underline = font.underline() ? 1 : 0;
    readInteger(reader, UnderlineName, underline);
    font.setUnderline(underline != 0);
}

void ZkXmlFile::writeFont(QXmlStreamWriter *writer, const QString &name, const QFont &font)
{
    writer->writeStartElement(name);
    writer->writeAttribute(FamilyName, font.family());
    writeInteger(writer, SizeName, font.pointSize());
    writeInteger(writer, WeightName, font.weight());
    writeInteger(writer, StyleName, font.style());
    writeInteger(writer, StrikeOutName, font.strikeOut() ? 1 : 0);
    writeInteger(writer, UnderlineName, font.underline() ? 1 : 0);
    writer->writeEndElement();
}

void ZkXmlFile::readColor(QXmlStreamReader *reader, QColor &color)
{
    // A component outside 0..255 counts as unreadable like any other bad
    // value: passing it on would turn the whole colour invalid and the next
    // save would store black in its place.
    const int old[3] = {color.red(), color.green(), color.blue()};
    const QString names[3] = {QStringLiteral("r"), QStringLiteral("g"), QStringLiteral("b")};
    int rgb[3];
    for (int i = 0; i < 3; ++i) {
        rgb[i] = old[i];
        readInteger(reader, names[i], rgb[i]);
        if (!inRange(rgb[i], 0, 255))
            rgb[i] = old[i];
    }
    color.setRgb(rgb[0], rgb[1], rgb[2], 255);
}

void ZkXmlFile::writeColor(QXmlStreamWriter *writer, const QString &name, const QColor &color)
{
    writer->writeStartElement(name);
    writeInteger(writer, QStringLiteral("r"), color.red());
    writeInteger(writer, QStringLiteral("g"), color.green());
    writeInteger(writer, QStringLiteral("b"), color.blue());
    writer->writeEndElement();
}
