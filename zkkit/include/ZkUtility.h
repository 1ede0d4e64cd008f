#ifndef ZKUTILITY_H
#define ZKUTILITY_H

#include "zkkit_export.h"

class QApplication;
class QByteArray;
class QPixmap;
class QSize;
class QString;
class QWidget;

namespace zk
{

// Byte-order mark at the start of a text file: 0 none, 1 UTF-8,
// 3 UTF-16 little-endian, 4 UTF-16 big-endian. It only reports; it never
// strips the mark or decodes anything.
ZKKIT_EXPORT int textFileCodec(const QByteArray &data);

// Hands a URL to the desktop's default handler (browser, mail program).
ZKKIT_EXPORT void openUrl(const QString &url);

// Moves widget so that it is centred on reference, assuming the reference
// lies at the origin of the widget's parent coordinates (the desktop does).
ZKKIT_EXPORT void moveCenter(QWidget *widget, QWidget *reference);

// Paints the picture, scaled to size, as the tiled background of widget.
ZKKIT_EXPORT void drawImage(QWidget *widget, const QPixmap &pixmap, const QSize &size);

// Installs one translator per file in baseDir/locale/ whose name contains
// the locale name, or from baseDir/fallbackLocale/ when the first folder
// does not exist.
ZKKIT_EXPORT void setupTranslator(const QString &baseDir, const QString &locale, QApplication *app,
                                  const QString &fallbackLocale);

} // namespace zk

#endif // ZKUTILITY_H
