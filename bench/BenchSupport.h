#ifndef BENCHSUPPORT_H
#define BENCHSUPPORT_H

// What every case reports with and looks through.

#include <QFile>
#include <QString>
#include <QTextEdit>

#include <cstdio>
#include <functional>

namespace bench
{

// One "key=value" line, flushed at once so that a killed case still reports
// what it got to.
inline void report(const char *key, const QString &value)
{
    std::printf("%s=%s\n", key, qPrintable(value));
    std::fflush(stdout);
}

inline void report(const char *key, double value)
{
    report(key, QString::number(value, 'f', 1));
}

// Peak resident set size of this process so far, in bytes.
inline double peakResident()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() * 1024.0;
    }
    return -1;
}

// QTextEdit that tells when a paint of its viewport has finished, so that
// "on screen" means painted, not merely scheduled.
class ReadingView : public QTextEdit
{
public:
    std::function<void()> painted;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QTextEdit::paintEvent(event);
        if (painted)
            painted();
    }
};

} // namespace bench

#endif // BENCHSUPPORT_H
