#ifndef NOVELGENERATOR_H
#define NOVELGENERATOR_H

#include <QByteArray>
#include <QString>

// Deterministic synthetic web novel: chapters "第N章 …", paragraphs of 20 to
// 200 characters with full-width punctuation, CR LF line ends. The same
// size always gives the same text, so runs on different days compare.
QString generateNovel(qint64 gbkBytes);

QByteArray encodeGbk(const QString &text);

#endif // NOVELGENERATOR_H
