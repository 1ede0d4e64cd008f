#include "SyncState.h"

#include "ReadingState.h"

#include <QDir>
#include <QFileInfo>
#include <QUuid>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace
{

const QString RootName = QStringLiteral("同步");
const QString VersionName = QStringLiteral("version");
const QString MachineName = QStringLiteral("电脑");
const QString AccountName = QStringLiteral("账户");
const QString AddressName = QStringLiteral("地址");
const QString UserName = QStringLiteral("用户");
const QString OutcomeName = QStringLiteral("上次同步");
const QString WhenName = QStringLiteral("时间");
const QString KindName = QStringLiteral("结果");
const QString DetailName = QStringLiteral("说明");
const QString BookName = QStringLiteral("书");
const QString FileName = QStringLiteral("文件");
const QString TagName = QStringLiteral("标签");

} // namespace

SyncState::SyncState(QObject *parent)
    : ZkXmlFile(parent), m_machine(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
}

QString SyncState::fileOf(const QString &fingerprint) const
{
    return m_books.value(fingerprint).fileName;
}

QString SyncState::fingerprintOf(const QString &fileName) const
{
    const QString name = ReadingState::absoluteName(fileName);
    for (auto book = m_books.cbegin(); book != m_books.cend(); ++book) {
        if (book->fileName == name)
            return book.key();
    }
    return QString();
}

bool SyncState::setFile(const QString &fingerprint, const QString &fileName)
{
    const QString name = ReadingState::absoluteName(fileName);
    Book &book = m_books[fingerprint];
    if (book.fileName == name)
        return false;
    book.fileName = name;
    return true;
}

SyncRecord SyncState::agreed(const QString &fingerprint) const
{
    SyncRecord record = m_books.value(fingerprint).agreed;
    record.fingerprint = fingerprint;
    return record;
}

void SyncState::setAgreed(const QString &fingerprint, const SyncRecord &record)
{
    m_books[fingerprint].agreed = record;
}

QByteArray SyncState::tagOf(const QString &fingerprint) const
{
    return m_books.value(fingerprint).tag;
}

void SyncState::setTag(const QString &fingerprint, const QByteArray &tag)
{
    m_books[fingerprint].tag = tag;
}

void SyncState::readParse(QXmlStreamReader *reader)
{
    if (!reader->readNextStartElement() || reader->name() != RootName) {
        setLoadIncomplete();
        return;
    }
    const QString machine = reader->attributes().value(MachineName).toString();
    if (!machine.isEmpty())
        m_machine = machine;
    while (reader->readNextStartElement()) {
        const QStringRef name = reader->name();
        if (name == AccountName) {
            address = QUrl(reader->attributes().value(AddressName).toString());
            user = reader->attributes().value(UserName).toString();
        } else if (name == OutcomeName) {
            readOutcome(reader);
        } else if (name == BookName) {
            readBook(reader);
            continue; // already past its end
        }
        reader->skipCurrentElement();
    }
}

void SyncState::readOutcome(QXmlStreamReader *reader)
{
    const QXmlStreamAttributes attributes = reader->attributes();
    lastOutcome.outcome = SyncStatus::outcomeOf(attributes.value(KindName).toString());
    lastOutcome.when = QDateTime::fromMSecsSinceEpoch(attributes.value(WhenName).toLongLong());
    lastOutcome.detail = attributes.value(DetailName).toString();
}

// A book whose agreed state cannot be read counts as never agreed: the next
// sync merges it afresh, and a set merge loses nothing by that.
void SyncState::readBook(QXmlStreamReader *reader)
{
    Book book;
    book.fileName = reader->attributes().value(FileName).toString();
    book.tag = reader->attributes().value(TagName).toUtf8();
    while (reader->readNextStartElement()) {
        SyncRecord record;
        if (SyncRecord::read(reader, &record) == SyncRecord::Reading::Whole)
            book.agreed = record;
        if (reader->isStartElement()) // not read, not even begun
            reader->skipCurrentElement();
    }
    if (!book.agreed.fingerprint.isEmpty())
        m_books.insert(book.agreed.fingerprint, book);
}

void SyncState::writeParse(QXmlStreamWriter *writer)
{
    writer->setAutoFormatting(true);
    writer->setCodec("UTF-8");
    writer->writeStartDocument();
    writer->writeStartElement(RootName);
    writer->writeAttribute(VersionName, QStringLiteral("1"));
    writer->writeAttribute(MachineName, m_machine);

    writer->writeStartElement(AccountName);
    // A password typed into the address stays out of the file.
    writer->writeAttribute(AddressName, address.toString(QUrl::RemoveUserInfo));
    writer->writeAttribute(UserName, user);
    writer->writeEndElement();
    writeOutcome(writer);

    for (auto book = m_books.cbegin(); book != m_books.cend(); ++book) {
        writer->writeStartElement(BookName);
        writer->writeAttribute(FileName, book->fileName);
        if (!book->tag.isEmpty())
            writer->writeAttribute(TagName, QString::fromUtf8(book->tag));
        SyncRecord agreed = book->agreed;
        agreed.fingerprint = book.key();
        agreed.write(writer);
        writer->writeEndElement();
    }
    writer->writeEndElement();
    writer->writeEndDocument();
}

void SyncState::writeOutcome(QXmlStreamWriter *writer) const
{
    writer->writeStartElement(OutcomeName);
    writer->writeAttribute(KindName, SyncStatus::keyOf(lastOutcome.outcome));
    if (lastOutcome.when.isValid())
        writer->writeAttribute(WhenName, QString::number(lastOutcome.when.toMSecsSinceEpoch()));
    writer->writeAttribute(DetailName, lastOutcome.detail);
    writer->writeEndElement();
}
