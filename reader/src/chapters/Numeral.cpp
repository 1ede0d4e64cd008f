#include "Numeral.h"

#include <QString>

namespace
{

const QString Digits[] = {QStringLiteral("零〇○"),      QStringLiteral("一壹"),
                          QStringLiteral("二两贰兩貳"), QStringLiteral("三叁參"),
                          QStringLiteral("四肆"),       QStringLiteral("五伍"),
                          QStringLiteral("六陆陸"),     QStringLiteral("七柒"),
                          QStringLiteral("八捌"),       QStringLiteral("九玖")};

int chineseDigit(QChar c)
{
    for (int value = 0; value < 10; ++value) {
        if (Digits[value].contains(c))
            return value;
    }
    return -1;
}

// 十 百 千 below a myriad; 万 亿 above.
qint64 unitValue(QChar c)
{
    switch (c.unicode()) {
    case u'十':
    case u'拾':
        return 10;
    case u'百':
    case u'佰':
        return 100;
    case u'千':
    case u'仟':
        return 1000;
    case u'万':
    case u'萬':
        return 10000;
    case u'亿':
    case u'億':
        return 100000000;
    default:
        return -1;
    }
}

// 廿 卅 卌: twenty, thirty, forty in one character.
int tensValue(QChar c)
{
    return c == u'廿' ? 20 : c == u'卅' ? 30 : c == u'卌' ? 40 : -1;
}

} // namespace

bool Numeral::isChinese(QChar c)
{
    return chineseDigit(c) >= 0 || unitValue(c) > 0 || tensValue(c) > 0;
}

int Numeral::digitValue(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 0xFF10 && u <= 0xFF19)
        return u - 0xFF10;
    return -1;
}

qint64 Numeral::chineseValue(QStringView numerals)
{
    if (numerals.isEmpty() || numerals.size() > 18)
        return -1;
    bool units = false;
    for (const QChar c : numerals) {
        if (!isChinese(c))
            return -1;
        units = units || chineseDigit(c) < 0;
    }
    qint64 total = 0;
    if (!units) { // digit by digit
        for (const QChar c : numerals)
            total = total * 10 + chineseDigit(c);
        return total;
    }
    qint64 section = 0; // below the last 万 or 亿
    qint64 digit = 0;
    for (const QChar c : numerals) {
        const int value = chineseDigit(c);
        const qint64 unit = unitValue(c);
        if (value >= 0) {
            digit = value;
        } else if (tensValue(c) > 0) {
            section += tensValue(c);
        } else if (unit < 10000) {
            // 十一 is one ten and one: a unit without a digit counts once.
            section += (digit == 0 ? 1 : digit) * unit;
            digit = 0;
        } else {
            total = (total + section + digit) * unit;
            section = digit = 0;
        }
    }
    return total + section + digit;
}
