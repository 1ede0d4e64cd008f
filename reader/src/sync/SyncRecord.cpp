#include "SyncRecord.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>

namespace
{

const QString BookName = QStringLiteral("book");
const QString VersionName = QStringLiteral("version");
const QString FingerprintName = QStringLiteral("fingerprint");
const QString TitleName = QStringLiteral("title");
const QString PositionName = QStringLiteral("position");
const QString AtName = QStringLiteral("at");
const QString BookmarkName = QStringLiteral("bookmark");
const QString RemovedName = QStringLiteral("removed");
const QString ChoicesName = QStringLiteral("choices");
const QString ChoiceName = QStringLiteral("choice");
const QString KeyName = QStringLiteral("key");
const QString ValueName = QStringLiteral("value");
const QString TimeName = QStringLiteral("time");
const QString MachineName = QStringLiteral("machine");

ChangeStamp stampOf(const QXmlStreamReader *reader)
{
    return ChangeStamp::read(reader->attributes(), TimeName, MachineName);
}

void readPosition(QXmlStreamReader *reader, SyncRecord *record)
{
    bool ok = false;
    const int at = reader->attributes().value(AtName).toInt(&ok);
    if (ok && at >= 0)
        record->position = {at, stampOf(reader)};
}

void readBookmark(QXmlStreamReader *reader, SyncRecord *record)
{
    const QXmlStreamAttributes attributes = reader->attributes();
    record->bookmarks.append({attributes.value(TitleName).toString(),
                              attributes.value(AtName).toString(), stampOf(reader),
                              attributes.value(RemovedName) == QLatin1String("1")});
}

void readChoices(QXmlStreamReader *reader, SyncRecord *record)
{
    record->choicesStamp = stampOf(reader);
    while (reader->readNextStartElement()) {
        const QXmlStreamAttributes attributes = reader->attributes();
        const QString key = attributes.value(KeyName).toString();
        const QString value = attributes.value(ValueName).toString();
        if (reader->name() == ChoiceName && !key.isEmpty() && !value.isEmpty())
            record->choices.insert(key, value);
        reader->skipCurrentElement();
    }
}

} // namespace

bool SyncRecord::isEmpty() const
{
    return position.stamp.isNull() && position.at == 0 && bookmarks.isEmpty() &&
           choices.isEmpty() && choicesStamp.isNull();
}

bool SyncRecord::operator==(const SyncRecord &other) const
{
    return fingerprint == other.fingerprint && position == other.position &&
           bookmarks == other.bookmarks && choices == other.choices &&
           choicesStamp == other.choicesStamp;
}

void SyncRecord::sortBookmarks(QList<Bookmark> &bookmarks)
{
    std::sort(bookmarks.begin(), bookmarks.end(), [](const Bookmark &a, const Bookmark &b) {
        const qlonglong left = a.at.toLongLong(), right = b.at.toLongLong();
        if (left != right)
            return left < right;
        if (a.at != b.at)
            return a.at < b.at;
        return a.title < b.title;
    });
}

QByteArray SyncRecord::toXml() const
{
    QByteArray document;
    QXmlStreamWriter writer(&document);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    write(&writer);
    writer.writeEndDocument();
    return document;
}

SyncRecord::Reading SyncRecord::fromXml(const QByteArray &document, SyncRecord *record)
{
    QXmlStreamReader reader(document);
    if (!reader.readNextStartElement())
        return Reading::Damaged;
    return read(&reader, record);
}

void SyncRecord::write(QXmlStreamWriter *writer) const
{
    writer->writeStartElement(BookName);
    writer->writeAttribute(VersionName, QString::number(Version));
    writer->writeAttribute(FingerprintName, fingerprint);
    writer->writeAttribute(TitleName, title);

    writer->writeStartElement(PositionName);
    writer->writeAttribute(AtName, QString::number(position.at));
    position.stamp.write(writer, TimeName, MachineName);
    writer->writeEndElement();

    for (const Bookmark &bookmark : bookmarks) {
        writer->writeStartElement(BookmarkName);
        writer->writeAttribute(TitleName, bookmark.title);
        writer->writeAttribute(AtName, bookmark.at);
        bookmark.stamp.write(writer, TimeName, MachineName);
        if (bookmark.removed)
            writer->writeAttribute(RemovedName, QStringLiteral("1"));
        writer->writeEndElement();
    }

    writer->writeStartElement(ChoicesName);
    choicesStamp.write(writer, TimeName, MachineName);
    for (auto choice = choices.cbegin(); choice != choices.cend(); ++choice) {
        writer->writeStartElement(ChoiceName);
        writer->writeAttribute(KeyName, choice.key());
        writer->writeAttribute(ValueName, choice.value());
        writer->writeEndElement();
    }
    writer->writeEndElement();

    writer->writeEndElement();
}

// The reader stands on the record's element and is left past its end.
SyncRecord::Reading SyncRecord::read(QXmlStreamReader *reader, SyncRecord *record)
{
    *record = SyncRecord();
    bool ok = false;
    const int version = reader->attributes().value(VersionName).toInt(&ok);
    if (reader->name() != BookName || !ok)
        return Reading::Damaged;
    if (version > Version)
        return Reading::Newer;
    record->fingerprint = reader->attributes().value(FingerprintName).toString();
    record->title = reader->attributes().value(TitleName).toString();
    while (reader->readNextStartElement()) {
        const QStringRef name = reader->name();
        if (name == PositionName) {
            readPosition(reader, record);
        } else if (name == BookmarkName) {
            readBookmark(reader, record);
        } else if (name == ChoicesName) {
            readChoices(reader, record);
            continue; // already past its end
        }
        reader->skipCurrentElement();
    }
    sortBookmarks(record->bookmarks);
    return reader->hasError() || record->fingerprint.isEmpty() ? Reading::Damaged : Reading::Whole;
}
