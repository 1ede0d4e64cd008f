#include "SyncStatus.h"

#include <QCoreApplication>
#include <QLocale>

#include <array>

namespace
{

const std::array<const char *, 7> Keys = {"never",        "done",    "unreachable", "busy",
                                          "unauthorized", "refused", "unconfigured"};

} // namespace

QString SyncStatus::text() const
{
    QString said;
    switch (outcome) {
    case Never:
        return QCoreApplication::translate("QObject", "尚未同步");
    case NotConfigured:
        return QCoreApplication::translate("QObject", "未设置同步地址");
    case Done:
        said = QCoreApplication::translate("QObject", "同步成功");
        break;
    case Unreachable:
        said = QCoreApplication::translate("QObject", "无法连接服务器（%1）").arg(detail);
        break;
    case Busy:
        said = QCoreApplication::translate("QObject", "服务器繁忙（%1）").arg(detail);
        break;
    case Unauthorized:
        said = QCoreApplication::translate("QObject", "用户名或密码不对（%1）").arg(detail);
        break;
    case Refused:
        said = QCoreApplication::translate("QObject", "服务器拒绝（%1）").arg(detail);
        break;
    }
    //: when the last sync ran, then how it went
    QString line = QCoreApplication::translate("QObject", "上次同步：%1，%2")
                       .arg(QLocale().toString(when, QLocale::ShortFormat), said);
    if (waiting > 0)
        line += QCoreApplication::translate("QObject", "；等待上传的书：%1").arg(waiting);
    if (retrySeconds > 0)
        line += QCoreApplication::translate("QObject", "；%1 秒后重试").arg(retrySeconds);
    return line;
}

QString SyncStatus::keyOf(Outcome outcome)
{
    return QString::fromLatin1(Keys.at(size_t(outcome)));
}

SyncStatus::Outcome SyncStatus::outcomeOf(const QString &key)
{
    for (size_t i = 0; i < Keys.size(); ++i) {
        if (key == QLatin1String(Keys.at(i)))
            return Outcome(i);
    }
    return Never;
}
