#include "BookmarkConfig.h"

#include "ProgramConstants.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <array>

namespace
{

const QString VersionName = QStringLiteral("version");
const QString BookmarkName = QStringLiteral("书签");
const QString TitleName = QStringLiteral("标题");
const QString PosName = QStringLiteral("位置");
// Asked for by name in every form, so older releases skip it and files they
// wrote read without it.
const QString FileName = QStringLiteral("文件");
const QString TimeName = QStringLiteral("时间");
const QString MachineName = QStringLiteral("电脑");
// Children of the root that older releases pass over.
const QString RemovedName = QStringLiteral("删除的书签");

// One way a release spelled the file. An empty version means the root is
// taken whatever version it carries.
struct FileForm {
    QString root;
    QString version;
    QString bookmark;
    QString title;
    QString pos;
    bool newerToo; // a higher version, or one damage made unreadable, is read as this one
};

// A release that knows more than this one may have written it, or the
// version was damaged; no release wrote a version that is not a number.
bool isNotOlder(const QStringRef &version, const QString &than)
{
    bool ok = false;
    const double number = version.toDouble(&ok);
    return !ok || number >= than.toDouble();
}

// Only the first is written; the others are files of older releases. Made
// on first use, after InternalName.
const std::array<FileForm, 3> &forms()
{
    static const std::array<FileForm, 3> list = {{
        {InternalName, QStringLiteral("2"), BookmarkName, TitleName, PosName, true},
        {QStringLiteral("Quirel"), QStringLiteral("1"), BookmarkName, TitleName, PosName, false},
        {QStringLiteral("Root"), QString(), QStringLiteral("Bookmark"), QStringLiteral("title"),
         QStringLiteral("pos"), false},
    }};
    return list;
}

const FileForm *formOf(QXmlStreamReader *reader)
{
    const QStringRef version = reader->attributes().value(VersionName);
    for (const FileForm &form : forms()) {
        if (reader->name() != form.root)
            continue;
        if (form.version.isNull() || version == form.version ||
            (form.newerToo && isNotOlder(version, form.version)))
            return &form;
    }
    return nullptr;
}

void readBookmark(QXmlStreamReader *reader, const FileForm &form)
{
    const QXmlStreamAttributes attributes = reader->attributes();
    BookmarkEntry entry{attributes.value(form.title).toString(),
                        attributes.value(form.pos).toString(),
                        attributes.value(FileName).toString(),
                        ChangeStamp::read(attributes, TimeName, MachineName)};
    if (reader->name() != RemovedName)
        BookmarkConfig::bookmarks.append(entry);
    else if (!entry.file.isEmpty())
        BookmarkConfig::removed.append(entry);
}

void writeBookmark(QXmlStreamWriter *writer, const QString &name, const BookmarkEntry &entry)
{
    writer->writeStartElement(name);
    writer->writeAttribute(TitleName, BookmarkConfig::writableText(entry.title));
    writer->writeAttribute(PosName, BookmarkConfig::writableText(entry.pos));
    if (!entry.file.isEmpty())
        writer->writeAttribute(FileName, BookmarkConfig::writableText(entry.file));
    entry.stamp.write(writer, TimeName, MachineName);
    writer->writeEndElement();
}

bool isXmlChar(uint code)
{
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
           (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

const int BookmarkDataItemType = qRegisterMetaType<BookmarkDataItem>("BookmarkDataItem");

} // namespace

BookmarkDataItem BookmarkConfig::bookmarks;
BookmarkDataItem BookmarkConfig::removed;

BookmarkConfig::BookmarkConfig(QObject *parent) : ZkXmlFile(parent)
{
    Q_UNUSED(BookmarkDataItemType)
}

void BookmarkConfig::readParse(QXmlStreamReader *reader)
{
    const bool hasRoot = reader->readNextStartElement();
    bookmarks.clear();
    removed.clear();
    const FileForm *form = hasRoot ? formOf(reader) : nullptr;
    if (form != nullptr) {
        // What a newer release added would be gone after the next save.
        if (form->newerToo && reader->attributes().value(VersionName) != form->version)
            setLoadIncomplete();
        // Stops at the root's end, the end of the input or the first XML error.
        while (reader->readNextStartElement()) {
            if (reader->name() == form->bookmark || reader->name() == RemovedName)
                readBookmark(reader, *form);
            reader->skipCurrentElement();
        }
    } else {
        // Another program's document is whole and kept as it is; a root of
        // ours that damage made unrecognisable leaves the rest broken.
        while (!reader->atEnd())
            reader->readNext();
        if (!reader->hasError())
            setLoadIncomplete();
    }
    if (!reader->hasError())
        return;
    // One damaged bookmark must not cost the ones after it: every bookmark
    // element that is whole by itself is taken, in file order.
    const FileForm &salvaged = form != nullptr ? *form : forms().front();
    bookmarks.clear();
    removed.clear();
    readEachElement({salvaged.bookmark, RemovedName},
                    [&salvaged](QXmlStreamReader *element) { readBookmark(element, salvaged); });
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
    for (const BookmarkEntry &entry : qAsConst(bookmarks))
        writeBookmark(writer, BookmarkName, entry);
    for (const BookmarkEntry &entry : qAsConst(removed))
        writeBookmark(writer, RemovedName, entry);
    writer->writeEndElement();
    writer->writeEndDocument();
}

// A title is taken from the selection of whatever file is open, so it may
// hold anything that file held; mended here, the file stays whole.
void BookmarkConfig::append(const QString &title, const QString &pos, const QString &file)
{
    bookmarks.append(
        {writableText(title), writableText(pos), writableText(file), ChangeStamp::now()});
}

void BookmarkConfig::replace(const BookmarkDataItem &item)
{
    for (const BookmarkEntry &entry : qAsConst(bookmarks)) {
        const auto kept =
            std::find_if(item.cbegin(), item.cend(),
                         [&entry](const BookmarkEntry &e) { return e.isSameAs(entry); });
        if (kept == item.cend() && !entry.file.isEmpty())
            removed.append({entry.title, entry.pos, entry.file, ChangeStamp::now()});
    }
    while (removed.size() > MaxRemoved)
        removed.removeFirst();
    bookmarks = item;
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
