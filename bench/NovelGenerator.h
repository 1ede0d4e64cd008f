#ifndef NOVELGENERATOR_H
#define NOVELGENERATOR_H

#include <QByteArray>
#include <QString>

class QTextCodec;

// Deterministic synthetic web novel: chapters "第N章 …", paragraphs of 20 to
// 200 characters with full-width punctuation, CR LF line ends. The same
// size always gives the same text, so runs on different days compare.
// For Big5 only the characters that Big5 has are used.
QString generateNovel(qint64 gbkBytes, const QString &encoding = QStringLiteral("gbk"));

// encoding: gbk, utf8, big5, utf16le or utf16be; no byte-order mark.
QTextCodec *novelCodec(const QString &encoding);
QByteArray encodeNovel(const QString &text, const QString &encoding);

#endif // NOVELGENERATOR_H
