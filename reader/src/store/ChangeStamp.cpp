#include "ChangeStamp.h"

#include <QDateTime>
#include <QUuid>
#include <QXmlStreamAttributes>
#include <QXmlStreamWriter>

namespace
{

QString &machineIdentity()
{
    static QString identity = QUuid::createUuid().toString(QUuid::WithoutBraces);
    return identity;
}

} // namespace

bool ChangeStamp::isLaterThan(const ChangeStamp &other) const
{
    if (time != other.time)
        return time > other.time;
    return machine > other.machine;
}

ChangeStamp ChangeStamp::now()
{
    static qint64 last = 0;
    last = qMax(last + 1, QDateTime::currentMSecsSinceEpoch());
    return {last, thisMachine()};
}

QString ChangeStamp::thisMachine()
{
    return machineIdentity();
}

void ChangeStamp::setThisMachine(const QString &machine)
{
    if (!machine.isEmpty())
        machineIdentity() = machine;
}

ChangeStamp ChangeStamp::read(const QXmlStreamAttributes &attributes, const QString &timeName,
                              const QString &machineName)
{
    bool ok = false;
    const qint64 time = attributes.value(timeName).toLongLong(&ok);
    if (!ok || time <= 0)
        return {};
    return {time, attributes.value(machineName).toString()};
}

void ChangeStamp::write(QXmlStreamWriter *writer, const QString &timeName,
                        const QString &machineName) const
{
    if (isNull())
        return;
    writer->writeAttribute(timeName, QString::number(time));
    writer->writeAttribute(machineName, machine);
}
