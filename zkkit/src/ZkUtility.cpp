#include "ZkUtility.h"

#include <QApplication>
#include <QByteArray>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QPalette>
#include <QPixmap>
#include <QTranslator>
#include <QUrl>
#include <QWidget>

namespace zk
{

int textFileCodec(const QByteArray &data)
{
    if (data.size() < 2)
        return 0;
    const auto byte = [&data](int i) {
        return static_cast<unsigned char>(data.at(i));
    };
    if (byte(0) == 0xFF && byte(1) == 0xFE)
        return 3;
    if (byte(0) == 0xFE && byte(1) == 0xFF)
        return 4;
    if (data.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF)
        return 1;
    return 0;
}

void openUrl(const QString &url)
{
    QDesktopServices::openUrl(QUrl(url, QUrl::TolerantMode));
}

void moveCenter(QWidget *widget, QWidget *reference)
{
    const QRect own = widget->geometry();
    const QRect ref = reference->geometry();
    widget->move((ref.width() - own.width()) / 2, (ref.height() - own.height()) / 2);
}

void drawImage(QWidget *widget, const QPixmap &pixmap, const QSize &size)
{
    // A fresh palette on purpose: colours set on the widget before are
    // replaced by the application's, so only the picture differs.
    QPalette palette;
    const QPixmap scaled = pixmap.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    palette.setBrush(widget->backgroundRole(), QBrush(scaled));
    widget->setAutoFillBackground(true);
    widget->setPalette(palette);
}

void setupTranslator(const QString &baseDir, const QString &locale, QApplication *app,
                     const QString &fallbackLocale)
{
    if (app == nullptr || baseDir.isEmpty() || locale.isEmpty())
        return;

    QString folder = baseDir + QLatin1Char('/') + locale + QLatin1Char('/');
    QString pattern = QLatin1Char('*') + locale + QLatin1Char('*');
    if (!QFileInfo::exists(folder)) {
        folder = baseDir + QLatin1Char('/') + fallbackLocale + QLatin1Char('/');
        pattern = QLatin1Char('*') + fallbackLocale + QLatin1Char('*');
    }

    const QStringList files =
        QDir(folder).entryList(QStringList(pattern), QDir::Files, QDir::NoSort);
    for (const QString &file : files) {
        auto *translator = new QTranslator(app);
        translator->load(file, folder);
        QCoreApplication::installTranslator(translator);
    }
}

} // namespace zk
