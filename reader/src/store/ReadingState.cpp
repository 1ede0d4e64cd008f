#include "ReadingState.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace
{

const QString RootName = QStringLiteral("阅读状态");
const QString VersionName = QStringLiteral("version");
const QString ComfortName = QStringLiteral("排版");
const QString LineSpacingName = QStringLiteral("行距");
const QString ParagraphSpacingName = QStringLiteral("段距");
const QString SideMarginName = QStringLiteral("边距");
const QString MaxTextWidthName = QStringLiteral("最大宽度");
const QString WindowName = QStringLiteral("窗口");
const QString GeometryName = QStringLiteral("几何");
const QString DockLayoutName = QStringLiteral("布局");
const QString PositionsName = QStringLiteral("阅读位置");
const QString ViewName = QStringLiteral("视图");
const QString TidyName = QStringLiteral("段落整理");
const QString FileName = QStringLiteral("文件");
const QString PositionName = QStringLiteral("位置");

QString absoluteName(const QString &fileName)
{
    return QDir::cleanPath(QFileInfo(fileName).absoluteFilePath());
}

} // namespace

ReadingState::ReadingState(QObject *parent) : ZkXmlFile(parent) {}

int ReadingState::indexOf(const QString &absoluteName) const
{
    for (int i = 0; i < m_places.size(); ++i) {
        if (m_places.at(i).fileName == absoluteName)
            return i;
    }
    return -1;
}

int ReadingState::position(const QString &fileName) const
{
    const int index = indexOf(absoluteName(fileName));
    return index < 0 ? -1 : m_places.at(index).position;
}

bool ReadingState::setPosition(const QString &fileName, int position)
{
    Place place{absoluteName(fileName), position, {}};
    const int index = indexOf(place.fileName);
    if (index == 0 && m_places.first().position == position)
        return false;
    if (index >= 0)
        place.choices = m_places.takeAt(index).choices;
    m_places.prepend(place);
    while (m_places.size() > MaxPositions)
        m_places.removeLast();
    return true;
}

QString ReadingState::choice(const QString &fileName, const QString &key) const
{
    const int index = indexOf(absoluteName(fileName));
    return index < 0 ? QString() : m_places.at(index).choices.value(key);
}

bool ReadingState::setChoice(const QString &fileName, const QString &key, const QString &value)
{
    if (choice(fileName, key) == value)
        return false;
    const QString name = absoluteName(fileName);
    if (indexOf(name) < 0)
        setPosition(name, 0);
    QMap<QString, QString> &choices = m_places[indexOf(name)].choices;
    if (value.isEmpty())
        choices.remove(key);
    else
        choices.insert(key, value);
    return true;
}

void ReadingState::readParse(QXmlStreamReader *reader)
{
    if (!reader->readNextStartElement() || reader->name() != RootName) {
        setLoadIncomplete(); // not written over unread
        return;
    }
    while (reader->readNextStartElement()) {
        const QStringRef name = reader->name();
        if (name == ComfortName) {
            readComfort(reader);
        } else if (name == WindowName) {
            readWindow(reader);
        } else if (name == ViewName) {
            readView(reader);
        } else if (name == PositionsName) {
            readPositions(reader);
            continue; // already past the list's end tag
        }
        reader->skipCurrentElement();
    }
    // The reader stops at the first damage (a path edited by hand with a
    // bare "&", say); what came before stays, and every later line still
    // holds one whole element of its own.
    if (reader->hasError() && reader->device() != nullptr)
        readLinesAfter(reader->device(), reader->lineNumber());
}

void ReadingState::readLinesAfter(QIODevice *device, qint64 damagedLine)
{
    device->seek(0);
    const QList<QByteArray> lines = device->readAll().split('\n');
    for (qint64 i = damagedLine; i < lines.size(); ++i) {
        QXmlStreamReader line(lines.at(int(i)));
        if (!line.readNextStartElement())
            continue;
        if (line.name() == FileName)
            readPlace(&line);
        else if (line.name() == ComfortName)
            readComfort(&line);
        else if (line.name() == WindowName)
            readWindow(&line);
        else if (line.name() == ViewName)
            readView(&line);
    }
}

