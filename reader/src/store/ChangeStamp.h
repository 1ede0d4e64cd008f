#ifndef CHANGESTAMP_H
#define CHANGESTAMP_H

#include <QString>

class QXmlStreamAttributes;
class QXmlStreamWriter;

// When and on which machine a kept value last changed, so that two machines
// that both changed it can tell which change came later. A null stamp marks
// a value that was never changed by a reader (a book just opened at its
// start) or changed before values had stamps: any real change wins over it.
struct ChangeStamp {
    qint64 time = 0; // milliseconds since the epoch, UTC
    QString machine; // the machine's identity, see thisMachine()

    bool isNull() const { return time == 0 && machine.isEmpty(); }
    // By time, then by machine, so that two machines agree on the order of
    // two changes made in the same millisecond.
    bool isLaterThan(const ChangeStamp &other) const;
    bool operator==(const ChangeStamp &other) const
    {
        return time == other.time && machine == other.machine;
    }
    bool operator!=(const ChangeStamp &other) const { return !(*this == other); }

    // A change made now on this machine; later than every earlier one made
    // here, even when the clock steps back.
    static ChangeStamp now();
    // A random identity made on first use, until the program sets the one it
    // keeps.
    static QString thisMachine();
    static void setThisMachine(const QString &machine);

    // As two attributes, timeName and machineName, written only when not
    // null; missing or unusable attributes read as the null stamp.
    static ChangeStamp read(const QXmlStreamAttributes &attributes, const QString &timeName,
                            const QString &machineName);
    void write(QXmlStreamWriter *writer, const QString &timeName, const QString &machineName) const;
};

#endif // CHANGESTAMP_H
