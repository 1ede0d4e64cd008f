#include "ProgramConstants.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>

namespace
{

// The system the program was compiled for, as the about box names it.
QString buildPlatformName()
{
#if defined(Q_OS_LINUX)
    const QString system = QStringLiteral("Linux");
#elif defined(Q_OS_WIN)
    const QString system = QStringLiteral("Windows");
#elif defined(Q_OS_MACOS)
    const QString system = QStringLiteral("macOS");
#elif defined(Q_OS_FREEBSD)
    const QString system = QStringLiteral("FreeBSD");
#else
    const QString system = QSysInfo::kernelType();
#endif
    return system + QLatin1Char(' ') + QSysInfo::buildCpuArchitecture();
}

} // namespace

// All constants live in this one translation unit, so their definition
// order is their initialisation order: every derived value below comes
// after the values it is made of.
const QString ProductId = QStringLiteral("Quirelle_windows_x86_64");
const QString PlatformName = buildPlatformName();
const QString InternalName = QStringLiteral("Quirelle");
const char DisplayNameSource[] = QT_TRANSLATE_NOOP("QObject", "澄溪文本阅读器");
const QString DisplayName = QString::fromUtf8(DisplayNameSource);
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

// A program installed under a prefix has its translations in the shared data
// folder instead of beside itself.
QString installedLocaleDir(const QString &programDir)
{
    return QDir::cleanPath(programDir + QLatin1Char('/') +
                           QStringLiteral(QUIRELLE_INSTALLED_LOCALE_DIR));
}

bool isInstalled(const QString &programDir)
{
    return !QFileInfo(programDir + QStringLiteral("/Locale")).isDir() &&
           QFileInfo(installedLocaleDir(programDir)).isDir();
}

// Root passes every access() test, so the owner's write bit counts too: a
// program folder protected with chmod a-w is not written into by anyone.
bool isWritableDir(const QString &path)
{
    const QFileInfo info(path);
    return info.isDir() && info.isWritable() &&
           info.permissions().testFlag(QFileDevice::WriteOwner);
}

// Files an unpacked copy kept beside itself while its folder was writable
// move with the user's settings, once: a copy already in dir is newer.
void adoptSettingsFiles(const QString &programDir, const QString &dir)
{
    for (const QString &name : {QStringLiteral("Config.xml"), QStringLiteral("Bookmark.xml"),
                                QStringLiteral("ReadingState.xml"), QStringLiteral("Sync.xml")}) {
        const QString source = programDir + QLatin1Char('/') + name;
        const QString target = dir + QLatin1Char('/') + name;
        if (!QFileInfo(source).isFile() || QFileInfo::exists(target) ||
            !QFile::copy(source, target))
            continue;
        // A copy of a write-protected original would refuse every save.
        QFile::setPermissions(target,
                              QFile::permissions(target) | QFile::ReadOwner | QFile::WriteOwner);
    }
}

// Every file must land in the same folder for the whole run, even if the
// program folder's permissions change meanwhile.
const QString &settingsDir()
{
    static const QString dir = settingsDirPath(QCoreApplication::applicationDirPath());
    return dir;
}

} // namespace

QString settingsDirPath(const QString &programDir)
{
    // An installed program never writes into the folder of programs, even
    // where it could (root, or an install under the user's home).
    if (isWritableDir(programDir) && !isInstalled(programDir))
        return programDir;
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(dir);
    adoptSettingsFiles(programDir, dir);
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

QString readingStateFilePath()
{
    return settingsDir() + QStringLiteral("/ReadingState.xml");
}

QString cleaningRulesFilePath()
{
    return settingsDir() + QStringLiteral("/CleaningRules.xml");
}

QString syncStateFilePath()
{
    return settingsDir() + QStringLiteral("/Sync.xml");
}

QString localeDirPath()
{
    const QString programDir = QCoreApplication::applicationDirPath();
    if (isInstalled(programDir))
        return installedLocaleDir(programDir);
    return programDir + QStringLiteral("/Locale");
}
