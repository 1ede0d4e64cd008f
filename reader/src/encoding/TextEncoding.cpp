#include "TextEncoding.h"

#include "ZkTextDecoder.h"

#include <QCoreApplication>

QString TextEncoding::name(int codec)
{
    switch (codec) {
    case ZkTextDecoder::LocalCodePage:
        return QCoreApplication::translate("QObject", "ANSI（%1）")
            .arg(QString::fromLatin1(ZkTextDecoder::localCodePageName()));
    case ZkTextDecoder::Utf8:
    case 2:
        return QStringLiteral("UTF-8");
    case ZkTextDecoder::Utf16LittleEndian:
        return QStringLiteral("UTF-16 LE");
    case ZkTextDecoder::Utf16BigEndian:
        return QStringLiteral("UTF-16 BE");
    case ZkTextDecoder::Big5:
        return QCoreApplication::translate("QObject", "繁体中文（Big5）");
    default:
        return QCoreApplication::translate("QObject", "简体中文（GB18030）");
    }
}
