#include "Config.h"

#include "ProgramConstants.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace
{

// Roots of older releases are still read; only the current one is written.
const QString OldRootName = QStringLiteral("Quirel");
const QString VersionName = QStringLiteral("version");
const QString UiFontName = QStringLiteral("界面字体");
const QString TextFontName = QStringLiteral("文本字体");
const QString TextColorName = QStringLiteral("文本颜色");
const QString BackColorName = QStringLiteral("背景颜色");
const QString ScrollName = QStringLiteral("自动滚动");
const QString ScrollScreenName = QStringLiteral("滚动时间");
const QString ScrollPageName = QStringLiteral("翻页时间");
const QString FileListName = QStringLiteral("文件列表");
const QString FileName = QStringLiteral("文件");

} // namespace

QFont Config::uiFont(QStringLiteral("宋体"), 12, QFont::Normal);
QFont Config::textFont(QStringLiteral("宋体"), DefaultTextPointSize, QFont::Normal);
QColor Config::textColor(Qt::black);
QColor Config::backColor(Qt::white);
int Config::scrollScreenTime = 200;
int Config::scrollPageTime = 5;
QStringList Config::fileList;

Config::Config(QObject *parent) : ZkXmlFile(parent) {}

void Config::readParse(QXmlStreamReader *reader)
{
    if (reader->readNextStartElement() && isAcceptedRoot(reader)) {
        // What a newer release added would be gone after the next save.
        bool ok = false;
        const double version = reader->attributes().value(VersionName).toDouble(&ok);
        if (ok && version > 2)
            setLoadIncomplete();
        // Stops at the root's end, the end of the input or the first XML error.
        while (reader->readNextStartElement())
            readElement(reader);
    } else {
        // Another program's document is whole and kept as it is; a root of
        // ours that damage made unrecognisable leaves the rest broken.
        while (!reader->atEnd())
            reader->readNext();
        if (!reader->hasError())
            setLoadIncomplete();
    }
    if (reader->hasError())
        salvage();
}

void Config::writeParse(QXmlStreamWriter *writer)
{
    writer->setAutoFormatting(true);
    writer->setCodec("GB18030");
    writer->writeStartDocument();
    writer->writeStartElement(InternalName);
    writer->writeAttribute(VersionName, QStringLiteral("2"));

    writeFont(writer, UiFontName, uiFont);
    writeFont(writer, TextFontName, textFont);
    writeColor(writer, TextColorName, textColor);
    writeColor(writer, BackColorName, backColor);

    writer->writeStartElement(ScrollName);
    writeInteger(writer, ScrollScreenName, scrollScreenTime);
    writeInteger(writer, ScrollPageName, scrollPageTime);
    writer->writeEndElement();

    writeFileList(writer);

    writer->writeEndElement();
    writer->writeEndDocument();
}

// Name and version need not match: files of every earlier release carry
// one or the other.
bool Config::isAcceptedRoot(QXmlStreamReader *reader)
{
    const QStringRef name = reader->name();
    const QStringRef version = reader->attributes().value(VersionName);
    return name == InternalName || version == QLatin1String("2") || name == OldRootName ||
           version == QLatin1String("1");
}

void Config::readElement(QXmlStreamReader *reader)
{
    if (reader->name() == FileListName) {
        readFileList(reader);
        return; // already past the list's end tag
    }
    readValue(reader);
    reader->skipCurrentElement();
}

// Settings after a damaged spot are not lost with it: each setting element
// and each recent file that is whole by itself is taken, in file order.
void Config::salvage()
{
    QStringList files;
    const QStringList names{UiFontName,    TextFontName, TextColorName,
                            BackColorName, ScrollName,   FileName};
    readEachElement(names, [this, &files](QXmlStreamReader *element) {
        if (element->name() == FileName)
            files.append(element->readElementText(QXmlStreamReader::SkipChildElements));
        else
            readValue(element);
    });
    if (!files.isEmpty())
        fileList = files;
}

void Config::readValue(QXmlStreamReader *reader)
{
    const QStringRef name = reader->name();
    if (name == UiFontName) {
        readFont(reader, uiFont);
    } else if (name == TextFontName) {
        readFont(reader, textFont);
    } else if (name == TextColorName) {
        readColor(reader, textColor);
    } else if (name == BackColorName) {
        readColor(reader, backColor);
    } else if (name == ScrollName) {
        readInteger(reader, ScrollScreenName, scrollScreenTime);
        readInteger(reader, ScrollPageName, scrollPageTime);
    }
}

void Config::readFileList(QXmlStreamReader *reader)
{
    fileList.clear();
    while (reader->readNextStartElement()) {
        if (reader->name() != FileName) {
            reader->skipCurrentElement();
            continue;
        }
        const QString path = reader->readElementText(QXmlStreamReader::SkipChildElements);
        // A path cut off by a damaged file names nothing the user opened.
        if (!reader->hasError())
            fileList.append(path);
    }
}

void Config::writeFileList(QXmlStreamWriter *writer)
{
    writer->writeStartElement(FileListName);
    for (const QString &file : qAsConst(fileList))
        writer->writeTextElement(FileName, file);
    writer->writeEndElement();
}
