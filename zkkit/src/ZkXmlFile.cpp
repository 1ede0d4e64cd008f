#include "ZkXmlFile.h"

#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

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
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    m_reader->setDevice(&file);
    readParse(m_reader);
    m_reader->setDevice(nullptr);
}

void ZkXmlFile::save(const QString &fileName)
{
    if (!mayWrite(fileName))
        return;
    // Without a temporary file beside it the old file is truncated the
    // moment it is opened, so the document is first built in memory and
    // only written once it is known to be whole.
    if (!ownerMayWrite(QFileInfo(QFileInfo(fileName).absolutePath())))
        saveInPlace(fileName);
    else
        saveThroughTemporaryFile(fileName);
}

void ZkXmlFile::saveThroughTemporaryFile(const QString &fileName)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return;
    // commit() drops the new file when any write failed (a full disk, say)
    // or the writing was cancelled, so the old one is only ever replaced by
    // a whole document. It misses a failure that only shows when its buffer
    // is flushed, as with a file smaller than that buffer; flushing first
    // catches it.
    if (!writeDocument(&file) || !file.flush())
        file.cancelWriting();
    file.commit();
}

void ZkXmlFile::saveInPlace(const QString &fileName)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!writeDocument(&buffer))
        return;
    QFile file(fileName);
    if (file.open(QIODevice::WriteOnly))
        file.write(buffer.data());
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
