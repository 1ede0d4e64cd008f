#include "ReadingState.h"

#include <algorithm>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QLockFile>
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
const QString ReopenName = QStringLiteral("打开上次");
const QString ScriptName = QStringLiteral("简繁");
const QString FileName = QStringLiteral("文件");
const QString PositionName = QStringLiteral("位置");
// Beside the choices, on the same element: older releases read them as
// choices of their own and write them back unchanged.
const QString PositionTimeName = QStringLiteral("位置时间");
const QString PositionMachineName = QStringLiteral("位置电脑");
const QString ChoicesTimeName = QStringLiteral("选择时间");
const QString ChoicesMachineName = QStringLiteral("选择电脑");
const QString LastReadName = QStringLiteral("阅读时间");
// Held while a copy reads what is on disk and writes its merge over it.
const int SaveLockMilliseconds = 2000;

qint64 currentTime()
{
    return QDateTime::currentMSecsSinceEpoch();
}

} // namespace

ReadingState::ReadingState(QObject *parent) : ZkXmlFile(parent) {}

QString ReadingState::absoluteName(const QString &fileName)
{
    return QDir::cleanPath(QFileInfo(fileName).absoluteFilePath());
}

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
    const QString name = absoluteName(fileName);
    const int index = indexOf(name);
    if (index == 0 && m_places.first().position == position) {
        m_places.first().lastRead = currentTime();
        return false;
    }
    Place place = takePlace(name);
    place.lastRead = currentTime();
    const bool moved = index >= 0 ? place.position != position : position != 0;
    place.position = position;
    if (moved)
        place.positionStamp = ChangeStamp::now();
    putFirst(place);
    return true;
}

void ReadingState::setPosition(const QString &fileName, int position, const ChangeStamp &stamp)
{
    Place place = takePlace(absoluteName(fileName));
    place.position = position;
    place.positionStamp = stamp;
    place.lastRead = qMax(place.lastRead, stamp.time);
    putFirst(place);
}

qint64 ReadingState::lastRead(const QString &fileName) const
{
    const int index = indexOf(absoluteName(fileName));
    return index < 0 ? 0 : m_places.at(index).lastRead;
}

QStringList ReadingState::fileNames() const
{
    QStringList names;
    names.reserve(m_places.size());
    for (const Place &place : m_places)
        names << place.fileName;
    return names;
}

void ReadingState::forget(const QString &fileName)
{
    const QString name = absoluteName(fileName);
    const int index = indexOf(name);
    if (index >= 0)
        m_places.removeAt(index);
    if (!m_forgotten.contains(name))
        m_forgotten << name;
}

// Without the lock a second copy could save between this one's read and
// write; one that cannot be had (a stale lock, a folder that takes no file)
// still lets this copy save, merged with what it read.
bool ReadingState::save(const QString &fileName)
{
    QLockFile lock(fileName + QStringLiteral(".lock"));
    lock.setStaleLockTime(10 * SaveLockMilliseconds);
    lock.tryLock(SaveLockMilliseconds);
    ReadingState onDisk;
    onDisk.load(fileName);
    mergePlaces(onDisk.m_places);
    const bool saved = ZkXmlFile::save(fileName);
    if (saved)
        m_forgotten.clear();
    return saved;
}

// A book's position and its choices each keep the later of the two
// changes; a place with no change of its own (a book just opened) takes
// the other's. Books only on disk join in by when they were read.
void ReadingState::mergePlaces(const QList<Place> &saved)
{
    for (const Place &other : saved) {
        if (m_forgotten.contains(other.fileName))
            continue;
        const int index = indexOf(other.fileName);
        if (index < 0) {
            m_places.append(other);
            continue;
        }
        Place &place = m_places[index];
        // The facts describe the position they were taken at.
        if (other.positionStamp.isLaterThan(place.positionStamp)) {
            place.position = other.position;
            place.positionStamp = other.positionStamp;
            if (!other.facts.isEmpty())
                place.facts = other.facts;
        } else if (place.facts.isEmpty()) {
            place.facts = other.facts;
        }
        if (other.choicesStamp.isLaterThan(place.choicesStamp)) {
            place.choices = other.choices;
            place.choicesStamp = other.choicesStamp;
        }
        place.lastRead = qMax(place.lastRead, other.lastRead);
    }
    std::stable_sort(m_places.begin(), m_places.end(),
                     [](const Place &a, const Place &b) { return a.lastRead > b.lastRead; });
    while (m_places.size() > MaxPositions)
        m_places.removeLast();
}

BookFacts ReadingState::facts(const QString &fileName) const
{
    const int index = indexOf(absoluteName(fileName));
    return index < 0 ? BookFacts() : m_places.at(index).facts;
}

bool ReadingState::setFacts(const QString &fileName, const BookFacts &facts)
{
    const int index = indexOf(absoluteName(fileName));
    if (index < 0 || m_places.at(index).facts == facts)
        return false;
    m_places[index].facts = facts;
    return true;
}

