#ifndef NUMERAL_H
#define NUMERAL_H

#include <QStringView>

// Numbers as headings write them: Arabic digits (ASCII or full-width) and
// Chinese numerals, plain (一百零五, 廿三), financial (壹佰) or digit by digit
// (一九八四, 〇〇一).
namespace Numeral
{
// Whether c is one of the Chinese numerals Numeral reads.
bool isChinese(QChar c);
// 0-9 for an Arabic digit, -1 otherwise.
int digitValue(QChar c);
// The value of Chinese numerals alone, -1 where they do not make a number.
qint64 chineseValue(QStringView numerals);
} // namespace Numeral

#endif // NUMERAL_H
