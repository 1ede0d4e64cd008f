#include "MainForm.h"
#include "ProgramConstants.h"
#include "TextLoader.h"
#include "ZkUtility.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLocale>

int main(int argc, char *argv[])
{
    TextLoader::keepLargeBlocksMapped();
    QApplication app(argc, argv);
    // A file named on the command line is relative to where it was given.
    const QString startFolder = QDir::currentPath();
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    zk::setupTranslator(localeDirPath(), QLocale::system().name(), &app, DefaultLocale);
    QCoreApplication::setApplicationName(DisplayName);
    QApplication::setFont(AppFont);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quirelle.svg")));

    MainForm window;
    window.show();
    window.openArguments(QCoreApplication::arguments(), startFolder);
    return app.exec();
}
