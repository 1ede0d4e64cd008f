#ifndef OPENRESULT_H
#define OPENRESULT_H

#include "PositionMap.h"
#include "RuleCleaner.h"

#include <QString>
#include <QVector>

// What opening a text file gave: its text (all of it, or the start of a
// long file with the rest on its way from the loader), or why there is none.
struct OpenResult {
    enum Status {
        Opened,
        Missing,    // no such file
        Unreadable, // there, but not readable: a folder, no permission, a read error
        NotText,    // its bytes are not text (a picture, a program): nothing read yet
        Empty,      // no byte at all
    };

    Status status = Missing;
    QString fileName;
    QString error;   // the system's reason, for an unreadable file
    int codec = -1;  // a ZkTextDecoder codec number
    QString text;    // as the view shows it
    PositionMap map; // between text and the file text it stands for
    // Cleaning rules that failed on it, and are left out for the rest.
    QVector<RuleCleaner::Failure> failedRules;
    // The OpenCC configuration the text is shown through, if any; or why
    // the one chosen could not be loaded, the text then shown unconverted.
    QString scriptConfiguration;
    QString scriptError;
    qint64 bytesRead = 0; // how far into the file the text reaches
    qint64 fileSize = 0;

    bool opened() const { return status == Opened; }
    bool complete() const { return bytesRead >= fileSize; }
};

#endif // OPENRESULT_H
