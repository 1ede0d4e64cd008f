#ifndef SEARCHQUERY_H
#define SEARCHQUERY_H

#include <QString>

// What the reader asked to find.
struct SearchQuery {
    QString text;
    bool matchCase = false; // capitals and small letters differ
    bool regex = false;     // text is a regular expression
};

#endif // SEARCHQUERY_H