void ReadingState::readComfort(QXmlStreamReader *reader)
{
    const auto read = [this, reader](const QString &name, int &setting, bool (*usable)(int)) {
        int value = setting;
        readInteger(reader, name, value);
        if (usable(value))
            setting = value;
    };
    read(LineSpacingName, comfort.lineSpacing, &ComfortSettings::isLineSpacing);
    read(ParagraphSpacingName, comfort.paragraphSpacing, &ComfortSettings::isParagraphSpacing);
    read(SideMarginName, comfort.sideMargin, &ComfortSettings::isSideMargin);
    read(MaxTextWidthName, comfort.maxTextWidth, &ComfortSettings::isMaxTextWidth);
}

// The window checks what it is given and ignores data it cannot use.
void ReadingState::readWindow(QXmlStreamReader *reader)
{
    const QXmlStreamAttributes attributes = reader->attributes();
    windowGeometry = QByteArray::fromBase64(attributes.value(GeometryName).toLatin1());
    windowState = QByteArray::fromBase64(attributes.value(DockLayoutName).toLatin1());
}

void ReadingState::readView(QXmlStreamReader *reader)
{
    int tidy = tidyParagraphsByDefault ? 1 : 0;
    readInteger(reader, TidyName, tidy);
    tidyParagraphsByDefault = tidy == 1;
}

void ReadingState::readPositions(QXmlStreamReader *reader)
{
    m_places.clear();
    while (reader->readNextStartElement()) {
        if (reader->name() == FileName)
            readPlace(reader);
        else
            reader->skipCurrentElement();
    }
}

// An entry without a usable position or path is passed over; a path listed
// twice keeps its first, most recent, position. Its other attributes are the
// choices made for the book.
void ReadingState::readPlace(QXmlStreamReader *reader)
{
    int position = -1;
    readInteger(reader, PositionName, position);
    QMap<QString, QString> choices;
    for (const QXmlStreamAttribute &attribute : reader->attributes()) {
        if (attribute.name() != PositionName && !attribute.value().isEmpty())
            choices.insert(attribute.name().toString(), attribute.value().toString());
    }
    const QString path = reader->readElementText(QXmlStreamReader::SkipChildElements);
    // A path cut off by a damaged file names nothing the user read.
    if (reader->hasError() || position < 0 || path.isEmpty())
        return;
    const QString name = absoluteName(path);
    if (m_places.size() < MaxPositions && indexOf(name) < 0)
        m_places.append({name, position, choices});
}

void ReadingState::writeParse(QXmlStreamWriter *writer)
{
    writer->setAutoFormatting(true);
    writer->setCodec("UTF-8");
    writer->writeStartDocument();
    writer->writeStartElement(RootName);
    writer->writeAttribute(VersionName, QStringLiteral("1"));

    writer->writeStartElement(ComfortName);
    writeInteger(writer, LineSpacingName, comfort.lineSpacing);
    writeInteger(writer, ParagraphSpacingName, comfort.paragraphSpacing);
    writeInteger(writer, SideMarginName, comfort.sideMargin);
    writeInteger(writer, MaxTextWidthName, comfort.maxTextWidth);
    writer->writeEndElement();

    writer->writeStartElement(ViewName);
    writeInteger(writer, TidyName, tidyParagraphsByDefault ? 1 : 0);
    writer->writeEndElement();

    writer->writeStartElement(WindowName);
    writer->writeAttribute(GeometryName, QString::fromLatin1(windowGeometry.toBase64()));
    writer->writeAttribute(DockLayoutName, QString::fromLatin1(windowState.toBase64()));
    writer->writeEndElement();

    writePositions(writer);

    writer->writeEndElement();
    writer->writeEndDocument();
}

void ReadingState::writePositions(QXmlStreamWriter *writer)
{
    writer->writeStartElement(PositionsName);
    for (const Place &place : qAsConst(m_places)) {
        writer->writeStartElement(FileName);
        writeInteger(writer, PositionName, place.position);
        for (auto choice = place.choices.cbegin(); choice != place.choices.cend(); ++choice)
            writer->writeAttribute(choice.key(), choice.value());
        writer->writeCharacters(place.fileName);
        writer->writeEndElement();
    }
    writer->writeEndElement();
}
