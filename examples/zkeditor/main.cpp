#include "ZkEditorWindow.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quirelle"));
    QCoreApplication::setApplicationName(QStringLiteral("ZkEditor"));
    // Outside a desktop session Qt knows no icon theme; Adwaita is the one
    // most Linux systems carry.
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));

    ZkEditorWindow window;
    if (argc > 1)
        window.openFile(QString::fromLocal8Bit(argv[1]));
    window.show();
    return app.exec();
}
