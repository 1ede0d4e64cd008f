#include "BookFacts.h"

#include <QCoreApplication>
#include <QXmlStreamAttributes>
#include <QXmlStreamWriter>

namespace
{
const QString ProgressName = QStringLiteral("进度");
const QString ChapterName = QStringLiteral("章节");
const QString ChaptersName = QStringLiteral("章节数");
const QString FirstChapterName = QStringLiteral("首章");
const QString FingerprintName = QStringLiteral("指纹");
const QString SizeName = QStringLiteral("大小");

// A number in [minimum, maximum], else fallback.
qint64 number(const QXmlStreamAttributes &attributes, const QString &name, qint64 minimum,
              qint64 maximum, qint64 fallback)
{
    bool ok = false;
    const qint64 value = attributes.value(name).toLongLong(&ok);
    return ok && value >= minimum && value <= maximum ? value : fallback;
}
} // namespace

QString BookFacts::describe(int chapter, int chapters, int percent)
{
    const QString share = QString::number(percent) + QLatin1Char('%');
    if (chapters <= 0)
        return share;
    const QString place = chapter > 0 ? QString::number(chapter) : QStringLiteral("-");
    return QCoreApplication::translate("QObject", "第 %1/%2 章").arg(place).arg(chapters) +
           QStringLiteral(" · ") + share;
}

bool BookFacts::operator==(const BookFacts &other) const
{
    return progress == other.progress && chapter == other.chapter && chapters == other.chapters &&
           firstChapter == other.firstChapter && fingerprint == other.fingerprint &&
           size == other.size;
}

BookFacts BookFacts::read(const QXmlStreamAttributes &attributes)
{
    BookFacts facts;
    facts.progress = int(number(attributes, ProgressName, 0, 1000, -1));
    facts.chapters = int(number(attributes, ChaptersName, 0, INT_MAX, 0));
    facts.chapter = int(number(attributes, ChapterName, 0, facts.chapters, 0));
    facts.firstChapter = attributes.value(FirstChapterName).toString().left(80);
    facts.fingerprint = attributes.value(FingerprintName).toString().left(64);
    facts.size = number(attributes, SizeName, 0, std::numeric_limits<qint64>::max(), -1);
    return facts;
}

void BookFacts::write(QXmlStreamWriter *writer) const
{
    if (progress >= 0)
        writer->writeAttribute(ProgressName, QString::number(progress));
    if (chapters > 0) {
        writer->writeAttribute(ChapterName, QString::number(chapter));
        writer->writeAttribute(ChaptersName, QString::number(chapters));
    }
    if (!firstChapter.isEmpty())
        writer->writeAttribute(FirstChapterName, firstChapter);
    if (!fingerprint.isEmpty())
        writer->writeAttribute(FingerprintName, fingerprint);
    if (size >= 0)
        writer->writeAttribute(SizeName, QString::number(size));
}

bool BookFacts::isName(const QString &name)
{
    return name == ProgressName || name == ChapterName || name == ChaptersName ||
           name == FirstChapterName || name == FingerprintName || name == SizeName;
}
