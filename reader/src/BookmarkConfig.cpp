#include "BookmarkConfig.h"

#include "ProgramConstants.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace
{

const QString VersionName = QStringLiteral("version");
const QString BookmarkName = QStringLiteral("书签");
const QString TitleName = QStringLiteral("标题");
const QString PosName = QStringLiteral("位置");
// Asked for by name in every form, so older releases skip it and files they
// wrote read without it.
const QString FileName = QStringLiteral("文件");

// One way a release spelled the file. An empty version means the root is
// taken whatever version it carries.
struct FileForm {
    QString root;
    QString version;
    QString bookmark;
    QString title;
    QString pos;
};

const FileForm *formOf(QXmlStreamReader *reader)
{
    // Only the first is written; the others are files of older releases.
    static const FileForm forms[] = {
        {InternalName, QStringLiteral("2"), BookmarkName, TitleName, PosName},
        {QStringLiteral("Quirel"), QStringLiteral("1"), BookmarkName, TitleName, PosName},
        {QStringLiteral("Root"), QString(), QStringLiteral("Bookmark"), QStringLiteral("title"),
         QStringLiteral("pos")},
    };
    for (const FileForm &form : forms) {
        if (reader->name() != form.root)
            continue;
        if (form.version.isNull() || reader->attributes().value(VersionName) == form.version)
            return &form;
    }
    return nullptr;
}

bool isXmlChar(uint code)
{
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
           (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

const int BookmarkDataItemType = qRegisterMetaType<BookmarkDataItem>("BookmarkDataItem");

} // namespace

BookmarkDataItem BookmarkConfig::bookmarks;

BookmarkConfig::BookmarkConfig(QObject *parent) : ZkXmlFile(parent)
{
    Q_UNUSED(BookmarkDataItemType)
}

void BookmarkConfig::readParse(QXmlStreamReader *reader)
{
    const bool hasRoot = reader->readNextStartElement();
    bookmarks.clear();
    const FileForm *form = hasRoot ? formOf(reader) : nullptr;
    if (form == nullptr)
        return;
    // Stops at the root's end, the end of the input or the first XML error;
    // the bookmarks read up to there stay.
    while (reader->readNextStartElement()) {
        if (reader->name() == form->bookmark) {
            const QXmlStreamAttributes attributes = reader->attributes();
            bookmarks.append({attributes.value(form->title).toString(),
                              attributes.value(form->pos).toString(),
                              attributes.value(FileName).toString()});
        }
        reader->skipCurrentElement();
    }
}

void BookmarkConfig::writeParse(QXmlStreamWriter *writer)
{
    writer->setAutoFormatting(true);
    writer->setCodec("GB18030");
    writer->writeStartDocument();
    writer->writeStartElement(InternalName);
    writer->writeAttribute(VersionName, QStringLiteral("2"));
    // A list handed over whole has not passed through append(); one bad
    // character must not cost the whole save.
    for (const BookmarkEntry &entry : qAsConst(bookmarks)) {
        writer->writeStartElement(BookmarkName);
        writer->writeAttribute(TitleName, writableText(entry.title));
        writer->writeAttribute(PosName, writableText(entry.pos));
        if (!entry.file.isEmpty())
            writer->writeAttribute(FileName, writableText(entry.file));
        writer->writeEndElement();
    }
    writer->writeEndElement();
    writer->writeEndDocument();
}

// A title is taken from the selection of whatever file is open, so it may
// hold anything that file held; mended here, the file stays whole.
void BookmarkConfig::append(const QString &title, const QString &pos, const QString &file)
{
    bookmarks.append({writableText(title), writableText(pos), writableText(file)});
}

QString BookmarkConfig::writableText(const QString &text)
{
    QString mended;
    mended.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            mended.append(c).append(text.at(++i));
        } else if (c.isSurrogate()) {
            mended.append(QChar(QChar::ReplacementCharacter));
        } else if (isXmlChar(c.unicode())) {
            mended.append(c);
        }
    }
    return mended;
}
