#include "MainForm.h"
#include "ProgramConstants.h"
#include "SingleReader.h"
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
    QCoreApplication::setApplicationName(DisplayName);
    const QString fileName = MainForm::fileArgument(QCoreApplication::arguments(), startFolder);
    // A reader already running shows the file in its window, in front.
    SingleReader single(readingStateFilePath());
    if (single.handOver(fileName) || (!single.listen() && single.handOver(fileName)))
        return 0;
    zk::setupTranslator(localeDirPath(), QLocale::system().name(), &app, DefaultLocale);
    QApplication::setFont(AppFont);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quirelle.svg")));

    MainForm window;
    QObject::connect(&single, &SingleReader::handedOver, &window, &MainForm::openHandedOver);
    window.show();
    window.openAtStart(fileName);
    return app.exec();
}
