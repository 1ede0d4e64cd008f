#include "ProgramConstants.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

// All constants live in this one translation unit, so their definition
// order is their initialisation order: every derived value below comes
// after the values it is made of.
const QString ProductId = QStringLiteral("Quirelle_windows_x86_64");
const QString PlatformName = QStringLiteral("Windows x86 64");
const QString InternalName = QStringLiteral("Quirelle");
const QString DisplayName = QStringLiteral("澄溪文本阅读器");
const QString SiteUrl = QStringLiteral(QUIRELLE_SITE_URL);
const QString MailAddress = QStringLiteral(QUIRELLE_MAIL_ADDRESS);
const QString AdConfigUrl = SiteUrl + QStringLiteral("ad/ad_cfg_1.php?id=") + ProductId;
const QString VersionText = QStringLiteral("V3.2.0");
const QString ReleaseDate = QStringLiteral("2012-07-01");
const QString MailUrl = QStringLiteral("mailto:") + MailAddress;
const QString UpdateId = ProductId;
const QString UpdateVersion = ReleaseDate;
const QString UpdateCheckUrl = SiteUrl + QStringLiteral("ver.php");
const QString UpdatePageUrl = SiteUrl;
const QString DefaultLocale = QStringLiteral("zh_CN");
const QString UriListMime = QStringLiteral("text/uri-list");

// Only the description is stored here; the font is resolved when the
// application applies it.
const QFont AppFont(QStringLiteral("宋体"), 12);

namespace
{

// Root passes every access() test, so the owner's write bit counts too: a
// program folder protected with chmod a-w is not written into by anyone.
bool isWritableDir(const QString &path)
{
    const QFileInfo info(path);
    return info.isDir() && info.isWritable() &&
           info.permissions().testFlag(QFileDevice::WriteOwner);
}

// Both files must land in the same folder for the whole run, even if the
// program folder's permissions change meanwhile.
const QString &settingsDir()
{
    static const QString dir = settingsDirPath(QCoreApplication::applicationDirPath());
    return dir;
}

} // namespace

QString settingsDirPath(const QString &programDir)
{
    if (isWritableDir(programDir))
        return programDir;
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(dir);
    return dir;
}

QString configFilePath()
{
    return settingsDir() + QStringLiteral("/Config.xml");
}

QString bookmarkFilePath()
{
    return settingsDir() + QStringLiteral("/Bookmark.xml");
}

QString localeDirPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Locale");
}
