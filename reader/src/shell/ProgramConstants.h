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
// DisplayName as a translation source, for places that show the name in the
// user's language; the application name itself stays untranslated.
extern const char DisplayNameSource[];
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

// Absolute paths of the files the reader keeps. The files it writes sit
// beside the program when its folder is writable and it is not installed
// under a prefix, else in the user's configuration folder; the choice is
// made once per run. Translations come from Locale beside the program, or
// from the shared data folder of an installed program.
QString configFilePath();
QString bookmarkFilePath();
// Reading positions, comfort settings and the window's geometry, beside the
// settings file.
QString readingStateFilePath();
// The user's cleaning rules and the built-in ones as switched.
QString cleaningRulesFilePath();
// What keeping in step with a sync server needs to remember, beside them.
QString syncStateFilePath();
QString localeDirPath();

// The folder the settings files go to for a program living in programDir:
// programDir itself when it is writable and not the bin folder of an
// install, else the per-user configuration folder, which is created here so
// the first save finds it.
QString settingsDirPath(const QString &programDir);

#endif // PROGRAMCONSTANTS_H
