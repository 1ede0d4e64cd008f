// Prints where the main window's named widgets lie, one "name x y width
// height" line each, relative to the window. The end-to-end script clicks
// the controls of the real program by their object names through it: the
// probe builds the same window the program builds, under the same locale,
// translations and font, so the layout is the same.

#include "MainForm.h"
#include "ProgramConstants.h"
#include "ZkUtility.h"

#include <QApplication>
#include <QLocale>
#include <QTextStream>
#include <QTimer>

namespace
{

void printWidgets(const QWidget &window)
{
    QTextStream out(stdout);
    out << "MainForm 0 0 " << window.width() << ' ' << window.height() << '\n';
    const auto widgets = window.findChildren<QWidget *>();
    for (const QWidget *widget : widgets) {
        if (widget->objectName().isEmpty() || !widget->isVisible())
            continue;
        const QPoint origin = widget->mapTo(&window, QPoint(0, 0));
        out << widget->objectName() << ' ' << origin.x() << ' ' << origin.y() << ' '
            << widget->width() << ' ' << widget->height() << '\n';
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: QuirelleFormProbe <folder of the locale folders>\n";
        return 2;
    }
    zk::setupTranslator(QString::fromLocal8Bit(argv[1]), QLocale::system().name(), &app,
                        DefaultLocale);
    QApplication::setFont(AppFont);

    MainForm window;
    window.show();
    QTimer::singleShot(500, &app, [&window] {
        printWidgets(window);
        QCoreApplication::exit(0);
    });
    return app.exec();
}