bool ReadingState::moveBook(const QString &oldName, const QString &newName)
{
    const QString from = absoluteName(oldName), to = absoluteName(newName);
    if (indexOf(from) < 0 || from == to)
        return false;
    Place place = takePlace(from);
    if (indexOf(to) >= 0)
        takePlace(to);
    m_forgotten << from;
    m_forgotten.removeAll(to);
    place.fileName = to;
    putFirst(place);
    return true;
}

ChangeStamp ReadingState::positionStamp(const QString &fileName) const
{
    const int index = indexOf(absoluteName(fileName));
    return index < 0 ? ChangeStamp() : m_places.at(index).positionStamp;
}

// Out of the list, or a new place at the start of the book.
ReadingState::Place ReadingState::takePlace(const QString &absoluteName)
{
    const int index = indexOf(absoluteName);
    if (index >= 0)
        return m_places.takeAt(index);
    Place place;
    place.fileName = absoluteName;
    place.position = 0;
    return place;
}

void ReadingState::putFirst(const Place &place)
{
    m_places.prepend(place);
    while (m_places.size() > MaxPositions)
        m_places.removeLast();
}

QString ReadingState::choice(const QString &fileName, const QString &key) const
{
    const int index = indexOf(absoluteName(fileName));
    return index < 0 ? QString() : m_places.at(index).choices.value(key);
}

bool ReadingState::setChoice(const QString &fileName, const QString &key, const QString &value)
{
    Q_ASSERT(!isReservedName(key));
    if (isReservedName(key) || choice(fileName, key) == value)
        return false;
    const QString name = absoluteName(fileName);
    if (indexOf(name) < 0)
        setPosition(name, 0);
    Place &place = m_places[indexOf(name)];
    if (value.isEmpty())
        place.choices.remove(key);
    else
        place.choices.insert(key, value);
    place.choicesStamp = ChangeStamp::now();
    return true;
}

QMap<QString, QString> ReadingState::choices(const QString &fileName) const
{
    const int index = indexOf(absoluteName(fileName));
    return index < 0 ? QMap<QString, QString>() : m_places.at(index).choices;
}

ChangeStamp ReadingState::choicesStamp(const QString &fileName) const
{
    const int index = indexOf(absoluteName(fileName));
    return index < 0 ? ChangeStamp() : m_places.at(index).choicesStamp;
}

void ReadingState::setChoices(const QString &fileName, const QMap<QString, QString> &choices,
                              const ChangeStamp &stamp)
{
    const QString name = absoluteName(fileName);
    if (indexOf(name) < 0)
        setPosition(name, 0);
    Place &place = m_places[indexOf(name)];
    place.choices.clear();
    for (auto choice = choices.cbegin(); choice != choices.cend(); ++choice) {
        if (!isReservedName(choice.key()) && !choice.value().isEmpty())
            place.choices.insert(choice.key(), choice.value());
    }
    place.choicesStamp = stamp;
}

bool ReadingState::isReservedName(const QString &key)
{
    return key == PositionName || key == PositionTimeName || key == PositionMachineName ||
           key == ChoicesTimeName || key == ChoicesMachineName || key == LastReadName ||
           BookFacts::isName(key);
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
    int reopen = reopenLastBook ? 1 : 0;
    readInteger(reader, ReopenName, reopen);
    reopenLastBook = reopen != 0;
    // Whatever it says: a key the reader does not know shows the file's own.
    scriptByDefault = reader->attributes().value(ScriptName).toString().left(8);
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
    const QXmlStreamAttributes attributes = reader->attributes();
    for (const QXmlStreamAttribute &attribute : attributes) {
        const QString name = attribute.name().toString();
        if (!isReservedName(name) && !attribute.value().isEmpty())
            choices.insert(name, attribute.value().toString());
    }
    const ChangeStamp positionStamp =
        ChangeStamp::read(attributes, PositionTimeName, PositionMachineName);
    const ChangeStamp choicesStamp =
        ChangeStamp::read(attributes, ChoicesTimeName, ChoicesMachineName);
    const qint64 lastRead = qMax(0LL, attributes.value(LastReadName).toLongLong());
    const QString path = reader->readElementText(QXmlStreamReader::SkipChildElements);
    // A path cut off by a damaged file names nothing the user read.
    if (reader->hasError() || position < 0 || path.isEmpty())
        return;
    const QString name = absoluteName(path);
    if (m_places.size() < MaxPositions && indexOf(name) < 0)
        m_places.append({name, position, choices, positionStamp, choicesStamp, lastRead,
                         BookFacts::read(attributes)});
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
    writeInteger(writer, ReopenName, reopenLastBook ? 1 : 0);
    if (!scriptByDefault.isEmpty())
        writer->writeAttribute(ScriptName, scriptByDefault);
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
        place.positionStamp.write(writer, PositionTimeName, PositionMachineName);
        place.choicesStamp.write(writer, ChoicesTimeName, ChoicesMachineName);
        if (place.lastRead > 0)
            writer->writeAttribute(LastReadName, QString::number(place.lastRead));
        for (auto choice = place.choices.cbegin(); choice != place.choices.cend(); ++choice)
            writer->writeAttribute(choice.key(), choice.value());
        place.facts.write(writer);
        writer->writeCharacters(place.fileName);
        writer->writeEndElement();
    }
    writer->writeEndElement();
}
