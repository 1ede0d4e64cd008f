#ifndef BENCHCASE_H
#define BENCHCASE_H

#include <QString>

// One measured scenario, run in a process of its own so that its peak
// memory and any hang stay its own. Results go to standard output as
// "key=value" lines, flushed one by one so that a killed case still
// reports what it got to.
struct BenchCase {
    QString kind;     // floor, open, jump, chapters, colour, font, comfort, search
    QString file;     // the novel on disk
    QString encoding; // gbk or utf8, for the floor's decoding
    QString position; // start, mid or end for a look change; mid, end or max for jump
    int fontSize = 14;
};

int runBenchCase(const BenchCase &benchCase);

#endif // BENCHCASE_H
