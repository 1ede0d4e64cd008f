#ifndef PROGRAMCONSTANTS_H
#define PROGRAMCONSTANTS_H

#include <QFont>
#include <QString>

// Values fixed for one release; the derived addresses are built from the
// site and product values in ProgramConstants.cpp, in dependency order.
extern const QString ProductId;
extern const QString PlatformName;
extern const QString InternalName;
extern const QString DisplayName;
extern const QString SiteUrl;
extern const QString MailAddress;
extern const QString AdConfigUrl;
extern const QString VersionText;
extern const QString ReleaseDate;
extern const QString MailUrl;
extern const QString UpdateId;
extern const QString UpdateVersion;
extern const QString UpdateCheckUrl;
extern const QString UpdatePageUrl;
extern const QString DefaultLocale;
extern const QString UriListMime;

extern const QFont AppFont;

// Absolute paths of the files the reader keeps.
QString configFilePath();
QString bookmarkFilePath();
QString localeDirPath();

#endif // PROGRAMCONSTANTS_H
